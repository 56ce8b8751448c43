// The programs running now, by the names of their executables: found, waited on, and asked to
// close as a user closes them (never ended by force).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// True when a process whose executable is one of names ("chrome.exe"; letter case ignored; see
// ExeNamed) runs.
bool AnyProcessRunning(const std::vector<std::string>& names);
// True when the file exists and another program holds it open without sharing it, as a
// browser holds its profile lock ("lockfile", "parent.lock") while it runs.
bool FileHeldOpen(const std::string& path);

// True when exe ("Firefox.exe", or a full path) is one of names, letter case ignored, as Windows
// compares them. A name given with folders ("Yandex\\YandexBrowser\\Application\\browser.exe",
// for an executable whose own name other programs share) matches only a full path ending so.
bool ExeNamed(const std::string& exe, const std::vector<std::string>& names);

struct RunningProcess {
  DWORD id = 0;
  std::string exe;  // "firefox.exe", as the system lists it; the full path for a name given with folders
};
// The processes running now whose executable is one of names (letter case ignored).
std::vector<RunningProcess> RunningProcesses(const std::vector<std::string>& names);

// A process held open to see it end: while the handle is open its number is not given to
// another process. Not opened (ok() false) when it has ended already or may not be watched.
class ProcessHandle {
 public:
  explicit ProcessHandle(DWORD id) : h_(OpenProcess(SYNCHRONIZE, FALSE, id)), id_(id) {}
  ~ProcessHandle() {
    if (h_) CloseHandle(h_);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  bool ok() const { return h_ != nullptr; }
  DWORD id() const { return id_; }
  HANDLE get() const { return h_; }
  bool Ended() const { return !h_ || WaitForSingleObject(h_, 0) == WAIT_OBJECT_0; }

 private:
  HANDLE h_;
  DWORD id_;
};

// A process waited on by the system's thread pool: ended is called once, on a thread of the
// pool, when the process ends (at once if it has ended already). Destroying the wait cancels it
// and waits for a call under way to return; ended must not destroy it.
class ProcessWait {
 public:
  ProcessWait(DWORD id, std::function<void()> ended);
  ~ProcessWait();
  ProcessWait(const ProcessWait&) = delete;
  ProcessWait& operator=(const ProcessWait&) = delete;
  bool ok() const { return wait_ != nullptr; }
  bool Ended() const { return process_.Ended(); }

 private:
  static void CALLBACK Fired(PVOID self, BOOLEAN timedOut);
  ProcessHandle process_;
  std::function<void()> ended_;
  HANDLE wait_ = nullptr;
};

// Asks the processes to close as a user would: WM_CLOSE posted (never sent, so that a program
// that hangs cannot hold the caller) to each of their visible top-level windows that no other
// window owns. How many windows were asked.
int AskProcessesToClose(const std::vector<DWORD>& ids);
// Waits until every process has ended or ms have passed; idle is called between short waits
// so that the caller's window keeps answering. True when all have ended.
bool WaitForProcessesToEnd(const std::vector<const ProcessHandle*>& processes, DWORD ms,
                           const std::function<void()>& idle);
