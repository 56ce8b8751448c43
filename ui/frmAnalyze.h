// "Analyze": what a run with the current ticks would erase, item by item, with sizes, counts
// and a grand total; sortable by size and copyable as text. Nothing is erased.
#pragma once
#include <string>
#include <vector>

#include "engine/CleanRun.h"
#include "ui/Dialog.h"

class frmAnalyze : public Dialog {
 public:
  explicit frmAnalyze(std::vector<PreviewItem> items) : items_(std::move(items)) {}
  void ShowModal(HWND owner);
  // The grand total's text, as the window shows it.
  std::string TotalText() const;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  struct Row {
    std::string item, kind, target;
    unsigned long long size;
  };
  void Fill();
  void SortBySize();
  void CopyAsText() const;
  std::vector<PreviewItem> items_;
  std::vector<Row> rows_;
  bool descending_ = true;
};
