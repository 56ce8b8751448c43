// Listing a folder with the wide calls, each entry by its exact name (see WidePath.h), and the
// hold a walk keeps on a folder it is inside.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// What a listing tells of a file.
struct FileFacts {
  DWORD attributes = 0;
  unsigned long long size = 0;
  unsigned long long lastWrite = 0;  // FILETIME as one number
};

// One entry of a listing.
struct ListedEntry {
  std::string name;  // exact; a character the code page cannot spell written as "<U+XXXX>"
  FileFacts facts;
};

inline double FileBytes(const ListedEntry& e) { return static_cast<double>(e.facts.size); }
inline bool IsFolder(const ListedEntry& e) { return (e.facts.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
inline bool IsLink(const ListedEntry& e) { return (e.facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
// Ordinary files and folders: what a listing shows. Links to elsewhere are not followed.
inline bool Listed(const ListedEntry& e) {
  return !(e.facts.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT));
}

// Lists folder (with or without its trailing "\") and hands on every entry but "." and "..",
// until onEntry answers false. A name that could not be joined to a path as it stands (one
// with "\", "/" or ":" in it) is never handed on. False when the folder cannot be listed.
bool ForEachEntry(const std::string& folder, const std::function<bool(const ListedEntry&)>& onEntry);

// The file or folder at path as it is now; false when it is not there.
bool FactsOfPath(const std::string& path, FileFacts& facts);
// The attributes of path, INVALID_FILE_ATTRIBUTES when it is not there.
DWORD AttributesOf(const std::string& path);

// An open file's attributes and, when asked, its number of hard links. Asked of the handle
// alone: the older call also asks the volume for its serial number, which costs a walk dearly.
bool HandleFacts(HANDLE h, DWORD* attributes, DWORD* links);

// A folder a walk is inside: opened without delete sharing, so that it can be neither renamed
// nor removed, nor swapped for a link, until the hold ends. Unless the folder may be a link
// (a walk's own top, which the folder guard has judged where it leads), a folder that is a
// link, or that was swapped for one before it was opened, is not held.
class HeldFolder {
 public:
  HeldFolder(const std::string& folder, bool mayBeLink);
  ~HeldFolder();
  HeldFolder(const HeldFolder&) = delete;
  HeldFolder& operator=(const HeldFolder&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  DWORD error() const { return error_; }  // why it is not held

 private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
  DWORD error_ = ERROR_SUCCESS;
};
