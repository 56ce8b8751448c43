// Normal: emptying, sweeping and pattern deletions of folders, by walks that hold what they are inside.
#include "access/Normal.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "access/Pattern.h"
#include "access/WidePath.h"
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

std::function<void(const std::string&)>& EntryHook() {
  static std::function<void(const std::string&)> hook;
  return hook;
}

// A folder the walk is inside: held, with the names of the sub-folders it lists, still to enter.
struct WalkFrame {
  std::unique_ptr<HeldFolder> held;
  std::vector<std::string> subFolders;
  size_t next = 0;
};

// Depth-first walk from start (ending in "\"): folders in the order entered, start first,
// each before the folders below it. An entry is visited when shown(entry); onFile(folder,
// entry) is called for each such file while its folder is listed; sub-folders are entered
// only when recurse is set. Every folder entered is held from before it is listed until the
// walk has left everything below it, and is no link (but the start, which the folder guard
// judged where it leads): nothing on the way down can be renamed or swapped for a link, so a
// path the walk builds stays inside start. A folder that cannot be entered is passed over.
// A walk that only measures (hold false) holds nothing: a folder swapped meanwhile can only
// change a number, never what is deleted.
template <typename Shown, typename OnFile>
std::vector<std::string> WalkShowing(const std::string& start, Shown shown, OnFile onFile, bool recurse = true,
                                     bool startMayBeLink = true, bool hold = true) {
  std::vector<std::string> folders;
  std::vector<WalkFrame> stack;
  auto enter = [&](const std::string& folder, bool mayBeLink) {
    const bool isStart = folders.empty() && stack.empty();
    if (!mayBeLink && EntryHook()) EntryHook()(folder);
    WalkFrame frame;
    if (hold) {
      std::unique_ptr<HeldFolder> held(new HeldFolder(folder, mayBeLink));
      if (!held->ok()) {
        // A top the caller named and finds missing is no news; any folder found by listing is.
        if ((!isStart || !mayBeLink) && held->error() != ERROR_FILE_NOT_FOUND && held->error() != ERROR_PATH_NOT_FOUND)
          ActiveEraser().PassedOver("folder", folder.substr(0, folder.size() - 1), ReasonOf(held->error()));
        return;
      }
      frame.held = std::move(held);
    }
    folders.push_back(folder);
    ForEachEntry(folder, [&](const ListedEntry& e) {
      if (!shown(e)) return true;
      if (!IsFolder(e)) onFile(folder, e);
      else if (recurse) frame.subFolders.push_back(folder + e.name + "\\");
      return true;
    });
    stack.push_back(std::move(frame));
  };
  enter(start, startMayBeLink);
  while (!stack.empty()) {
    WalkFrame& top = stack.back();
    if (top.next == top.subFolders.size()) {
      stack.pop_back();
      continue;
    }
    const std::string sub = top.subFolders[top.next++];
    if (LiesInside(sub, start)) enter(sub, false);
  }
  return folders;
}

// The walk of the deleting routines: listed entries only.
template <typename OnFile>
std::vector<std::string> Walk(const std::string& start, OnFile onFile, bool startMayBeLink = true) {
  return WalkShowing(start, Listed, onFile, true, startMayBeLink);
}

// The folders on the way from named (a folder the guard judged where it leads) down to below
// (under named, found by listing), below itself left out, each held and none a link, for as long
// as this lives: below, entered next with links refused, is then reached through no link either.
class HeldWay {
 public:
  HeldWay(const std::string& named, const std::string& below) {
    const std::string top = WithSlash(named), end = WithSlash(below);
    ok_ = LiesInside(end, top);
    for (size_t at = end.find('\\', top.size()); ok_ && at != std::string::npos && at + 1 < end.size();
         at = end.find('\\', at + 1)) {
      const std::string folder = end.substr(0, at + 1);
      if (EntryHook()) EntryHook()(folder);
      held_.emplace_back(new HeldFolder(folder, false));
      ok_ = held_.back()->ok();
      if (!ok_ && held_.back()->error() != ERROR_FILE_NOT_FOUND && held_.back()->error() != ERROR_PATH_NOT_FOUND)
        ActiveEraser().PassedOver("folder", end.substr(0, at), ReasonOf(held_.back()->error()));
    }
  }
  bool ok() const { return ok_; }

 private:
  std::vector<std::unique_ptr<HeldFolder>> held_;
  bool ok_ = false;
};

}  // namespace

std::vector<std::string> WalkListedFiles(const std::string& folder, bool recurse,
                                         const std::function<void(const std::string&, const ListedEntry&)>& onFile) {
  return WalkShowing(WithSlash(folder), Listed, onFile, recurse);
}

std::vector<std::string> WalkListedFilesBelow(const std::string& named, const std::string& folder, bool recurse,
                                              const std::function<void(const std::string&, const ListedEntry&)>& onFile) {
  if (LowerText(WithSlash(named)) == LowerText(WithSlash(folder))) return WalkListedFiles(folder, recurse, onFile);
  HeldWay way(named, folder);
  if (!way.ok()) return {};
  return WalkShowing(WithSlash(folder), Listed, onFile, recurse, false);
}

void SetWalkEntryHook(std::function<void(const std::string&)> hook) { EntryHook() = std::move(hook); }

