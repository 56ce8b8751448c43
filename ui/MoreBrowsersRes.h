// Control IDs of the More Browsers dialog and of the site keep-list dialog.
#pragma once
#define IDD_FRMMOREBROWSERS 660
#define IDD_FRMSITES 520
#define IDC_MB_FRAME1 6601
#define IDC_MB_LABEL1 6602
#define IDC_MB_LIST 6603            // the browsers found
#define IDC_MB_FRAME2 6604
#define IDC_MB_CHECK(n) (6610 + (n))  // the kinds, Check1 to Check7 in the table's order
#define IDC_MB_SELECTALL 6620
#define IDC_MB_COOKIES 6621         // "Cookies to keep"
#define IDC_MB_OK 6622
#define IDC_MB_CANCEL 6623
#define IDC_MB_WHENCLOSED 6624     // "Clean when it closes"
