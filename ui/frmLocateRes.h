// Control IDs of Search & Erase and of its file-type dialog.
#pragma once
#define IDD_FRMLOCATE 700
#define IDR_LOCATEMENU 701
#define IDC_LO_DRIVE1 7001
#define IDC_LO_DIR1 7002
#define IDC_LO_LABEL1 7003
#define IDC_LO_TEXT1 7004
#define IDC_LO_ACTION0 7010  // cmdAction(0): Find Files
#define IDC_LO_ACTION1 7011  // cmdAction(1): Exit / Stop
#define IDC_LO_LIST1 7020
#define IDC_LO_STATUS 7021
#define IDC_LO_FRAME1 7030
#define IDC_LO_SELECTALL 7031
#define IDC_LO_UNSELECTALL 7032
#define IDC_LO_DELETE 7033
#define IDC_LO_OPTION 7034
#define IDC_LO_OPTIONS 7040  // the frame "Search and clean options"
#define IDC_LO_CHECK1 7041
#define IDC_LO_DELTYPE 7042
#define IDM_LO_FILEEXIT 7101
#define IDM_LO_OPTIONS 7102
#define IDM_LO_RESETALL 7103
#define IDM_LO_ABOUT 7104

#define IDD_FRMEXTENTIONS 710
#define IDC_EX_FRAME1 7201
#define IDC_EX_LIST 7202  // lstFileTypes
#define IDC_EX_FRAME2 7203
#define IDC_EX_LABEL2 7204
#define IDC_EX_TXTADD 7205
#define IDC_EX_ADD 7206
#define IDC_EX_REMOVE 7207
#define IDC_EX_DEFAULT 7208
#define IDC_EX_DONE 7209
