// The hidden tray window "systray": the notification-area icon and its popup menu, and the
// target of the boss hotkeys while the boss key is on.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "ui/Dialog.h"

class App;

class frmtray : public Dialog {
 public:
  explicit frmtray(App& app) : app_(app) {}
  // Loads the window: adds the icon, and switches the boss key on when "bosskey" reads as 1.
  bool Load();
  // The boss key on (both hotkeys, WM_HOTKEY handled) or off.
  void SetBossKey(bool on);
  bool BossKeyOn() const { return bossKey_; }
  HICON Icon() const { return icon_.hIcon; }  // the icon in the notification area
  // A message from the icon: mouse message number in lParam.
  void OnIconMessage(UINT mouseMessage);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  void OnClose() override {}  // the window goes only with the program
  void OnDestroy() override;

 private:
  void AddIcon();
  void ShowMenu();
  App& app_;
  NOTIFYICONDATAA icon_ = {};
  OwnedIcon trayIcon_;  // the program's icon at the notification area's size
  bool bossKey_ = false;
};
