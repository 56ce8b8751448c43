// Cleaning on a schedule, met as a user meets it: Clean Options driven by messages, and the task
// read back through the Task Scheduler's own interface. Where this system's Task Scheduler lacks
// a trigger kind or does not tell a task back, the program must say so and leave no task.
#include <windows.h>

#include "access/TaskScheduler.h"
#include "engine/Schedule.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "settings/Text.h"
#include "tests/TaskRecord.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/BackgroundRes.h"
#include "ui/frmMainCode.h"
#include "ui/frmMainCodeRes.h"

namespace {

const char kTestTask[] = "Tracksweep test";
const char kNotImplemented[] = "(0x80004001)";

void Press(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TASK_TRIGGER_TYPE2 TypeOf(TaskTriggerKind kind) {
  return kind == TaskTriggerKind::Daily    ? TASK_TRIGGER_DAILY
         : kind == TaskTriggerKind::Weekly ? TASK_TRIGGER_WEEKLY
                                           : TASK_TRIGGER_LOGON;
}

}  // namespace

class ScheduleTest : public ProgramFolderTest {
 protected:
  taskrecord::Scheduler system;
  MessageRecorder messages;
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ASSERT_TRUE(system.connected()) << "the test prefix has a Task Scheduler";
    system.Delete(kScheduleTaskName);
    system.Delete(kTestTask);
  }
  void TearDown() override {
    system.Delete(kScheduleTaskName);
    system.Delete(kTestTask);
    ProgramFolderTest::TearDown();
  }
  std::string Report() const { return folder_->File(kScheduleReportFile); }
};

TEST_F(ScheduleTest, AccessRegistersReadsBackAndRemovesATaskOrSaysWhatTheSystemLacks) {
  TaskScheduler scheduler;
  ASSERT_TRUE(scheduler.connection().ok()) << scheduler.connection().Text();
  const TaskCommand command = {"C:\\Tools dir\\tswclean.exe", "--report \"C:\\Tools dir\\r.json\"", "C:\\Tools dir"};
  const TaskTrigger daily{TaskTriggerKind::Daily, 9, 15, 0}, weekly{TaskTriggerKind::Weekly, 18, 5, 8 /* Wednesday */},
      logon{TaskTriggerKind::Logon, 0, 0, 0};
  for (const TaskTrigger& trigger : {daily, weekly, logon}) {
    SCOPED_TRACE(static_cast<int>(trigger.kind));
    const TaskOutcome made = scheduler.Register(kTestTask, "a test", trigger, command);
    if (!system.Makes(TypeOf(trigger.kind))) {
      // Reported as such, and nothing registered.
      EXPECT_TRUE(made.notImplemented()) << made.Text();
      EXPECT_TRUE(Contains(made.Text(), " trigger: ")) << made.Text();
      EXPECT_EQ(made.notImplemented(), scheduler.Supports(trigger.kind).notImplemented());
      EXPECT_FALSE(system.Read(kTestTask).present);
      continue;
    }
    ASSERT_TRUE(made.ok()) << made.Text();
    EXPECT_TRUE(scheduler.Supports(trigger.kind).ok());
    const taskrecord::Seen seen = system.Read(kTestTask);
    ASSERT_TRUE(seen.present);
    TaskFacts facts;
    ASSERT_TRUE(scheduler.Read(kTestTask, facts).ok());
    EXPECT_TRUE(facts.present);
    if (system.TellsTriggersBack()) {
      ASSERT_EQ(1u, seen.triggers.size());
      EXPECT_EQ(TypeOf(trigger.kind), seen.triggers[0].type);
      const char* start = trigger.kind == TaskTriggerKind::Daily ? "T09:15:00" : "T18:05:00";
      EXPECT_TRUE(trigger.kind == TaskTriggerKind::Logon || Contains(seen.triggers[0].start, start))
          << seen.triggers[0].start;
      EXPECT_EQ(trigger.kind == TaskTriggerKind::Weekly, Contains(seen.xml, "Wednesday")) << seen.xml;
      EXPECT_EQ(command.path, seen.path);
      EXPECT_EQ(command.arguments, seen.arguments);
      EXPECT_EQ(command.folder, seen.folder);
      // The program reads back what the system holds.
      ASSERT_TRUE(facts.details.ok()) << facts.details.Text();
      ASSERT_EQ(1u, facts.triggers.size());
      const TaskTrigger& read = facts.triggers[0];
      EXPECT_TRUE(read.kind == trigger.kind && read.weekDays == trigger.weekDays) << static_cast<int>(read.kind);
      EXPECT_TRUE(trigger.kind == TaskTriggerKind::Logon ||
                  (read.hour == trigger.hour && read.minute == trigger.minute));
      ASSERT_EQ(1u, facts.commands.size());
      EXPECT_EQ(command.arguments, facts.commands[0].arguments);
    } else {
      // The task is there, but what it holds is not told: the program says so.
      EXPECT_FALSE(facts.details.ok());
      EXPECT_TRUE(Contains(facts.details.Text(), kNotImplemented)) << facts.details.Text();
      EXPECT_FALSE(scheduler.TellsTasksBack().ok());
    }
    EXPECT_FALSE(facts.hasRun);  // never run: "has not run" is no failure
    const TaskOutcome removed = scheduler.Remove(kTestTask);
    EXPECT_EQ(S_OK, removed.hr) << removed.Text();
    EXPECT_FALSE(system.Read(kTestTask).present);
    EXPECT_EQ(S_FALSE, scheduler.Remove(kTestTask).hr);  // gone already: no failure
  }
}

