#include "access/FolderGuard.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <vector>

#include "access/WidePath.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"

struct ProtectedSet {
  std::vector<std::string> sameOrAbove;  // never to be emptied, nor anything above them
  std::vector<std::string> nearby;       // nor anything inside them either
  std::string profilesRoot;              // its children are profile roots
  std::vector<std::string> userFiles;    // the user's own files: never emptied through a wildcard
  std::vector<std::string> wildParents;  // nor any of their children
};

namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }

// A wide text from a call that answers its length, or the size it needs when the buffer is
// too small; "" on failure.
template <typename Call>
std::wstring Called(Call call) {
  std::wstring buf(MAX_PATH * 2, L'\0');
  DWORD n = call(&buf[0], static_cast<DWORD>(buf.size()));
  if (n >= buf.size()) {
    buf.assign(n + 1, L'\0');
    n = call(&buf[0], static_cast<DWORD>(buf.size()));
  }
  if (n == 0 || n >= buf.size()) return std::wstring();
  buf.resize(n);
  return buf;
}

bool FullyQualified(const std::string& p) {
  if (p.size() >= 3 && isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':' && IsSlash(p[2])) return true;
  // UNC, but not the device namespaces "\\?\" and "\\.\".
  return p.size() > 2 && IsSlash(p[0]) && IsSlash(p[1]) && p[2] != '?' && p[2] != '.' && !IsSlash(p[2]);
}

std::string Parent(const std::string& p) {
  size_t slash = p.find_last_of('\\');
  return slash == std::string::npos ? std::string() : p.substr(0, slash);
}

bool IsRoot(const std::string& canonical) {
  if (canonical.size() <= 3 && canonical.size() >= 2 && canonical[1] == ':') return true;  // "C:" or "C:\"
  if (canonical.compare(0, 2, "\\\\") == 0) {
    // "\\server\share" is the root of a share.
    size_t parts = std::count(canonical.begin() + 2, canonical.end(), '\\');
    return parts <= 1;
  }
  return false;
}

bool SameText(const std::string& a, const std::string& b) { return LowerText(a) == LowerText(b); }

// path is protectedPath or one of the folders above it.
bool SameOrAbove(const std::string& path, const std::string& protectedPath) {
  return !protectedPath.empty() && IsSameOrInside(protectedPath, path);
}

bool Inside(const std::string& path, const std::string& protectedPath) {
  return !protectedPath.empty() && IsSameOrInside(path, protectedPath) && !SameText(path, protectedPath);
}

// Folders the system names, read with the wide calls so that each is the folder's exact name.
std::string FromApi(UINT (WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buf[MAX_PATH] = {0};
  UINT n = get ? get(buf, MAX_PATH) : 0;
  return n && n < MAX_PATH ? CanonicalFolder(NarrowName(buf, n)) : std::string();
}

std::string Environment(const wchar_t* name) {
  wchar_t buf[MAX_PATH] = {0};
  DWORD n = GetEnvironmentVariableW(name, buf, MAX_PATH);
  return n && n < MAX_PATH ? CanonicalFolder(NarrowName(buf, n)) : std::string();
}

std::string ShellPath(int csidl) { return CanonicalFolder(KnownFolder(csidl)); }

// A folder of Vista and later known only by its id (Downloads, Saved Games...); "" elsewhere.
std::string KnownFolderById(const GUID& id) {
  using GetKnown = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, PWSTR*);
  static const auto get = reinterpret_cast<GetKnown>(GetProcAddress(GetModuleHandleA("shell32.dll"), "SHGetKnownFolderPath"));
  PWSTR path = nullptr;
  const DWORD kDontVerify = 0x4000;  // KF_FLAG_DONT_VERIFY, Vista and later
  if (!get || FAILED(get(id, kDontVerify, nullptr, &path)) || !path) return "";
  const std::string folder = CanonicalFolder(NarrowName(path, wcslen(path)));
  CoTaskMemFree(path);
  return folder;
}

// Present from 64-bit Windows XP on; elsewhere there is no SysWOW64.
std::string Wow64SystemFolder() {
  auto get = reinterpret_cast<UINT(WINAPI*)(LPWSTR, UINT)>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryW"));
  return FromApi(get);
}

