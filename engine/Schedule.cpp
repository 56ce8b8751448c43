#include "engine/Schedule.h"

#include <windows.h>

#include <cctype>
#include <cstdio>

#include "settings/AppFolder.h"
#include "settings/Text.h"

const char kScheduleTaskName[] = "Tracksweep";
const char kScheduleReportFile[] = "tswclean-report.json";
const char* const kWeekdayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

namespace {

const char kTaskDescription[] =
    "Cleans the tracks ticked in Tracksweep with tswclean.exe. Set in Tracksweep's Clean Options.";

TaskTrigger TriggerOf(const Schedule& s) {
  TaskTrigger t;
  t.kind = s.kind == ScheduleKind::Daily    ? TaskTriggerKind::Daily
           : s.kind == ScheduleKind::Weekly ? TaskTriggerKind::Weekly
                                            : TaskTriggerKind::Logon;
  if (s.kind != ScheduleKind::AtLogon) {
    t.hour = s.hour;
    t.minute = s.minute;
  }
  if (s.kind == ScheduleKind::Weekly) t.weekDays = 1 << s.weekday;
  return t;
}

// The schedule a trigger stands for; false for one the dialog does not offer (another kind,
// several days of the week).
bool ScheduleOf(const TaskTrigger& t, Schedule& s) {
  s = Schedule();
  s.hour = t.hour;
  s.minute = t.minute;
  if (t.kind == TaskTriggerKind::Daily) {
    s.kind = ScheduleKind::Daily;
    return true;
  }
  if (t.kind == TaskTriggerKind::Logon) {
    s.kind = ScheduleKind::AtLogon;
    s.hour = 12;
    s.minute = 0;
    return true;
  }
  if (t.kind != TaskTriggerKind::Weekly) return false;
  s.kind = ScheduleKind::Weekly;
  for (int day = 0; day < 7; ++day)
    if (t.weekDays == 1 << day) {
      s.weekday = day;
      return true;
    }
  return false;
}

// The schedule of a task read back whole, with one trigger the dialog offers; false otherwise.
bool KnownSchedule(const TaskFacts& f, Schedule& s) {
  return f.details.ok() && f.triggers.size() == 1 && ScheduleOf(f.triggers[0], s);
}

std::string Unavailable(const TaskScheduler& scheduler) {
  return "The Task Scheduler is not available here: " + scheduler.connection().Text() + ".";
}

std::string Describe(const Schedule& s) {
  if (s.kind == ScheduleKind::AtLogon) return "at log on";
  const std::string at = " at " + ScheduleTimeText(s.hour, s.minute);
  return s.kind == ScheduleKind::Daily ? "daily" + at : std::string("every ") + kWeekdayNames[s.weekday] + at;
}

bool SameCommand(const TaskCommand& a, const TaskCommand& b) {
  return lstrcmpiA(a.path.c_str(), b.path.c_str()) == 0 && a.arguments == b.arguments &&
         lstrcmpiA(a.folder.c_str(), b.folder.c_str()) == 0;
}

// What tswclean's exit codes mean (its usage text lists them), or what the Task Scheduler's own
// result says.
std::string ExitCodeText(long code) {
  switch (code) {
    case 0:
      return "exit code 0 (everything chosen was erased)";
    case 1:
      return std::string("exit code 1 (some entries were passed over: see ") + kScheduleReportFile + ")";
    case 2:
      return "exit code 2 (tswclean refused the task's arguments)";
    case 3:
      return "exit code 3 (the program folder or the saved selection could not be read)";
    case static_cast<long>(SCHED_S_TASK_RUNNING):
      return "still running";
    default:
      break;
  }
  char text[48];
  if (code > 0 && code < 256)
    snprintf(text, sizeof text, "exit code %ld", code);
  else
    snprintf(text, sizeof text, "exit code 0x%08lX", static_cast<unsigned long>(code));
  return text;
}

std::string LastRunText(const TaskFacts& f) {
  if (!f.lastRun.ok()) return " When it last ran is not told here: " + HresultText(f.lastRun.hr) + ".";
  if (!f.hasRun) return " It has not run yet.";
  const SYSTEMTIME& t = f.lastRunTime;
  const std::string when = GeneralDateText(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  if (!f.lastResult.ok())
    return " Last run " + when + "; its exit code is not told here: " + HresultText(f.lastResult.hr) + ".";
  return " Last run " + when + ", " + ExitCodeText(f.lastExitCode) + ".";
}

// Why no schedule can be set here, or which kinds are missing; "" when every kind can be set.
std::string Shortfall(TaskScheduler& scheduler) {
  const TaskOutcome back = scheduler.TellsTasksBack();
  if (!back.ok())
    return " A schedule cannot be set here: this system's Task Scheduler does not tell a task's schedule back: " +
           HresultText(back.hr) + ".";
  std::string missing;
  const struct {
    TaskTriggerKind kind;
    const char* name;
  } kinds[] = {
      {TaskTriggerKind::Daily, "daily"}, {TaskTriggerKind::Weekly, "weekly"}, {TaskTriggerKind::Logon, "log-on"}};
  for (const auto& k : kinds) {
    const TaskOutcome made = scheduler.Supports(k.kind);
    if (!made.ok())
      missing += std::string(missing.empty() ? "" : "; ") + "no " + k.name + " trigger: " + HresultText(made.hr);
  }
  return missing.empty() ? std::string() : " This system's Task Scheduler has " + missing + ".";
}

}  // namespace

bool ParseScheduleTime(const std::string& text, int& hour, int& minute) {
  const std::string t = TrimSpaces(text);
  const size_t colon = t.find(':');
  if (colon == std::string::npos || colon < 1 || colon > 2 || t.size() != colon + 3) return false;
  for (size_t i = 0; i < t.size(); ++i)
    if (i != colon && !isdigit(static_cast<unsigned char>(t[i]))) return false;
  const int h = atoi(t.substr(0, colon).c_str()), m = atoi(t.substr(colon + 1).c_str());
  if (h > 23 || m > 59) return false;
  hour = h;
  minute = m;
  return true;
}

std::string ScheduleTimeText(int hour, int minute) {
  char text[8];
  snprintf(text, sizeof text, "%02d:%02d", hour, minute);
  return text;
}

TaskCommand ScheduleCommand() {
  return {ProgramFile("tswclean.exe"), "--report \"" + ProgramFile(kScheduleReportFile) + "\"", ProgramFolder()};
}

std::string RegisteredTaskStatus(const TaskFacts& f) {
  std::string status;
  Schedule s;
  if (!f.details.ok()) {
    status =
        std::string("The task \"") + kScheduleTaskName +
        "\" is registered, but this system's Task Scheduler does not tell its schedule: " + HresultText(f.details.hr) +
        ".";
  } else if (KnownSchedule(f, s)) {
    status = "Scheduled " + Describe(s) + ".";
  } else {
    status =
        std::string("The task \"") + kScheduleTaskName + "\" is registered with a schedule made outside Tracksweep.";
  }
  if (f.details.ok() && (f.commands.size() != 1 || !SameCommand(f.commands[0], ScheduleCommand())))
    status += " It does not start this folder's tswclean.exe with its report as Tracksweep sets it up.";
  return status + LastRunText(f);
}

ScheduleState ReadScheduleState() {
  ScheduleState state;
  TaskScheduler scheduler;
  if (!scheduler.connection().ok()) {
    state.status = Unavailable(scheduler);
    return state;
  }
  state.available = true;
  TaskFacts facts;
  const TaskOutcome read = scheduler.Read(kScheduleTaskName, facts);
  if (!read.ok()) {
    state.status = std::string("The task \"") + kScheduleTaskName + "\" could not be read: " + read.Text() + ".";
    return state;
  }
  state.present = facts.present;
  if (!facts.present) {
    state.status = "Not scheduled." + Shortfall(scheduler);
    return state;
  }
  state.known = KnownSchedule(facts, state.schedule);
  state.status = RegisteredTaskStatus(facts);
  return state;
}

std::string ApplySchedule(const Schedule& schedule) {
  TaskScheduler scheduler;
  if (!scheduler.connection().ok()) return Unavailable(scheduler);
  const TaskTrigger trigger = TriggerOf(schedule);
  const TaskCommand command = ScheduleCommand();
  const TaskOutcome registered = scheduler.Register(kScheduleTaskName, kTaskDescription, trigger, command);
  if (!registered.ok()) return "This system's Task Scheduler did not take the task: " + registered.Text() + ".";
  TaskFacts facts;
  const TaskOutcome read = scheduler.Read(kScheduleTaskName, facts);
  std::string wrong;
  Schedule found;
  if (!read.ok())
    wrong = read.Text();
  else if (!facts.present)
    wrong = "the task is not there after registering it";
  else if (!facts.details.ok())
    wrong = facts.details.Text();
  else if (!KnownSchedule(facts, found) || Describe(found) != Describe(schedule) || facts.commands.size() != 1 ||
           !SameCommand(facts.commands[0], command))
    wrong = "it holds another schedule or program than the one asked for";
  if (wrong.empty()) return "";
  const TaskOutcome removed = scheduler.Remove(kScheduleTaskName);
  return "This system's Task Scheduler took the task, but it could not be checked (" + wrong + "), so " +
         (removed.ok() ? "it was removed again." : "removing it failed too: " + removed.Text() + ".");
}

std::string RemoveSchedule() {
  TaskScheduler scheduler;
  // A Windows without this Task Scheduler (before Vista) holds no such task.
  if (scheduler.connection().hr == REGDB_E_CLASSNOTREG) return "";
  if (!scheduler.connection().ok()) return Unavailable(scheduler);
  const TaskOutcome removed = scheduler.Remove(kScheduleTaskName);
  return removed.ok() ? std::string() : removed.Text() + ".";
}
