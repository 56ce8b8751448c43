// Control IDs of the main window.
#pragma once
#define IDD_FRMMAINCODE 100
#define IDR_MAINKEYS 101  // the accelerators of the navigation and the links

// Standard Items page: 1000-1499. Check n is IDC_CHECK(n), Command n is IDC_COMMAND(n).
#define IDC_CHECK(n) (1000 + (n))
#define IDC_COMMAND(n) (1100 + (n))
#define IDC_FRAME2 1202
#define IDC_FRAME4 1204
#define IDC_FRAME5 1205
#define IDC_FRAME6 1206
#define IDC_LABEL31 1231
#define IDC_LABEL32 1232  // "More Browsers"
#define IDC_LABEL33 1233  // "More Windows Tracks"
#define IDC_STANDARD_FIRST 1000
#define IDC_STANDARD_LAST 1499

// Custom Items page: 1500-1599.
#define IDC_FRAME7 1507
#define IDC_LABEL102 1502
#define IDC_LABEL103 1503
#define IDC_LABEL10 1510
#define IDC_TEXT102 1522
#define IDC_TEXT103 1523
#define IDC_COMMAND101 1531
#define IDC_COMMAND102 1532
#define IDC_COMMAND104 1534
#define IDC_COMMAND105 1535
#define IDC_CUSTOM_LIST1 1540  // List1 of the custom page
#define IDC_CUSTOM_FIRST 1500
#define IDC_CUSTOM_LAST 1599

// Navigation and the rest.
#define IDC_IMAGE(n) (1600 + (n))
#define IDC_LABEL(n) (1700 + (n))
#define IDC_PICTURE1 1801
#define IDC_PICTURE2 1802

// The skinned frame: 1900-1949, in the order of the skin's part table.
#define IDC_SKIN(n) (1900 + (n))
#define IDC_SKIN_FIRST 1900
#define IDC_SKIN_LAST 1949
