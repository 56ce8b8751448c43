#include "search/FileHunt.h"

#include <windows.h>

#include "access/Eraser.h"
#include "access/Listing.h"
#include "access/Pattern.h"
#include "access/RecycleBin.h"
#include "access/WidePath.h"
#include "settings/Text.h"

namespace {

std::string Upper(std::string s) {
  // Plain ASCII, as most names are, without a call; any other letter as the code page has it.
  bool ascii = true;
  for (char& c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    else if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (!ascii && !s.empty()) CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

// The window's messages are seen often enough to keep it answering, not once per folder: a
// search over many small folders would otherwise spend its time in them.
bool MessagesDue() {
  static DWORD last = 0;
  const DWORD now = GetTickCount();
  if (now - last < 25) return false;
  last = now;
  return true;
}

bool NeverListed(const std::string& path) {
  return Upper(path).find("WIN386.SWP") != std::string::npos || path.find("Recycled") != std::string::npos;
}

bool Matches(const HuntPattern& p, const std::string& upperName) {
  // A core as long as the name cannot match it; the other patterns are still tried.
  if (p.upper.size() >= upperName.size()) return false;
  if (p.leading && p.trailing) return upperName.find(p.upper) != std::string::npos;
  if (p.leading) return upperName.compare(upperName.size() - p.upper.size(), p.upper.size(), p.upper) == 0;
  if (p.trailing) return upperName.compare(0, p.upper.size(), p.upper) == 0;
  return false;  // an exact name is found by name, once per search
}

struct FileEntry {
  std::string name;  // exact (see WidePath.h)
  unsigned long long size;
  FILETIME lastWrite;
};

}  // namespace

std::vector<HuntPattern> ParsePatterns(const std::string& searchString) {
  std::vector<HuntPattern> patterns;
  size_t from = 0;
  while (from <= searchString.size()) {
    size_t semi = searchString.find(';', from);
    if (semi == std::string::npos) semi = searchString.size();
    std::string core = searchString.substr(from, semi - from);
    from = semi + 1;
    if (core.empty()) continue;
    HuntPattern p;
    if (core[0] == '*') {
      p.leading = true;
      core.erase(0, 1);
      if (!core.empty() && core.back() == '*') {
        p.trailing = true;
        core.pop_back();
      }
    } else if (core.back() == '*') {
      p.trailing = true;
      core.pop_back();
    }
    p.core = core;
    p.upper = Upper(core);
    patterns.push_back(p);
  }
  return patterns;
}

std::string FoundLine(const std::string& path, unsigned long long size, const FILETIME& lastWrite) {
  FILETIME local;
  SYSTEMTIME t = {};
  FileTimeToLocalFileTime(&lastWrite, &local);
  FileTimeToSystemTime(&local, &t);
  return path + "   Size:" + std::to_string(size) + "   LastModyfied:" +
         GeneralDateText(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

std::string KilobytesText(unsigned long long bytes) {
  std::string text = std::to_string(bytes / 1000), fraction = std::to_string(1000 + bytes % 1000).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (fraction.empty()) return text;
  char separator[8] = ".";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
  return text + separator + fraction;
}

std::string HuntSummary(const HuntResult& r) {
  std::string s = std::to_string(r.lines) + "  Files Found  ";
  for (const HuntPattern& p : r.patterns) s += "    " + p.core + " - " + std::to_string(p.count);
  return s + "\r\nTotal size: " + KilobytesText(r.totalBytes) + "kb";
}

HuntResult FindFiles(const std::string& start, const std::string& searchString, bool subfolders, HuntView& view) {
  HuntResult r;
  view.SetSearching(true);
  if (searchString.empty()) return r;
  r.patterns = ParsePatterns(searchString);
  if (r.patterns.empty()) {
    // Only separators: a search for nothing, which ends as an empty walk does.
    r.completed = true;
    view.Finish(HuntSummary(r), 0);
    return r;
  }
  int widest = 0;
  std::vector<std::string> queue{start.empty() || start.back() != '\\' ? start + "\\" : start};
  for (size_t i = 0; i < queue.size(); ++i) {
    const std::string folder = queue[i];
    if (MessagesDue()) view.HandleMessages();
    if (view.StopRequested()) return r;
    std::vector<FileEntry> files;
    ForEachEntry(folder, [&](const ListedEntry& e) {
      if (IsLink(e)) return true;
      if (IsFolder(e)) {
        if (subfolders) queue.push_back(folder + e.name + "\\");
      } else {
        FILETIME written;
        written.dwLowDateTime = static_cast<DWORD>(e.facts.lastWrite);
        written.dwHighDateTime = static_cast<DWORD>(e.facts.lastWrite >> 32);
        files.push_back({e.name, e.facts.size, written});
      }
      return true;
    });
    view.ShowFolder(folder);
    if (MessagesDue()) view.HandleMessages();
    if (view.StopRequested()) return r;
    if (files.empty()) continue;

    view.BeginFolderLines(files.size());
    // Exact names: the first folder that holds the file lists it, once.
    for (HuntPattern& p : r.patterns) {
      if (p.leading || p.trailing || p.foundByName) continue;
      for (const FileEntry& f : files) {
        if (Upper(f.name) != p.upper || NeverListed(folder + p.core)) continue;
        view.AddLine(folder + p.core, folder + f.name);
        p.foundByName = true;
        ++p.count;
        ++r.lines;
        break;
      }
    }
    for (const FileEntry& f : files) {
      const std::string upperName = Upper(f.name);
      bool listed = false;
      for (HuntPattern& p : r.patterns) {
        // The path is made only for a name that matches: most do not.
        if (Matches(p, upperName)) {
          const std::string path = folder + f.name;
          if (!NeverListed(path)) {
            const std::string line = FoundLine(path, f.size, f.lastWrite);
            view.AddLine(line, path);
            r.totalBytes += f.size;
            widest = std::max(widest, view.TextWidth(line));
            ++p.count;
            ++r.lines;
            listed = true;
          }
        }
        if (listed) break;
        if (view.StopRequested()) {
          view.EndFolderLines();
          return r;
        }
      }
    }
    view.EndFolderLines();
  }
  r.completed = true;
  view.Finish(HuntSummary(r), widest);
  return r;
}

HuntDeletion DeleteFoundFiles(const std::vector<std::string>& paths, bool toRecycleBin) {
  HuntDeletion d;
  for (const std::string& path : paths) {
    // A name with "?" or "*" would be read as a pattern and take other files with it.
    if (HasWildcards(path)) {
      ++d.unsafeNames;
      continue;
    }
    if (toRecycleBin) {
      switch (RecycleOneFile(path)) {
        case RecycleOutcome::Recycled: ++d.deleted; break;
        case RecycleOutcome::NotTaken: ++d.notTakenByBin; break;
        case RecycleOutcome::Gone: break;  // gone since the search, or listed twice: passed over
        case RecycleOutcome::Failed: d.failed.push_back({path, "the Recycle Bin did not take it"}); break;
      }
    } else if (DeleteFileW(WidePath(path).c_str())) {
      ++d.deleted;
    } else {
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) d.failed.push_back({path, ReasonOf(error)});
    }
  }
  return d;
}

std::string DeletionNote(const HuntDeletion& d) {
  std::string note;
  if (d.unsafeNames)
    note += std::to_string(d.unsafeNames) + " file(s) not deleted: their names hold characters that cannot be passed on safely.";
  if (d.notTakenByBin)
    note += std::string(note.empty() ? "" : " ") + std::to_string(d.notTakenByBin) +
            " file(s) not deleted: the Recycle Bin cannot take them.";
  if (!d.failed.empty()) {
    const size_t named = 3;
    note += std::string(note.empty() ? "" : " ") + std::to_string(d.failed.size()) + " file(s) could not be deleted: ";
    for (size_t i = 0; i < d.failed.size() && i < named; ++i)
      note += (i ? ", " : "") + d.failed[i].path + " (" + d.failed[i].why + ")";
    if (d.failed.size() > named) note += " and " + std::to_string(d.failed.size() - named) + " more";
    note += ".";
  }
  return note;
}