// What a run of the task returned, in tswclean's words, and what the system does not tell.
TEST_F(ScheduleTest, TheStatusTellsTheLastRunAndWhatItsExitCodeMeans) {
  TaskFacts facts;
  facts.present = facts.hasRun = true;
  facts.triggers = {TaskTrigger{TaskTriggerKind::Weekly, 7, 5, 32 /* Friday */}};
  facts.commands = {ScheduleCommand()};
  facts.lastRunTime = {2026, 3, 0, 4, 7, 5, 9, 0};
  facts.lastExitCode = 1;
  std::string status = RegisteredTaskStatus(facts);
  EXPECT_EQ(0, status.find("Scheduled every Friday at 07:05. Last run ")) << status;
  // The date as the main window shows the last cleaning's.
  const std::string when = GeneralDateText(2026, 3, 4, 7, 5, 9);
  EXPECT_TRUE(Contains(status, when + ", exit code 1 (some entries were passed over: see tswclean-report.json)."))
      << status;
  facts.triggers[0].weekDays = 32 | 2;  // two days: not a schedule the dialog makes
  facts.lastResult.hr = E_NOTIMPL;
  status = RegisteredTaskStatus(facts);
  EXPECT_EQ(0, status.find("The task \"Tracksweep\" is registered with a schedule made outside Tracksweep.")) << status;
  EXPECT_TRUE(Contains(status, when + "; its exit code is not told here: Not implemented (0x80004001).")) << status;
}

// ---- The dialog.

class ScheduleDialogTest : public ScheduleTest {
 protected:
  App app;
  void SetUp() override {
    ScheduleTest::SetUp();
    ASSERT_TRUE(app.Main().Load());
  }
  void TearDown() override {
    app.Main().Unload();
    ScheduleTest::TearDown();
  }
  void InOptions(std::function<void(HWND)> act) {
    HWND main = app.Main().hwnd();
    WithModal("Clean Options", act, [&] {
      SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_IMAGE(5), STN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_IMAGE(5))));
    });
    ASSERT_TRUE(ModalActionsRan());
  }
  // Ticks the box, chooses the kind (and the day), types the time and presses OK.
  void Choose(HWND dlg, int kind, const std::string& time, const char* day = nullptr) {
    if (IsDlgButtonChecked(dlg, IDC_OP_SCHEDULE) != BST_CHECKED) Press(dlg, IDC_OP_SCHEDULE);
    Press(dlg, kind);
    if (day)
      SendDlgItemMessageA(dlg, IDC_OP_WEEKDAY, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(day));
    SetDlgItemTextA(dlg, IDC_OP_TIME, time.c_str());
    Press(dlg, IDC_OP_COMMAND1);
  }
  bool Enabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; }
};

