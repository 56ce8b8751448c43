// frmExtentions: the file-type editor of Search & Erase.
#include "ui/frmExtentions.h"

#include "access/Prompts.h"
#include "search/ExtentionHandller.h"
#include "search/FileHuntPrefs.h"
#include "settings/Inifun.h"
#include "ui/frmLocateRes.h"

namespace {
const char kNewEntry[] = "*.";
}

void frmExtentions::ShowModal(HWND owner) { RunModal(IDD_FRMEXTENTIONS, owner); }

bool frmExtentions::OnInit() {
  if (GetSetting("General", "MaxLogSize", "").empty()) SaveSetting("General", "MaxLogSize", "80");
  SetText(IDC_EX_TXTADD, kNewEntry);
  FillList();
  return TRUE;
}

void frmExtentions::FillList() {
  HWND list = Item(IDC_EX_LIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& type : LoadTypeList()) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type.c_str()));
}

void frmExtentions::Reload() {
  FillList();
  if (changed_) changed_(GetSearchString());
}

bool frmExtentions::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_EX_ADD: AddPressed(); return true;
    case IDC_EX_REMOVE: RemovePressed(); return true;
    case IDC_EX_DEFAULT: DefaultPressed(); return true;
    case IDC_EX_DONE: Unload(IDOK); return true;
    default: return false;
  }
}

void frmExtentions::AddPressed() {
  const std::string entry = TrimSpaces(Text(IDC_EX_TXTADD));
  if (!IsValidType(entry)) {
    ShowMessage(hwnd(), "Please fill a legal extention name and try again!", "Error", MB_OK | MB_ICONSTOP);
    SetText(IDC_EX_TXTADD, kNewEntry);
    SetFocus(Item(IDC_EX_TXTADD));
    return;
  }
  AppendType(entry);
  Reload();
  SetText(IDC_EX_TXTADD, kNewEntry);
}

void frmExtentions::RemovePressed() {
  HWND list = Item(IDC_EX_LIST);
  RemoveType(ListBoxLine(list, SendMessageA(list, LB_GETCURSEL, 0, 0)));
  Reload();
}

void frmExtentions::DefaultPressed() {
  if (ShowMessage(hwnd(), "Are you sure you want to Return to the defaul settings?", "Warnning:", MB_YESNO) != IDYES)
    return;
  WriteDefaultTypes();
  Reload();
}