namespace {

// Removes the walked sub-folders, deepest-found first; a folder that stays keeps its parents.
void RemoveFolders(const std::vector<std::string>& folders, size_t first, Eraser& e) {
  for (size_t i = folders.size(); i-- > first;) {
    std::string f = folders[i];
    f.pop_back();
    e.RemoveWalkedFolder(f);
  }
}

// Erases one listed file of folder (ending in "\") by its exact name.
bool EraseListed(Eraser& e, const std::string& folder, const ListedEntry& entry, bool force) {
  return e.EraseListedFile(folder + entry.name, entry.facts, force);
}

// Deletes a folder the guard allowed, with everything listed in it; read-only files only with force.
void RemoveTree(const std::string& folder, bool force, bool mayBeLink) {
  Eraser& e = ActiveEraser();
  std::vector<std::string> folders = WalkShowing(
      WithSlash(folder), Listed, [&](const std::string& f, const ListedEntry& fd) { EraseListed(e, f, fd, force); }, true,
      mayBeLink);
  ToDriveRoot();
  RemoveFolders(folders, 0, e);
}

// The listed entries of one folder whose long names match the pattern "folder\name".
template <typename OnMatch>
void ForEachMatch(const std::string& pattern, OnMatch onMatch) {
  const size_t slash = pattern.find_last_of("\\/");
  const std::string folder = pattern.substr(0, slash + 1);
  ForEachMatchingEntry(folder, pattern.substr(slash + 1), [&](const ListedEntry& entry) {
    if (Listed(entry)) onMatch(folder, entry);
    return true;
  });
}

// Every matching file of a pattern the guard allowed; the bytes of those that went.
double DeleteAllowedMatches(const std::string& pattern, bool force) {
  Eraser& e = ActiveEraser();
  double released = 0;
  ForEachMatch(pattern, [&](const std::string& folder, const ListedEntry& fd) {
    if (!IsFolder(fd) && EraseListed(e, folder, fd, force)) released += FileBytes(fd);
  });
  return released;
}

// The guard said no: a reporting eraser hears of it when there was something to refuse.
bool Allowed(bool allowed, const std::string& place) {
  if (!allowed && AttributesOf(place) != INVALID_FILE_ATTRIBUTES) ActiveEraser().Refused(place);
  return allowed;
}
std::string FolderOf(const std::string& pattern) { return pattern.substr(0, pattern.find_last_of("\\/") + 1); }

}  // namespace

namespace {
// Empties a folder the guard allowed; one found by listing (mayBeLink false) is entered only as itself.
void EmptyAllowedTree(const std::string& folder, bool mayBeLink) {
  Eraser& e = ActiveEraser();
  ToDriveRoot();
  std::vector<std::string> folders = Walk(
      WithSlash(folder), [&](const std::string& f, const ListedEntry& fd) { EraseListed(e, f, fd, false); }, mayBeLink);
  ToDriveRoot();
  RemoveFolders(folders, 1, e);
}
}  // namespace

void EmptyFolderTree(const std::string& folder) {
  GuardScope guard;
  if (Allowed(FolderMayBeErased(folder), folder)) EmptyAllowedTree(folder, true);
}

void SweepTreeForFile(const std::string& folder, const std::string& fileName) {
  GuardScope guard;
  if (!Allowed(FolderMayBeErased(folder), folder)) return;
  Eraser& e = ActiveEraser();
  ToDriveRoot();
  // The listed file whose long name is fileName; a file whose short name only happens to
  // read so is another file.
  Walk(WithSlash(folder), [&](const std::string& f, const ListedEntry& fd) {
    if (MatchesPattern(fd.name, fileName)) EraseListed(e, f, fd, false);
  });
}

void SweepCacheTree(const std::string& folder) {
  GuardScope guard;
  if (!FolderMayBeErased(folder)) return;
  std::vector<std::string> folders = Walk(WithSlash(folder), [](const std::string&, const ListedEntry&) {});
  for (size_t i = 1; i < folders.size(); ++i) {
    std::string f = folders[i];
    f.pop_back();
    std::string name = f.substr(f.find_last_of('\\') + 1);
    if (lstrcmpiA(name.c_str(), "Cache") != 0 || !Allowed(FolderMayBeErased(f), f)) continue;
    // Found by the walk, which has let go of it: held again on the way down, and no link.
    HeldWay way(folder, f);
    if (way.ok()) EmptyAllowedTree(f, false);
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

double DeleteOneFile(const std::string& path, bool force) {
  GuardScope guard;
  const size_t slash = path.find_last_of('\\');
  FileFacts facts;
  if (slash == std::string::npos || !FolderMayBeErased(path.substr(0, slash)) || !FactsOfPath(path, facts)) return 0;
  const ListedEntry entry{path.substr(slash + 1), facts};
  if (IsFolder(entry) || !Listed(entry)) return 0;
  return ActiveEraser().EraseListedFile(path, facts, force) ? FileBytes(entry) : 0;
}

void DeleteFoldersMatching(const std::string& pattern, bool force) {
  GuardScope guard;
  // Deleting folders empties part of their container: it must be a folder that may be erased.
  size_t slash = pattern.find_last_of("\\/");
  if (slash == std::string::npos || !FolderMayBeErased(pattern.substr(0, slash + 1))) return;
  std::vector<std::string> matches;
  ForEachMatch(pattern, [&](const std::string& folder, const ListedEntry& fd) {
    if (IsFolder(fd)) matches.push_back(folder + fd.name);
  });
  // Each was listed as a folder, not a link: it is entered as one, never through a link.
  for (const std::string& m : matches)
    if (FolderMayBeErased(m)) RemoveTree(m, force, false);
}

double FolderSize(const std::string& folder) {
  // Every file counts, hidden ones too; links to elsewhere are not followed.
  double total = 0;
  WalkShowing(
      WithSlash(folder), [](const ListedEntry& fd) { return !(IsFolder(fd) && IsLink(fd)); },
      [&](const std::string&, const ListedEntry& fd) { total += FileBytes(fd); }, true, true, false);
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
