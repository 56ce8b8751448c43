// Control IDs of the progress dialog.
#pragma once
#define IDD_FRMCLEANNOW 200
#define IDC_CN_COMMAND1 2001
#define IDC_CN_COMMAND2 2002
#define IDC_CN_FRAME1 2011
#define IDC_CN_LIST1 2021
#define IDC_CN_PROGRESS 2031
#define IDC_CN_TEXT1 2041
#define IDC_CN_LABEL1 2051
#define IDC_CN_ANALYZE 2061  // a preview of the run
#define IDC_CN_DETAILS 2062  // what the last run did with each entry

#define IDD_FRMANALYZE 210
#define IDC_AN_LIST 2101
#define IDC_AN_TOTAL 2102
#define IDC_AN_COPY 2103
#define IDC_AN_CLOSE 2104  // "Cancel": erases nothing
#define IDC_AN_CLEAN 2105  // "Clean these"
#define IDC_AN_SAVE 2106   // "Save list"
#define IDM_AN_KEEP 2110   // "Keep this", in the entry's context menu
#define IDC_AN_KEEP 2111   // "Keep this", beside the list
#define IDC_AN_DETAILS 2112  // the chosen entry, whole

#define IDD_FRMRUNDETAILS 220
#define IDC_RD_LIST 2201
