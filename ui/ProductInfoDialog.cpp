#include "ui/ProductInfoDialog.h"

#include "settings/AppFolder.h"
#include "ui/App.h"
#include "ui/NavImage.h"

bool ProductInfoDialog::OnInit() {
  SetText(linkId_, std::string("please visit our website ") + kWebAddress);
  return TRUE;
}

bool ProductInfoDialog::OnCommand(int id, int code, HWND control) {
  if (id == linkId_ && code == STN_CLICKED) {
    OpenWebAddress();
    return true;
  }
  return false;
}

INT_PTR ProductInfoDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == WM_DRAWITEM && static_cast<int>(wp) == pictureId_) {
    DrawBanner(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    handled = true;
    return TRUE;
  }
  return FALSE;
}
