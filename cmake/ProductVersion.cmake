# PRODUCT_VERSION ("1.0.0.0") and PRODUCT_COMPANY, read once from
# common/ProductVersion.h, their one home (the resource scripts include it).
# The installer gets them from makensis's command line, and the shell scripts
# (tools/release, the release and installer tests) from build/product.env.
set(version_header ${CMAKE_SOURCE_DIR}/common/ProductVersion.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${version_header})
file(STRINGS ${version_header} version_lines
     REGEX "^#define PRODUCT_(VERSION_[A-Z]+ [0-9]+|COMPANY_TEXT \".+\")$")
set(PRODUCT_VERSION)
foreach(part MAJOR MINOR PATCH BUILD)
    string(REGEX MATCH "#define PRODUCT_VERSION_${part} ([0-9]+)" found "${version_lines}")
    if(NOT found)
        message(FATAL_ERROR "${version_header} has no PRODUCT_VERSION_${part}")
    endif()
    list(APPEND PRODUCT_VERSION ${CMAKE_MATCH_1})
endforeach()
list(JOIN PRODUCT_VERSION "." PRODUCT_VERSION)
string(REGEX MATCH "#define PRODUCT_COMPANY_TEXT \"([^\"]+)\"" found "${version_lines}")
if(NOT found)
    message(FATAL_ERROR "${version_header} has no PRODUCT_COMPANY_TEXT")
endif()
set(PRODUCT_COMPANY ${CMAKE_MATCH_1})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/product.env
     CONTENT "VERSION=${PRODUCT_VERSION}\nCOMPANY=${PRODUCT_COMPANY}\n")
