// What the last run did with each entry: what went, and what stayed with its reason (changed
// since the preview, in use, refused by the folder guard, a browser running, not found).
#pragma once
#include <vector>

#include "engine/CleanRun.h"
#include "ui/Dialog.h"

class frmRunDetails : public Dialog {
 public:
  explicit frmRunDetails(std::vector<CleanRun::ItemReport> report) : report_(std::move(report)) {}
  void ShowModal(HWND owner);

 protected:
  bool OnInit() override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  std::vector<CleanRun::ItemReport> report_;
};
