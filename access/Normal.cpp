#include "access/Normal.h"

#include <windows.h>

#include <vector>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "access/Pattern.h"
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
// sub-folders are entered only when recurse is set, and only by a name that reaches them.
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
      if (!IsFolder(fd)) {
        onFile(folder, fd);
      } else if (recurse) {
        const std::string name = ListedName(fd);
        if (!name.empty()) folders.push_back(folder + name + "\\");
      }
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
    e.RemoveWalkedFolder(f);
  }
}

// Erases one listed file of folder (ending in "\") by the name that reaches it.
bool EraseListed(Eraser& e, const std::string& folder, const WIN32_FIND_DATAA& fd, bool force) {
  const std::string name = ListedName(fd);
  return !name.empty() && e.EraseListedFile(folder + name, FactsOf(fd), force);
}

// Deletes a folder the guard allowed, with everything listed in it; read-only files only with force.
void RemoveTree(const std::string& folder, bool force) {
  Eraser& e = ActiveEraser();
  std::vector<std::string> folders =
      Walk(WithSlash(folder), [&](const std::string& f, const WIN32_FIND_DATAA& fd) { EraseListed(e, f, fd, force); });
  ToDriveRoot();
  RemoveFolders(folders, 0, e);
}

// The listed entries of one folder whose long names match the pattern "folder\name".
template <typename OnMatch>
void ForEachMatch(const std::string& pattern, OnMatch onMatch) {
  const size_t slash = pattern.find_last_of("\\/");
  const std::string folder = pattern.substr(0, slash + 1);
  ForEachMatchingEntry(folder, pattern.substr(slash + 1), [&](const WIN32_FIND_DATAA& fd) {
    if (Listed(fd)) onMatch(folder, fd);
    return true;
  });
}

// Every matching file of a pattern the guard allowed; the bytes of those that went.
double DeleteAllowedMatches(const std::string& pattern, bool force) {
  Eraser& e = ActiveEraser();
  double released = 0;
  ForEachMatch(pattern, [&](const std::string& folder, const WIN32_FIND_DATAA& fd) {
    if (!IsFolder(fd) && EraseListed(e, folder, fd, force)) released += FileBytes(fd);
  });
  return released;
}

// The guard said no: a reporting eraser hears of it when there was something to refuse.
bool Allowed(bool allowed, const std::string& place) {
  if (!allowed && GetFileAttributesA(place.c_str()) != INVALID_FILE_ATTRIBUTES) ActiveEraser().Refused(place);
  return allowed;
}
std::string FolderOf(const std::string& pattern) { return pattern.substr(0, pattern.find_last_of("\\/") + 1); }

}  // namespace

void EmptyFolderTree(const std::string& folder) {
  GuardScope guard;
  if (!Allowed(FolderMayBeErased(folder), folder)) return;
  Eraser& e = ActiveEraser();
  ToDriveRoot();
  std::vector<std::string> folders =
      Walk(WithSlash(folder), [&](const std::string& f, const WIN32_FIND_DATAA& fd) { EraseListed(e, f, fd, false); });
  ToDriveRoot();
  RemoveFolders(folders, 1, e);
}

void SweepTreeForFile(const std::string& folder, const std::string& fileName) {
  GuardScope guard;
  if (!Allowed(FolderMayBeErased(folder), folder)) return;
  Eraser& e = ActiveEraser();
  ToDriveRoot();
  // The listed file whose long name is fileName; a file whose short name only happens to
  // read so is another file.
  Walk(WithSlash(folder), [&](const std::string& f, const WIN32_FIND_DATAA& fd) {
    if (MatchesPattern(fd.cFileName, fileName)) EraseListed(e, f, fd, false);
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
  return Allowed(PatternMayBeErased(pattern), FolderOf(pattern)) ? DeleteAllowedMatches(pattern, force) : 0;
}

double DeleteUserMatching(const std::string& pattern) {
  GuardScope guard;
  return Allowed(UserPatternMayBeErased(pattern), FolderOf(pattern)) ? DeleteAllowedMatches(pattern, false) : 0;
}

void DeleteFoldersMatching(const std::string& pattern, bool force) {
  GuardScope guard;
  // Deleting folders empties part of their container: it must be a folder that may be erased.
  size_t slash = pattern.find_last_of("\\/");
  if (slash == std::string::npos || !FolderMayBeErased(pattern.substr(0, slash + 1))) return;
  std::vector<std::string> matches;
  ForEachMatch(pattern, [&](const std::string& folder, const WIN32_FIND_DATAA& fd) {
    const std::string name = ListedName(fd);
    if (IsFolder(fd) && !name.empty()) matches.push_back(folder + name);
  });
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

void ShowHelpFile(const std::string& page) {
  char windows[255] = {0};
  UINT n = GetWindowsDirectoryA(windows, sizeof windows);
  std::string viewer = std::string(windows, n < sizeof windows ? n : 0) + "\\hh.exe";
  std::string help = ProgramFile("help.chm");
  if (GetFileAttributesA(help.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ShowMessage(nullptr, "The help file could not be found:\n" + help, kProductTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  std::string command = viewer + " " + help + (page.empty() ? "" : "::/" + page);
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
