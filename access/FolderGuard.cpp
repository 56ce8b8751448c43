#include "access/FolderGuard.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "settings/AppFolder.h"
#include "settings/Inifun.h"

namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }

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

// Same as, or above, protected.
bool SameOrAbove(const std::string& path, const std::string& protectedPath) {
  if (protectedPath.empty()) return false;
  std::string a = LowerText(path), b = LowerText(protectedPath);
  return a == b || (b.size() > a.size() && b.compare(0, a.size(), a) == 0 && b[a.size()] == '\\');
}

std::string FromApi(UINT (WINAPI* get)(LPSTR, UINT)) {
  char buf[MAX_PATH] = {0};
  UINT n = get(buf, MAX_PATH);
  return n && n < MAX_PATH ? CanonicalFolder(buf) : std::string();
}

std::string Environment(const char* name) {
  char buf[MAX_PATH] = {0};
  DWORD n = GetEnvironmentVariableA(name, buf, MAX_PATH);
  return n && n < MAX_PATH ? CanonicalFolder(buf) : std::string();
}

struct Protected {
  std::vector<std::string> folders;  // never to be emptied, nor anything above them
  std::string profilesRoot;          // its children are profile roots
};

Protected ProtectedFolders() {
  Protected p;
  p.folders.push_back(FromApi(GetWindowsDirectoryA));
  p.folders.push_back(FromApi(GetSystemDirectoryA));
  p.folders.push_back(CanonicalFolder(ProgramFolder()));
  std::string profile = Environment("USERPROFILE");
  p.folders.push_back(profile);
  p.folders.push_back(Environment("ALLUSERSPROFILE"));
  p.folders.push_back(Environment("PUBLIC"));
  p.profilesRoot = Parent(profile);
  return p;
}

bool IsProfileRoot(const std::string& canonical, const Protected& p) {
  return !p.profilesRoot.empty() && LowerText(Parent(canonical)) == LowerText(p.profilesRoot);
}

bool MatchesAll(const std::string& pattern) {
  return !pattern.empty() && pattern.find('*') != std::string::npos &&
         pattern.find_first_not_of("*.") == std::string::npos;
}

}  // namespace

std::string CanonicalFolder(const std::string& folder) {
  std::string t = TrimSpaces(folder);
  if (!FullyQualified(t)) return "";
  char full[MAX_PATH * 2] = {0};
  DWORD n = GetFullPathNameA(t.c_str(), sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return "";
  std::string s(full, n);
  char longName[MAX_PATH * 2] = {0};
  DWORD m = GetLongPathNameA(s.c_str(), longName, sizeof longName);
  if (m > 0 && m < sizeof longName) s.assign(longName, m);
  std::replace(s.begin(), s.end(), '/', '\\');
  while (s.size() > 3 && s.back() == '\\') s.pop_back();
  return s;
}

bool FolderMayBeErased(const std::string& folder) {
  std::string c = CanonicalFolder(folder);
  if (c.empty() || IsRoot(c)) return false;
  Protected p = ProtectedFolders();
  for (const std::string& f : p.folders)
    if (SameOrAbove(c, f)) return false;
  if (IsProfileRoot(c, p)) return false;
  return true;
}

bool PatternMayBeErased(const std::string& pattern) {
  std::string t = TrimSpaces(pattern);
  size_t slash = t.find_last_of("\\/");
  if (slash == std::string::npos) return false;
  std::string folder = t.substr(0, slash + 1), name = t.substr(slash + 1);
  std::string c = CanonicalFolder(folder);
  if (c.empty() || name.empty()) return false;
  if (!MatchesAll(name)) return true;
  if (IsRoot(c)) return false;
  Protected p = ProtectedFolders();
  for (const std::string& f : p.folders)
    if (!f.empty() && LowerText(c) == LowerText(f)) return false;
  return !IsProfileRoot(c, p) && LowerText(c) != LowerText(p.profilesRoot);
}
