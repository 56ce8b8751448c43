// The about box: texts and pictures, closed with the window's close control.
#pragma once
#include "ui/ProductInfoDialog.h"

class frmabout : public ProductInfoDialog {
 public:
  frmabout();
  void ShowModal(HWND owner);
};
