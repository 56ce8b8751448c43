// "Analyze": what a run with the current ticks would erase, item by item, each entry with a
// tick and each item's heading with one for all its entries. "Clean these" erases the ticked
// entries only, through the progress dialog; "Keep this" puts a cookie, an address or a site on
// its keep list; "Save list" writes the preview as a list that tswclean --from carries out.
// Sortable by size and copyable as text. Cancel erases nothing.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "engine/Preview.h"
#include "ui/Dialog.h"

class frmAnalyze : public Dialog {
 public:
  using CleanThese = std::function<void(const std::vector<PreviewItem>&)>;
  frmAnalyze(std::vector<PreviewItem> items, CleanThese clean) : items_(std::move(items)), clean_(std::move(clean)) {}
  void ShowModal(HWND owner);
  // The totals' text, as the window shows it.
  std::string TotalText() const;
  const std::vector<PreviewItem>& items() const { return items_; }
  // "Keep this" on the entry of the row: false when the entry is of no keep list.
  bool KeepEntry(int row);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  struct Row {
    size_t item;
    int entry;  // -1: the item's heading
    unsigned long long size;
  };
  void BuildRows();
  void Fill();
  void ShowTicks();
  void Toggled(int row, bool ticked);
  void SortBySize();
  void CopyAsText() const;
  void SaveList();
  void ShowMenu(int row);
  std::vector<PreviewItem> items_;
  CleanThese clean_;
  std::vector<Row> rows_;
  bool descending_ = true;
  bool filling_ = false;
};
