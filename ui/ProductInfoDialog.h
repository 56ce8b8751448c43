// What the splash and the about box share: the banner picture and the web link.
#pragma once
#include "ui/Dialog.h"

class ProductInfoDialog : public Dialog {
 protected:
  ProductInfoDialog(int pictureId, int linkId) : pictureId_(pictureId), linkId_(linkId) {}
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  int pictureId_;
  int linkId_;
};
