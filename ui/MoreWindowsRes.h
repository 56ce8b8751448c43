// Control IDs of the More Windows Tracks dialog.
#pragma once
#define IDD_FRMMOREWINDOWS 670
#define IDC_MW_FRAME 6701
#define IDC_MW_CHECK(n) (6710 + (n))  // the traces, 1 to 7 in the table's order
#define IDC_MW_LINE(n) (6730 + (n))   // under each, what else it resets
#define IDC_MW_SELECTALL 6750
#define IDC_MW_OK 6751
#define IDC_MW_CANCEL 6752
