// Control IDs of the two keep-list dialogs (one layout, two templates).
#pragma once
#define IDD_FRMCOOKIE 500
#define IDD_FRMURL 510
#define IDC_KL_FRAME1 5001
#define IDC_KL_LABEL1 5011
#define IDC_KL_LABEL2 5012
#define IDC_KL_CURRENT 5021   // lstCookieList / List2
#define IDC_KL_KEEP 5022      // List1
#define IDC_KL_CMDADD 5031
#define IDC_KL_CMDREMOVE 5032
