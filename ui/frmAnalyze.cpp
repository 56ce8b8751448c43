#include "ui/frmAnalyze.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>

#include "access/Prompts.h"
#include "access/WidePath.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"
#include "keeplists/SiteKeepList.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "ui/frmcleannowRes.h"

namespace {

const char kSizeSection[] = "Analyze";  // where the window's size is kept in the settings file

std::string Entries(unsigned long long n) { return Counted(n, "entry", "entries"); }

bool AllTicked(const PreviewItem& item) {
  return std::all_of(item.entries.begin(), item.entries.end(), [](const PreviewEntry& e) { return e.ticked || e.kind == "kept"; });
}
bool NoneTicked(const PreviewItem& item) {
  return std::none_of(item.entries.begin(), item.entries.end(), [](const PreviewEntry& e) { return e.ticked; });
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
  // A site's rows of a store it shares ("...: cookies of example.com (3 rows)") or its own
  // folders ("...: site data of example.com"): the site keep list keeps both.
  const size_t store = e.target.find(": ");
  if (store == std::string::npos) return false;
  const std::string what = e.target.substr(store + 2);
  size_t from = std::string::npos, end = std::string::npos;
  if (e.kind == "clear" && what.compare(0, 13, "site data of ") == 0) {
    from = 13;
  } else if (e.kind == "rows") {
    const size_t of = what.find(" of ");  // the table's name holds no blank
    if (of != std::string::npos && what.find(' ') == of) from = of + 4;
    end = what.rfind(" (");
  }
  if (from == std::string::npos || (end != std::string::npos && end <= from)) return false;
  file = KeepSiteFile();
  line = what.substr(from, end == std::string::npos ? std::string::npos : end - from);
  return !line.empty();
}

// The check-box image of a heading whose entries are ticked in part: a box with a square.
void AddPartialTickImage(HWND list) {
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_STATE, 0));
  int cx = 0, cy = 0;
  if (!images || !ImageList_GetIconSize(images, &cx, &cy) || ImageList_GetImageCount(images) != 2) return;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, cx, cy};
  FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
  RECT box = {1, 1, cx - 1, cy - 1};
  DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT);
  RECT mark = {cx / 2 - cx / 5, cy / 2 - cy / 5, cx / 2 + cx / 5, cy / 2 + cy / 5};
  FillRect(dc, &mark, GetSysColorBrush(COLOR_WINDOWTEXT));
  SelectObject(dc, old);
  ImageList_Add(images, bitmap, nullptr);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

}  // namespace

void frmAnalyze::ShowModal(HWND owner) { RunModal(IDD_FRMANALYZE, owner); }

std::string frmAnalyze::TotalText() const { return PreviewTotalText(items_); }

bool frmAnalyze::OnInit() {
  HWND list = Item(IDC_AN_LIST);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_INFOTIP);
  AddPartialTickImage(list);
  AddListColumns(list, {{"Item", 150}, {"Kind", 70}, {"Target", 380}, {"Size", 80}});
  // The size the user last gave it.
  const int width = atoi(ReadIni(SettingsPath(), kSizeSection, "width").c_str());
  const int height = atoi(ReadIni(SettingsPath(), kSizeSection, "height").c_str());
  if (width >= 300 && height >= 200 && width <= 10000 && height <= 10000)
    SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  BuildRows();
  Fill();
  Layout();
  return TRUE;
}

