#include "access/TaskScheduler.h"

#include <objbase.h>
#include <oleauto.h>
#include <taskschd.h>
#include <windows.h>

#include <cstdio>

#include "access/WidePath.h"

namespace {

// mingw-w64's taskschd.h declares the triggers up to IDailyTrigger; these two follow ITrigger
// as Windows declares them.
struct WeeklyTriggerCalls : public ITrigger {
  virtual HRESULT STDMETHODCALLTYPE get_DaysOfWeek(short* days) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DaysOfWeek(short days) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WeeksInterval(short* weeks) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_WeeksInterval(short weeks) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RandomDelay(BSTR* delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_RandomDelay(BSTR delay) = 0;
};
const IID kWeeklyTriggerIid = {0x5038fc98, 0x82ff, 0x436d, {0x87, 0x28, 0xa5, 0x12, 0xa5, 0x7c, 0x9d, 0xc1}};
struct LogonTriggerCalls : public ITrigger {
  virtual HRESULT STDMETHODCALLTYPE get_Delay(BSTR* delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Delay(BSTR delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_UserId(BSTR* user) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_UserId(BSTR user) = 0;
};
const IID kLogonTriggerIid = {0x72dade38, 0xfae4, 0x4b3e, {0xba, 0xf4, 0x5d, 0x00, 0x9a, 0xf0, 0x2b, 0x1c}};

// A COM object, released when it goes.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T** out() { return &p_; }
  void** outVoid() { return reinterpret_cast<void**>(&p_); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }

 private:
  T* p_ = nullptr;
};

// A string of COM, freed when it goes; to and from the program's text as every exact name is
// (a character the code page cannot spell travels as "<U+XXXX>").
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const std::string& text) {
    const std::wstring wide = WideText(text);
    s_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  explicit Bstr(const wchar_t* text) : s_(SysAllocString(text)) {}
  ~Bstr() { SysFreeString(s_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR* out() { return &s_; }
  operator BSTR() const { return s_; }
  std::string Text() const { return s_ ? NarrowName(s_, SysStringLen(s_)) : std::string(); }

 private:
  BSTR s_ = nullptr;
};

// COM joined for this thread while it lives. Already joined (the window's thread is) gives
// S_FALSE, which is left again too; joined with another threading model, COM still serves the
// thread and is not left.
class ComJoin {
 public:
  ComJoin() : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComJoin() {
    if (joined_) CoUninitialize();
  }
  ComJoin(const ComJoin&) = delete;
  ComJoin& operator=(const ComJoin&) = delete;

 private:
  bool joined_;
};

TaskOutcome Failed(HRESULT hr, const std::string& step) {
  TaskOutcome o;
  o.hr = hr;
  o.step = step;
  return o;
}

VARIANT NoValue() {
  VARIANT v;
  VariantInit(&v);
  return v;
}

const char* KindName(TaskTriggerKind kind) {
  switch (kind) {
    case TaskTriggerKind::Daily:
      return "daily";
    case TaskTriggerKind::Weekly:
      return "weekly";
    case TaskTriggerKind::Logon:
      return "log-on";
    default:
      return "other";
  }
}

// "2026-03-01T12:30:00": the next time of day it is that local time, today or tomorrow (no zone:
// the Task Scheduler keeps local time). A boundary already past could count as a missed start.
std::string StartBoundary(int hour, int minute) {
  SYSTEMTIME now, day;
  GetLocalTime(&now);
  day = now;
  if (hour * 60 + minute <= now.wHour * 60 + now.wMinute) {
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += 24ULL * 60 * 60 * 10000000;  // a day in 100-nanosecond steps
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    FileTimeToSystemTime(&ft, &day);
  }
  char text[32];
  snprintf(text, sizeof text, "%04u-%02u-%02uT%02d:%02d:00", day.wYear, day.wMonth, day.wDay, hour, minute);
  return text;
}

// The hour and minute of such a boundary; false when it holds none.
bool BoundaryTime(const std::string& boundary, int& hour, int& minute) {
  const size_t t = boundary.find('T');
  return t != std::string::npos && sscanf(boundary.c_str() + t + 1, "%d:%d", &hour, &minute) == 2;
}

// DOMAIN\user: a log-on trigger of a user without administrator rights must name that user.
std::string CurrentUser() {
  using NameEx = BOOLEAN(WINAPI*)(int, LPSTR, PULONG);
  HMODULE secur32 = LoadLibraryA("secur32.dll");
  const auto nameEx = secur32 ? reinterpret_cast<NameEx>(GetProcAddress(secur32, "GetUserNameExA")) : nullptr;
  char name[512] = {0};
  ULONG size = sizeof name;
  const int kNameSamCompatible = 2;
  std::string user;
  if (nameEx && nameEx(kNameSamCompatible, name, &size)) user = name;
  if (secur32) FreeLibrary(secur32);
  DWORD plain = sizeof name;
  if (user.empty() && GetUserNameA(name, &plain)) user = name;
  return user;
}

TaskOutcome AddTrigger(ITaskDefinition* task, const TaskTrigger& wanted) {
  const std::string kind = KindName(wanted.kind);
  TASK_TRIGGER_TYPE2 type;
  switch (wanted.kind) {
    case TaskTriggerKind::Daily:
      type = TASK_TRIGGER_DAILY;
      break;
    case TaskTriggerKind::Weekly:
      type = TASK_TRIGGER_WEEKLY;
      break;
    case TaskTriggerKind::Logon:
      type = TASK_TRIGGER_LOGON;
      break;
    default:
      return Failed(E_INVALIDARG, "making a trigger of no known kind");
  }
  ComRef<ITriggerCollection> triggers;
  HRESULT hr = task->get_Triggers(triggers.out());
  if (FAILED(hr)) return Failed(hr, "reaching the task's triggers");
  ComRef<ITrigger> trigger;
  hr = triggers->Create(type, trigger.out());
  if (FAILED(hr)) return Failed(hr, "making a " + kind + " trigger");
  if (wanted.kind != TaskTriggerKind::Logon) {
    hr = trigger->put_StartBoundary(Bstr(StartBoundary(wanted.hour, wanted.minute)));
    if (FAILED(hr)) return Failed(hr, "setting the time of the " + kind + " trigger");
  }
  if (wanted.kind == TaskTriggerKind::Daily) {
    ComRef<IDailyTrigger> daily;
    hr = trigger->QueryInterface(IID_IDailyTrigger, daily.outVoid());
    if (SUCCEEDED(hr)) hr = daily->put_DaysInterval(1);
  } else if (wanted.kind == TaskTriggerKind::Weekly) {
    ComRef<WeeklyTriggerCalls> weekly;
    hr = trigger->QueryInterface(kWeeklyTriggerIid, weekly.outVoid());
    if (SUCCEEDED(hr)) hr = weekly->put_DaysOfWeek(static_cast<short>(wanted.weekDays));
    if (SUCCEEDED(hr)) hr = weekly->put_WeeksInterval(1);
  } else {
    ComRef<LogonTriggerCalls> logon;
    hr = trigger->QueryInterface(kLogonTriggerIid, logon.outVoid());
    if (SUCCEEDED(hr)) hr = logon->put_UserId(Bstr(CurrentUser()));
  }
  return FAILED(hr) ? Failed(hr, "setting up the " + kind + " trigger") : TaskOutcome();
}

TaskOutcome AddCommand(ITaskDefinition* task, const TaskCommand& command) {
  ComRef<IActionCollection> actions;
  HRESULT hr = task->get_Actions(actions.out());
  if (FAILED(hr)) return Failed(hr, "reaching the task's programs");
  ComRef<IAction> action;
  hr = actions->Create(TASK_ACTION_EXEC, action.out());
  if (FAILED(hr)) return Failed(hr, "adding the program to the task");
  ComRef<IExecAction> exec;
  hr = action->QueryInterface(IID_IExecAction, exec.outVoid());
  if (SUCCEEDED(hr)) hr = exec->put_Path(Bstr(command.path));
  if (SUCCEEDED(hr) && !command.arguments.empty()) hr = exec->put_Arguments(Bstr(command.arguments));
  if (SUCCEEDED(hr) && !command.folder.empty()) hr = exec->put_WorkingDirectory(Bstr(command.folder));
  return FAILED(hr) ? Failed(hr, "setting the program of the task") : TaskOutcome();
}

TaskOutcome DescribeAndSettle(ITaskDefinition* task, const std::string& description) {
  ComRef<IRegistrationInfo> info;
  HRESULT hr = task->get_RegistrationInfo(info.out());
  if (SUCCEEDED(hr)) hr = info->put_Description(Bstr(description));
  if (FAILED(hr)) return Failed(hr, "describing the task");
  // A laptop on battery still cleans, and a time missed while the machine was off is made up
  // for when it is next on.
  ComRef<ITaskSettings> settings;
  hr = task->get_Settings(settings.out());
  if (SUCCEEDED(hr)) hr = settings->put_DisallowStartIfOnBatteries(VARIANT_FALSE);
  if (SUCCEEDED(hr)) hr = settings->put_StopIfGoingOnBatteries(VARIANT_FALSE);
  if (SUCCEEDED(hr)) hr = settings->put_StartWhenAvailable(VARIANT_TRUE);
  if (FAILED(hr)) return Failed(hr, "setting when the task may run");
  // The user's own token and least rights. Both are also what registering with an interactive
  // token gives, so a scheduler that cannot set them here still makes the same task.
  ComRef<IPrincipal> principal;
  hr = task->get_Principal(principal.out());
  if (SUCCEEDED(hr)) hr = principal->put_LogonType(TASK_LOGON_INTERACTIVE_TOKEN);
  if (SUCCEEDED(hr)) hr = principal->put_RunLevel(TASK_RUNLEVEL_LUA);
  if (FAILED(hr) && hr != E_NOTIMPL) return Failed(hr, "setting whom the task runs as");
  return TaskOutcome();
}

TaskOutcome ReadTrigger(ITrigger* trigger, TaskTrigger& out) {
  TASK_TRIGGER_TYPE2 type;
  HRESULT hr = trigger->get_Type(&type);
  if (FAILED(hr)) return Failed(hr, "reading the kind of a trigger");
  out = TaskTrigger();
  out.kind = TaskTriggerKind::Other;
  Bstr start;
  if (type == TASK_TRIGGER_DAILY || type == TASK_TRIGGER_WEEKLY) {
    hr = trigger->get_StartBoundary(start.out());
    if (FAILED(hr)) return Failed(hr, "reading the time of a trigger");
    if (!BoundaryTime(start.Text(), out.hour, out.minute)) return TaskOutcome();
  }
  if (type == TASK_TRIGGER_DAILY) {
    ComRef<IDailyTrigger> daily;
    short days = 0;
    hr = trigger->QueryInterface(IID_IDailyTrigger, daily.outVoid());
    if (SUCCEEDED(hr)) hr = daily->get_DaysInterval(&days);
    if (FAILED(hr)) return Failed(hr, "reading a daily trigger");
    if (days == 1) out.kind = TaskTriggerKind::Daily;  // every few days is no daily run
  } else if (type == TASK_TRIGGER_WEEKLY) {
    ComRef<WeeklyTriggerCalls> weekly;
    short days = 0, weeks = 0;
    hr = trigger->QueryInterface(kWeeklyTriggerIid, weekly.outVoid());
    if (SUCCEEDED(hr)) hr = weekly->get_DaysOfWeek(&days);
    if (SUCCEEDED(hr)) hr = weekly->get_WeeksInterval(&weeks);
    if (FAILED(hr)) return Failed(hr, "reading a weekly trigger");
    out.weekDays = days;
    if (weeks == 1) out.kind = TaskTriggerKind::Weekly;
  } else if (type == TASK_TRIGGER_LOGON) {
    out.kind = TaskTriggerKind::Logon;
  }
  return TaskOutcome();
}

TaskOutcome ReadDetails(IRegisteredTask* task, TaskFacts& facts) {
  ComRef<ITaskDefinition> definition;
  HRESULT hr = task->get_Definition(definition.out());
  if (FAILED(hr)) return Failed(hr, "reading the task");
  ComRef<ITriggerCollection> triggers;
  LONG count = 0;
  hr = definition->get_Triggers(triggers.out());
  if (SUCCEEDED(hr)) hr = triggers->get_Count(&count);
  if (FAILED(hr)) return Failed(hr, "reading the task's triggers");
  for (LONG i = 1; i <= count; ++i) {
    ComRef<ITrigger> trigger;
    hr = triggers->get_Item(i, trigger.out());
    if (FAILED(hr)) return Failed(hr, "reading the task's triggers");
    TaskTrigger read;
    const TaskOutcome outcome = ReadTrigger(trigger.get(), read);
    if (!outcome.ok()) return outcome;
    facts.triggers.push_back(read);
  }
  ComRef<IActionCollection> actions;
  hr = definition->get_Actions(actions.out());
  if (SUCCEEDED(hr)) hr = actions->get_Count(&count);
  if (FAILED(hr)) return Failed(hr, "reading the task's programs");
  for (LONG i = 1; i <= count; ++i) {
    ComRef<IAction> action;
    ComRef<IExecAction> exec;
    hr = actions->get_Item(i, action.out());
    if (FAILED(hr)) return Failed(hr, "reading the task's programs");
    if (FAILED(action->QueryInterface(IID_IExecAction, exec.outVoid()))) continue;  // mail, message: no program
    Bstr path, arguments, folder;
    hr = exec->get_Path(path.out());
    if (SUCCEEDED(hr)) hr = exec->get_Arguments(arguments.out());
    if (SUCCEEDED(hr)) hr = exec->get_WorkingDirectory(folder.out());
    if (FAILED(hr)) return Failed(hr, "reading the task's programs");
    facts.commands.push_back({path.Text(), arguments.Text(), folder.Text()});
  }
  return TaskOutcome();
}

}  // namespace

std::string HresultText(HRESULT hr) {
  char text[512] = {0};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(hr), 0, text,
                 sizeof text, nullptr);
  std::string words = text;
  while (!words.empty() && (isspace(static_cast<unsigned char>(words.back())) || words.back() == '.')) words.pop_back();
  if (words.empty() && hr == REGDB_E_CLASSNOTREG) words = "Class not registered";
  char code[16];
  snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
  return words.empty() ? std::string("error ") + code : words + " (" + code + ")";
}

std::string TaskOutcome::Text() const { return ok() ? std::string() : step + ": " + HresultText(hr); }

// The join first: the objects are released before COM is left.
struct TaskScheduler::Com {
  ComJoin join;
  ComRef<ITaskService> service;
  ComRef<ITaskFolder> root;
};

TaskScheduler::TaskScheduler() : com_(std::make_unique<Com>()) {
  HRESULT hr =
      CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService, com_->service.outVoid());
  if (FAILED(hr)) {
    connection_ = Failed(hr, "starting the Task Scheduler's interface (it needs Windows Vista or later)");
    return;
  }
  const VARIANT none = NoValue();
  hr = com_->service->Connect(none, none, none, none);
  if (FAILED(hr)) {
    connection_ = Failed(hr, "connecting to the Task Scheduler");
    return;
  }
  hr = com_->service->GetFolder(Bstr(L"\\"), com_->root.out());
  if (FAILED(hr)) connection_ = Failed(hr, "opening the Task Scheduler's root folder");
}

TaskScheduler::~TaskScheduler() = default;

TaskOutcome TaskScheduler::Register(const std::string& name, const std::string& description, const TaskTrigger& trigger,
                                    const TaskCommand& command) {
  if (!connection_.ok()) return connection_;
  ComRef<ITaskDefinition> task;
  HRESULT hr = com_->service->NewTask(0, task.out());
  if (FAILED(hr)) return Failed(hr, "making a new task");
  TaskOutcome made = AddTrigger(task.get(), trigger);
  if (made.ok()) made = AddCommand(task.get(), command);
  if (made.ok()) made = DescribeAndSettle(task.get(), description);
  if (!made.ok()) return made;
  const VARIANT none = NoValue();
  ComRef<IRegisteredTask> registered;
  hr = com_->root->RegisterTaskDefinition(Bstr(name), task.get(), TASK_CREATE_OR_UPDATE, none, none,
                                          TASK_LOGON_INTERACTIVE_TOKEN, none, registered.out());
  return FAILED(hr) ? Failed(hr, "registering the task") : TaskOutcome();
}

TaskOutcome TaskScheduler::Read(const std::string& name, TaskFacts& facts) {
  facts = TaskFacts();
  if (!connection_.ok()) return connection_;
  ComRef<IRegisteredTask> task;
  HRESULT hr = com_->root->GetTask(Bstr(name), task.out());
  if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))
    return TaskOutcome();
  if (FAILED(hr)) return Failed(hr, "opening the task");
  facts.present = true;
  facts.details = ReadDetails(task.get(), facts);
  DATE last = 0;
  hr = task->get_LastRunTime(&last);
  if (FAILED(hr)) {
    facts.lastRun = Failed(hr, "reading when the task last ran");
  } else if (hr != SCHED_S_TASK_HAS_NOT_RUN && last != 0) {
    facts.hasRun = VariantTimeToSystemTime(last, &facts.lastRunTime) != FALSE;
  }
  LONG result = 0;
  hr = task->get_LastTaskResult(&result);
  if (FAILED(hr))
    facts.lastResult = Failed(hr, "reading what the task's last run returned");
  else
    facts.lastExitCode = result;
  return TaskOutcome();
}

