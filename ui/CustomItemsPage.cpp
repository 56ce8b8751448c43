#include "ui/CustomItemsPage.h"

#include <shlobj.h>

#include <vector>
#include "access/Normal.h"
#include "access/Prompts.h"
#include "engine/CustomItems.h"
#include "keeplists/ListFile.h"
#include "ui/frmMainCodeRes.h"


void CustomItemsPage::Load() const {
  const std::string file = CustomItemsFile();
  if (!ListFileExists(file)) {
    // The list stays as it was; a file that could not be read before is gone, so the page
    // may edit again.
    window_.Enable(IDC_COMMAND101, true);
    window_.Enable(IDC_COMMAND102, true);
    return;
  }
  std::vector<std::string> entries;
  const bool readable = ReadListFile(file, entries);
  HWND list = window_.Item(IDC_CUSTOM_LIST1);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& e : entries) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
  window_.Enable(IDC_COMMAND101, readable);
  window_.Enable(IDC_COMMAND102, readable);
  if (!readable)
    ShowMessage(window_.hwnd(), "The custom items file " + file + " could not be read.\n\nIt is left as it is, and "
                "cleaning runs erase no custom item until it can be read again.",
                kProductTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool CustomItemsPage::OnCommand(int id) const {
  switch (id) {
    case IDC_COMMAND101: Add(); return true;
    case IDC_COMMAND102: Remove(); return true;
    case IDC_COMMAND105: Browse(); return true;
    case IDC_COMMAND104: ShowHelpFile(); return true;
    default: return false;
  }
}

void CustomItemsPage::Add() const {
  const std::string folder = window_.Text(IDC_TEXT102), pattern = window_.Text(IDC_TEXT103);
  if (folder.empty() || pattern.empty()) {
    ShowMessage(window_.hwnd(), "Please fill in all data.", kProductTitle, MB_OK | MB_ICONINFORMATION);
    return;
  }
  const std::string entry = CustomEntry(folder, pattern);
  const std::string refusal = CustomEntryRefusal(entry);
  if (!refusal.empty()) {
    ShowMessage(window_.hwnd(), "This item is not added: " + entry + "\n\n" + refusal, kProductTitle,
                MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const std::string warning = CustomEntryWarning(entry);
  if (!warning.empty() && ShowMessage(window_.hwnd(), warning, kProductTitle, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
    return;
  SendMessageA(window_.Item(IDC_CUSTOM_LIST1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  AppendListLine(CustomItemsFile(), entry);
}

void CustomItemsPage::Remove() const {
  HWND list = window_.Item(IDC_CUSTOM_LIST1);
  const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected < 0) return;
  SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  WriteListFile(CustomItemsFile(), ListBoxLines(list));
}

void CustomItemsPage::Browse() const {
  const std::string folder = AskFolder(window_.hwnd(), kProductTitle, BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN);
  if (!folder.empty()) window_.SetText(IDC_TEXT102, folder);
}
