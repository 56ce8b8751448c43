// More Browsers: the browsers of the built-in table found here and, for the one selected, the
// kinds of tracks a run erases in it. The ticks are kept while the dialog is open and stored
// in prisd.dat, section MOREBROWSERS, when OK is pressed.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "engine/Browsers.h"
#include "ui/Dialog.h"
#include "ui/KeepListDialog.h"

class frmmorebrowsers : public Dialog {
 public:
  void ShowModal(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void ShowKinds();   // the selected browser's ticks into the boxes
  void KeepKinds();   // the boxes into the selected browser's ticks
  void OkPressed();
  std::vector<FoundBrowser> found_;
  std::map<std::string, bool> ticks_;  // by settings key: "Google Chrome History"
  int shown_ = -1;                     // the browser whose kinds the boxes show
};

// The site keep list: sites of the cookie databases on the left, kept ones on the right.
class frmsites : public KeepListDialog {
 public:
  frmsites();

 protected:
  std::vector<std::string> CurrentEntries() const override;
  std::string ListFile() const override;
};
