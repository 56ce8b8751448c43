// The splash window: loads the main window hidden, then shows it after two seconds.
#pragma once
#include "ui/ProductInfoDialog.h"

class App;

class Frmsplash : public ProductInfoDialog {
 public:
  explicit Frmsplash(App& app);
  // False when the window could not be created.
  bool Open();
  static const UINT kDelayMs = 2000;

 protected:
  bool OnInit() override;
  bool OnTimer(UINT_PTR timerId) override;
  void OnClose() override {}  // the timer ends the splash

 private:
  App& app_;
};