TEST_F(ScheduleDialogTest, TickingSetsADailyCleaningThatRunsTheCleanerWithItsReport) {
  std::string status;
  InOptions([&](HWND dlg) {
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, IDC_OP_SCHEDULE));
    EXPECT_FALSE(Enabled(dlg, IDC_OP_TIME));  // nothing to set until the box is ticked
    status = Caption(GetDlgItem(dlg, IDC_OP_STATUS));
    Choose(dlg, IDC_OP_DAILY, "06:40");
  });
  EXPECT_EQ(0, status.find("Not scheduled.")) << status;
  const taskrecord::Seen seen = system.Read(kScheduleTaskName);
  if (system.TellsTriggersBack()) {
    EXPECT_TRUE(messages.seen.empty());
    ASSERT_TRUE(seen.present);
    EXPECT_EQ(folder_->File("tswclean.exe"), seen.path);
    EXPECT_EQ("--report \"" + Report() + "\"", seen.arguments);
    EXPECT_EQ(folder_->path(), seen.folder);
    ASSERT_EQ(1u, seen.triggers.size());
    EXPECT_TRUE(Contains(seen.triggers[0].start, "T06:40:00"));
    InOptions([&](HWND dlg) {
      EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, IDC_OP_SCHEDULE));
      EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, IDC_OP_DAILY));
      EXPECT_EQ("06:40", Caption(GetDlgItem(dlg, IDC_OP_TIME)));
      EXPECT_EQ(0, Caption(GetDlgItem(dlg, IDC_OP_STATUS)).find("Scheduled daily at 06:40."));
    });
  } else {
    // The dialog said at once that no schedule can be set here, and OK tells why and leaves none.
    EXPECT_TRUE(Contains(status, "A schedule cannot be set here")) << status;
    EXPECT_TRUE(Contains(status, kNotImplemented)) << status;
    ASSERT_EQ(1u, messages.seen.size());
    EXPECT_EQ(0, messages.seen[0].text.find("Tracksweep could not set the cleaning schedule. "))
        << messages.seen[0].text;
    EXPECT_TRUE(Contains(messages.seen[0].text, kNotImplemented));
    EXPECT_FALSE(seen.present);
    InOptions([&](HWND dlg) { EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, IDC_OP_SCHEDULE)); });
  }
}

TEST_F(ScheduleDialogTest, WeeklyAndAtLogOnAreSetOrTheDialogSaysTheSystemHasNoSuchTrigger) {
  const struct {
    int radio;
    TASK_TRIGGER_TYPE2 type;
    const char *time, *day, *step, *inXml;
  } kinds[] = {
      {IDC_OP_WEEKLY, TASK_TRIGGER_WEEKLY, "22:10", "Thursday", "making a weekly trigger: ", "Thursday"},
      {IDC_OP_LOGON, TASK_TRIGGER_LOGON, "not a time: none is needed", nullptr, "making a log-on trigger: ", "Logon"}};
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.step);
    messages.seen.clear();
    InOptions([&](HWND dlg) {
      if (IsDlgButtonChecked(dlg, IDC_OP_SCHEDULE) != BST_CHECKED) Press(dlg, IDC_OP_SCHEDULE);
      Press(dlg, k.radio);
      EXPECT_EQ(k.day != nullptr, Enabled(dlg, IDC_OP_WEEKDAY));
      EXPECT_EQ(k.day != nullptr, Enabled(dlg, IDC_OP_TIME));  // a log-on cleaning has no time
      Choose(dlg, k.radio, k.time, k.day);
    });
    const taskrecord::Seen seen = system.Read(kScheduleTaskName);
    if (system.Makes(k.type) && system.TellsTriggersBack()) {
      EXPECT_TRUE(messages.seen.empty());
      ASSERT_EQ(1u, seen.triggers.size());
      EXPECT_EQ(k.type, seen.triggers[0].type);
      EXPECT_TRUE(Contains(seen.xml, k.inXml)) << seen.xml;
    } else {
      // Said, with the system's reason, and no task left.
      ASSERT_EQ(1u, messages.seen.size());
      EXPECT_TRUE(system.Makes(k.type) || Contains(messages.seen[0].text, k.step)) << messages.seen[0].text;
      EXPECT_TRUE(Contains(messages.seen[0].text, kNotImplemented)) << messages.seen[0].text;
      EXPECT_FALSE(seen.present);
    }
  }
}

