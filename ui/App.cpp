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
#include "ui/frmtray.h"

App::App()
    : main_(new frmMainCode(*this)),
      cleanNow_(new frmcleannow(*this)),
      splash_(new Frmsplash(*this)),
      about_(new frmabout()),
      cookie_(new frmcookie()),
      url_(new frmurl()),
      tray_(new frmtray(*this)) {}

App::~App() = default;

bool App::Start() {
  if (splash_->Open()) return true;
  ShowMessage(nullptr, "Tracksweep could not open its window (error " + std::to_string(GetLastError()) + ") and ends now.",
              kProductTitle, MB_OK | MB_ICONSTOP);
  return false;
}

void App::LoadTray() { tray_->Load(); }
void App::UnloadTray() { tray_->Unload(); }
bool App::TrayLoaded() const { return tray_->IsLoaded(); }
void App::SetBossKey(bool on) { tray_->SetBossKey(on); }

void App::ExitFromTray() {
  tray_->Unload();
  cleanNow_->Unload();
  url_->Unload();
  about_->Unload();
  splash_->Unload();
  cookie_->Unload();
  main_->CloseHandler();
}

void App::EndAfterRun() {
  UnloadTray();
  cleanNow_->Unload();
  main_->CloseHandler();
}

void OpenWebAddress() {
  ShellExecuteA(nullptr, "open", kWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}
