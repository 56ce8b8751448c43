#include "tests/TestSupport.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "access/Eraser.h"
#include "access/RegKey.h"
#include "access/WidePath.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "settings/MainTicks.h"
#include "ui/Dialog.h"

namespace {
// Wide, by exact names: a look-alike name is never read as another one ("．．＼x" as "..\x").
void RemoveWideTree(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = folder + L"\\" + name;
      const bool folderEntry = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A link or junction: the link goes, whatever it leads to stays untouched.
        if (folderEntry) RemoveDirectoryW(full.c_str());
        else DeleteFileW(full.c_str());
        continue;
      }
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (folderEntry) RemoveWideTree(full);
      else DeleteFileW(full.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}
}  // namespace

// Removes a folder the tests made, depth first; never follows a link out of it.
void RemoveTree(const std::string& folder) { RemoveWideTree(WidePath(folder)); }

TempFolder::TempFolder(const std::string& tag) {
  // Taken once: tests point TMP elsewhere to give the run a temporary folder of its own.
  static const std::string base = [] {
    char temp[MAX_PATH] = {0};
    GetTempPathA(MAX_PATH, temp);
    std::string b(temp);
    if (!b.empty() && b.back() == '\\') b.pop_back();
    return b;
  }();
  static unsigned counter = 0;
  for (;;) {
    std::ostringstream name;
    name << base << "\\" << tag << "-" << GetCurrentProcessId() << "-" << GetTickCount() << "-" << ++counter;
    if (CreateDirectoryA(name.str().c_str(), nullptr)) {
      path_ = name.str();
      break;
    }
  }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

MessageRecorder::MessageRecorder(int answer) : answer_(answer) {
  SetMessageHandler([this](const MessageRequest& r) {
    seen.push_back(r);
    return answer_;
  });
}

MessageRecorder::~MessageRecorder() { SetMessageHandler(nullptr); }

void ProgramFolderTest::SetUp() {
  folder_ = new TempFolder("tswprog");
  OverrideProgramFolder(folder_->path());
}

void ProgramFolderTest::TearDown() {
  OverrideProgramFolder("");
  delete folder_;
  folder_ = nullptr;
}

std::string ProgramFolderTest::Settings() const { return folder_->File("prisd.dat"); }

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ReadFileText(const std::wstring& path) {
  std::string text;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return text;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) text.append(buf, got);
  CloseHandle(h);
  return text;
}

// The contents of each file secure erasing overwrote, by the file's name, as the file held
// them just before it was deleted.
OverwrittenFiles::OverwrittenFiles() {
  SetOverwrittenHook([this](const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    const std::string name = NarrowName(path.substr(slash + 1)), text = ReadFileText(path);
    contents[name] = text;
    every.emplace_back(name, text);
  });
}
OverwrittenFiles::~OverwrittenFiles() { SetOverwrittenHook(nullptr); }

void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFile(const std::string& path, const std::string& text) {
  for (size_t i = 3; i < path.size(); ++i)
    if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  WriteFileText(path, text);
}

void MakeFile(const std::string& path, size_t bytes, DWORD attrs) {
  MakeFile(path, std::string(bytes, 'x'));
  if (attrs) SetFileAttributesA(path.c_str(), attrs);
}

void MakeUnspellableFile(const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::wstring wide = std::wstring(folder.begin(), folder.end()) + L"\\a\x4E2D" L"b.tmp";
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  CloseHandle(h);
}

std::string Caption(HWND h) {
  char buf[512] = {0};
  GetWindowTextA(h, buf, sizeof buf);
  std::string s;
  for (const char* p = buf; *p; ++p)
    if (*p != '&') s += *p;
  return s;
}

std::vector<std::string> ListLines(HWND list) { return ListBoxLines(list); }

std::vector<std::string> ListViewColumn(HWND listView, int column) {
  std::vector<std::string> cells;
  const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[1024] = {0};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    cells.push_back(text);
  }
  return cells;
}

