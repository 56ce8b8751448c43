#include "ui/frmAnalyze.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>

#include "access/Prompts.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"
#include "keeplists/SiteKeepList.h"
#include "ui/frmcleannowRes.h"

namespace {
std::string Bytes(double n) { return std::to_string(static_cast<unsigned long long>(n)); }

bool AllTicked(const PreviewItem& item) {
  return std::all_of(item.entries.begin(), item.entries.end(), [](const PreviewEntry& e) { return e.ticked; });
}

// The keep list an entry belongs on, and what goes there; false for any other entry.
bool KeepListOf(const PreviewItem& item, const PreviewEntry& e, std::string& file, std::string& line) {
  if (item.name == "IE Cookies" && e.kind == "file") {
    file = KeepCookieFile();
    line = e.target;
    return true;
  }
  if (e.kind == "typed address") {
    file = KeepUrlFile();
    line = e.target;
    return true;
  }
  const size_t of = e.target.find(": cookies of ");
  const size_t mozOf = e.target.find(": moz_cookies of ");
  if (e.kind == "rows" && (of != std::string::npos || mozOf != std::string::npos)) {
    const size_t from = of != std::string::npos ? of + 13 : mozOf + 17;
    file = KeepSiteFile();
    line = e.target.substr(from, e.target.rfind(" (") - from);
    return !line.empty();
  }
  return false;
}
}  // namespace

void frmAnalyze::ShowModal(HWND owner) { RunModal(IDD_FRMANALYZE, owner); }

std::string frmAnalyze::TotalText() const {
  const PreviewTotals all = TotalsOf(items_, false), ticked = TotalsOf(items_, true);
  return "Total: " + std::to_string(items_.size()) + " items, " + std::to_string(all.entries) + " entries, " +
         Bytes(all.bytes) + " bytes. Ticked: " + std::to_string(ticked.entries) + " entries, " + Bytes(ticked.keys) +
         " registry keys, " + Bytes(ticked.bytes) + " bytes. Nothing has been erased.";
}

bool frmAnalyze::OnInit() {
  HWND list = Item(IDC_AN_LIST);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
  AddListColumns(list, {{"Item", 150}, {"Kind", 70}, {"Target", 380}, {"Size", 80}});
  BuildRows();
  Fill();
  return TRUE;
}

void frmAnalyze::BuildRows() {
  // Per item: its heading, with what its entries hold, then its entries.
  rows_.clear();
  for (size_t i = 0; i < items_.size(); ++i) {
    unsigned long long bytes = 0;
    for (const PreviewEntry& e : items_[i].entries) bytes += e.size;
    rows_.push_back({i, -1, bytes});
    for (size_t k = 0; k < items_[i].entries.size(); ++k) rows_.push_back({i, static_cast<int>(k), items_[i].entries[k].size});
  }
}

void frmAnalyze::Fill() {
  HWND list = Item(IDC_AN_LIST);
  filling_ = true;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& r = rows_[i];
    const PreviewItem& item = items_[r.item];
    const bool heading = r.entry < 0;
    const std::string kind = heading ? "item" : item.entries[static_cast<size_t>(r.entry)].kind;
    const std::string target =
        heading ? std::to_string(item.entries.size()) + " entries" : item.entries[static_cast<size_t>(r.entry)].target;
    AddListRow(list, static_cast<int>(i), {item.name, kind, target, Bytes(static_cast<double>(r.size))});
  }
  ShowTicks();
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  filling_ = false;
}

void frmAnalyze::ShowTicks() {
  HWND list = Item(IDC_AN_LIST);
  const bool was = filling_;
  filling_ = true;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& r = rows_[i];
    const bool ticked = r.entry < 0 ? AllTicked(items_[r.item]) : items_[r.item].entries[static_cast<size_t>(r.entry)].ticked;
    ListView_SetCheckState(list, static_cast<int>(i), ticked);
  }
  filling_ = was;
  SetText(IDC_AN_TOTAL, TotalText());
}

void frmAnalyze::Toggled(int row, bool ticked) {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
  const Row& r = rows_[static_cast<size_t>(row)];
  PreviewItem& item = items_[r.item];
  if (r.entry < 0) {
    for (PreviewEntry& e : item.entries) e.ticked = ticked;  // the heading ticks all its entries
  } else {
    item.entries[static_cast<size_t>(r.entry)].ticked = ticked;
  }
  ShowTicks();
}

