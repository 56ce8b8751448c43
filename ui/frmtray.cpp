// frmtray: the hidden tray window, its icon, menu and boss-key hotkeys.
#include "ui/frmtray.h"

#include <algorithm>

#include "access/Normal.h"
#include "access/Processes.h"
#include "access/Prompts.h"
#include "settings/AppFolder.h"
#include "settings/Additional.h"
#include "settings/Inifun.h"
#include "ui/App.h"
#include "ui/BackgroundRes.h"
#include "ui/Dpi.h"
#include "ui/ProgramIconRes.h"
#include "ui/IEWindows.h"
#include "ui/frmMainCode.h"
#include "ui/frmcleannow.h"
#include "ui/frmoptions.h"

namespace {

// The icon reports its mouse messages as mouse moves of the window, the message in lParam.
const UINT kIconMessage = WM_MOUSEMOVE;

// A watched browser process ended (posted from the thread pool).
const UINT kProcessEnded = WM_APP + 20;
// New processes of the watched browsers are looked for this often; their end is waited on.
const UINT_PTR kLookTimer = 1;
const UINT kLookEveryMs = 2000;
const UINT_PTR kCleanTimer = 2;

// Sent to every top-level window when Explorer starts again: icons must be added anew.
UINT TaskbarCreated() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

}  // namespace

bool frmtray::Load() { return CreateModeless(IDD_FRMTRAY); }

bool frmtray::OnInit() {
  icon_ = {};
  icon_.cbSize = NOTIFYICONDATAA_V2_SIZE;  // the version with balloons
  icon_.hWnd = hwnd();
  icon_.uID = 1;
  icon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon_.uCallbackMessage = kIconMessage;
  trayIcon_ = LoadProgramIcon(IDI_PROGRAM, SystemMetricAt(SM_CXSMICON, Dpi()));
  icon_.hIcon = trayIcon_.get();
  lstrcpynA(icon_.szTip, kProductTitle, sizeof icon_.szTip);
  AddIcon();
  if (OptionOn(SettingsPath(), Option::BossKey)) SetBossKey(true);
  HWND window = hwnd();
  watch_ = std::make_unique<BrowserWatch>([window] { PostMessageA(window, kProcessEnded, 0, 0); });
  WatchBrowsers();
  return TRUE;
}

void frmtray::WatchBrowsers() {
  if (!watch_) return;
  watch_->Choose(SettingsPath());
  if (!watch_->Watching()) {
    KillTimer(hwnd(), kLookTimer);
    return;
  }
  watch_->Look();
  SetTimer(hwnd(), kLookTimer, kLookEveryMs, nullptr);
}

bool frmtray::OnTimer(UINT_PTR timerId) {
  if (timerId == kLookTimer && watch_) {
    watch_->Look();
    return true;
  }
  if (timerId == kCleanTimer) {
    CleanClosedBrowsers();
    return true;
  }
  return false;
}

void frmtray::CleanClosedBrowsers() {
  KillTimer(hwnd(), kCleanTimer);
  // One cleaning at a time, and none under a dialog the user has open: asked again shortly.
  if (RunUnderWay() || OpenModal()) {
    SetTimer(hwnd(), kCleanTimer, 1000, nullptr);
    return;
  }
  const DWORD now = GetTickCount();
  DWORD next = 0;
  for (auto it = closedAt_.begin(); it != closedAt_.end();) {
    const DWORD waited = now - it->second;
    if (waited < kCleanAfterCloseMs) {
      next = next ? std::min(next, kCleanAfterCloseMs - waited) : kCleanAfterCloseMs - waited;
      ++it;
      continue;
    }
    const BrowserInfo& info = *it->first;
    it = closedAt_.erase(it);
    if (AnyProcessRunning(info.processes)) continue;  // started again meanwhile: its next close counts
    const ClosedBrowserCleaning cleaning = CleanClosedBrowser(info, SettingsPath());
    if (!cleaning.ran) continue;
    ShowNotice(ClosedBrowserNotice(cleaning));
    app_.Main().ShowLastRun();
  }
  if (next) SetTimer(hwnd(), kCleanTimer, next, nullptr);
}

