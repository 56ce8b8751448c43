// The hidden tray window "systray": the notification-area icon and its popup menu, the
// target of the boss hotkeys while the boss key is on, and the watch on the browsers to clean
// when they close.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <map>
#include <memory>
#include <string>

#include "engine/BrowserWatch.h"
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
  // Reads again which browsers are cleaned when they close, and watches them.
  void WatchBrowsers();
  // A balloon of the icon, and what the last one said.
  void ShowNotice(const std::string& text);
  const std::string& LastNotice() const { return lastNotice_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  void OnClose() override {}  // the window goes only with the program
  void OnDestroy() override;
  bool OnTimer(UINT_PTR timerId) override;

 private:
  void AddIcon();
  void ShowMenu();
  // The browsers that closed: each cleaned once its delay has passed, unless it runs again.
  void CleanClosedBrowsers();
  App& app_;
  NOTIFYICONDATAA icon_ = {};
  OwnedIcon trayIcon_;  // the program's icon at the notification area's size
  bool bossKey_ = false;
  std::unique_ptr<BrowserWatch> watch_;
  std::map<const BrowserInfo*, DWORD> closedAt_;  // tick count of the close
  std::string lastNotice_;
};