TaskOutcome TaskScheduler::Remove(const std::string& name) {
  if (!connection_.ok()) return connection_;
  const HRESULT hr = com_->root->DeleteTask(Bstr(name), 0);
  if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)) {
    TaskOutcome absent;
    absent.hr = S_FALSE;
    return absent;
  }
  return FAILED(hr) ? Failed(hr, "removing the task") : TaskOutcome();
}

TaskOutcome TaskScheduler::Supports(TaskTriggerKind kind) {
  if (!connection_.ok()) return connection_;
  ComRef<ITaskDefinition> task;
  HRESULT hr = com_->service->NewTask(0, task.out());
  if (FAILED(hr)) return Failed(hr, "making a new task");
  TaskTrigger trigger;
  trigger.kind = kind;
  trigger.hour = 12;
  trigger.weekDays = 2;
  return AddTrigger(task.get(), trigger);
}

TaskOutcome TaskScheduler::TellsTasksBack() {
  if (!connection_.ok()) return connection_;
  ComRef<ITaskDefinition> task;
  HRESULT hr = com_->service->NewTask(0, task.out());
  if (FAILED(hr)) return Failed(hr, "making a new task");
  ComRef<ITriggerCollection> triggers;
  ComRef<IActionCollection> actions;
  LONG count = 0;
  hr = task->get_Triggers(triggers.out());
  if (SUCCEEDED(hr)) hr = triggers->get_Count(&count);
  if (FAILED(hr)) return Failed(hr, "reading a task's triggers");
  hr = task->get_Actions(actions.out());
  if (SUCCEEDED(hr)) hr = actions->get_Count(&count);
  return FAILED(hr) ? Failed(hr, "reading a task's programs") : TaskOutcome();
}
