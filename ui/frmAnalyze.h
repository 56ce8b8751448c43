// "Analyze": what a run with the current ticks would erase, item by item, each entry with a
// tick and each item's heading with one for all its entries (partly ticked when some are not).
// What a keep list keeps is shown greyed, with the list that keeps it. "Clean these" asks once,
// naming how much, then erases the ticked entries only, through the progress dialog; "Keep
// this" (a button, the context menu, the context-menu key or Shift+F10) puts a cookie, an
// address or a site on its keep list; "Save list" writes the preview as a list that tswclean
// --from carries out. Resizable, remembering its size; sortable by size and copyable as text.
// Cancel erases nothing, and no button that erases is the default: Enter never starts a run.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "engine/Preview.h"
#include "ui/AnalyzeText.h"
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
  void OnClose() override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  struct Row {
    size_t item;
    int entry;  // -1: the item's heading
    unsigned long long size;
  };
  const PreviewEntry* EntryOf(int row) const;
  int SelectedRow() const;
  void BuildRows();
  void Fill();
  void ShowTicks();
  void ShowDetails();
  void Toggled(int row, bool ticked);
  void SortBySize();
  void CopyAsText() const;
  void SaveList();
  void ShowMenu(int row, POINT at);
  POINT RowPoint(int row) const;  // below the row's text, on the screen
  void Layout();
  void RememberSize();
  void Close(INT_PTR code);
  int detailsLines_ = 2;  // the details line's height in lines: as many as the whole target takes
  std::vector<PreviewItem> items_;
  CleanThese clean_;
  std::vector<Row> rows_;
  bool descending_ = true;
  bool filling_ = false;
  std::string tip_;  // the tooltip's text, kept while the list shows it
  DWORD appsKeyAt_ = 0;  // when the context-menu key last opened the menu
};
