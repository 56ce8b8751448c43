// Cleaning on a schedule: the program's own task of the Task Scheduler, which runs tswclean.exe
// of the program folder and has it write its report beside it. The task is what is in effect:
// nothing about it is kept anywhere else, and what the dialog shows is read from the task.
#pragma once
#include <string>

#include "access/TaskScheduler.h"

extern const char kScheduleTaskName[];      // "Tracksweep", as the help's schtasks line names it
extern const char kScheduleReportFile[];    // "tswclean-report.json", in the program folder
extern const char* const kWeekdayNames[7];  // "Sunday" ... "Saturday"

enum class ScheduleKind { Daily, Weekly, AtLogon };

struct Schedule {
  ScheduleKind kind = ScheduleKind::Daily;
  int hour = 12, minute = 0;  // daily and weekly
  int weekday = 1;            // weekly: 0 Sunday ... 6 Saturday
};

// "09:30" or "9:30", from 00:00 to 23:59, spaces around allowed; false for anything else.
bool ParseScheduleTime(const std::string& text, int& hour, int& minute);
std::string ScheduleTimeText(int hour, int minute);  // "09:05"

// tswclean.exe of the program folder with --report "<program folder>\tswclean-report.json",
// started in the program folder.
TaskCommand ScheduleCommand();

struct ScheduleState {
  bool available = false;  // the Task Scheduler can be reached
  bool present = false;    // the program's task is registered
  bool known = false;      // its one trigger was read back and is one the dialog offers
  Schedule schedule;       // that trigger, when known
  std::string status;      // what the dialog's status line says
};
ScheduleState ReadScheduleState();

// Registers or replaces the task and reads it back. "" when the task holds what was asked;
// otherwise why not, and then no task of the program is left: one whose schedule cannot be
// checked would promise cleanings nobody can see.
std::string ApplySchedule(const Schedule& schedule);
// "" when the task was removed or was not there; otherwise why not.
std::string RemoveSchedule();

// The status line of a task that is registered: its schedule, when it last ran and what that
// run returned, or what this system's Task Scheduler does not tell.
std::string RegisteredTaskStatus(const TaskFacts& facts);
