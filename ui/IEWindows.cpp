#include "ui/IEWindows.h"

#include <vector>

namespace {

const UINT kZ = 90;

struct SavedWindow {
  HWND window;
  WINDOWPLACEMENT placement;
};

std::vector<SavedWindow>& Saved() {
  static std::vector<SavedWindow> saved;
  return saved;
}

BOOL CALLBACK EnumIEWindow(HWND window, LPARAM) {
  const std::string cls = GetWindowClass(window);
  if (cls == "CabinetWClass" || cls == "IEFrame") {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(window, &wp);
    Saved().push_back({window, wp});
    wp.showCmd = SW_HIDE;
    SetWindowPlacement(window, &wp);
  }
  return TRUE;
}

}  // namespace

std::string GetWindowClass(HWND window) {
  char name[256] = {0};
  const int n = GetClassNameA(window, name, 255);
  return std::string(name, n > 0 ? n : 0);
}

void HideIEWindows() {
  Saved().clear();
  EnumWindows(EnumIEWindow, 0);
}

void ShowIEWindows() {
  const std::vector<SavedWindow>& saved = Saved();
  // Windows closed since are passed over: their placement simply fails.
  for (auto it = saved.rbegin(); it != saved.rend(); ++it) SetWindowPlacement(it->window, &it->placement);
}

void RegisterBossKeys(HWND tray) {
  RegisterHotKey(tray, kHideHotkey, MOD_WIN, kZ);
  RegisterHotKey(tray, kShowHotkey, MOD_WIN | MOD_SHIFT, kZ);
}

void UnregisterBossKeys(HWND tray) {
  UnregisterHotKey(tray, kHideHotkey);
  UnregisterHotKey(tray, kShowHotkey);
}

void OnBossHotkey(WPARAM id, LPARAM lp) {
  const UINT modifiers = LOWORD(lp), key = HIWORD(lp);
  if (key != kZ) return;
  if (modifiers == MOD_WIN && id == static_cast<WPARAM>(kHideHotkey)) HideIEWindows();
  else if (modifiers == (MOD_WIN | MOD_SHIFT) && id == static_cast<WPARAM>(kShowHotkey)) ShowIEWindows();
}
