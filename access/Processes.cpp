// Processes: found by a snapshot of the system's list, waited on through their handles.
#include "access/Processes.h"

#include <tlhelp32.h>

#include <algorithm>

bool ExeNamed(const std::string& exe, const std::vector<std::string>& names) {
  const std::string base = exe.substr(exe.find_last_of('\\') + 1);
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) {
    if (n.find('\\') == std::string::npos) return lstrcmpiA(base.c_str(), n.c_str()) == 0;
    // A generic name ("browser.exe") is given with the folders it lies in, and only an
    // executable at a path that ends so is the browser's.
    return exe.size() > n.size() && exe[exe.size() - n.size() - 1] == '\\' &&
           lstrcmpiA(exe.c_str() + exe.size() - n.size(), n.c_str()) == 0;
  });
}

namespace {

// The full path of a process's executable, or "" when it may not be asked (or the system is
// older than Vista, where no browser that needs this runs).
std::string ImagePath(DWORD id) {
  using QueryName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
  static const auto query = reinterpret_cast<QueryName>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA"));
  const DWORD kQueryLimitedInformation = 0x1000;
  HANDLE h = query ? OpenProcess(kQueryLimitedInformation, FALSE, id) : nullptr;
  if (!h) return "";
  char path[MAX_PATH * 2];
  DWORD size = sizeof path;
  const bool ok = query(h, 0, path, &size) != FALSE;
  CloseHandle(h);
  return ok ? std::string(path, size) : "";
}

}  // namespace

std::vector<RunningProcess> RunningProcesses(const std::vector<std::string>& names) {
  std::vector<RunningProcess> found;
  // The names given with their folders, by their executable's own name.
  std::vector<std::string> bases;
  for (const std::string& n : names)
    if (n.find('\\') != std::string::npos) bases.push_back(n.substr(n.find_last_of('\\') + 1));
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    std::string exe = entry.szExeFile;
    if (ExeNamed(exe, bases)) {
      const std::string path = ImagePath(entry.th32ProcessID);
      if (!path.empty()) exe = path;
    }
    if (ExeNamed(exe, names)) found.push_back({entry.th32ProcessID, exe});
  }
  CloseHandle(snapshot);
  return found;
}

bool AnyProcessRunning(const std::vector<std::string>& names) { return !RunningProcesses(names).empty(); }

bool FileHeldOpen(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION || GetLastError() == ERROR_LOCK_VIOLATION;
}

ProcessWait::ProcessWait(DWORD id, std::function<void()> ended) : process_(id), ended_(std::move(ended)) {
  if (process_.ok() &&
      !RegisterWaitForSingleObject(&wait_, process_.get(), Fired, this, INFINITE, WT_EXECUTEONLYONCE | WT_EXECUTEDEFAULT))
    wait_ = nullptr;
}

ProcessWait::~ProcessWait() {
  // INVALID_HANDLE_VALUE: return only when no call of Fired is under way any more.
  if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
}

void CALLBACK ProcessWait::Fired(PVOID self, BOOLEAN timedOut) {
  if (!timedOut) static_cast<ProcessWait*>(self)->ended_();
}

namespace {
struct CloseRequest {
  const std::vector<DWORD>* ids;
  int asked = 0;
};
BOOL CALLBACK AskWindow(HWND window, LPARAM param) {
  CloseRequest& request = *reinterpret_cast<CloseRequest*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (std::find(request.ids->begin(), request.ids->end(), owner) == request.ids->end()) return TRUE;
  // What the user sees and could close: not the program's hidden helper windows.
  if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
  if (PostMessageA(window, WM_CLOSE, 0, 0)) ++request.asked;
  return TRUE;
}
}  // namespace

int AskProcessesToClose(const std::vector<DWORD>& ids) {
  CloseRequest request{&ids};
  if (!ids.empty()) EnumWindows(AskWindow, reinterpret_cast<LPARAM>(&request));
  return request.asked;
}

bool WaitForProcessesToEnd(const std::vector<const ProcessHandle*>& processes, DWORD ms, const std::function<void()>& idle) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (std::all_of(processes.begin(), processes.end(), [](const ProcessHandle* p) { return p->Ended(); })) return true;
    if (GetTickCount() - start >= ms) return false;
    if (idle) idle();
    Sleep(50);
  }
}
