// Control IDs of the sub-item dialogs (Netscape, Opera, MSN Explorer, MS Office) and of the
// More Applications dialog: one block of IDs, one template each.
#pragma once
#define IDD_FRMNETSCAPE 600
#define IDD_FRMOPERA 610
#define IDD_FRMMSN 620
#define IDD_FRMOFFICE 630
#define IDD_FRMMOREAPP 640

#define IDC_SI_CHECK(n) (6000 + (n))  // Check<n>
#define IDC_SI_FRAME1 6100
#define IDC_SI_COMMAND1 6101  // OK
#define IDC_SI_COMMAND2 6102  // Change Directory (Opera)
#define IDC_SI_LABEL1 6111
#define IDC_SI_TEXT1 6121
#define IDC_SI_DEFLABEL 6130  // More Applications: the applications of winapp2.ini
#define IDC_SI_DEFLIST 6131
#define IDC_SI_DEFCOUNT 6132  // how many entries the file has, are detected, could not be used
