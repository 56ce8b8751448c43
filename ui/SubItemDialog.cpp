#include "ui/SubItemDialog.h"

#include <shlobj.h>

#include "access/Prompts.h"
#include "engine/MoreApps.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "ui/SubItemRes.h"

namespace {

const char kDefaultOperaFolder[] = "C:\\Program Files\\Opera7";

// Netscape, Opera and MSN Explorer share their four rows.
const std::vector<SubItemRow> kBrowserRows = {{1, "Location"}, {2, "Cookies"}, {3, "Cache"}, {4, "History"}};

std::vector<SubItemRow> MoreAppRows() {
  std::vector<SubItemRow> rows;
  for (const MoreApp& app : MoreApplications()) rows.push_back({app.check, app.key, app.caption});
  return rows;
}

}  // namespace

const SubItemDescription& NetscapeOptions() {
  static const SubItemDescription d{IDD_FRMNETSCAPE, "NETSCAPE", kBrowserRows, 5, false};
  return d;
}
const SubItemDescription& OperaOptions() {
  static const SubItemDescription d{IDD_FRMOPERA, "OPERA", kBrowserRows, 5, true};
  return d;
}
const SubItemDescription& MsnOptions() {
  static const SubItemDescription d{IDD_FRMMSN, "MSN", kBrowserRows, 5, false};
  return d;
}
const SubItemDescription& OfficeOptions() {
  static const SubItemDescription d{
      IDD_FRMOFFICE, "OFFICE", {{1, "word"}, {2, "excel"}, {3, "powerpoint"}, {4, "frontpage"}, {6, "access"}}, 5, false};
  return d;
}
const SubItemDescription& MoreAppOptions() {
  static const SubItemDescription d{IDD_FRMMOREAPP, kMoreAppsSection, MoreAppRows(), 0, false};
  return d;
}

void SubItemDialog::ShowModal(HWND owner) { RunModal(d_.templateId, owner); }

bool SubItemDialog::OnInit() {
  const std::string settings = SettingsPath();
  if (d_.operaFolder) SetText(IDC_SI_TEXT1, ReadIni(settings, d_.section, "Path"));
  for (const SubItemRow& row : d_.rows) {
    if (row.caption) SetText(IDC_SI_CHECK(row.check), row.caption);
    SetCheck(IDC_SI_CHECK(row.check), TickStrict(ReadIni(settings, d_.section, row.key)) ? BST_CHECKED : BST_UNCHECKED);
  }
  LoadMore();
  return TRUE;
}

bool SubItemDialog::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_SI_COMMAND1) OkPressed();
  else if (id == IDC_SI_COMMAND2 && d_.operaFolder) ChangeDirectoryPressed();
  else if (d_.selectAll && id == IDC_SI_CHECK(d_.selectAll)) {
    // Reacts to its own clicks only; it never follows the rows.
    const int value = CheckValue(id) == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
    for (const SubItemRow& row : d_.rows) SetCheck(IDC_SI_CHECK(row.check), value);
  } else {
    return false;
  }
  return true;
}

void SubItemDialog::OkPressed() {
  const std::string settings = SettingsPath();
  for (const SubItemRow& row : d_.rows)
    WriteIni(settings, d_.section, row.key, CheckValue(IDC_SI_CHECK(row.check)) == BST_CHECKED ? "1" : "0");
  if (d_.operaFolder) {
    if (Text(IDC_SI_TEXT1).empty()) SetText(IDC_SI_TEXT1, kDefaultOperaFolder);
    WriteIni(settings, d_.section, "Path", Text(IDC_SI_TEXT1));
  }
  StoreMore();
  Unload(IDOK);
}

void SubItemDialog::ChangeDirectoryPressed() {
  const std::string folder = AskFolder(hwnd(), kProductTitle, BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN);
  if (!folder.empty()) SetText(IDC_SI_TEXT1, folder);
}
