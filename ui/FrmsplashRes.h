// Control IDs of the splash window.
#pragma once
#define IDD_FRMSPLASH 300
#define IDC_SP_PICTURE1 3001
#define IDC_SP_LABEL1 3011
#define IDC_SP_LABEL3 3013
#define IDC_SP_LABEL4 3014
