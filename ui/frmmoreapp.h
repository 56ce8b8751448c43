// More Applications: the 23 boxes, and beside them the detected applications of a winapp2.ini
// the user brought, by group, each ticked or not in prisd.dat's section of its own, and a line
// that counts the file's entries, those detected here and those that could not be used.
#pragma once
#include <vector>

#include "engine/Winapp2.h"
#include "ui/SubItemDialog.h"

class frmmoreapp : public SubItemDialog {
 public:
  frmmoreapp() : SubItemDialog(MoreAppOptions()) {}

 protected:
  void LoadMore() override;
  void StoreMore() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  std::vector<AppDefinition> shown_;  // detected entries, in list order
  bool loading_ = false;
};
