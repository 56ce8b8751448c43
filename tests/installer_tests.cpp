// The installer, silently: into a folder of the test's own, the installed program started far
// enough to show its main window, then the silent uninstall and what it leaves (no scheduled
// cleaning among it).
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "access/Eraser.h"
#include "tests/TaskRecord.h"
#include "tests/TestSupport.h"

namespace {

const char kSetup[] = "C:\\tsw-bin\\Tracksweep-3.20-setup.exe";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tracksweep";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Starts a program and waits for it; its exit code, or 9999 when it could not start.
DWORD RunAndWait(const std::string& commandLine, DWORD ms = 60000) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string cmd = commandLine;
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 9999;
  WaitForSingleObject(pi.hProcess, ms);
  DWORD code = 9999;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

// The machine a program is built for, from its PE header: IMAGE_FILE_MACHINE_I386 or _AMD64.
WORD MachineOf(const std::string& exe) {
  const std::string bytes = ReadFileText(exe);
  if (bytes.size() < 0x40) return 0;
  const DWORD pe = *reinterpret_cast<const DWORD*>(bytes.data() + 0x3C);
  if (pe + 6 > bytes.size() || bytes.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return 0;
  return *reinterpret_cast<const WORD*>(bytes.data() + pe + 4);
}

bool KeyExists(HKEY root, const char* sub) {
  HKEY k;
  if (RegOpenKeyExA(root, sub, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

}  // namespace

TEST(Installer, InstallsForTheUserAndUninstallsKeepingTheUsersFiles) {
  ASSERT_TRUE(FileExists(kSetup)) << "the harness puts the installer there";
  TempFolder base("tswinst");
  const std::string dir = base.File("Tracksweep");
  ASSERT_EQ(0u, RunAndWait(std::string(kSetup) + " /S /D=" + dir));
  for (const char* f : {"Tsw.exe", "tswclean.exe", "help.chm", "Ext.txt", "Uninstall.exe", "Skinz\\Blue\\imgTitleClose.gif"})
    EXPECT_TRUE(FileExists(dir + "\\" + f)) << f;
  EXPECT_EQ("*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n", ReadFileText(dir + "\\Ext.txt"));
  // The program that fits this Windows: 64-bit where Windows is, 32-bit elsewhere.
  const WORD expected = HasTwoRegistryViews() ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
  EXPECT_EQ(expected, MachineOf(dir + "\\Tsw.exe"));
  EXPECT_EQ(expected, MachineOf(dir + "\\tswclean.exe"));
  char value[MAX_PATH] = {0};
  DWORD size = sizeof value;
  ASSERT_EQ(ERROR_SUCCESS, SHGetValueA(HKEY_CURRENT_USER, kUninstallKey, "UninstallString", nullptr, value, &size));
  EXPECT_EQ("\"" + dir + "\\Uninstall.exe\"", std::string(value));
  char programs[MAX_PATH] = {0};
  SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs);
  EXPECT_TRUE(FileExists(std::string(programs) + "\\Tracksweep\\Tracksweep.lnk"));

  // The installed program starts, shows its main window, and ends when it is closed.
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string cmd = "\"" + dir + "\\Tsw.exe\"";
  ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi));
  HWND main = nullptr;
  for (int i = 0; i < 200 && !(main && IsWindowVisible(main)); ++i) {
    Sleep(100);
    main = FindWindowA(nullptr, "Tracksweep V3.20");
  }
  ASSERT_TRUE(main && IsWindowVisible(main)) << "the installed Tsw.exe shows its main window";
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 20000));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_TRUE(FileExists(dir + "\\prisd.dat"));  // the ticks were stored
  WriteFileText(dir + "\\keepurl.dat", "http://kept.example/\r\n");
  // A scheduled cleaning and the report of its last run.
  taskrecord::Scheduler scheduler;
  ASSERT_TRUE(scheduler.RegisterDaily("Tracksweep", dir + "\\tswclean.exe"));
  WriteFileText(dir + "\\tswclean-report.json", "{}");
  SHSetValueA(HKEY_CURRENT_USER, kRunKey, "Tracksweep", REG_SZ, cmd.c_str(), static_cast<DWORD>(cmd.size() + 1));

  // The uninstaller runs from a copy of itself: wait until its last step, the entry in Add or
  // Remove Programs, is gone.
  EXPECT_EQ(0u, RunAndWait("\"" + dir + "\\Uninstall.exe\" /S"));
  for (int i = 0; i < 300 && KeyExists(HKEY_CURRENT_USER, kUninstallKey); ++i) Sleep(100);
  Sleep(500);
  for (const char* f : {"Tsw.exe", "tswclean.exe", "help.chm", "Ext.txt", "Uninstall.exe", "Skinz", "tswclean-report.json"})
    EXPECT_FALSE(FileExists(dir + "\\" + f)) << f;
  EXPECT_FALSE(scheduler.Read("Tracksweep").present);
  EXPECT_TRUE(FileExists(dir + "\\prisd.dat"));
  EXPECT_EQ("http://kept.example/\r\n", ReadFileText(dir + "\\keepurl.dat"));
  size = sizeof value;
  EXPECT_NE(ERROR_SUCCESS, SHGetValueA(HKEY_CURRENT_USER, kRunKey, "Tracksweep", nullptr, value, &size));
  EXPECT_FALSE(FileExists(std::string(programs) + "\\Tracksweep"));
}

namespace {
BOOL CALLBACK FirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
  *reinterpret_cast<LPSTR*>(found) = name;
  return FALSE;  // the first is enough
}

// The image of the given width in a program file's first icon group; empty when there is none.
std::string IconImage(const char* file, int width) {
  HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::string();
  LPSTR first = nullptr;
  EnumResourceNamesA(module, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, FirstName, reinterpret_cast<LONG_PTR>(&first));
  auto bytes = [&](LPCSTR type, LPCSTR name) {
    HRSRC r = FindResourceA(module, name, type);
    HGLOBAL g = r ? LoadResource(module, r) : nullptr;
    return g ? std::string(static_cast<const char*>(LockResource(g)), SizeofResource(module, r)) : std::string();
  };
  std::string image;
  const std::string group = first ? bytes(MAKEINTRESOURCEA(14), first) : std::string();
  for (size_t at = 6; at + 14 <= group.size(); at += 14) {
    if (static_cast<BYTE>(group[at]) != (width == 256 ? 0 : width)) continue;
    const WORD id = *reinterpret_cast<const WORD*>(group.data() + at + 12);
    image = bytes(MAKEINTRESOURCEA(3) /* RT_ICON */, MAKEINTRESOURCEA(id));
  }
  FreeLibrary(module);
  return image;
}
}  // namespace

TEST(Installer, ShowsTheProgramsOwnIcon) {
  ASSERT_TRUE(FileExists(kSetup));
  for (int width : {16, 32, 48}) {
    const std::string program = IconImage("C:\\tsw-bin\\Tsw.exe", width);
    ASSERT_FALSE(program.empty()) << width;
    EXPECT_EQ(program, IconImage(kSetup, width)) << width;
  }
}
