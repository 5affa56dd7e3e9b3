#pragma once

#define IDD_TWO_BUTTONS 200
#define IDC_FIRST 201
#define IDC_SECOND 202
