// Frmsplash: the splash window shown at start.
#include "ui/Frmsplash.h"

#include "ui/App.h"
#include "ui/FrmsplashRes.h"
#include "ui/frmMainCode.h"

namespace {
const UINT_PTR kTimer1 = 1;
}

Frmsplash::Frmsplash(App& app) : ProductInfoDialog(IDC_SP_PICTURE1, IDC_SP_LABEL4), app_(app) {}

bool Frmsplash::Open() { return CreateModeless(IDD_FRMSPLASH); }

bool Frmsplash::OnInit() {
  ProductInfoDialog::OnInit();
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
