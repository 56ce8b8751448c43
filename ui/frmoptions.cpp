#include "ui/frmoptions.h"

#include "access/Options.h"
#include "access/Prompts.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "ui/App.h"
#include "ui/BackgroundRes.h"
#include "ui/frmtray.h"

namespace {
// Check1 to Check6, in load order.
const char* const kFlags[] = {"bosskey", "startup", "autoclean", "exit", "Custom", "securely"};
}  // namespace

void frmoptions::ShowModal(HWND owner) { RunModal(IDD_FRMOPTIONS, owner); }

bool frmoptions::OnInit() {
  SetText(IDC_OP_TEXT1, ReadHomePageValue("Start Page"));
  SetText(IDC_OP_TEXT2, ReadHomePageValue("Window Title"));
  const std::string settings = SettingsPath();
  for (int n = 1; n <= 6; ++n)
    SetCheck(IDC_OP_CHECK(n), TickLenient(ReadIni(settings, "Additional", kFlags[n - 1])) ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

bool frmoptions::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_OP_COMMAND1) OkPressed();
  else if (id == IDC_OP_COMMAND2) Unload(IDCANCEL);
  else return false;
  return true;
}

void frmoptions::OkPressed() {
  const std::string settings = SettingsPath();
  auto ticked = [&](int n) { return CheckValue(IDC_OP_CHECK(n)) == BST_CHECKED; };
  for (int box : {IDC_OP_TEXT1, IDC_OP_TEXT2})
    if (Text(box).empty()) SetText(box, " ");
  WriteHomePageValues(Text(IDC_OP_TEXT1), Text(IDC_OP_TEXT2));

  // The boss key changes only when the box differs from what is stored: never registered twice.
  const std::string boss = ReadIni(settings, "Additional", "bosskey");
  if (ticked(1) && !TickStrict(boss)) {
    WriteIni(settings, "Additional", "bosskey", "1");
    app_.SetBossKey(true);
  } else if (!ticked(1) && !ReadsAsZero(boss)) {
    WriteIni(settings, "Additional", "bosskey", "0");
    app_.SetBossKey(false);
  }

  // The start-up entry goes where the user may write it; a failure is told, not stored as on.
  bool startup = ticked(2);
  if (startup && !AddStartupEntry()) {
    ShowMessage(hwnd(), "Tracksweep could not add itself to the programs that start with Windows.", kProductTitle,
                MB_OK | MB_ICONEXCLAMATION);
    startup = false;
  }
  if (!startup) RemoveStartupEntry();
  WriteIni(settings, "Additional", "startup", startup ? "1" : "0");

  for (int n = 3; n <= 6; ++n) WriteIni(settings, "Additional", kFlags[n - 1], ticked(n) ? "1" : "0");
  Unload(IDOK);
}
