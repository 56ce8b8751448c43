// frmmoreapp: the More Applications dialog, the definitions found here and their ticks.
#include "ui/frmmoreapp.h"

#include <commctrl.h>

#include <algorithm>

#include "access/Normal.h"
#include "access/Prompts.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "ui/Dpi.h"
#include "ui/SubItemRes.h"

namespace {
// A link shows "&" as the mark of its key: one of a path is doubled to show as itself.
std::string AsLinkText(const std::string& text) {
  std::string shown;
  for (char c : text) shown += c == '&' ? std::string("&&") : std::string(1, c);
  return shown;
}

// The two columns share the list's whole width, the names the larger part; a name longer than
// its share widens its column (the list then scrolls sideways), so that no name is ever cut.
void FitColumns(HWND list) {
  RECT client;
  GetClientRect(list, &client);
  const int width = client.right - client.left;
  const int group = width * 2 / 7;
  // The longest name, beside its check box, with the list's margins on both sides.
  int longest = 0;
  const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  char name[512];
  for (int row = 0; row < rows; ++row) {
    ListView_GetItemText(list, row, 0, name, sizeof name);
    longest = std::max(longest, static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(name))));
  }
  int box = 0, boxHeight = 0;
  if (HIMAGELIST states = ListView_GetImageList(list, LVSIL_STATE)) ImageList_GetIconSize(states, &box, &boxHeight);
  longest += box + Scaled(28, WindowDpi(list));
  SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, std::max(width - group, longest));
  SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, group);
}
}  // namespace

void frmmoreapp::LoadMore() {
  HWND list = Item(IDC_SI_DEFLIST);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  AddListColumns(list, {{"Application", 200}, {"Group", 110}});
  const DefinitionSet set = LoadDefinitions();
  for (const AppDefinition& entry : set.entries)
    if (DefinitionDetected(entry)) shown_.push_back(entry);
  std::stable_sort(shown_.begin(), shown_.end(),
                   [](const AppDefinition& a, const AppDefinition& b) { return LowerText(a.group) < LowerText(b.group); });
  if (set.entries.empty()) {
    SetText(IDC_SI_DEFCOUNT, "No winapp2.ini yet: that file is the shared list of cleaning rules for today's "
                             "applications. Put one into " + AsLinkText(ProgramFolder()) +
                             " and the applications of it found here appear in this list (see help).");
  } else {
    SetText(IDC_SI_DEFCOUNT, std::to_string(set.entries.size()) + " entries in winapp2.ini, " +
                                 std::to_string(shown_.size()) + " detected here, " + std::to_string(set.Unusable()) +
                                 " could not be used (see help)");
  }

  // One fill, drawn once: a real file detects hundreds of entries.
  loading_ = true;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_SETITEMCOUNT, shown_.size(), 0);
  const std::map<std::string, std::string> stored = StoredDefinitionChoices(SettingsPath());
  for (size_t i = 0; i < shown_.size(); ++i) {
    AddListRow(list, static_cast<int>(i), {shown_[i].name, shown_[i].group});
    ListView_SetCheckState(list, static_cast<int>(i), DefinitionChosen(shown_[i], stored));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  FitColumns(list);
  InvalidateRect(list, nullptr, TRUE);
  loading_ = false;
}

void frmmoreapp::StoreMore() {
  HWND list = Item(IDC_SI_DEFLIST);
  const std::string settings = SettingsPath();
  for (size_t i = 0; i < shown_.size(); ++i)
    WriteIni(settings, kDefinitionsSection, shown_[i].name, ListView_GetCheckState(list, static_cast<int>(i)) ? "1" : "0");
}

bool frmmoreapp::OnCommand(int id, int code, HWND control) {
  if (id == IDC_SI_DEFCOUNT && code == STN_CLICKED) {
    ShowHelpFile("winapp2.html");
    return true;
  }
  return SubItemDialog::OnCommand(id, code, control);
}

INT_PTR frmmoreapp::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg != WM_NOTIFY || loading_) return 0;
  const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lp);
  if (change->hdr.idFrom != IDC_SI_DEFLIST || change->hdr.code != LVN_ITEMCHANGED || !(change->uChanged & LVIF_STATE))
    return 0;
  // A tick just set (the check box is the state image: 2 ticked, 1 not).
  const bool ticked = (change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2) &&
                      (change->uOldState & LVIS_STATEIMAGEMASK) != INDEXTOSTATEIMAGEMASK(2);
  const size_t i = static_cast<size_t>(change->iItem);
  if (ticked && i < shown_.size() && !shown_[i].warning.empty())
    ShowMessage(hwnd(), shown_[i].name + ":\n\n" + shown_[i].warning, kProductTitle, MB_OK | MB_ICONEXCLAMATION);
  return 0;
}
