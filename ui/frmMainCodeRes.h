// Control IDs of the main window.
#pragma once
#define IDD_FRMMAINCODE 100

// Standard Items page: 1000-1499. Check n is IDC_CHECK(n), Command n is IDC_COMMAND(n).
#define IDC_CHECK(n) (1000 + (n))
#define IDC_COMMAND(n) (1100 + (n))
#define IDC_FRAME2 1202
#define IDC_FRAME4 1204
#define IDC_FRAME5 1205
#define IDC_FRAME6 1206
#define IDC_LABEL31 1231
#define IDC_STANDARD_FIRST 1000
#define IDC_STANDARD_LAST 1499

// Custom Items page: 1500-1599.
#define IDC_FRAME7 1507
#define IDC_CUSTOM_FIRST 1500
#define IDC_CUSTOM_LAST 1599

// Navigation and the rest.
#define IDC_IMAGE(n) (1600 + (n))
#define IDC_LABEL(n) (1700 + (n))
#define IDC_PICTURE1 1801
#define IDC_PICTURE2 1802
