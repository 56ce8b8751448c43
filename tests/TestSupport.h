// Shared pieces of the tests: temporary folders, a program folder of their own, message answers.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "access/Prompts.h"

// Removes a folder and everything in it; a link or junction inside is removed, never followed.
void RemoveTree(const std::string& folder);

// A fresh folder below the prefix's temp folder, deleted with everything in it at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::string& tag = "tsw");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Sets a string value for the test and puts the old one back (or removes it) afterwards.
class ScopedRegValue {
 public:
  ScopedRegValue(HKEY root, const std::string& sub, const std::string& name, const std::string& value);
  ~ScopedRegValue();
  ScopedRegValue(const ScopedRegValue&) = delete;
  ScopedRegValue& operator=(const ScopedRegValue&) = delete;

 private:
  HKEY root_;
  std::string sub_, name_, old_;
  DWORD type_ = REG_SZ;  // the old value's type ("User Shell Folders" hold REG_EXPAND_SZ)
  bool had_ = false;
};

extern const char kShellFoldersKey[];  // HKCU ...\Explorer\Shell Folders
extern const char kUserShellFolders[];  // HKCU ...\Explorer\User Shell Folders

// A shell folder ("AppData", "Recent"...) pointed at a folder of the test, in both places the
// shell reads it from, and put back afterwards.
class RedirectedShellFolder {
 public:
  RedirectedShellFolder(const char* name, const std::string& folder)
      : user_(HKEY_CURRENT_USER, kUserShellFolders, name, folder), shown_(HKEY_CURRENT_USER, kShellFoldersKey, name, folder) {}

 private:
  ScopedRegValue user_, shown_;
};

// Points the run's browser folders and the temporary folder at empty folders of the test.
class IsolatedTrackFolders {
 public:
  IsolatedTrackFolders();
  ~IsolatedTrackFolders();
  IsolatedTrackFolders(const IsolatedTrackFolders&) = delete;
  IsolatedTrackFolders& operator=(const IsolatedTrackFolders&) = delete;
  const TempFolder& root() const { return root_; }

 private:
  TempFolder root_{"tswisolated"};
  ScopedRegValue cache_, cookies_, favorites_;
  std::string oldTmp_, oldTemp_;
};

// Every message box answered at once, and remembered.
class MessageRecorder {
 public:
  explicit MessageRecorder(int answer = IDOK);
  ~MessageRecorder();
  void Answer(int answer) { answer_ = answer; }  // the button pressed from now on
  std::vector<MessageRequest> seen;

 private:
  int answer_;
};

// A test with its own empty program folder (prisd.dat and friends go there).
class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Settings() const;
  TempFolder* folder_ = nullptr;
};

std::string ReadFileText(const std::string& path);
std::string ReadFileText(const std::wstring& path);  // by its exact wide name
// While it lives: what secure erasing left of each file it overwrote, just before the file was
// deleted, by the file's name.
struct OverwrittenFiles {
  OverwrittenFiles();
  ~OverwrittenFiles();
  OverwrittenFiles(const OverwrittenFiles&) = delete;
  OverwrittenFiles& operator=(const OverwrittenFiles&) = delete;
  std::map<std::string, std::string> contents;
  std::vector<std::pair<std::string, std::string>> every;  // each overwriting, in order: name, contents
};
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// A file of bytes "x" (or the given text), with its missing folders, and attributes if given.
void MakeFile(const std::string& path, size_t bytes = 10, DWORD attrs = 0);
void MakeFile(const std::string& path, const std::string& text);
// An empty file "a<CJK>b.tmp" in folder: a name the ANSI code page cannot spell, which an ANSI
// listing shows as "a?b.tmp".
void MakeUnspellableFile(const std::string& folder);
// A window's text without its "&" accelerator marks.
std::string Caption(HWND h);
std::vector<std::string> ListLines(HWND list);
// One column of every row of a list view, in row order.
std::vector<std::string> ListViewColumn(HWND listView, int column);
// Opens a modal dialog with open(), runs actions on it once it is up (found by its caption),
// then closes it with its close box; open() returns when the dialog has gone.
void WithModal(const std::string& caption, std::function<void(HWND)> actions, std::function<void()> open);
bool ModalActionsRan();
// A key pressed and let go on a control of a dialog, as Windows delivers it: posted to the
// control, then taken through the dialog manager (IsDialogMessage) as a dialog's loop does.
// With shift, Shift is held down meanwhile. F10 comes as WM_SYSKEYDOWN only: its key-up would
// open the window's menu, which the context menu it opened takes in reality.
void PressKey(HWND dialog, HWND control, UINT key, bool shift = false);
// A key pressed and let go on a control of the program's modeless windows, taken through the
// program's own loop (its windows' accelerators, then keyboard navigation); with alt, Alt is
// held down meanwhile, as Windows then delivers the key (WM_SYSKEYDOWN).
void PressKeyInProgram(HWND control, UINT key, bool alt = false);
// A program started by a test, its output sent to files of folder (never to the test's own
// output, which ctest reads through a pipe that a child would hold open). Started without a
// window of its own flag: under Wine a console program given CREATE_NO_WINDOW now and then
// writes its output somewhere else than the handles it was given. Ended, if still running,
// when the object goes.
class ChildProgram {
 public:
  ChildProgram(const std::string& commandLine, const std::string& folder);
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;
  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  // Waits up to ms for the end; the exit code, STILL_ACTIVE while it runs, 9999 if never started.
  DWORD Wait(DWORD ms);
  std::string Out() const { return ReadFileText(outFile_); }
  std::string Err() const { return ReadFileText(errFile_); }

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  std::string outFile_, errFile_;
};
struct ProgramResult {
  DWORD code = 0;
  std::string out, err;
};
// A symbolic link at linkPath leading to targetPath (both of the test's own), made or removed
// from the Linux side, as Wine keeps links; true when it was done.
bool MakeLink(const std::string& linkPath, const std::string& targetPath);
bool RemoveLink(const std::string& linkPath);
// Every main box stored unticked in the settings file but the given ones.
void StoreTicks(const std::string& settings, std::initializer_list<int> ticked);
// Runs a program to its end (at most a minute) with ChildProgram.
ProgramResult RunProgram(const std::string& commandLine, const std::string& folder);
// The lines of a text, without their CR LF or LF.
std::vector<std::string> Lines(const std::string& text);
// Pumps the message queue for up to ms milliseconds, or until done() is true.
template <typename F>
bool PumpUntil(F done, DWORD ms) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
  return true;
}
