// frmtray: the hidden tray window, its icon, menu and boss-key hotkeys.
#include "ui/frmtray.h"

#include "access/Normal.h"
#include "access/Prompts.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "ui/App.h"
#include "ui/BackgroundRes.h"
#include "ui/IEWindows.h"
#include "ui/frmMainCode.h"
#include "ui/frmcleannow.h"
#include "ui/frmoptions.h"

namespace {

// The icon reports its mouse messages as mouse moves of the window, the message in lParam.
const UINT kIconMessage = WM_MOUSEMOVE;

// Sent to every top-level window when Explorer starts again: icons must be added anew.
UINT TaskbarCreated() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

// The program's icon, drawn: a blue disc with a white sweep.
HICON MakeIcon() {
  static HICON icon = [] {
    const int size = 32;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP color = CreateCompatibleBitmap(screen, size, size), mask = CreateBitmap(size, size, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(dc, color);
    RECT all = {0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBRUSH blue = CreateSolidBrush(RGB(32, 96, 192));
    HGDIOBJ oldBrush = SelectObject(dc, blue);
    Ellipse(dc, 1, 1, size - 1, size - 1);
    HPEN white = CreatePen(PS_SOLID, 4, RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc, white);
    MoveToEx(dc, 9, 21, nullptr);
    LineTo(dc, 23, 11);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(white);
    DeleteObject(blue);
    SelectObject(dc, mask);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Ellipse(dc, 1, 1, size - 1, size - 1);
    SelectObject(dc, old);
    ICONINFO info = {TRUE, 0, 0, mask, color};
    HICON made = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return made ? made : LoadIcon(nullptr, IDI_APPLICATION);
  }();
  return icon;
}

}  // namespace

bool frmtray::Load() { return CreateModeless(IDD_FRMTRAY); }

bool frmtray::OnInit() {
  icon_ = {};
  icon_.cbSize = NOTIFYICONDATAA_V1_SIZE;  // the first version: 88 bytes in a 32-bit program
  icon_.hWnd = hwnd();
  icon_.uID = 1;
  icon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon_.uCallbackMessage = kIconMessage;
  icon_.hIcon = MakeIcon();
  lstrcpynA(icon_.szTip, kProductTitle, sizeof icon_.szTip);
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.hIcon));
  AddIcon();
  if (TickStrict(ReadIni(SettingsPath(), "Additional", "bosskey"))) SetBossKey(true);
  return TRUE;
}

void frmtray::AddIcon() { Shell_NotifyIconA(NIM_ADD, &icon_); }

void frmtray::OnDestroy() {
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
  POINT at;
  GetCursorPos(&at);
  // In the foreground, so that a click elsewhere closes the menu; the empty message after it
  // lets the next click reach the menu's owner as it should.
  SetForegroundWindow(hwnd());
  TrackPopupMenu(GetSubMenu(bar, 0), TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
  PostMessageA(hwnd(), WM_NULL, 0, 0);
  DestroyMenu(bar);
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
  if (msg == WM_HOTKEY && bossKey_) OnBossHotkey(wp, lp);  // and passed on unchanged
  if (msg == TaskbarCreated() && TaskbarCreated() != 0) AddIcon();
  return FALSE;
}