ProtectedSet ProtectedFolders() {
  ProtectedSet p;
  std::string profile = Environment(L"USERPROFILE");
  p.sameOrAbove = {
      FromApi(GetWindowsDirectoryW),
      profile,
      Environment(L"ALLUSERSPROFILE"),
      Environment(L"PUBLIC"),
      ShellPath(CSIDL_PERSONAL),
      ShellPath(CSIDL_DESKTOPDIRECTORY),
      ShellPath(CSIDL_MYPICTURES),
      ShellPath(CSIDL_MYMUSIC),
      ShellPath(CSIDL_MYVIDEO),
      ShellPath(CSIDL_COMMON_DOCUMENTS),
      ShellPath(CSIDL_COMMON_DESKTOPDIRECTORY),
      ShellPath(CSIDL_PROGRAM_FILES),
      ShellPath(CSIDL_PROGRAM_FILES_COMMON),
      ShellPath(CSIDL_PROGRAM_FILESX86),
      ShellPath(CSIDL_PROGRAM_FILES_COMMONX86),
      Environment(L"ProgramW6432"),  // the 64-bit Program Files, seen from a 32-bit program
      Environment(L"CommonProgramW6432"),
      ShellPath(CSIDL_APPDATA),
      ShellPath(CSIDL_LOCAL_APPDATA),
      ShellPath(CSIDL_COMMON_APPDATA),
      ShellPath(CSIDL_STARTMENU),
      ShellPath(CSIDL_COMMON_STARTMENU),
  };
  p.nearby = {FromApi(GetSystemDirectoryW), Wow64SystemFolder(), CanonicalFolder(ProgramFolder())};
  p.profilesRoot = Parent(profile);
  p.userFiles = {ShellPath(CSIDL_PERSONAL), ShellPath(CSIDL_DESKTOPDIRECTORY), ShellPath(CSIDL_MYPICTURES),
                 ShellPath(CSIDL_MYMUSIC), ShellPath(CSIDL_MYVIDEO), ShellPath(CSIDL_FAVORITES),
                 ShellPath(CSIDL_COMMON_DOCUMENTS), ShellPath(CSIDL_COMMON_DESKTOPDIRECTORY), ShellPath(CSIDL_COMMON_PICTURES),
                 ShellPath(CSIDL_COMMON_MUSIC), ShellPath(CSIDL_COMMON_VIDEO), Environment(L"OneDrive"),
                 Environment(L"OneDriveConsumer"), Environment(L"OneDriveCommercial")};
  for (const GUID& id : {FOLDERID_Downloads, FOLDERID_Links, FOLDERID_Contacts, FOLDERID_SavedGames, FOLDERID_SavedSearches,
                         FOLDERID_SkyDrive, FOLDERID_PublicDownloads})
    p.userFiles.push_back(KnownFolderById(id));
  p.wildParents = {profile, Environment(L"PUBLIC")};
  return p;
}

// The folders of the outermost GuardScope, read at the first question within it.
int g_scopes = 0;
std::unique_ptr<ProtectedSet> g_scoped;
// The long names of the folders found within it, by their full paths in lower case: a run asks
// about many folders below the same few, and the platform looks up every component of a path
// on its own (a directory search each).
std::map<std::wstring, std::wstring> g_longNames;

