#include "access/Normal.h"

#include <windows.h>

#include <vector>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "access/Prompts.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"

namespace {

std::string WithSlash(const std::string& folder) {
  std::string trimmed = TrimSpaces(folder);
  if (!trimmed.empty() && trimmed.back() == '\\') return folder;
  return folder + "\\";
}

// So that no folder being removed is the current directory.
void ToDriveRoot() {
  char cur[MAX_PATH] = {0};
  if (GetCurrentDirectoryA(MAX_PATH, cur) >= 3) {
    cur[3] = '\0';
    SetCurrentDirectoryA(cur);
  }
}

// Breadth-first walk from start (ending in "\"): folders in discovery order, start first.
// An entry is visited when shown(entry); onFile(folder, entry) is called for each such file;
// sub-folders are entered only when recurse is set. Returns the folder list.
template <typename Shown, typename OnFile>
std::vector<std::string> WalkShowing(const std::string& start, Shown shown, OnFile onFile, bool recurse = true) {
  std::vector<std::string> folders{start};
  for (size_t i = 0; i < folders.size(); ++i) {
    const std::string folder = folders[i];
    WIN32_FIND_DATAA fd;
    FindHandle find(folder + "*", &fd);
    if (!find.ok()) continue;
    do {
      if (IsDots(fd.cFileName) || !shown(fd)) continue;
      if (!IsFolder(fd)) onFile(folder, fd);
      else if (recurse) folders.push_back(folder + fd.cFileName + "\\");
    } while (find.Next(&fd));
  }
  return folders;
}

// The walk of the deleting routines: listed entries only.
template <typename OnFile>
std::vector<std::string> Walk(const std::string& start, OnFile onFile) {
  return WalkShowing(start, Listed, onFile);
}

}  // namespace

std::vector<std::string> WalkListedFiles(const std::string& folder, bool recurse,
                                         const std::function<void(const std::string&, const WIN32_FIND_DATAA&)>& onFile) {
  return WalkShowing(WithSlash(folder), Listed, onFile, recurse);
}

namespace {

// Removes the walked sub-folders, deepest-found first; a folder that stays keeps its parents.
void RemoveFolders(const std::vector<std::string>& folders, size_t first, Eraser& e) {
  for (size_t i = folders.size(); i-- > first;) {
    std::string f = folders[i];
    f.pop_back();
    e.RemoveFolder(f);
  }
}

// Deletes a folder with everything listed in it; read-only files only with force.
void RemoveTree(const std::string& folder, bool force) {
  Eraser& e = ActiveEraser();
  std::vector<std::string> folders =
      Walk(WithSlash(folder), [&](const std::string& f, const WIN32_FIND_DATAA& fd) { e.EraseFile(f + fd.cFileName, force); });
  ToDriveRoot();
  RemoveFolders(folders, 0, e);
}

}  // namespace

void EmptyFolderTree(const std::string& folder) {
  GuardScope guard;
  if (!FolderMayBeErased(folder)) return;
  Eraser& e = ActiveEraser();
  ToDriveRoot();
  std::vector<std::string> folders =
      Walk(WithSlash(folder), [&](const std::string& f, const WIN32_FIND_DATAA& fd) { e.EraseFile(f + fd.cFileName, false); });
  ToDriveRoot();
  RemoveFolders(folders, 1, e);
}

void SweepTreeForFile(const std::string& folder, const std::string& fileName) {
  GuardScope guard;
  if (!FolderMayBeErased(folder)) return;
  Eraser& e = ActiveEraser();
  ToDriveRoot();
  std::string swept;  // the folder already swept: one deletion per folder is all it takes
  Walk(WithSlash(folder), [&](const std::string& f, const WIN32_FIND_DATAA&) {
    if (f == swept) return;
    swept = f;
    e.EraseFile(f + fileName, false);
  });
}

void SweepCacheTree(const std::string& folder) {
  GuardScope guard;
  if (!FolderMayBeErased(folder)) return;
  std::vector<std::string> folders = Walk(WithSlash(folder), [](const std::string&, const WIN32_FIND_DATAA&) {});
  for (size_t i = 1; i < folders.size(); ++i) {
    std::string f = folders[i];
    f.pop_back();
    std::string name = f.substr(f.find_last_of('\\') + 1);
    if (lstrcmpiA(name.c_str(), "Cache") == 0) EmptyFolderTree(f);
  }
}

double DeleteMatching(const std::string& pattern, bool force) {
  GuardScope guard;
  if (!PatternMayBeErased(pattern)) return 0;
  std::string folder = pattern.substr(0, pattern.find_last_of("\\/") + 1);
  Eraser& e = ActiveEraser();
  double released = 0;
  WIN32_FIND_DATAA fd;
  FindHandle find(pattern, &fd);
  if (!find.ok()) return 0;
  do {
    if (!IsFolder(fd) && Listed(fd) && e.EraseFile(folder + fd.cFileName, force)) released += FileBytes(fd);
  } while (find.Next(&fd));
  return released;
}

void DeleteFoldersMatching(const std::string& pattern, bool force) {
  GuardScope guard;
  // Deleting folders empties part of their container: it must be a folder that may be erased.
  size_t slash = pattern.find_last_of("\\/");
  if (slash == std::string::npos || !FolderMayBeErased(pattern.substr(0, slash + 1))) return;
  std::string folder = pattern.substr(0, slash + 1);
  std::vector<std::string> matches;
  {
    WIN32_FIND_DATAA fd;
    FindHandle find(pattern, &fd);
    if (!find.ok()) return;
    do {
      if (IsFolder(fd) && Listed(fd) && !IsDots(fd.cFileName)) matches.push_back(folder + fd.cFileName);
    } while (find.Next(&fd));
  }
  for (const std::string& m : matches)
    if (FolderMayBeErased(m)) RemoveTree(m, force);
}

double FolderSize(const std::string& folder) {
  // Every file counts, hidden ones too; links to elsewhere are not followed.
  double total = 0;
  WalkShowing(WithSlash(folder), [](const WIN32_FIND_DATAA& fd) { return !(IsFolder(fd) && IsLink(fd)); },
              [&](const std::string&, const WIN32_FIND_DATAA& fd) {
                total += FileBytes(fd);
              });
  return total;
}

void ShowHelpFile() {
  char windows[255] = {0};
  UINT n = GetWindowsDirectoryA(windows, sizeof windows);
  std::string viewer = std::string(windows, n < sizeof windows ? n : 0) + "\\hh.exe";
  std::string help = ProgramFile("help.chm");
  if (GetFileAttributesA(help.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ShowMessage(nullptr, "The help file could not be found:\n" + help, kProductTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  std::string command = viewer + " " + help;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ShowMessage(nullptr, "The help viewer could not be started:\n" + viewer, kProductTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}
