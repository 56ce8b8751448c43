#include "access/Listing.h"

#include "access/WidePath.h"

namespace {

unsigned long long TimeOf(const FILETIME& t) {
  return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// A wide find handle that is always closed.
class WideFind {
 public:
  WideFind(const std::wstring& pattern, WIN32_FIND_DATAW* fd)
      : h_(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, fd, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH)) {}
  ~WideFind() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  WideFind(const WideFind&) = delete;
  WideFind& operator=(const WideFind&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAW* fd) { return FindNextFileW(h_, fd) != FALSE; }

 private:
  HANDLE h_;
};

}  // namespace

bool ForEachEntry(const std::string& folder, const std::function<bool(const ListedEntry&)>& onEntry) {
  const bool slash = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  WIN32_FIND_DATAW fd;
  WideFind find(WidePath(folder + (slash ? "*" : "\\*")), &fd);
  if (!find.ok()) return false;
  ListedEntry e;
  do {
    // The exact name, never one the code page would read as another: no "." or "..", and
    // nothing that would step out of the folder when joined to it.
    if (!SafeName(fd.cFileName)) continue;
    e.name = NarrowName(fd.cFileName, wcslen(fd.cFileName));
    e.facts.attributes = fd.dwFileAttributes;
    e.facts.size = (static_cast<unsigned long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    e.facts.lastWrite = TimeOf(fd.ftLastWriteTime);
    if (!onEntry(e)) break;
  } while (find.Next(&fd));
  return true;
}

bool FactsOfPath(const std::string& path, FileFacts& facts) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return false;
  facts = {data.dwFileAttributes, (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
           TimeOf(data.ftLastWriteTime)};
  return true;
}

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(WidePath(path).c_str()); }

bool HandleFacts(HANDLE h, DWORD* attributes, DWORD* links) {
  // Vista and later; declared here, as the headers give them only to programs for Vista.
  struct BasicInfo {
    LARGE_INTEGER created, accessed, written, changed;
    DWORD attributes;
  };
  struct StandardInfo {
    LARGE_INTEGER allocated, size;
    DWORD links;
    BOOLEAN deletePending, directory;
  };
  using ByHandleEx = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
  static const auto byHandleEx =
      reinterpret_cast<ByHandleEx>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFileInformationByHandleEx"));
  if (byHandleEx) {
    BasicInfo basic = {};
    StandardInfo standard = {};
    if (attributes && !byHandleEx(h, 0 /* FileBasicInfo */, &basic, sizeof basic)) return false;
    if (links && !byHandleEx(h, 1 /* FileStandardInfo */, &standard, sizeof standard)) return false;
    if (attributes) *attributes = basic.attributes;
    if (links) *links = standard.links;
    return true;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) return false;
  if (attributes) *attributes = info.dwFileAttributes;
  if (links) *links = info.nNumberOfLinks;
  return true;
}

HeldFolder::HeldFolder(const std::string& folder, bool mayBeLink) {
  std::string path = folder;
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  const std::wstring wide = WidePath(path);
  // No FILE_SHARE_DELETE: while this is open the folder cannot be renamed or removed.
  h_ = CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | (mayBeLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
  if (h_ == INVALID_HANDLE_VALUE) {
    error_ = GetLastError();
    return;
  }
  DWORD attributes = 0;
  bool held = HandleFacts(h_, &attributes, nullptr) && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (held && !mayBeLink) {
    // The handle tells where the platform opens the link itself; where it follows the link
    // anyway (Wine), the name tells: it is held now, so what it is now it stays.
    const DWORD now = GetFileAttributesW(wide.c_str());
    held = !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && now != INVALID_FILE_ATTRIBUTES &&
           !(now & FILE_ATTRIBUTE_REPARSE_POINT);
  }
  if (!held) {
    CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    error_ = ERROR_CANT_ACCESS_FILE;
  }
}

HeldFolder::~HeldFolder() {
  if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
}
