// The version of the Veltrane components: one number for every binary's
// version resource and for the installer, so that they always agree.
// Resource scripts include this header too, so it holds macros only.
#pragma once

#define PRODUCT_VERSION_MAJOR 1
#define PRODUCT_VERSION_MINOR 0
#define PRODUCT_VERSION_PATCH 0
#define PRODUCT_VERSION_BUILD 0

#define PRODUCT_VERSION_TEXT_OF(a, b, c, d) #a "." #b "." #c "." #d
#define PRODUCT_VERSION_TEXT_EXPANDED(a, b, c, d) PRODUCT_VERSION_TEXT_OF(a, b, c, d)
// "1.0.0.0"
#define PRODUCT_VERSION_TEXT                                                                       \
    PRODUCT_VERSION_TEXT_EXPANDED(PRODUCT_VERSION_MAJOR, PRODUCT_VERSION_MINOR,                    \
                                  PRODUCT_VERSION_PATCH, PRODUCT_VERSION_BUILD)
// For FILEVERSION and PRODUCTVERSION.
#define PRODUCT_VERSION_NUMBERS                                                                    \
    PRODUCT_VERSION_MAJOR, PRODUCT_VERSION_MINOR, PRODUCT_VERSION_PATCH, PRODUCT_VERSION_BUILD

#define PRODUCT_COMPANY_TEXT "WZK"