void frmAnalyze::Layout() {
  RECT client;
  GetClientRect(hwnd(), &client);
  RECT unit = {4, 8, 6, 15};  // margin, line, gap, button height in dialog units
  MapDialogRect(hwnd(), &unit);
  const int margin = unit.left, gap = unit.right, button = unit.bottom, line = unit.top;
  RECT keep;
  GetWindowRect(Item(IDC_AN_KEEP), &keep);
  const int keepWidth = keep.right - keep.left;
  const int w = client.right - 2 * margin, bottom = client.bottom - margin;
  // The details line takes as many lines as the whole target needs (8 dialog units are one line
  // of the dialog's font).
  HWND details = Item(IDC_AN_DETAILS);
  const int detailsHeight = detailsLines_ * line + 4;
  const int buttonsTop = bottom - button, totalTop = buttonsTop - gap - 2 * line, detailsTop = totalTop - detailsHeight;
  MoveWindow(Item(IDC_AN_LIST), margin, margin, w - keepWidth - gap, detailsTop - gap - margin, TRUE);
  MoveWindow(Item(IDC_AN_KEEP), client.right - margin - keepWidth, margin, keepWidth, button, TRUE);
  MoveWindow(details, margin, detailsTop, w, detailsHeight, TRUE);
  MoveWindow(Item(IDC_AN_TOTAL), margin, totalTop, w, 2 * line, TRUE);
  int x = margin;
  for (int id : {IDC_AN_CLEAN, IDC_AN_SAVE, IDC_AN_COPY}) {
    RECT r;
    GetWindowRect(Item(id), &r);
    MoveWindow(Item(id), x, buttonsTop, r.right - r.left, button, TRUE);
    x += r.right - r.left + gap;
  }
  RECT cancel;
  GetWindowRect(Item(IDC_AN_CLOSE), &cancel);
  MoveWindow(Item(IDC_AN_CLOSE), client.right - margin - (cancel.right - cancel.left), buttonsTop, cancel.right - cancel.left,
             button, TRUE);
}

void frmAnalyze::RememberSize() {
  WINDOWPLACEMENT place = {sizeof place};
  if (!GetWindowPlacement(hwnd(), &place)) return;
  const RECT& r = place.rcNormalPosition;
  WriteIni(SettingsPath(), kSizeSection, "width", std::to_string(r.right - r.left));
  WriteIni(SettingsPath(), kSizeSection, "height", std::to_string(r.bottom - r.top));
}

void frmAnalyze::Close(INT_PTR code) {
  RememberSize();
  Unload(code);
}

void frmAnalyze::OnClose() { Close(IDCANCEL); }

void frmAnalyze::BuildRows() {
  // Per item: its heading, with what its entries hold, then its entries.
  rows_.clear();
  for (size_t i = 0; i < items_.size(); ++i) {
    rows_.push_back({i, -1, MeasuredBytes(items_[i])});
    for (size_t k = 0; k < items_[i].entries.size(); ++k) rows_.push_back({i, static_cast<int>(k), items_[i].entries[k].size});
  }
}

const PreviewEntry* frmAnalyze::EntryOf(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size() || rows_[static_cast<size_t>(row)].entry < 0) return nullptr;
  const Row& r = rows_[static_cast<size_t>(row)];
  return &items_[r.item].entries[static_cast<size_t>(r.entry)];
}

int frmAnalyze::SelectedRow() const {
  return static_cast<int>(SendMessageA(Item(IDC_AN_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void frmAnalyze::Fill() {
  HWND list = Item(IDC_AN_LIST);
  filling_ = true;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& r = rows_[i];
    const PreviewItem& item = items_[r.item];
    if (r.entry < 0) {
      AddListRow(list, static_cast<int>(i), {item.name, "item", Entries(item.entries.size()), HeadingSize(item)});
      continue;
    }
    const PreviewEntry& e = item.entries[static_cast<size_t>(r.entry)];
    AddListRow(list, static_cast<int>(i), {item.name, e.kind, e.target, EntrySize(e)});
  }
  ShowTicks();
  // Each column as wide as what it shows, or as its heading.
  for (int c = 0; c < 4; ++c) SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), LVSCW_AUTOSIZE_USEHEADER);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  filling_ = false;
  ShowDetails();
}

void frmAnalyze::ShowTicks() {
  HWND list = Item(IDC_AN_LIST);
  const bool was = filling_;
  filling_ = true;
  const bool partialImage = ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_STATE, 0))) > 2;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& r = rows_[i];
    int image = 1;
    if (r.entry < 0) {
      const PreviewItem& item = items_[r.item];
      image = AllTicked(item) ? 2 : NoneTicked(item) || !partialImage ? 1 : 3;
    } else {
      image = items_[r.item].entries[static_cast<size_t>(r.entry)].ticked ? 2 : 1;
    }
    LVITEMA it = {};
    it.stateMask = LVIS_STATEIMAGEMASK;
    it.state = INDEXTOSTATEIMAGEMASK(image);
    SendMessageA(list, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&it));
  }
  filling_ = was;
  SetText(IDC_AN_TOTAL, TotalText());
}

