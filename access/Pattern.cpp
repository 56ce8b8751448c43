#include "access/Pattern.h"

#include <windows.h>

#include "access/Listing.h"

namespace {

std::string Upper(std::string s) {
  if (!s.empty()) CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

// Both in upper case. Greedy with one backtrack point: the last "*" seen.
bool Match(const std::string& name, const std::string& pattern) {
  size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool HasWildcards(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

bool MatchesPattern(const std::string& name, const std::string& pattern) {
  if (name.empty() || pattern.empty()) return false;
  const std::string n = Upper(name), p = Upper(pattern);
  const bool dotless = n.find('.') == std::string::npos;
  const size_t size = p.size();
  if (size >= 2 && p.compare(size - 2, 2, ".*") == 0) return Match(n, p) || (dotless && Match(n, p.substr(0, size - 2)));
  if (p.back() == '.' && (size < 2 || p[size - 2] != '.')) return dotless && Match(n, p.substr(0, size - 1));
  return Match(n, p);
}

void ForEachMatchingEntry(const std::string& folder, const std::string& pattern,
                          const std::function<bool(const WIN32_FIND_DATAA&)>& onEntry) {
  const bool slash = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  WIN32_FIND_DATAA fd;
  FindHandle find(folder + (slash ? "*" : "\\*"), &fd);
  if (!find.ok()) return;
  do {
    if (!IsDots(fd.cFileName) && MatchesPattern(fd.cFileName, pattern) && !onEntry(fd)) return;
  } while (find.Next(&fd));
}
