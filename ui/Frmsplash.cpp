#include "ui/Frmsplash.h"

#include "settings/AppFolder.h"
#include "ui/App.h"
#include "ui/FrmsplashRes.h"
#include "ui/NavImage.h"
#include "ui/frmMainCode.h"

namespace {
const UINT_PTR kTimer1 = 1;
}

void Frmsplash::Open() { CreateModeless(IDD_FRMSPLASH); }

bool Frmsplash::OnInit() {
  SetText(IDC_SP_LABEL4, std::string("please visit our website ") + kWebAddress);
  // The main window reads its ticks before the splash is drawn.
  app_.Main().Load();
  SetTimer(hwnd(), kTimer1, kDelayMs, nullptr);
  return TRUE;
}

bool Frmsplash::OnTimer(UINT_PTR timerId) {
  if (timerId != kTimer1) return false;
  KillTimer(hwnd(), kTimer1);
  app_.LoadTray();
  app_.Main().Show();
  Unload();
  return true;
}

bool Frmsplash::OnCommand(int id, int code, HWND control) {
  if (id == IDC_SP_LABEL4 && code == STN_CLICKED) {
    OpenWebAddress();
    return true;
  }
  return false;
}

INT_PTR Frmsplash::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == WM_DRAWITEM && wp == IDC_SP_PICTURE1) {
    DrawBanner(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    handled = true;
    return TRUE;
  }
  return FALSE;
}