void frmAnalyze::ShowDetails() {
  const int row = SelectedRow();
  const PreviewEntry* e = EntryOf(row);
  std::string text;
  if (e) {
    text = e->kind + ": " + e->target;
    if (e->kind == "kept") text += " (kept by the " + e->seen + ", so it stays)";
    else if (!EntrySize(*e).empty()) text += " (" + EntrySize(*e) + ")";
  } else if (row >= 0) {
    const PreviewItem& item = items_[rows_[static_cast<size_t>(row)].item];
    text = item.name + ": " + Entries(item.entries.size());
  }
  if (HasEscapedNames(text)) SetWindowTextW(Item(IDC_AN_DETAILS), WideText(text).c_str());
  else SetText(IDC_AN_DETAILS, text);
  // However long the target, it shows whole: the line grows to hold it, the list gives way.
  const int lines = std::max(2, std::min(8, static_cast<int>(SendMessageA(Item(IDC_AN_DETAILS), EM_GETLINECOUNT, 0, 0))));
  if (lines != detailsLines_) {
    detailsLines_ = lines;
    Layout();
  }
  std::string file, line;
  Enable(IDC_AN_KEEP, e && KeepListOf(items_[rows_[static_cast<size_t>(row)].item], *e, file, line));
}

void frmAnalyze::Toggled(int row, bool ticked) {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
  const Row& r = rows_[static_cast<size_t>(row)];
  PreviewItem& item = items_[r.item];
  // What a keep list keeps stays: its tick cannot be set.
  if (r.entry < 0) {
    for (PreviewEntry& e : item.entries) e.ticked = ticked && e.kind != "kept";
  } else {
    PreviewEntry& e = item.entries[static_cast<size_t>(r.entry)];
    e.ticked = ticked && e.kind != "kept";
  }
  ShowTicks();
}

bool frmAnalyze::KeepEntry(int row) {
  const PreviewEntry* found = EntryOf(row);
  if (!found) return false;
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

POINT frmAnalyze::RowPoint(int row) const {
  POINT at = {0, 0};
  RECT r = {LVIR_LABEL, 0, 0, 0};
  if (row >= 0 && SendMessageA(Item(IDC_AN_LIST), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)))
    at = {r.left, r.bottom};
  ClientToScreen(Item(IDC_AN_LIST), &at);
  return at;
}

void frmAnalyze::ShowMenu(int row, POINT at) {
  const PreviewEntry* e = EntryOf(row);
  if (!e) return;
  std::string file, line;
  HMENU menu = CreatePopupMenu();
  const bool keepable = KeepListOf(items_[rows_[static_cast<size_t>(row)].item], *e, file, line);
  AppendMenuA(menu, MF_STRING | (keepable ? 0 : MF_GRAYED), IDM_AN_KEEP, "&Keep this");
  const int chosen = ChooseFromMenu(hwnd(), menu, at);
  DestroyMenu(menu);
  if (chosen == IDM_AN_KEEP) KeepEntry(row);
}

