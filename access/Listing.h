// Listing a folder: a find handle that is always closed, and what a listing shows.
#pragma once
#include <windows.h>

#include <string>

class FindHandle {
 public:
  FindHandle(const std::string& pattern, WIN32_FIND_DATAA* fd) : h_(FindFirstFileA(pattern.c_str(), fd)) {}
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAA* fd) { return FindNextFileA(h_, fd) != FALSE; }

 private:
  HANDLE h_;
};

inline double FileBytes(const WIN32_FIND_DATAA& fd) {
  return static_cast<double>(fd.nFileSizeHigh) * 4294967296.0 + fd.nFileSizeLow;
}
inline bool IsDots(const char* name) { return name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2])); }
inline bool IsFolder(const WIN32_FIND_DATAA& fd) { return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
inline bool IsLink(const WIN32_FIND_DATAA& fd) { return (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
// The name by which an entry can be reached. A name that the ANSI code page cannot spell comes
// back with "?" in it, which any later call would read as a wildcard: such an entry is reached
// by its short name, or not at all ("" when it has none).
inline std::string ListedName(const WIN32_FIND_DATAA& fd) {
  const std::string name = fd.cFileName;
  if (name.find_first_of("*?") == std::string::npos) return name;
  const std::string shortName = fd.cAlternateFileName;
  return shortName.find_first_of("*?") == std::string::npos ? shortName : std::string();
}
// Ordinary files and folders: what a listing shows. Links to elsewhere are not followed.
inline bool Listed(const WIN32_FIND_DATAA& fd) {
  return !(fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT));
}
