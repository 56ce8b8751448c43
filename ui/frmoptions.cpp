// frmoptions: the options dialog.
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
struct HomePageBox {
  int id;
  const char* value;
};
const HomePageBox kHomePageBoxes[] = {{IDC_OP_TEXT1, "Start Page"}, {IDC_OP_TEXT2, "Window Title"}};
}  // namespace

void frmoptions::ShowModal(HWND owner) { RunModal(IDD_FRMOPTIONS, owner); }

bool frmoptions::OnInit() {
  for (const HomePageBox& box : kHomePageBoxes) {
    shown_[box.value] = ReadHomePageValue(box.value);
    SetText(box.id, shown_[box.value]);
  }
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
  // Only a box the user changed is written: one left alone keeps what it could not show whole.
  for (const HomePageBox& box : kHomePageBoxes) {
    if (Text(box.id) == shown_[box.value]) continue;
    if (Text(box.id).empty()) SetText(box.id, " ");
    WriteHomePageValue(box.value, Text(box.id));
  }

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
