// The about box: texts and pictures, closed with OK, Esc or the window's close control.
#pragma once
#include "ui/ProductInfoDialog.h"

class frmabout : public ProductInfoDialog {
 public:
  frmabout();
  void ShowModal(HWND owner);

 protected:
  bool OnCommand(int id, int code, HWND control) override;
};
