// IEWindows: the boss key's hiding and showing of browser and Explorer windows.
#include "ui/IEWindows.h"

#include <vector>

namespace {

const UINT kZ = 90;

struct SavedWindow {
  HWND window;
  WINDOWPLACEMENT placement;  // as it was before the boss key hid it
  bool hidden;                // hidden by the boss key and not shown again since
};

std::vector<SavedWindow>& Saved() {
  static std::vector<SavedWindow> saved;
  return saved;
}

const SavedWindow* StillHiddenByUs(const std::vector<SavedWindow>& previous, HWND window) {
  for (const SavedWindow& s : previous)
    if (s.window == window && s.hidden) return &s;
  return nullptr;
}

// The state a placement describes, as ShowWindow takes it, without taking the focus.
int ShowCommandOf(const WINDOWPLACEMENT& wp) {
  if (wp.showCmd == SW_SHOWMAXIMIZED) return SW_SHOWMAXIMIZED;
  if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE || wp.showCmd == SW_SHOWMINNOACTIVE)
    return SW_SHOWMINNOACTIVE;
  return SW_SHOWNOACTIVATE;
}

// previous: the list this hide replaces.
BOOL CALLBACK EnumIEWindow(HWND window, LPARAM previous) {
  const std::string cls = GetWindowClass(window);
  if (cls != "CabinetWClass" && cls != "IEFrame") return TRUE;
  if (!IsWindowVisible(window)) {
    // Hidden by an earlier press: it keeps the placement it had then. Hidden by anyone else:
    // not ours to show.
    const auto& list = *reinterpret_cast<const std::vector<SavedWindow>*>(previous);
    if (const SavedWindow* earlier = StillHiddenByUs(list, window)) Saved().push_back(*earlier);
    return TRUE;
  }
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(window, &wp)) return TRUE;
  Saved().push_back({window, wp, true});
  wp.showCmd = SW_HIDE;
  // A window of another process takes no placement under Wine (it fails without an error);
  // ShowWindow works across processes everywhere.
  if (!SetWindowPlacement(window, &wp) || IsWindowVisible(window)) ShowWindow(window, SW_HIDE);
  return TRUE;
}

void Restore(SavedWindow& s) {
  if (!IsWindow(s.window)) return;  // closed since: passed over
  if (!SetWindowPlacement(s.window, &s.placement) || !IsWindowVisible(s.window))
    ShowWindow(s.window, ShowCommandOf(s.placement));
  s.hidden = false;
}

}  // namespace

std::string GetWindowClass(HWND window) {
  char name[256] = {0};
  const int n = GetClassNameA(window, name, 255);
  return std::string(name, n > 0 ? n : 0);
}

void HideIEWindows() {
  std::vector<SavedWindow> previous;
  previous.swap(Saved());
  EnumWindows(EnumIEWindow, reinterpret_cast<LPARAM>(&previous));
}

void ShowIEWindows() {
  std::vector<SavedWindow>& saved = Saved();
  for (auto it = saved.rbegin(); it != saved.rend(); ++it) Restore(*it);
}

void ShowWindowsHiddenByBossKey() {
  std::vector<SavedWindow>& saved = Saved();
  for (auto it = saved.rbegin(); it != saved.rend(); ++it)
    if (it->hidden) Restore(*it);
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