TEST_F(ScheduleDialogTest, OkLeavesAnUnchangedTaskAloneAndUntickingRemovesIt) {
  // A task of that name made by another tool (the help's schtasks line).
  ASSERT_TRUE(system.RegisterDaily(kScheduleTaskName, "C:\\elsewhere\\tswclean.exe"));
  std::string status;
  InOptions([&](HWND dlg) {
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, IDC_OP_SCHEDULE));
    status = Caption(GetDlgItem(dlg, IDC_OP_STATUS));
    Press(dlg, IDC_OP_CHECK(4));  // another option changes
    Press(dlg, IDC_OP_COMMAND1);
  });
  if (system.TellsTriggersBack()) {
    EXPECT_EQ(0, status.find("Scheduled daily at 08:00. It does not start this folder's tswclean.exe")) << status;
  } else {
    EXPECT_EQ(0,
              status.find(
                  "The task \"Tracksweep\" is registered, but this system's Task Scheduler does not tell its schedule"))
        << status;
    EXPECT_TRUE(Contains(status, kNotImplemented)) << status;
  }
  EXPECT_TRUE(Contains(status, "It has not run yet.")) << status;
  // Neither replaced (which would start this folder's cleaner) nor removed.
  EXPECT_TRUE(system.Read(kScheduleTaskName).present);
  if (system.TellsTriggersBack()) {
    EXPECT_EQ("C:\\elsewhere\\tswclean.exe", system.Read(kScheduleTaskName).path);
  }
  EXPECT_EQ("1", ReadIni(Settings(), "Additional", "exit"));

  InOptions([&](HWND dlg) {
    Press(dlg, IDC_OP_SCHEDULE);
    EXPECT_FALSE(Enabled(dlg, IDC_OP_DAILY));
    Press(dlg, IDC_OP_COMMAND1);
  });
  EXPECT_FALSE(system.Read(kScheduleTaskName).present);
  EXPECT_TRUE(messages.seen.empty());
  InOptions([&](HWND dlg) { EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, IDC_OP_SCHEDULE)); });
}

TEST_F(ScheduleDialogTest, ABadTimeIsRefusedBeforeAnythingIsAppliedAndCancelSetsNothing) {
  for (const char* bad : {"25:00", "12:60", "7.30", "", "12:345", "noon"}) {
    SCOPED_TRACE(bad);
    messages.seen.clear();
    InOptions([&](HWND dlg) {
      Press(dlg, IDC_OP_CHECK(4));  // Exit after cleaning: must not be stored either
      Choose(dlg, IDC_OP_DAILY, bad);
      EXPECT_EQ(GetDlgItem(dlg, IDC_OP_TIME), GetFocus());  // back in the box to correct it
    });
    ASSERT_EQ(1u, messages.seen.size());
    EXPECT_TRUE(Contains(messages.seen[0].text, "HH:MM")) << messages.seen[0].text;
    EXPECT_FALSE(system.Read(kScheduleTaskName).present);
    EXPECT_FALSE(FileExists(Settings()));
  }
  messages.seen.clear();
  InOptions([&](HWND dlg) {
    Press(dlg, IDC_OP_SCHEDULE);
    SetDlgItemTextA(dlg, IDC_OP_TIME, "10:00");
    Press(dlg, IDC_OP_COMMAND2);
  });
  EXPECT_FALSE(system.Read(kScheduleTaskName).present);
  EXPECT_TRUE(messages.seen.empty());
  EXPECT_FALSE(FileExists(Settings()));
  // The dialog stayed open after the refusal: the corrected time is taken by the next OK.
  InOptions([&](HWND dlg) {
    Press(dlg, IDC_OP_CHECK(4));
    Choose(dlg, IDC_OP_DAILY, "25:00");
    SetDlgItemTextA(dlg, IDC_OP_TIME, "10:00");
    Press(dlg, IDC_OP_COMMAND1);
  });
  EXPECT_EQ("1", ReadIni(Settings(), "Additional", "exit"));
  const bool kept = system.TellsTriggersBack();
  ASSERT_EQ(kept ? 1u : 2u, messages.seen.size());
  if (!kept) {
    EXPECT_EQ(0, messages.seen[1].text.find("Tracksweep could not set the cleaning schedule. "));
  }
  EXPECT_EQ(kept, system.Read(kScheduleTaskName).present);
}
