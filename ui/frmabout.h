// The about box: texts and pictures, closed with the window's close control.
#pragma once
#include "ui/Dialog.h"

class App;

class frmabout : public Dialog {
 public:
  explicit frmabout(App& app) : app_(app) {}
  void ShowModal(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  App& app_;
};
