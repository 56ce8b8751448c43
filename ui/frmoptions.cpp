// frmoptions: the options dialog. Each box shows what is in effect, read as the code that acts
// on it reads it, and OK changes only what the user changed.
#include "ui/frmoptions.h"

#include "access/Options.h"
#include "access/Prompts.h"
#include "settings/Additional.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "ui/App.h"
#include "ui/BackgroundRes.h"
#include "ui/frmtray.h"

namespace {
// The boxes kept in section "Additional"; Check2 (start with Windows) is the Run key's value.
struct OptionBox {
  int check;
  Option option;
};
const OptionBox kOptionBoxes[] = {{1, Option::BossKey},      {3, Option::AutoClean}, {4, Option::ExitAfterRun},
                                  {5, Option::CustomItems},  {6, Option::Securely},  {7, Option::MinimizeToTray},
                                  {8, Option::CloseBrowsers}};
const int kStartupBox = 2;
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
  for (const OptionBox& box : kOptionBoxes)
    SetCheck(IDC_OP_CHECK(box.check), OptionOn(settings, box.option) ? BST_CHECKED : BST_UNCHECKED);
  SetCheck(IDC_OP_CHECK(kStartupBox), StartupEntryPresent() ? BST_CHECKED : BST_UNCHECKED);
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

  // The boss key changes only when the box differs from what is in effect: never registered twice.
  if (ticked(1) != OptionOn(settings, Option::BossKey)) app_.SetBossKey(ticked(1));

  // The start-up entry goes where the user may write it; a failure is told, not stored as on.
  bool startup = ticked(kStartupBox);
  if (startup != StartupEntryPresent()) {
    if (startup && !AddStartupEntry()) {
      ShowMessage(hwnd(), "Tracksweep could not add itself to the programs that start with Windows.", kProductTitle,
                  MB_OK | MB_ICONEXCLAMATION);
      startup = false;
    }
    if (!startup) RemoveStartupEntry();
  }
  WriteIni(settings, kOptionsSection, "startup", startup ? "1" : "0");

  for (const OptionBox& box : kOptionBoxes)
    WriteIni(settings, kOptionsSection, OptionKey(box.option), ticked(box.check) ? "1" : "0");
  Unload(IDOK);
}
