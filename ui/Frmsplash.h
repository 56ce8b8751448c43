// The splash window: loads the main window hidden, then shows it after two seconds.
#pragma once
#include "ui/Dialog.h"

class App;

class Frmsplash : public Dialog {
 public:
  explicit Frmsplash(App& app) : app_(app) {}
  void Open();
  static const UINT kDelayMs = 2000;

 protected:
  bool OnInit() override;
  bool OnTimer(UINT_PTR timerId) override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnClose() override {}  // the timer ends the splash
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  App& app_;
};
