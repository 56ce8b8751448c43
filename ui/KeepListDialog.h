// A keep-list dialog: the current entries, the kept ones, and Add / Remove that write the
// list file at once. frmcookie and frmurl differ only in what they list and where they keep it.
#pragma once
#include <string>
#include <vector>

#include "ui/Dialog.h"

class KeepListDialog : public Dialog {
 public:
  void ShowModal(HWND owner);
  // The buttons, as the user presses them.
  void AddPressed();
  void RemovePressed();

 protected:
  explicit KeepListDialog(int templateId) : templateId_(templateId) {}
  virtual std::vector<std::string> CurrentEntries() const = 0;
  virtual std::string ListFile() const = 0;

  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  int templateId_;
};

class frmcookie : public KeepListDialog {
 public:
  frmcookie();

 protected:
  std::vector<std::string> CurrentEntries() const override;
  std::string ListFile() const override;
};

class frmurl : public KeepListDialog {
 public:
  frmurl();

 protected:
  std::vector<std::string> CurrentEntries() const override;
  std::string ListFile() const override;
};
