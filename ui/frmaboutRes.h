// Control IDs of the about box.
#pragma once
#define IDD_FRMABOUT 400
#define IDC_AB_PICTURE1 4001
#define IDC_AB_LABEL1 4011
#define IDC_AB_LABEL3 4013
#define IDC_AB_LABEL4 4014
