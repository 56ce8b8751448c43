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
