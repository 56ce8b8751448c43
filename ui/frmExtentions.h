// The file-type list dialog ("Options" of Search & Erase): Ext.txt's valid entries, Add,
// Remove, Default and Done. After each change it hands the new search string to its caller.
#pragma once
#include <functional>
#include <string>

#include "ui/Dialog.h"

class frmExtentions : public Dialog {
 public:
  explicit frmExtentions(std::function<void(const std::string&)> searchStringChanged)
      : changed_(std::move(searchStringChanged)) {}
  void ShowModal(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void FillList();  // LoadTypeList
  void Reload();    // the list, and the caller's search string
  void AddPressed();
  void RemovePressed();
  void DefaultPressed();
  std::function<void(const std::string&)> changed_;
};
