#include "ui/App.h"

#include <windows.h>
#include <shellapi.h>

#include "access/Prompts.h"
#include "settings/AppFolder.h"
#include "ui/Frmsplash.h"
#include "ui/KeepListDialog.h"
#include "ui/frmabout.h"
#include "ui/frmcleannow.h"
#include "ui/frmMainCode.h"

App::App()
    : main_(new frmMainCode(*this)),
      cleanNow_(new frmcleannow(*this)),
      splash_(new Frmsplash(*this)),
      about_(new frmabout()),
      cookie_(new frmcookie()),
      url_(new frmurl()) {}

App::~App() = default;

bool App::Start() {
  if (splash_->Open()) return true;
  ShowMessage(nullptr, "Tracksweep could not open its window (error " + std::to_string(GetLastError()) + ") and ends now.",
              kProductTitle, MB_OK | MB_ICONSTOP);
  return false;
}

void App::LoadTray() {
  // The tray form (notification-area icon, boss hotkeys) is created here once it exists;
  // until then Minimize must not hide the main window, so TrayLoaded() stays false.
}

void App::UnloadTray() { trayLoaded_ = false; }

void App::EndAfterRun() {
  UnloadTray();
  cleanNow_->Unload();
  main_->CloseHandler();
}

void OpenWebAddress() {
  ShellExecuteA(nullptr, "open", kWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}