std::wstring LowerWide(std::wstring s) {
  if (!s.empty()) CharLowerBuffW(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

// What GetLongPathNameW answers for a full path ("" when a component does not exist). Within a
// GuardScope a plain path ("C:\...", short, no wildcards) is looked up one component at a time
// and its found parents are reused; anything else goes to the platform whole.
std::wstring LongName(std::wstring full) {
  const bool plain = g_scopes > 0 && full.size() >= 3 && full.size() < MAX_PATH - 12 && full[1] == L':' && full[2] == L'\\' &&
                     full.find_first_of(L"*?/") == std::wstring::npos;
  if (!plain) return Called([&](wchar_t* buf, DWORD size) { return GetLongPathNameW(full.c_str(), buf, size); });
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  if (full.size() == 3) return full;  // a drive's root
  const std::wstring key = LowerWide(full);
  auto known = g_longNames.find(key);
  if (known != g_longNames.end()) return known->second;
  const size_t slash = full.find_last_of(L'\\');
  const std::wstring leaf = full.substr(slash + 1);
  if (leaf.back() == L'.' || leaf.back() == L' ')
    return Called([&](wchar_t* buf, DWORD size) { return GetLongPathNameW(full.c_str(), buf, size); });
  const std::wstring parent = LongName(full.substr(0, slash == 2 ? 3 : slash));
  if (parent.empty()) return parent;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(full.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return std::wstring();
  FindClose(h);
  std::wstring result = parent + (parent.back() == L'\\' ? L"" : L"\\") + found.cFileName;
  g_longNames[key] = result;
  return result;
}

const ProtectedSet& Scoped() {
  if (!g_scoped) g_scoped.reset(new ProtectedSet(ProtectedFolders()));
  return *g_scoped;
}

bool IsProfileRoot(const std::string& canonical, const ProtectedSet& p) {
  return !p.profilesRoot.empty() && SameText(Parent(canonical), p.profilesRoot);
}

bool Allowed(const std::string& c, const ProtectedSet& p) {
  if (c.empty() || IsRoot(c) || OnHostRootDrive(c)) return false;
  for (const std::string& f : p.sameOrAbove)
    if (SameOrAbove(c, f)) return false;
  for (const std::string& f : p.nearby)
    if (SameOrAbove(c, f) || Inside(c, f)) return false;
  return !IsProfileRoot(c, p);
}

struct FileIdentity {
  bool known = false;
  DWORD volume = 0;
  unsigned long long index = 0;
};

FileIdentity IdentityOf(const std::string& path) {
  FileIdentity id;
  HANDLE h = CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return id;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(h, &info)) {
    id.known = true;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  }
  CloseHandle(h);
  return id;
}

enum class Leads { Unknown, Somewhere, Nowhere };

// Where an existing folder really is, when the platform can tell (Vista and later): a
// junction or link is followed. "Nowhere" when it resolves to no path the program can name.
Leads ResolvedFolder(const std::string& folder, std::string& resolved) {
  using FinalPath = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  static const auto finalPath =
      reinterpret_cast<FinalPath>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW"));
  if (!finalPath) return Leads::Unknown;
  HANDLE h = CreateFileW(WidePath(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Leads::Unknown;
  // Normalized, with its drive letter.
  const std::wstring final = Called([&](wchar_t* buf, DWORD size) { return finalPath(h, buf, size, 0); });
  CloseHandle(h);
  if (final.empty()) return Leads::Nowhere;
  std::string s = NarrowName(final);
  if (s.compare(0, 8, "\\\\?\\UNC\\") == 0) s = "\\\\" + s.substr(8);
  else if (s.compare(0, 4, "\\\\?\\") == 0) s = s.substr(4);
  resolved = CanonicalFolder(s);
  return resolved.empty() ? Leads::Nowhere : Leads::Somewhere;
}

bool FolderAllowed(const std::string& c, const ProtectedSet& p) {
  if (!Allowed(c, p)) return false;
  std::string resolved;
  switch (ResolvedFolder(c, resolved)) {
    case Leads::Unknown: return true;
    case Leads::Nowhere: return false;
    case Leads::Somewhere: return SameText(resolved, c) || Allowed(resolved, p);
  }
  return false;
}

}  // namespace

std::string KnownFolder(int csidl) {
  wchar_t buf[MAX_PATH] = {0};
  if (FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, buf))) return "";
  return NarrowName(buf, wcslen(buf));
}

GuardScope::GuardScope() { ++g_scopes; }

GuardScope::~GuardScope() {
  if (--g_scopes == 0) {
    g_scoped.reset();
    g_longNames.clear();
  }
}

std::string CanonicalFolder(const std::string& folder) {
  std::string t = TrimSpaces(folder);
  if (!FullyQualified(t)) return "";
  const std::wstring wide = WideText(t);
  std::wstring full = Called([&](wchar_t* buf, DWORD size) { return GetFullPathNameW(wide.c_str(), size, buf, nullptr); });
  if (full.empty()) return "";
  const std::wstring reach = full.size() < MAX_PATH - 12 ? full : WidePath(NarrowName(full));
  std::wstring longName = reach == full ? LongName(full) : Called([&](wchar_t* buf, DWORD size) { return GetLongPathNameW(reach.c_str(), buf, size); });
  if (!longName.empty()) {
    if (longName.compare(0, 8, L"\\\\?\\UNC\\") == 0) longName = L"\\\\" + longName.substr(8);
    else if (longName.compare(0, 4, L"\\\\?\\") == 0) longName = longName.substr(4);
    full = longName;
  }
  std::string s = NarrowName(full);
  std::replace(s.begin(), s.end(), '/', '\\');
  while (s.size() > 3 && s.back() == '\\') s.pop_back();
  return s;
}

bool OnHostRootDrive(const std::string& path) {
  // Wine reaches the host's files as "\\?\unix\..."; a drive whose root is the same folder as
  // the host's root is the host's whole file system, however the drive is linked to it.
  static const bool wine = GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name") != nullptr;
  if (!wine || path.size() < 2 || path[1] != ':') return false;
  static const FileIdentity hostRoot = IdentityOf("\\\\?\\unix\\");
  const FileIdentity drive = IdentityOf(path.substr(0, 2) + "\\");
  return hostRoot.known && drive.known && hostRoot.volume == drive.volume && hostRoot.index == drive.index;
}

bool IsSameOrInside(const std::string& path, const std::string& folder) {
  std::string p = LowerText(path), f = LowerText(folder);
  while (!p.empty() && IsSlash(p.back())) p.pop_back();
  while (!f.empty() && IsSlash(f.back())) f.pop_back();
  if (f.empty()) return false;
  return p == f || (p.size() > f.size() && p.compare(0, f.size(), f) == 0 && IsSlash(p[f.size()]));
}

bool IsMatchAllPattern(const std::string& name) {
  return !name.empty() && name.find_first_not_of("*?.") == std::string::npos;
}

bool FolderMayBeErased(const std::string& folder) {
  GuardScope scope;
  return FolderAllowed(CanonicalFolder(folder), Scoped());
}

bool MayEmptyThroughWildcard(const std::string& folder, const std::string& namedAs) {
  GuardScope scope;
  const ProtectedSet& p = Scoped();
  const std::string c = CanonicalFolder(folder);
  if (!FolderAllowed(c, p)) return false;
  const std::string parent = Parent(c);
  std::string named = namedAs;
  while (!named.empty() && IsSlash(named.back())) named.pop_back();
  const std::string lastName = named.substr(named.find_last_of("\\/") + 1);
  if ((IsRoot(parent) || IsRoot(parent + "\\")) && IsMatchAllPattern(lastName)) return false;
  for (const std::string& f : p.wildParents)
    if (!f.empty() && SameText(parent, f)) return false;
  for (const std::string& f : p.userFiles)
    if (!f.empty() && IsSameOrInside(c, f)) return false;
  return true;
}

std::vector<std::string> UserFoldersBelow(const std::string& folder) {
  GuardScope scope;
  std::vector<std::string> below;
  const std::string c = CanonicalFolder(folder);
  if (c.empty()) return below;
  std::string written = TrimSpaces(folder);
  while (!written.empty() && IsSlash(written.back())) written.pop_back();
  const size_t rest = IsSlash(c.back()) ? c.size() - 1 : c.size();  // a root keeps its "\"
  for (const std::string& f : Scoped().userFiles)
    if (Inside(f, c)) below.push_back(written + f.substr(rest));
  return below;
}

bool PatternMayBeErased(const std::string& pattern) {
  std::string t = TrimSpaces(pattern);
  size_t slash = t.find_last_of("\\/");
  if (slash == std::string::npos) return false;
  const std::string name = t.substr(slash + 1), c = CanonicalFolder(t.substr(0, slash + 1));
  if (c.empty() || name.empty() || OnHostRootDrive(c)) return false;
  if (FolderMayBeErased(c)) return true;
  if (IsMatchAllPattern(name)) return false;
  // The run's own named patterns in the two folders it names.
  const std::string n = LowerText(name);
  return (n == "*.chk" && IsRoot(c)) || (n == "*.pwl" && SameText(c, FromApi(GetWindowsDirectoryW)));
}

std::string UserPatternFolder(const std::string& pattern) {
  const std::string t = TrimSpaces(pattern);
  const size_t slash = t.find_last_of("\\/");
  if (slash == std::string::npos) return "";
  const std::string name = t.substr(slash + 1), c = CanonicalFolder(t.substr(0, slash + 1));
  if (c.empty() || name.empty() || IsMatchAllPattern(name) || OnHostRootDrive(c)) return "";
  if (c.size() <= 3 && c[1] == ':') return c.size() == 2 ? c + "\\" : c;  // a drive's root, not a share's
  for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL})
    if (SameText(c, ShellPath(csidl))) return c;
  return "";
}

bool UserPatternMayBeErased(const std::string& pattern) {
  return PatternMayBeErased(pattern) || !UserPatternFolder(pattern).empty();
}
