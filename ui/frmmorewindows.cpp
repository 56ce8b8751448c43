#include "ui/frmmorewindows.h"

#include "engine/MoreWindows.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "ui/MoreWindowsRes.h"

namespace {
int TraceCount() { return static_cast<int>(WindowsTraces().size()); }
}  // namespace

void frmmorewindows::ShowModal(HWND owner) { RunModal(IDD_FRMMOREWINDOWS, owner); }

bool frmmorewindows::OnInit() {
  const std::string settings = SettingsPath();
  for (int n = 1; n <= TraceCount(); ++n) {
    const WindowsTrace& trace = WindowsTraces()[static_cast<size_t>(n - 1)];
    SetText(IDC_MW_CHECK(n), trace.caption);
    SetText(IDC_MW_LINE(n), trace.resets);
    SetCheck(IDC_MW_CHECK(n), WindowsTraceChosen(settings, trace) ? BST_CHECKED : BST_UNCHECKED);
  }
  FollowBoxes();
  return TRUE;
}

void frmmorewindows::FollowBoxes() {
  bool all = true;
  for (int n = 1; n <= TraceCount(); ++n) all = all && CheckValue(IDC_MW_CHECK(n)) == BST_CHECKED;
  SetCheck(IDC_MW_SELECTALL, all ? BST_CHECKED : BST_UNCHECKED);
}

bool frmmorewindows::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_MW_SELECTALL) {
    const int value = CheckValue(IDC_MW_SELECTALL);
    for (int n = 1; n <= TraceCount(); ++n) SetCheck(IDC_MW_CHECK(n), value);
  } else if (id >= IDC_MW_CHECK(1) && id <= IDC_MW_CHECK(TraceCount())) {
    FollowBoxes();
  } else if (id == IDC_MW_OK) {
    OkPressed();
  } else if (id == IDC_MW_CANCEL) {
    Unload(IDCANCEL);
  } else {
    return false;
  }
  return true;
}

void frmmorewindows::OkPressed() {
  const std::string settings = SettingsPath();
  for (int n = 1; n <= TraceCount(); ++n)
    WriteIni(settings, kMoreWindowsSection, WindowsTraces()[static_cast<size_t>(n - 1)].key,
             CheckValue(IDC_MW_CHECK(n)) == BST_CHECKED ? "1" : "0");
  Unload(IDOK);
}
