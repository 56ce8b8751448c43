// The Task Scheduler of Windows Vista and later, through its own interface (ITaskService): tasks
// of the current user in its root folder, registered, read back and removed. Older Windows
// lacks it, and some systems implement only part of it: every call says what it came to.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// "Not implemented (0x80004001)": the system's text for a result, and its code.
std::string HresultText(HRESULT hr);

// What a call of the Task Scheduler came to: success, or the step that failed and its result.
struct TaskOutcome {
  HRESULT hr = S_OK;
  std::string step;  // what was being done when it failed: "making a weekly trigger"
  bool ok() const { return SUCCEEDED(hr); }
  // The system has the call but does not carry it out.
  bool notImplemented() const { return hr == E_NOTIMPL; }
  // "making a weekly trigger: Not implemented (0x80004001)"; "" on success.
  std::string Text() const;
};

enum class TaskTriggerKind { Daily, Weekly, Logon, Other };

struct TaskTrigger {
  TaskTriggerKind kind = TaskTriggerKind::Daily;
  int hour = 0, minute = 0;  // daily and weekly: the local time it starts at
  int weekDays = 0;          // weekly: the Task Scheduler's day bits, Sunday 1, Monday 2 ... Saturday 64
};

// A program the task starts.
struct TaskCommand {
  std::string path, arguments, folder;
};

// A task as the Task Scheduler tells it.
struct TaskFacts {
  bool present = false;
  TaskOutcome details;  // reading its triggers and its programs
  std::vector<TaskTrigger> triggers;
  std::vector<TaskCommand> commands;
  TaskOutcome lastRun;  // reading when it last ran
  bool hasRun = false;
  SYSTEMTIME lastRunTime = {};  // local time
  TaskOutcome lastResult;       // reading what its last run returned
  long lastExitCode = 0;
};

// A connection to the Task Scheduler of this machine, for this thread; COM is joined for the
// thread while it lives when nobody joined it before.
class TaskScheduler {
 public:
  TaskScheduler();
  ~TaskScheduler();
  TaskScheduler(const TaskScheduler&) = delete;
  TaskScheduler& operator=(const TaskScheduler&) = delete;

  // Whether the Task Scheduler could be reached; every other call fails as this did when not.
  const TaskOutcome& connection() const { return connection_; }
  // Creates or replaces the task: the current user's, run only while that user is logged on,
  // without raised rights and without a password.
  TaskOutcome Register(const std::string& name, const std::string& description, const TaskTrigger& trigger,
                       const TaskCommand& command);
  // present is false and the outcome succeeds when there is no such task.
  TaskOutcome Read(const std::string& name, TaskFacts& facts);
  // S_OK when removed, S_FALSE when there was no such task.
  TaskOutcome Remove(const std::string& name);
  // Whether this Task Scheduler makes a trigger of the kind, and whether it tells a task's
  // triggers and programs back; both tried on a task that is never registered.
  TaskOutcome Supports(TaskTriggerKind kind);
  TaskOutcome TellsTasksBack();

 private:
  struct Com;
  std::unique_ptr<Com> com_;
  TaskOutcome connection_;
};
