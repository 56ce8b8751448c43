// More Windows Tracks: the traces of the table, each with what else it resets, ticked from
// prisd.dat (section MOREWINDOWS) when the dialog opens and stored there when OK is pressed.
#pragma once
#include "ui/Dialog.h"

class frmmorewindows : public Dialog {
 public:
  void ShowModal(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void FollowBoxes();  // "Select all of the above" ticked exactly while every box is
  void OkPressed();
};
