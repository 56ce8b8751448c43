// The sub-item dialogs (frmnetscape, frmopera, frmmsn, frmoffice) and frmmoreapp: boxes read
// from prisd.dat when the dialog opens, written back only by OK. One class; each dialog is a
// description and a template.
#pragma once
#include <vector>

#include "ui/Dialog.h"

struct SubItemRow {
  int check;                      // Check<n> of the template
  const char* key;                // its key in the dialog's section
  const char* caption = nullptr;  // set on the box when the template leaves it to the table
};

struct SubItemDescription {
  int templateId;
  const char* section;
  std::vector<SubItemRow> rows;  // in the order the keys are read and written
  int selectAll;                 // Check<n> that ticks and unticks every row; 0: none
  bool operaFolder;              // Text1 holds "Path", with Change Directory
};

const SubItemDescription& NetscapeOptions();
const SubItemDescription& OperaOptions();
const SubItemDescription& MsnOptions();
const SubItemDescription& OfficeOptions();
const SubItemDescription& MoreAppOptions();

class SubItemDialog : public Dialog {
 public:
  explicit SubItemDialog(const SubItemDescription& description) : d_(description) {}
  void ShowModal(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  // What a dialog shows and stores beyond its rows.
  virtual void LoadMore() {}
  virtual void StoreMore() {}

 private:
  void OkPressed();
  void ChangeDirectoryPressed();
  const SubItemDescription& d_;
};
