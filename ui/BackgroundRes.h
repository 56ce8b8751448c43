// Control IDs of the tray window and of the Clean Options dialog.
#pragma once
#define IDD_FRMTRAY 800
#define IDR_TRAYMENU 801
#define IDM_TRAY_HELP 8001
#define IDM_TRAY_OPTION 8002
#define IDM_TRAY_RESTORE 8003
#define IDM_TRAY_ERASE 8004
#define IDM_TRAY_EXIT 8005

#define IDD_FRMOPTIONS 810
#define IDC_OP_LABEL(n) (8100 + (n))
#define IDC_OP_FRAME(n) (8120 + (n))
#define IDC_OP_TEXT1 8131
#define IDC_OP_TEXT2 8132
#define IDC_OP_CHECK(n) (8140 + (n))
#define IDC_OP_COMMAND1 8151  // OK
#define IDC_OP_COMMAND2 8152  // Cancel
// Clean on a schedule
#define IDC_OP_SCHEDULE 8160  // the check box
#define IDC_OP_DAILY 8161
#define IDC_OP_WEEKLY 8162
#define IDC_OP_LOGON 8163
#define IDC_OP_WEEKDAY 8164  // the day of a weekly cleaning
#define IDC_OP_TIME 8165     // HH:MM
#define IDC_OP_STATUS 8166   // whether the task is there, its last run