namespace {
std::function<void(HWND)> g_actions;
std::string g_caption;
bool g_ran = false;

VOID CALLBACK ActInModal(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dlg = FindWindowA(nullptr, g_caption.c_str());
  if (!dlg) return;
  KillTimer(nullptr, id);
  // Taken out first, so that the actions may wait for a dialog of their own.
  std::function<void(HWND)> actions = std::move(g_actions);
  g_actions = nullptr;
  actions(dlg);
  g_ran = true;
  SendMessageA(dlg, WM_CLOSE, 0, 0);
}
}  // namespace

void WithModal(const std::string& caption, std::function<void(HWND)> actions, std::function<void()> open) {
  g_caption = caption;
  g_actions = std::move(actions);
  g_ran = false;
  SetTimer(nullptr, 0, 30, ActInModal);
  open();
}

bool ModalActionsRan() { return g_ran; }

namespace {
// A key down and up on a control as the system delivers it while the modifier (VK_SHIFT,
// VK_MENU or 0) is held, each message taken through translate first as a loop would.
void DeliverKey(HWND control, UINT key, UINT modifier, bool noKeyUp, const std::function<bool(MSG&)>& translate) {
  BYTE keys[256] = {0};
  GetKeyboardState(keys);
  const BYTE oldModifier = keys[modifier], oldKey = keys[key];
  if (modifier) keys[modifier] = 0x80;
  keys[key] = 0x80;
  SetKeyboardState(keys);
  // With Alt down, or for F10, the system's messages, Alt's context code set.
  const bool system = modifier == VK_MENU || key == VK_F10;
  const LPARAM altDown = modifier == VK_MENU ? 0x20000000 : 0;
  SetFocus(control);
  PostMessageA(control, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | altDown);
  if (!noKeyUp) PostMessageA(control, system ? WM_SYSKEYUP : WM_KEYUP, key, 0xC0000001 | altDown);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (translate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  keys[modifier] = oldModifier;
  keys[key] = oldKey;
  SetKeyboardState(keys);
}
}  // namespace

void PressKey(HWND dialog, HWND control, UINT key, bool shift) {
  // F10 let go would enter the menu bar; the context menu it opened takes that key-up.
  DeliverKey(control, key, shift ? VK_SHIFT : 0, key == VK_F10,
             [dialog](MSG& msg) { return IsDialogMessageA(dialog, &msg) != FALSE; });
}

void PressKeyInProgram(HWND control, UINT key, bool alt) {
  DeliverKey(control, key, alt ? VK_MENU : 0, false, [](MSG& msg) { return Dialog::TranslateProgramMessage(msg); });
}

ScopedRegValue::ScopedRegValue(HKEY root, const std::string& sub, const std::string& name, const std::string& value)
    : root_(root), sub_(sub), name_(name) {
  RegKey k;
  k.Create(root, sub);
  char old[1024];
  DWORD size = sizeof old;
  had_ = RegQueryValueExA(k.get(), name.c_str(), nullptr, &type_, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
  if (had_) old_.assign(old, size ? size - 1 : 0);
  RegSetValueExA(k.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

ScopedRegValue::~ScopedRegValue() {
  RegKey k;
  k.Open(root_, sub_, KEY_WRITE);
  if (had_)
    RegSetValueExA(k.get(), name_.c_str(), 0, type_, reinterpret_cast<const BYTE*>(old_.c_str()),
                   static_cast<DWORD>(old_.size() + 1));
  else
    RegDeleteValueA(k.get(), name_.c_str());
}

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

namespace {
std::string MadeFolder(const TempFolder& root, const char* name) {
  std::string f = root.File(name);
  CreateDirectoryA(f.c_str(), nullptr);
  return f;
}
std::string Env(const char* name) {
  char buf[MAX_PATH] = {0};
  GetEnvironmentVariableA(name, buf, MAX_PATH);
  return buf;
}
}  // namespace

namespace {
std::string UnixPath(const std::string& path) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  static const auto toUnix =
      reinterpret_cast<ToUnix>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
  if (!toUnix) return "";
  char* unix = toUnix(WidePath(path).c_str());
  if (!unix) return "";
  std::string s = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return s;
}

// Wine neither waits for a Linux program it starts nor gives it an exit code: what it did is
// read back, for up to ten seconds.
bool UnixTool(const std::string& arguments, const std::function<bool()>& done) {
  TempFolder out("tswunix");
  ChildProgram tool("C:\\tsw-bin\\unix\\" + arguments, out.path());
  tool.Wait(20000);
  for (int i = 0; i < 500 && !done(); ++i) Sleep(20);
  return done();
}
}  // namespace

bool MakeLink(const std::string& linkPath, const std::string& targetPath) {
  const std::string link = UnixPath(linkPath), target = UnixPath(targetPath);
  if (link.empty() || target.empty()) return false;
  return UnixTool("ln -sn \"" + target + "\" \"" + link + "\"", [&] {
    const DWORD attrs = GetFileAttributesW(WidePath(linkPath).c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT);
  });
}

bool RemoveLink(const std::string& linkPath) {
  const std::string link = UnixPath(linkPath);
  if (link.empty()) return false;
  return UnixTool("rm -f \"" + link + "\"", [&] { return GetFileAttributesW(WidePath(linkPath).c_str()) == INVALID_FILE_ATTRIBUTES; });
}

void StoreTicks(const std::string& settings, std::initializer_list<int> ticked) {
  for (const TickKey& k : MainTickKeys())
    WriteIni(settings, k.section, k.key, std::find(ticked.begin(), ticked.end(), k.check) != ticked.end() ? "1" : "0");
}

IsolatedTrackFolders::IsolatedTrackFolders()
    : cache_(HKEY_CURRENT_USER, kShellFoldersKey, "Cache", MadeFolder(root_, "Cache")),
      cookies_(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", MadeFolder(root_, "Cookies")),
      favorites_(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites", MadeFolder(root_, "Favorites")),
      oldTmp_(Env("TMP")),
      oldTemp_(Env("TEMP")) {
  std::string temp = MadeFolder(root_, "Temp");
  SetEnvironmentVariableA("TMP", temp.c_str());
  SetEnvironmentVariableA("TEMP", temp.c_str());
}

IsolatedTrackFolders::~IsolatedTrackFolders() {
  SetEnvironmentVariableA("TMP", oldTmp_.c_str());
  SetEnvironmentVariableA("TEMP", oldTemp_.c_str());
}

ChildProgram::ChildProgram(const std::string& commandLine, const std::string& folder)
    : outFile_(folder + "\\out.txt"), errFile_(folder + "\\err.txt") {
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE out = CreateFileA(outFile_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = CreateFileA(errFile_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi = {};
  std::string cmd = commandLine;
  if (CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    process_ = pi.hProcess;
    id_ = pi.dwProcessId;
    CloseHandle(pi.hThread);
  }
  CloseHandle(out);
  CloseHandle(err);
}

ChildProgram::~ChildProgram() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 10000);
  }
  CloseHandle(process_);
}

DWORD ChildProgram::Wait(DWORD ms) {
  if (!process_) return 9999;
  WaitForSingleObject(process_, ms);
  DWORD code = 9999;
  GetExitCodeProcess(process_, &code);
  return code;
}

ProgramResult RunProgram(const std::string& commandLine, const std::string& folder) {
  ProgramResult r;
  {
    ChildProgram child(commandLine, folder);
    r.code = child.Wait(60000);
  }
  r.out = ReadFileText(folder + "\\out.txt");
  r.err = ReadFileText(folder + "\\err.txt");
  return r;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t nl; (nl = text.find('\n', from)) != std::string::npos; from = nl + 1) {
    std::string line = text.substr(from, nl - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}