void frmtray::ShowNotice(const std::string& text) {
  lastNotice_ = text;
  NOTIFYICONDATAA notice = icon_;
  notice.uFlags = NIF_INFO;
  lstrcpynA(notice.szInfo, text.c_str(), sizeof notice.szInfo);
  lstrcpynA(notice.szInfoTitle, kProductTitle, sizeof notice.szInfoTitle);
  notice.dwInfoFlags = NIIF_INFO;
  Shell_NotifyIconA(NIM_MODIFY, &notice);
}

void frmtray::AddIcon() { Shell_NotifyIconA(NIM_ADD, &icon_); }

void frmtray::OnDestroy() {
  KillTimer(hwnd(), kLookTimer);
  KillTimer(hwnd(), kCleanTimer);
  watch_.reset();  // no wait of the pool calls back after this
  closedAt_.clear();
  SetBossKey(false);
  Shell_NotifyIconA(NIM_DELETE, &icon_);
}

void frmtray::SetBossKey(bool on) {
  if (!IsLoaded() || on == bossKey_) return;
  if (on) {
    RegisterBossKeys(hwnd());
  } else {
    UnregisterBossKeys(hwnd());
    ShowWindowsHiddenByBossKey();
  }
  bossKey_ = on;
}

void frmtray::OnIconMessage(UINT mouseMessage) {
  if (!IsWindowEnabled(hwnd())) return;  // a message box holds the program
  if (mouseMessage == WM_LBUTTONUP) app_.Main().Show();
  else if (mouseMessage == WM_RBUTTONUP) ShowMenu();
}

void frmtray::ShowMenu() {
  HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU));
  if (!bar) return;
  HMENU menu = GetSubMenu(bar, 0);
  // In bold, what a left click on the icon does.
  SetMenuDefaultItem(menu, IDM_TRAY_RESTORE, FALSE);
  POINT at;
  GetCursorPos(&at);
  const int chosen = ChooseFromMenu(hwnd(), menu, at);
  // The empty message lets the next click reach the menu's owner as it should.
  PostMessageA(hwnd(), WM_NULL, 0, 0);
  DestroyMenu(bar);
  if (chosen) OnCommand(chosen, 0, nullptr);
}

bool frmtray::OnCommand(int id, int code, HWND control) {
  // One modal dialog at a time: while one is open the menu opens no other window, and the
  // open one comes forward instead; Restore, Help and Exit still act.
  if ((id == IDM_TRAY_OPTION || id == IDM_TRAY_ERASE) && OpenModal()) {
    SetForegroundWindow(OpenModal());
    return true;
  }
  switch (id) {
    case IDM_TRAY_HELP: ShowHelpFile(); return true;
    case IDM_TRAY_OPTION: frmoptions(app_).ShowModal(app_.Main().hwnd()); return true;
    case IDM_TRAY_RESTORE: app_.Main().Show(); return true;
    case IDM_TRAY_ERASE: app_.CleanNow().Open(); return true;
    case IDM_TRAY_EXIT: app_.ExitFromTray(); return true;
    default: return false;
  }
}

INT_PTR frmtray::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == kIconMessage) {
    OnIconMessage(static_cast<UINT>(lp));
    handled = true;
    return TRUE;
  }
  if (msg == kProcessEnded && watch_) {
    for (const BrowserInfo* closed : watch_->TakeClosed()) closedAt_[closed] = GetTickCount();
    if (!closedAt_.empty()) SetTimer(hwnd(), kCleanTimer, kCleanAfterCloseMs, nullptr);
    handled = true;
    return TRUE;
  }
  if (msg == WM_HOTKEY && bossKey_) OnBossHotkey(wp, lp);  // and passed on unchanged
  if (msg == TaskbarCreated() && TaskbarCreated() != 0) AddIcon();
  return FALSE;
}