bool frmAnalyze::KeepEntry(int row) {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size() || rows_[static_cast<size_t>(row)].entry < 0) return false;
  const Row& r = rows_[static_cast<size_t>(row)];
  PreviewEntry& e = items_[r.item].entries[static_cast<size_t>(r.entry)];
  std::string file, line;
  if (!KeepListOf(items_[r.item], e, file, line)) return false;
  std::vector<std::string> kept;
  if (!ReadListFile(file, kept)) {
    ShowMessage(hwnd(), "The keep list " + file + " could not be read, so nothing was added to it.", kProductTitle,
                MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (std::find(kept.begin(), kept.end(), line) == kept.end()) AppendListLine(file, line);
  e.ticked = false;
  ShowTicks();
  return true;
}

void frmAnalyze::ShowMenu(int row) {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size() || rows_[static_cast<size_t>(row)].entry < 0) return;
  const Row& r = rows_[static_cast<size_t>(row)];
  std::string file, line;
  HMENU menu = CreatePopupMenu();
  const bool keepable = KeepListOf(items_[r.item], items_[r.item].entries[static_cast<size_t>(r.entry)], file, line);
  AppendMenuA(menu, MF_STRING | (keepable ? 0 : MF_GRAYED), IDM_AN_KEEP, "Keep this");
  POINT at;
  GetCursorPos(&at);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
  DestroyMenu(menu);
  if (chosen == IDM_AN_KEEP) KeepEntry(row);
}

void frmAnalyze::SortBySize() {
  // Items by their size, and the entries of each by theirs; a heading stays above its entries.
  std::vector<size_t> order(items_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto itemSize = [&](size_t i) {
    unsigned long long n = 0;
    for (const PreviewEntry& e : items_[i].entries) n += e.size;
    return n;
  };
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return descending_ ? itemSize(a) > itemSize(b) : itemSize(a) < itemSize(b);
  });
  std::vector<Row> sorted;
  for (size_t i : order) {
    std::vector<Row> entries;
    for (const Row& r : rows_)
      if (r.item == i) (r.entry < 0 ? sorted : entries).push_back(r);
    std::stable_sort(entries.begin(), entries.end(), [this](const Row& a, const Row& b) {
      return descending_ ? a.size > b.size : a.size < b.size;
    });
    sorted.insert(sorted.end(), entries.begin(), entries.end());
  }
  rows_.swap(sorted);
  descending_ = !descending_;
  Fill();
}

void frmAnalyze::CopyAsText() const {
  const std::string text = PreviewText(items_);
  if (!OpenClipboard(hwnd())) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (memory) {
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

void frmAnalyze::SaveList() {
  const std::string path = AskFileName(hwnd(), true, "Preview lists (*.txt)|*.txt");
  if (path.empty()) return;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << PreviewListText(items_);
  if (!out.good())
    ShowMessage(hwnd(), "The list could not be written to " + path + ".", kProductTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool frmAnalyze::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_AN_COPY) {
    CopyAsText();
  } else if (id == IDC_AN_SAVE) {
    SaveList();
  } else if (id == IDC_AN_CLEAN) {
    // The window goes first: the run reports in the progress dialog, as Clean Now does.
    const std::vector<PreviewItem> chosen = items_;
    Unload(IDOK);
    if (clean_) clean_(chosen);
  } else if (id == IDC_AN_CLOSE) {
    Unload(IDCANCEL);
  } else {
    return false;
  }
  return true;
}

INT_PTR frmAnalyze::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg != WM_NOTIFY) return 0;
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
  if (header->idFrom != IDC_AN_LIST) return 0;
  if (header->code == LVN_COLUMNCLICK && reinterpret_cast<const NMLISTVIEW*>(lp)->iSubItem == 3) {
    SortBySize();
    handled = true;
  } else if (header->code == LVN_ITEMCHANGED && !filling_) {
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lp);
    const UINT oldState = change->uOldState & LVIS_STATEIMAGEMASK, newState = change->uNewState & LVIS_STATEIMAGEMASK;
    if ((change->uChanged & LVIF_STATE) && oldState && newState && oldState != newState)
      Toggled(change->iItem, newState == INDEXTOSTATEIMAGEMASK(2));
  } else if (header->code == NM_RCLICK) {
    ShowMenu(reinterpret_cast<const NMITEMACTIVATE*>(lp)->iItem);
    handled = true;
  }
  return 0;
}
