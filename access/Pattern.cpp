#include "access/Pattern.h"

#include <windows.h>

#include "access/WidePath.h"

namespace {

std::string Upper(std::string s) {
  if (!s.empty()) CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}
std::wstring Upper(std::wstring s) {
  if (!s.empty()) CharUpperBuffW(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

// Both in upper case. Greedy with one backtrack point: the last "*" seen.
template <typename String>
bool Match(const String& name, const String& pattern) {
  size_t n = 0, p = 0, starP = String::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (starP != String::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

template <typename String>
bool MatchesUpper(const String& n, const String& p) {
  const bool dotless = n.find('.') == String::npos;
  const size_t size = p.size();
  if (size >= 2 && p[size - 2] == '.' && p[size - 1] == '*') return Match(n, p) || (dotless && Match(n, p.substr(0, size - 2)));
  if (p.back() == '.' && (size < 2 || p[size - 2] != '.')) return dotless && Match(n, p.substr(0, size - 1));
  return Match(n, p);
}

}  // namespace

bool HasWildcards(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

bool MatchesPattern(const std::string& name, const std::string& pattern) {
  if (name.empty() || pattern.empty()) return false;
  // A character written out is one character: "?" takes it whole.
  if (HasEscapedNames(name) || HasEscapedNames(pattern)) return MatchesUpper(Upper(WideText(name)), Upper(WideText(pattern)));
  return MatchesUpper(Upper(name), Upper(pattern));
}

void ForEachMatchingEntry(const std::string& folder, const std::string& pattern,
                          const std::function<bool(const ListedEntry&)>& onEntry) {
  ForEachEntry(folder, [&](const ListedEntry& e) { return !MatchesPattern(e.name, pattern) || onEntry(e); });
}
