#include "ui/frmAnalyze.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/frmcleannowRes.h"

namespace {
std::string Bytes(unsigned long long n) { return std::to_string(n); }
}  // namespace

void frmAnalyze::ShowModal(HWND owner) { RunModal(IDD_FRMANALYZE, owner); }

std::string frmAnalyze::TotalText() const {
  unsigned long long entries = 0, bytes = 0;
  for (const PreviewItem& item : items_) {
    entries += item.entries.size();
    for (const RecordingEraser::Entry& e : item.entries) bytes += e.size;
  }
  return "Total: " + std::to_string(items_.size()) + " items, " + std::to_string(entries) + " entries, " + Bytes(bytes) +
         " bytes in files. Nothing has been erased.";
}

bool frmAnalyze::OnInit() {
  HWND list = Item(IDC_AN_LIST);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  AddListColumns(list, {{"Item", 150}, {"Kind", 60}, {"Target", 360}, {"Size", 90}});
  // Per item: its entries, then a line with its count and size; fixed amounts say so.
  for (const PreviewItem& item : items_) {
    unsigned long long bytes = 0;
    for (const RecordingEraser::Entry& e : item.entries) {
      rows_.push_back({item.name, e.kind, e.target, e.size});
      bytes += e.size;
    }
    if (item.entries.empty())
      rows_.push_back({item.name, "note", "erases no measured files; the run counts fixed amounts for it", 0});
    else
      rows_.push_back({item.name, "item", std::to_string(item.entries.size()) + " entries", bytes});
  }
  Fill();
  SetText(IDC_AN_TOTAL, TotalText());
  return TRUE;
}

void frmAnalyze::Fill() {
  HWND list = Item(IDC_AN_LIST);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& r = rows_[i];
    const std::string size = Bytes(r.size);
    const char* cells[] = {r.item.c_str(), r.kind.c_str(), r.target.c_str(), size.c_str()};
    LVITEMA it = {};
    it.mask = LVIF_TEXT;
    it.iItem = static_cast<int>(i);
    it.pszText = const_cast<char*>(cells[0]);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
    for (int c = 1; c < 4; ++c) {
      it.iSubItem = c;
      it.pszText = const_cast<char*>(cells[c]);
      SendMessageA(list, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&it));
    }
  }
}

void frmAnalyze::SortBySize() {
  std::stable_sort(rows_.begin(), rows_.end(), [this](const Row& a, const Row& b) {
    return descending_ ? a.size > b.size : a.size < b.size;
  });
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

bool frmAnalyze::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_AN_COPY) CopyAsText();
  else if (id == IDC_AN_CLOSE) Unload(IDCANCEL);
  else return false;
  return true;
}

INT_PTR frmAnalyze::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == WM_NOTIFY) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->idFrom == IDC_AN_LIST && header->code == LVN_COLUMNCLICK &&
        reinterpret_cast<const NMLISTVIEW*>(lp)->iSubItem == 3) {
      SortBySize();
      handled = true;
    }
  }
  return 0;
}
