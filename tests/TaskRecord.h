// The Task Scheduler of the test prefix read and written by its own calls (ITaskService),
// apart from the program's code: what a test sees there is what the system holds.
#pragma once
#include <objbase.h>
#include <oleauto.h>
#include <taskschd.h>
#include <windows.h>

#include <string>
#include <vector>

namespace taskrecord {

template <typename T>
struct Ref {
  T* p = nullptr;
  ~Ref() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
  T** put() { return &p; }
  void** out() { return reinterpret_cast<void**>(&p); }
};

struct Str {
  BSTR s = nullptr;
  explicit Str(const std::string& text = "") {
    const std::wstring wide(text.begin(), text.end());
    s = SysAllocString(wide.c_str());
  }
  ~Str() { SysFreeString(s); }
  std::string Text() const {
    std::string out;
    for (UINT i = 0; s && i < SysStringLen(s); ++i) out += static_cast<char>(s[i]);
    return out;
  }
};

struct Trigger {
  TASK_TRIGGER_TYPE2 type;
  std::string start;  // its StartBoundary
};

struct Seen {
  bool present = false;
  std::string xml;                      // as the Task Scheduler gives it
  std::vector<Trigger> triggers;        // empty where the system does not tell them
  std::string path, arguments, folder;  // its first program
};

class Scheduler {
 public:
  Scheduler() {
    VARIANT none;
    VariantInit(&none);
    if (SUCCEEDED(
            CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService, service_.out())) &&
        SUCCEEDED(service_->Connect(none, none, none, none))) {
      Str slash("\\");
      service_->GetFolder(slash.s, root_.put());
    }
  }
  bool connected() const { return root_.p != nullptr; }

  Seen Read(const std::string& name) {
    Seen seen;
    Ref<IRegisteredTask> task;
    Str n(name);
    if (!root_.p || FAILED(root_->GetTask(n.s, task.put()))) return seen;
    seen.present = true;
    Str xml;
    if (SUCCEEDED(task->get_Xml(&xml.s))) seen.xml = xml.Text();
    Ref<ITaskDefinition> def;
    if (FAILED(task->get_Definition(def.put()))) return seen;
    Ref<ITriggerCollection> triggers;
    LONG count = 0;
    def->get_Triggers(triggers.put());
    if (!triggers.p || FAILED(triggers->get_Count(&count))) count = 0;
    for (LONG i = 1; i <= count; ++i) {
      Ref<ITrigger> t;
      Trigger read = {};
      Str start;
      if (FAILED(triggers->get_Item(i, t.put()))) continue;
      t->get_Type(&read.type);
      t->get_StartBoundary(&start.s);
      read.start = start.Text();
      seen.triggers.push_back(read);
    }
    Ref<IActionCollection> actions;
    def->get_Actions(actions.put());
    if (actions.p && SUCCEEDED(actions->get_Count(&count)) && count > 0) {
      Ref<IAction> action;
      Ref<IExecAction> exec;
      Str path, arguments, folder;
      if (SUCCEEDED(actions->get_Item(1, action.put())) &&
          SUCCEEDED(action->QueryInterface(IID_IExecAction, exec.out()))) {
        exec->get_Path(&path.s);
        exec->get_Arguments(&arguments.s);
        exec->get_WorkingDirectory(&folder.s);
        seen.path = path.Text();
        seen.arguments = arguments.Text();
        seen.folder = folder.Text();
      }
    }
    return seen;
  }

  // A task with a daily trigger, registered as another tool (schtasks) would; true when it is there.
  bool RegisterDaily(const std::string& name, const std::string& program) {
    if (!root_.p) return false;
    Ref<ITaskDefinition> def;
    Ref<ITriggerCollection> triggers;
    Ref<ITrigger> trigger;
    Ref<IActionCollection> actions;
    Ref<IAction> action;
    Ref<IExecAction> exec;
    Ref<IRegisteredTask> registered;
    if (FAILED(service_->NewTask(0, def.put()))) return false;
    def->get_Triggers(triggers.put());
    Str start("2024-01-01T08:00:00");
    if (triggers.p && SUCCEEDED(triggers->Create(TASK_TRIGGER_DAILY, trigger.put())))
      trigger->put_StartBoundary(start.s);
    def->get_Actions(actions.put());
    Str path(program);
    if (actions.p && SUCCEEDED(actions->Create(TASK_ACTION_EXEC, action.put())) &&
        SUCCEEDED(action->QueryInterface(IID_IExecAction, exec.out())))
      exec->put_Path(path.s);
    VARIANT none;
    VariantInit(&none);
    Str n(name);
    root_->RegisterTaskDefinition(n.s, def.p, TASK_CREATE_OR_UPDATE, none, none, TASK_LOGON_INTERACTIVE_TOKEN, none,
                                  registered.put());
    return Read(name).present;
  }

  void Delete(const std::string& name) {
    Str n(name);
    if (root_.p) root_->DeleteTask(n.s, 0);
  }

  // Whether this Task Scheduler makes a trigger of the type, and tells a task's triggers back.
  bool Makes(TASK_TRIGGER_TYPE2 type) {
    Ref<ITaskDefinition> def;
    Ref<ITriggerCollection> triggers;
    Ref<ITrigger> trigger;
    return service_.p && SUCCEEDED(service_->NewTask(0, def.put())) && SUCCEEDED(def->get_Triggers(triggers.put())) &&
           SUCCEEDED(triggers->Create(type, trigger.put()));
  }
  bool TellsTriggersBack() {
    Ref<ITaskDefinition> def;
    Ref<ITriggerCollection> triggers;
    LONG count = 0;
    return service_.p && SUCCEEDED(service_->NewTask(0, def.put())) && SUCCEEDED(def->get_Triggers(triggers.put())) &&
           SUCCEEDED(triggers->get_Count(&count));
  }

 private:
  Ref<ITaskService> service_;
  Ref<ITaskFolder> root_;
};

}  // namespace taskrecord