void frmAnalyze::SortBySize() {
  // Items by their size, and the entries of each by theirs; a heading stays above its entries.
  std::vector<size_t> order(items_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto itemSize = [&](size_t i) { return MeasuredBytes(items_[i]); };
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
  if (id == IDOK) return true;  // Enter: no button that erases is the default
  if (code != BN_CLICKED) return false;
  if (id == IDC_AN_COPY) {
    CopyAsText();
  } else if (id == IDC_AN_SAVE) {
    SaveList();
  } else if (id == IDC_AN_KEEP) {
    KeepEntry(SelectedRow());
  } else if (id == IDC_AN_CLEAN) {
    // Asked once, naming how much; the window goes first: the run reports in the progress
    // dialog, as Clean Now does.
    const bool anyTicked = std::any_of(items_.begin(), items_.end(), [](const PreviewItem& item) {
      return std::any_of(item.entries.begin(), item.entries.end(), [](const PreviewEntry& e) { return e.ticked && e.kind != "note"; });
    });
    if (!anyTicked) {
      ShowMessage(hwnd(), "Nothing is ticked: nothing would be erased.", kProductTitle, MB_OK | MB_ICONINFORMATION);
      return true;
    }
    if (!AskToErase(hwnd(), items_)) return true;
    const std::vector<PreviewItem> chosen = items_;
    Close(IDOK);
    if (clean_) clean_(chosen);
  } else if (id == IDC_AN_CLOSE) {
    Close(IDCANCEL);
  } else {
    return false;
  }
  return true;
}

INT_PTR frmAnalyze::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == WM_SIZE) {
    Layout();
    return 0;
  }
  if (msg == WM_GETMINMAXINFO) {
    RECT least = {0, 0, 300, 160};
    MapDialogRect(hwnd(), &least);
    reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {least.right, least.bottom};
    handled = true;
    return 0;
  }
  if (msg == WM_CONTEXTMENU && reinterpret_cast<HWND>(wp) == Item(IDC_AN_LIST)) {
    // From the keyboard (the context-menu key, Shift+F10) the point is (-1, -1): the menu
    // opens at the chosen row. The context-menu key opened it already when it went down.
    POINT at = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    const bool keyboard = at.x == -1 && at.y == -1;
    const bool shiftF10 = (GetKeyState(VK_F10) & 0x8000) != 0;
    if (!(keyboard && !shiftF10 && appsKeyAt_ && GetTickCount() - appsKeyAt_ < 1000)) {
      if (keyboard) at = RowPoint(SelectedRow());
      ShowMenu(SelectedRow(), at);
    }
    appsKeyAt_ = 0;
    handled = true;
    return TRUE;
  }
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
    if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED)) ShowDetails();
  } else if (header->code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN*>(lp)->wVKey == VK_APPS) {
    // Not every system turns this key into WM_CONTEXTMENU: the menu opens here, at once.
    appsKeyAt_ = GetTickCount();
    ShowMenu(SelectedRow(), RowPoint(SelectedRow()));
    handled = true;
  } else if (header->code == NM_RCLICK) {
    POINT at;
    GetCursorPos(&at);
    ShowMenu(reinterpret_cast<const NMITEMACTIVATE*>(lp)->iItem, at);
    handled = true;
  } else if (header->code == LVN_GETINFOTIPA) {
    // The whole target of a row, however narrow its column.
    NMLVGETINFOTIPA* tip = reinterpret_cast<NMLVGETINFOTIPA*>(const_cast<NMHDR*>(header));
    const PreviewEntry* e = EntryOf(tip->iItem);
    if (e && tip->pszText && tip->cchTextMax > 0) {
      tip_ = e->target;
      lstrcpynA(tip->pszText, tip_.c_str(), tip->cchTextMax);
    }
    handled = true;
  } else if (header->code == NM_CUSTOMDRAW) {
    // What a keep list keeps is greyed: it is shown, and it stays.
    NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(header));
    LONG_PTR result = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
      result = CDRF_NOTIFYITEMDRAW;
    } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
      const PreviewEntry* e = EntryOf(static_cast<int>(draw->nmcd.dwItemSpec));
      if (e && e->kind == "kept") draw->clrText = GetSysColor(COLOR_GRAYTEXT);
    }
    SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, result);
    handled = true;
    return TRUE;
  }
  return 0;
}
