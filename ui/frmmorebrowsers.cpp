#include "ui/frmmorebrowsers.h"

#include "keeplists/SiteKeepList.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "ui/MoreBrowsersRes.h"

void frmmorebrowsers::ShowModal(HWND owner) { RunModal(IDD_FRMMOREBROWSERS, owner); }

bool frmmorebrowsers::OnInit() {
  found_ = FindBrowsers();
  const std::string settings = SettingsPath();
  HWND list = Item(IDC_MB_LIST);
  for (const FoundBrowser& b : found_) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(b.info->name));
    for (BrowserKind kind : BrowserKinds()) ticks_[BrowserKindKey(*b.info, kind)] = BrowserKindChosen(settings, *b.info, kind);
    ticks_[CleanWhenClosedKey(*b.info)] = CleanWhenClosedChosen(settings, *b.info);
  }
  // LB_ADDSTRING keeps the table's order: the list box is not sorted.
  SetText(IDC_MB_LABEL1, found_.empty() ? "No browser of the list is installed" : "");
  if (!found_.empty()) SendMessageA(list, LB_SETCURSEL, 0, 0);
  ShowKinds();
  return TRUE;
}

void frmmorebrowsers::ShowKinds() {
  const LRESULT sel = SendMessageA(Item(IDC_MB_LIST), LB_GETCURSEL, 0, 0);
  shown_ = sel >= 0 && static_cast<size_t>(sel) < found_.size() ? static_cast<int>(sel) : -1;
  const std::vector<BrowserKind>& kinds = BrowserKinds();
  bool all = shown_ >= 0;
  for (size_t i = 0; i < kinds.size(); ++i) {
    const int id = IDC_MB_CHECK(static_cast<int>(i) + 1);
    const bool ticked = shown_ >= 0 && ticks_[BrowserKindKey(*found_[static_cast<size_t>(shown_)].info, kinds[i])];
    SetCheck(id, ticked ? BST_CHECKED : BST_UNCHECKED);
    Enable(id, shown_ >= 0);
    all = all && ticked;
  }
  SetCheck(IDC_MB_SELECTALL, all ? BST_CHECKED : BST_UNCHECKED);
  Enable(IDC_MB_SELECTALL, shown_ >= 0);
  const bool whenClosed = shown_ >= 0 && ticks_[CleanWhenClosedKey(*found_[static_cast<size_t>(shown_)].info)];
  SetCheck(IDC_MB_WHENCLOSED, whenClosed ? BST_CHECKED : BST_UNCHECKED);
  Enable(IDC_MB_WHENCLOSED, shown_ >= 0);
}

void frmmorebrowsers::KeepKinds() {
  if (shown_ < 0) return;
  const BrowserInfo& info = *found_[static_cast<size_t>(shown_)].info;
  const std::vector<BrowserKind>& kinds = BrowserKinds();
  for (size_t i = 0; i < kinds.size(); ++i)
    ticks_[BrowserKindKey(info, kinds[i])] = CheckValue(IDC_MB_CHECK(static_cast<int>(i) + 1)) == BST_CHECKED;
  ticks_[CleanWhenClosedKey(info)] = CheckValue(IDC_MB_WHENCLOSED) == BST_CHECKED;
}

bool frmmorebrowsers::OnCommand(int id, int code, HWND control) {
  if (id == IDC_MB_LIST && code == LBN_SELCHANGE) {
    KeepKinds();
    ShowKinds();
    return true;
  }
  if (code != BN_CLICKED) return false;
  if (id == IDC_MB_SELECTALL) {
    const int value = CheckValue(IDC_MB_SELECTALL);
    for (int n = 1; n <= static_cast<int>(BrowserKinds().size()); ++n) SetCheck(IDC_MB_CHECK(n), value);
    KeepKinds();
  } else if ((id >= IDC_MB_CHECK(1) && id <= IDC_MB_CHECK(static_cast<int>(BrowserKinds().size()))) ||
             id == IDC_MB_WHENCLOSED) {
    KeepKinds();
    ShowKinds();  // "Select all" follows the boxes
  } else if (id == IDC_MB_COOKIES) {
    frmsites().ShowModal(hwnd());
  } else if (id == IDC_MB_OK) {
    OkPressed();
  } else if (id == IDC_MB_CANCEL) {
    Unload(IDCANCEL);
  } else {
    return false;
  }
  return true;
}

void frmmorebrowsers::OkPressed() {
  KeepKinds();
  const std::string settings = SettingsPath();
  for (const auto& tick : ticks_) WriteIni(settings, kMoreBrowsersSection, tick.first, tick.second ? "1" : "0");
  Unload(IDOK);
}

frmsites::frmsites() : KeepListDialog(IDD_FRMSITES) {}
std::vector<std::string> frmsites::CurrentEntries() const { return BrowserCookieSites(); }
std::string frmsites::ListFile() const { return KeepSiteFile(); }
