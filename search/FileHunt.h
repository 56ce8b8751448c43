// The Search & Erase walk: files below a folder whose names match wildcard patterns, reported
// to a view as the window's list lines. Free of windows, so tests drive it headless.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct HuntPattern {
  std::string core;   // the pattern without its leading and trailing star, as typed
  std::string upper;  // the core in upper case, for matching
  bool leading = false;
  bool trailing = false;
  bool foundByName = false;  // an exact name, listed once per search
  unsigned long long count = 0;
};

// "*.tmp;;b*;thumbs.db;" -> four patterns; empty entries are dropped.
std::vector<HuntPattern> ParsePatterns(const std::string& searchString);

class HuntView {
 public:
  virtual ~HuntView() = default;
  virtual void SetSearching(bool searching) = 0;           // the Exit button reads "&Stop" while true
  virtual void ShowFolder(const std::string& folder) = 0;  // the folder being scanned
  virtual void HandleMessages() = 0;                                // let the window handle its messages
  virtual bool StopRequested() const = 0;
  virtual void BeginFolderLines(size_t files) {}  // a folder's lines come between these two calls
  virtual void EndFolderLines() {}
  // One list line and the file it stands for (deletion uses the path, never the line's text).
  virtual void AddLine(const std::string& line, const std::string& path) = 0;
  virtual int TextWidth(const std::string& text) = 0;
  // The walk ended without a stop: summary, widest line; every line is then selected.
  virtual void Finish(const std::string& summary, int widestLine) = 0;
};

struct HuntResult {
  bool completed = false;  // false when stopped, or when there was no pattern
  std::vector<HuntPattern> patterns;
  unsigned long long totalBytes = 0;
  unsigned long long lines = 0;
};

// FindFiles: breadth-first below start (subfolders only when asked), every file tested against
// the patterns in order (names compared in upper case). Paths holding "win386.swp" in any case
// or "Recycled" in this case are never listed; links to elsewhere are not entered.
HuntResult FindFiles(const std::string& start, const std::string& searchString, bool subfolders, HuntView& view);

// The two lines of the summary.
std::string HuntSummary(const HuntResult& result);
// bytes / 1000 with the user's decimal separator and only the decimals needed: 1500 -> "1.5".
std::string KilobytesText(unsigned long long bytes);
// "<path>   Size:<bytes>   LastModyfied:<short date and time>".
std::string FoundLine(const std::string& path, unsigned long long size, const FILETIME& lastWrite);

// A file that stayed although it was to go, and why ("in use", "access denied"...).
struct HuntFailure {
  std::string path;
  std::string why;
};
// What deleting the chosen files came to. Files that went since the search, or were listed
// twice, are passed over without a word.
struct HuntDeletion {
  unsigned long long deleted = 0;
  unsigned long long unsafeNames = 0;    // paths holding "?" or "*": left where they are
  unsigned long long notTakenByBin = 0;  // the Recycle Bin would not have kept them: left too
  std::vector<HuntFailure> failed;       // the platform refused them
};
// Deletes each path for good, or sends it to the Recycle Bin; never a path holding a wildcard.
HuntDeletion DeleteFoundFiles(const std::vector<std::string>& paths, bool toRecycleBin);
// A line for the status telling which files stayed and why, the first few refused ones by
// name; "" when none stayed for a reason.
std::string DeletionNote(const HuntDeletion& deletion);
