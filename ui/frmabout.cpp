#include "ui/frmabout.h"

#include "settings/AppFolder.h"
#include "ui/App.h"
#include "ui/NavImage.h"
#include "ui/frmaboutRes.h"

void frmabout::ShowModal(HWND owner) { RunModal(IDD_FRMABOUT, owner); }

bool frmabout::OnInit() {
  SetText(IDC_AB_LABEL4, std::string("please visit our website ") + kWebAddress);
  return TRUE;
}

bool frmabout::OnCommand(int id, int code, HWND control) {
  if (id == IDC_AB_LABEL4 && code == STN_CLICKED) {
    OpenWebAddress();
    return true;
  }
  return false;
}

INT_PTR frmabout::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == WM_DRAWITEM && wp == IDC_AB_PICTURE1) {
    DrawBanner(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    handled = true;
    return TRUE;
  }
  return FALSE;
}
