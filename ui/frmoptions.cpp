// frmoptions: the options dialog. Each box shows what is in effect, read as the code that acts
// on it reads it, and OK changes only what the user changed.
#include "ui/frmoptions.h"

#include "access/Options.h"
#include "access/Prompts.h"
#include "engine/Schedule.h"
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
const int kWeekdayOrder[] = {1, 2, 3, 4, 5, 6, 0};  // the list of days starts on Monday
const int kScheduleControls[] = {IDC_OP_SCHEDULE, IDC_OP_DAILY, IDC_OP_WEEKLY, IDC_OP_LOGON,
                                 IDC_OP_WEEKDAY,  IDC_OP_LABEL(6), IDC_OP_TIME};
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
  ShowSchedule(ReadScheduleState());
  return TRUE;
}

void frmoptions::ShowSchedule(const ScheduleState& state) {
  HWND days = Item(IDC_OP_WEEKDAY);
  for (int day : kWeekdayOrder) {
    const LRESULT at = SendMessageA(days, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kWeekdayNames[day]));
    SendMessageA(days, CB_SETITEMDATA, static_cast<WPARAM>(at), day);
  }
  // A task whose schedule is not told shows the usual choice under its ticked box.
  const Schedule shown = state.known ? state.schedule : Schedule();
  SetCheck(IDC_OP_SCHEDULE, state.present ? BST_CHECKED : BST_UNCHECKED);
  SetCheck(IDC_OP_DAILY, shown.kind == ScheduleKind::Daily ? BST_CHECKED : BST_UNCHECKED);
  SetCheck(IDC_OP_WEEKLY, shown.kind == ScheduleKind::Weekly ? BST_CHECKED : BST_UNCHECKED);
  SetCheck(IDC_OP_LOGON, shown.kind == ScheduleKind::AtLogon ? BST_CHECKED : BST_UNCHECKED);
  for (int i = 0; i < 7; ++i)
    if (kWeekdayOrder[i] == shown.weekday) SendMessageA(days, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
  SetText(IDC_OP_TIME, ScheduleTimeText(shown.hour, shown.minute));
  SetText(IDC_OP_STATUS, state.status);
  schedulerAvailable_ = state.available;
  scheduleShown_ = ChosenSchedule();
  EnableScheduleControls();
}

frmoptions::ScheduleChoice frmoptions::ChosenSchedule() const {
  ScheduleChoice c;
  c.on = CheckValue(IDC_OP_SCHEDULE) == BST_CHECKED;
  c.kind = CheckValue(IDC_OP_WEEKLY) == BST_CHECKED  ? ScheduleKind::Weekly
           : CheckValue(IDC_OP_LOGON) == BST_CHECKED ? ScheduleKind::AtLogon
                                                     : ScheduleKind::Daily;
  c.time = Text(IDC_OP_TIME);
  const LRESULT at = SendMessageA(Item(IDC_OP_WEEKDAY), CB_GETCURSEL, 0, 0);
  if (at != CB_ERR) c.weekday = static_cast<int>(SendMessageA(Item(IDC_OP_WEEKDAY), CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
  return c;
}

bool frmoptions::ScheduleChanged(const ScheduleChoice& now) const {
  const ScheduleChoice& was = scheduleShown_;
  if (now.on != was.on) return true;
  if (!now.on || now.kind != was.kind) return now.on;
  if (now.kind != ScheduleKind::AtLogon && now.time != was.time) return true;
  return now.kind == ScheduleKind::Weekly && now.weekday != was.weekday;
}

void frmoptions::EnableScheduleControls() {
  const ScheduleChoice c = ChosenSchedule();
  for (int id : kScheduleControls) {
    bool on = schedulerAvailable_ && (id == IDC_OP_SCHEDULE || c.on);
    if (id == IDC_OP_WEEKDAY) on = on && c.kind == ScheduleKind::Weekly;
    if (id == IDC_OP_TIME || id == IDC_OP_LABEL(6)) on = on && c.kind != ScheduleKind::AtLogon;
    Enable(id, on);
  }
}

void frmoptions::ApplyScheduleChoice(const ScheduleChoice& choice, const Schedule& wanted) {
  const std::string failed = choice.on ? ApplySchedule(wanted) : RemoveSchedule();
  if (failed.empty()) return;
  const std::string what = choice.on ? "Tracksweep could not set the cleaning schedule. "
                                     : "Tracksweep could not remove its scheduled cleaning. ";
  ShowMessage(hwnd(), what + failed, kProductTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool frmoptions::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_OP_SCHEDULE || id == IDC_OP_DAILY || id == IDC_OP_WEEKLY || id == IDC_OP_LOGON) EnableScheduleControls();
  else if (id == IDC_OP_COMMAND1) OkPressed();
  else if (id == IDC_OP_COMMAND2) Unload(IDCANCEL);
  else return false;
  return true;
}

void frmoptions::OkPressed() {
  // A time that cannot be read stops OK before anything is applied: the user corrects it here.
  const ScheduleChoice schedule = ChosenSchedule();
  const bool scheduleChanged = ScheduleChanged(schedule);
  Schedule wanted;
  wanted.kind = schedule.kind;
  wanted.weekday = schedule.weekday;
  if (scheduleChanged && schedule.on && schedule.kind != ScheduleKind::AtLogon &&
      !ParseScheduleTime(schedule.time, wanted.hour, wanted.minute)) {
    ShowMessage(hwnd(), "Type the time of the cleaning as hours and minutes, HH:MM, from 00:00 to 23:59 (for example 09:30 or 21:00).",
                kProductTitle, MB_OK | MB_ICONEXCLAMATION);
    SetFocus(Item(IDC_OP_TIME));
    SendMessageA(Item(IDC_OP_TIME), EM_SETSEL, 0, -1);
    return;
  }
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
  if (scheduleChanged) ApplyScheduleChoice(schedule, wanted);
  Unload(IDOK);
}
