#include "engine/Winapp2.h"

#include <shlobj.h>

#include <algorithm>
#include <sstream>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "access/Normal.h"
#include "access/Pattern.h"
#include "access/WidePath.h"
#include "access/RegKey.h"
#include "access/regfun.h"
#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"

const char kDefinitionsSection[] = "WINAPP2";

namespace {

// Read with the wide call: a folder the code page cannot spell keeps its exact name.
std::string Environment(const std::string& name) {
  wchar_t buf[MAX_PATH * 2] = {0};
  const DWORD n = GetEnvironmentVariableW(WideText(name).c_str(), buf, MAX_PATH * 2);
  return n && n < MAX_PATH * 2 ? NarrowName(buf, n) : std::string();
}

std::string WithoutSlash(std::string s) {
  while (s.size() > 3 && (s.back() == '\\' || s.back() == '/')) s.pop_back();
  return s;
}

std::vector<std::string> Split(const std::string& s, char by) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (;;) {
    size_t at = s.find(by, from);
    parts.push_back(s.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) return parts;
    from = at + 1;
  }
}

// The folders of a path, without empty parts: "C:\a\b\" -> {"C:", "a", "b"}.
std::vector<std::string> Parts(const std::string& path) {
  std::vector<std::string> parts;
  for (const std::string& p : Split(path, '\\'))
    if (!p.empty()) parts.push_back(p);
  return parts;
}

// ---- Reading the text --------------------------------------------------------------------

enum class Read { Ok, Unknown, Malformed };

// A line of the file in the ANSI code page. The file is UTF-8 today (older ones are ANSI, which
// is not valid UTF-8 as soon as it holds a letter beyond ASCII, and is kept as it is). False
// when a character has no ANSI spelling: such a path cannot be reached by this program.
bool ToAnsi(std::string& line) {
  if (std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return true;
  const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), static_cast<int>(line.size()), nullptr, 0);
  if (wide <= 0) return true;  // not UTF-8: already ANSI
  std::wstring w(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), &w[0], wide);
  BOOL lost = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), wide, nullptr, 0, nullptr, &lost);
  std::string ansi(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), wide, &ansi[0], n, nullptr, &lost);
  line = ansi;
  return !lost;
}

// %Name% replaced by each folder it stands for. Unknown: a variable neither the table nor the
// environment knows; Malformed: a "%" without its pair.
Read Expand(const std::string& text, const DefinitionVars& vars, std::vector<std::string>& out) {
  out.assign(1, std::string());
  for (size_t i = 0; i < text.size();) {
    if (text[i] != '%') {
      for (std::string& o : out) o += text[i];
      ++i;
      continue;
    }
    const size_t end = text.find('%', i + 1);
    if (end == std::string::npos || end == i + 1) return Read::Malformed;
    const std::string name = text.substr(i + 1, end - i - 1);
    if (name.find_first_of("\\|") != std::string::npos) return Read::Malformed;
    std::vector<std::string> values;
    auto it = vars.find(LowerText(name));
    if (it != vars.end()) values = it->second;
    else values.push_back(Environment(name));
    values.erase(std::remove(values.begin(), values.end(), std::string()), values.end());
    if (values.empty()) return Read::Unknown;
    std::vector<std::string> next;
    for (const std::string& o : out)
      for (const std::string& v : values) next.push_back(o + v);
    out.swap(next);
    i = end + 1;
  }
  return Read::Ok;
}

// "HKLM\Software\X" or "HKLM\Software\X|Value"; an HKLM key of 64-bit Windows stands for both
// of its views.
bool ParseKey(const std::string& text, std::vector<DefinitionKey>& keys) {
  static const struct {
    const char* name;
    HKEY root;
  } kRoots[] = {{"HKCU", HKEY_CURRENT_USER}, {"HKLM", HKEY_LOCAL_MACHINE}, {"HKU", HKEY_USERS},
                {"HKCR", HKEY_CLASSES_ROOT}, {"HKCC", HKEY_CURRENT_CONFIG}};
  const std::vector<std::string> parts = Split(text, '|');
  const std::string path = parts[0];
  const size_t slash = path.find('\\');
  const std::string rootName = path.substr(0, slash);
  DefinitionKey key;
  key.root = RootKeyFromName(rootName);
  for (const auto& r : kRoots)
    if (lstrcmpiA(rootName.c_str(), r.name) == 0) key.root = r.root;
  if (!key.root || slash == std::string::npos || slash + 1 >= path.size() || parts.size() > 2) return false;
  key.subKey = WithoutSlash(path.substr(slash + 1));
  key.hasValue = parts.size() > 1;
  key.value = key.hasValue ? parts[1] : "";
  if (key.root == HKEY_LOCAL_MACHINE && HasTwoRegistryViews()) {
    for (REGSAM view : {static_cast<REGSAM>(KEY_WOW64_64KEY), static_cast<REGSAM>(KEY_WOW64_32KEY)}) {
      key.view = view;
      keys.push_back(key);
    }
  } else {
    keys.push_back(key);
  }
  return true;
}

// "folder|patterns[|RECURSE or REMOVESELF]", one set per folder the variables stand for.
Read ParseFiles(const std::string& text, const DefinitionVars& vars, std::vector<DefinitionFiles>& out) {
  const std::vector<std::string> parts = Split(text, '|');
  if (parts.size() < 2 || parts.size() > 3) return Read::Malformed;
  DefinitionFiles files;
  for (const std::string& p : Split(parts[1], ';'))
    if (!TrimSpaces(p).empty()) files.patterns.push_back(TrimSpaces(p));
  if (files.patterns.empty()) return Read::Malformed;
  if (parts.size() == 3) {
    const std::string flag = LowerText(TrimSpaces(parts[2]));
    if (flag == "recurse") files.recurse = true;
    else if (flag == "removeself") files.recurse = files.removeSelf = true;
    else return Read::Malformed;
  }
  std::vector<std::string> folders;
  const Read r = Expand(TrimSpaces(parts[0]), vars, folders);
  if (r != Read::Ok) return r;
  for (const std::string& f : folders) {
    files.folder = WithoutSlash(f);
    out.push_back(files);
  }
  return Read::Ok;
}

// "FILE|folder\|patterns", "FILE|folder\file", "PATH|folder\|patterns", "PATH|folder", "REG|key[|value]".
Read ParseExclude(const std::string& text, const DefinitionVars& vars, std::vector<DefinitionExclude>& out) {
  const size_t bar = text.find('|');
  if (bar == std::string::npos) return Read::Malformed;
  const std::string what = LowerText(TrimSpaces(text.substr(0, bar))), rest = TrimSpaces(text.substr(bar + 1));
  DefinitionExclude x;
  if (what == "reg") {
    // Keys are kept by their names alone: a wildcard would keep nothing and let all go.
    if (HasWildcards(rest)) return Read::Unknown;
    std::vector<DefinitionKey> keys;
    if (!ParseKey(rest, keys)) return Read::Malformed;
    x.kind = DefinitionExclude::Reg;
    x.key = keys[0];
    x.key.view = 0;  // a REG exclusion keeps its key in every view
    out.push_back(x);
    return Read::Ok;
  }
  if (what != "file" && what != "path") return Read::Malformed;
  x.kind = what == "file" ? DefinitionExclude::File : DefinitionExclude::Path;
  const std::vector<std::string> parts = Split(rest, '|');
  if (parts.size() > 2) return Read::Malformed;
  std::string folder = parts[0], patterns = parts.size() == 2 ? parts[1] : "";
  if (parts.size() == 1 && x.kind == DefinitionExclude::File) {
    // One file named whole: its folder, then its name.
    const size_t slash = folder.find_last_of('\\');
    if (slash == std::string::npos || slash + 1 == folder.size()) return Read::Malformed;
    patterns = folder.substr(slash + 1);
    folder = folder.substr(0, slash);
  }
  for (const std::string& p : Split(patterns, ';'))
    if (!TrimSpaces(p).empty()) x.files.patterns.push_back(TrimSpaces(p));
  if (x.files.patterns.empty()) x.files.patterns.push_back("*");  // the whole folder
  std::vector<std::string> folders;
  const Read r = Expand(TrimSpaces(folder), vars, folders);
  if (r != Read::Ok) return r;
  for (const std::string& f : folders) {
    x.files.folder = WithoutSlash(f);
    if (Parts(x.files.folder).empty()) return Read::Malformed;
    out.push_back(x);
  }
  return Read::Ok;
}

// "min|max" (either side may be empty) or one exact version, each "major.minor".
bool ParseVersion(const std::string& text, unsigned& version) {
  const std::string t = TrimSpaces(text);
  const size_t dot = t.find('.');
  const std::string major = t.substr(0, dot), minor = dot == std::string::npos ? "0" : t.substr(dot + 1);
  auto digits = [](const std::string& s) {
    return !s.empty() && s.size() < 4 && std::all_of(s.begin(), s.end(), [](char c) { return isdigit(static_cast<unsigned char>(c)); });
  };
  if (!digits(major) || !digits(minor)) return false;
  version = static_cast<unsigned>(atoi(major.c_str()) * 100 + atoi(minor.c_str()));
  return true;
}

bool ParseDetectOS(const std::string& text, AppDefinition& entry) {
  const std::vector<std::string> parts = Split(text, '|');
  if (parts.size() > 2) return false;
  entry.osLimited = true;
  if (parts.size() == 1) {
    if (!ParseVersion(parts[0], entry.osMin)) return false;
    entry.osMax = entry.osMin;
    return true;
  }
  if (!TrimSpaces(parts[0]).empty() && !ParseVersion(parts[0], entry.osMin)) return false;
  if (!TrimSpaces(parts[1]).empty() && !ParseVersion(parts[1], entry.osMax)) return false;
  return true;
}

// The programs SpecialDetect names, by the keys and folders they leave.
bool ParseSpecialDetect(const std::string& value, const DefinitionVars& vars, AppDefinition& entry) {
  static const struct {
    const char* name;
    const char* key;     // below HKEY_CURRENT_USER
    const char* folder;  // with the format's variables
  } kSpecial[] = {
      {"det_chrome", "Software\\Google\\Chrome", "%LocalAppData%\\Google\\Chrome\\User Data"},
      {"det_mozilla", "Software\\Mozilla\\Firefox", "%AppData%\\Mozilla\\Firefox"},
      {"det_thunderbird", "Software\\Mozilla\\Thunderbird", "%AppData%\\Thunderbird"},
      {"det_opera", "Software\\Opera Software", "%AppData%\\Opera Software"},
  };
  const std::string name = LowerText(TrimSpaces(value));
  if (name == "det_windows") {
    entry.detectAlways = true;
    return true;
  }
  for (const auto& s : kSpecial) {
    if (name != s.name) continue;
    DefinitionKey key;
    key.root = HKEY_CURRENT_USER;
    key.subKey = s.key;
    entry.detectKeys.push_back(key);
    std::vector<std::string> folders;
    if (Expand(s.folder, vars, folders) == Read::Ok)
      for (const std::string& f : folders) entry.detectFiles.push_back(f);
    return true;
  }
  return false;
}

// LangSecRef numbers of the format and the groups they stand for.
std::string GroupOf(const std::string& ref) {
  static const std::map<std::string, std::string> groups = {
      {"3001", "Internet Explorer"},
      {"3005", "Microsoft Edge (legacy)"},
      {"3006", "Microsoft Edge"},
      {"3021", "Applications"},
      {"3022", "Internet"},
      {"3023", "Multimedia"},
      {"3024", "Utilities"},
      {"3025", "Windows"},
      {"3026", "Firefox"},
      {"3027", "Opera"},
      {"3028", "Safari"},
      {"3029", "Google Chrome"},
      {"3030", "Thunderbird"},
      {"3031", "Windows Store"},
      {"3033", "Vivaldi"},
      {"3034", "Brave"},
      {"3035", "Opera GX"},
      {"3036", "Spotify"},
      {"3037", "Avast Secure Browser"},
      {"3038", "AVG Secure Browser"},
      {"3039", "Arc"},
      {"3040", "iTunes"},
      {"3042", "WhatsApp"},
      {"3043", "Norton Private Browser"},
      {"3044", "Avira Secure Browser"},
  };
  auto it = groups.find(TrimSpaces(ref));
  return it == groups.end() ? "Other" : it->second;
}

// The key's name without its number: "FileKey12" -> "filekey".
std::string KeyKind(const std::string& key) {
  std::string k = LowerText(TrimSpaces(key));
  while (!k.empty() && isdigit(static_cast<unsigned char>(k.back()))) k.pop_back();
  return k;
}

// ---- Detection ----------------------------------------------------------------------------

// Every existing folder that a path with "*" or "?" in its folder names stands for; names are
// matched by their long names only.
std::vector<std::string> ExpandFolders(const std::string& path) {
  std::vector<std::string> found;
  const std::vector<std::string> parts = Split(path, '\\');
  std::vector<std::string> current = {parts[0]};
  for (size_t i = 1; i < parts.size() && !current.empty(); ++i) {
    if (parts[i].empty()) continue;
    std::vector<std::string> next;
    for (const std::string& base : current) {
      if (!HasWildcards(parts[i])) {
        next.push_back(base + "\\" + parts[i]);
        continue;
      }
      ForEachMatchingEntry(base, parts[i], [&](const ListedEntry& e) {
        if (IsFolder(e) && !IsLink(e)) next.push_back(base + "\\" + e.name);
        return true;
      });
    }
    current.swap(next);
  }
  for (const std::string& c : current) {
    const DWORD attrs = AttributesOf(c);
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) found.push_back(c);
  }
  return found;
}

bool DefinitionKeyPresent(const DefinitionKey& key) {
  return key.hasValue ? ValuePresent(key.root, key.subKey, key.value, key.view) : KeyPresent(key.root, key.subKey, key.view);
}

bool FileOrFolderPresent(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return false;
  const std::string name = path.substr(slash + 1);
  for (const std::string& folder : ExpandFolders(path.substr(0, slash))) {
    if (!HasWildcards(name)) {
      if (AttributesOf(folder + "\\" + name) != INVALID_FILE_ATTRIBUTES) return true;
      continue;
    }
    bool found = false;
    ForEachMatchingEntry(folder, name, [&found](const ListedEntry&) {
      found = true;
      return false;  // one is enough
    });
    if (found) return true;
  }
  return false;
}

// ---- Exclusions ---------------------------------------------------------------------------

// The folder matches the exclusion's folder, whose names may hold wildcards: the same depth
// for FILE, that folder or any below it for PATH.
bool FolderMatches(const std::string& folder, const DefinitionExclude& x) {
  const std::vector<std::string> f = Parts(folder), p = Parts(x.files.folder);
  if (f.size() < p.size() || (x.kind == DefinitionExclude::File && f.size() != p.size())) return false;
  for (size_t i = 0; i < p.size(); ++i)
    if (!MatchesPattern(f[i], p[i])) return false;
  return true;
}

bool AnyPattern(const std::string& name, const std::vector<std::string>& patterns) {
  for (const std::string& p : patterns)
    if (MatchesPattern(name, p)) return true;
  return false;
}

bool FileExcluded(const std::string& folder, const std::string& name, const std::vector<DefinitionExclude>& excludes) {
  for (const DefinitionExclude& x : excludes)
    if (x.kind != DefinitionExclude::Reg && FolderMatches(folder, x) && AnyPattern(name, x.files.patterns)) return true;
  return false;
}

bool FolderExcluded(const std::string& folder, const std::vector<DefinitionExclude>& excludes) {
  for (const DefinitionExclude& x : excludes)
    if (x.kind != DefinitionExclude::Reg && FolderMatches(folder, x)) return true;
  return false;
}

bool SameKey(const std::string& a, const std::string& b) { return LowerText(WithoutSlash(a)) == LowerText(WithoutSlash(b)); }

// An exclusion keeps the key sub (and all below it) whole.
bool KeepsKey(const std::vector<DefinitionExclude>& excludes, HKEY root, const std::string& sub) {
  return std::any_of(excludes.begin(), excludes.end(), [&](const DefinitionExclude& x) {
    return x.kind == DefinitionExclude::Reg && x.key.root == root && !x.key.hasValue && IsSameOrInside(sub, x.key.subKey);
  });
}

bool KeepsValue(const std::vector<DefinitionExclude>& excludes, HKEY root, const std::string& sub, const std::string& value) {
  if (KeepsKey(excludes, root, sub)) return true;
  for (const DefinitionExclude& x : excludes) {
    if (x.kind == DefinitionExclude::Reg && x.key.root == root && x.key.hasValue && SameKey(x.key.subKey, sub) &&
        lstrcmpiA(x.key.value.c_str(), value.c_str()) == 0)
      return true;
  }
  return false;
}

// Something below or in the key (a sub-key, a value) is kept.
bool KeepsSomethingIn(const std::vector<DefinitionExclude>& excludes, HKEY root, const std::string& sub) {
  for (const DefinitionExclude& x : excludes)
    if (x.kind == DefinitionExclude::Reg && x.key.root == root && IsSameOrInside(x.key.subKey, sub)) return true;
  return false;
}

// Everything in the key but what an exclusion keeps; the key itself stays. True when anything went.
bool EraseKeyExcept(const DefinitionKey& key, const std::vector<DefinitionExclude>& excludes, Eraser& e) {
  std::vector<std::string> values, subKeys;
  {
    RegKey k;
    if (k.Open(key.root, key.subKey, KEY_READ | key.view) != ERROR_SUCCESS) return false;
    values = k.ValueNames();
    subKeys = k.SubKeyNames();
  }
  bool erased = false;
  for (const std::string& v : values) {
    if (KeepsValue(excludes, key.root, key.subKey, v)) continue;
    e.DeleteValue(key.root, key.subKey, v, key.view);
    erased = true;
  }
  for (const std::string& name : subKeys) {
    DefinitionKey sub = key;
    sub.subKey = key.subKey + "\\" + name;
    if (KeepsKey(excludes, key.root, sub.subKey)) continue;
    if (KeepsSomethingIn(excludes, key.root, sub.subKey)) {
      erased = EraseKeyExcept(sub, excludes, e) || erased;
    } else {
      e.DeleteKeyTree(key.root, sub.subKey, key.view);
      erased = true;
    }
  }
  return erased;
}

// ---- Erasing ------------------------------------------------------------------------------

double EraseFiles(const DefinitionFiles& fk, const std::vector<DefinitionExclude>& excludes) {
  GuardScope guard;
  Eraser& e = ActiveEraser();
  double bytes = 0;
  // A wildcard in the folder part reaches folders nobody named: one that holds the user's own
  // files is never emptied by a pattern that takes every name through it.
  const bool wildFolder = HasWildcards(fk.folder);
  for (const std::string& top : ExpandFolders(fk.folder)) {
    // A whole tree only where the folder itself may be erased.
    if (fk.recurse && !FolderMayBeErased(top)) continue;
    const bool allMayGo = !wildFolder || MayEmptyThroughWildcard(top, fk.folder);
    if (!allMayGo && std::all_of(fk.patterns.begin(), fk.patterns.end(), IsMatchAllPattern)) {
      e.Refused(top);
      continue;
    }
    std::vector<std::string> folders =
        WalkListedFiles(top, fk.recurse, [&](const std::string& folder, const ListedEntry& entry) {
          for (const std::string& pattern : fk.patterns) {
            if (!MatchesPattern(entry.name, pattern)) continue;
            if (!allMayGo && IsMatchAllPattern(pattern)) continue;
            if (PatternMayBeErased(folder + pattern) && !FileExcluded(folder, entry.name, excludes) &&
                e.EraseListedFile(folder + entry.name, entry.facts, false))
              bytes += FileBytes(entry);
            break;
          }
        });
    if (fk.removeSelf && allMayGo) {
      // Not in a folder of the user's own files reached through a wildcard. Deepest first; the eraser refuses any folder the guard protects, a folder that keeps an
      // excluded file is not empty, and a folder an exclusion covers stays even when it is.
      for (size_t i = folders.size(); i-- > 0;)
        if (!FolderExcluded(folders[i], excludes)) e.RemoveFolder(WithoutSlash(folders[i]));
    }
  }
  return bytes;
}

// A line "Default=True" somewhere, found without parsing the file.
bool MayHoldDefaultEntries(const std::string& text) {
  for (size_t at = 0; at < text.size();) {
    const size_t begin = text.find_first_not_of(" \t", at);
    if (begin == std::string::npos) break;
    if (text.size() - begin >= 7 && lstrcmpiA(text.substr(begin, 7).c_str(), "default") == 0) {
      const size_t eol = text.find('\n', begin);
      std::string line = LowerText(text.substr(begin, eol == std::string::npos ? std::string::npos : eol - begin));
      line.erase(std::remove_if(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r'; }), line.end());
      if (line.compare(0, 12, "default=true") == 0) return true;
    }
    const size_t eol = text.find('\n', begin);
    if (eol == std::string::npos) break;
    at = eol + 1;
  }
  return false;
}

}  // namespace

size_t DefinitionSet::Unusable() const {
  return static_cast<size_t>(std::count_if(entries.begin(), entries.end(), [](const AppDefinition& e) { return !e.unusable.empty(); }));
}

DefinitionVars DefinitionVariables() {
  char windows[MAX_PATH] = {0};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string local = KnownFolder(CSIDL_LOCAL_APPDATA), common = KnownFolder(CSIDL_COMMON_APPDATA);
  // Both Program Files folders of 64-bit Windows, whichever build asks.
  auto both = [](std::vector<std::string> folders) {
    std::vector<std::string> unique;
    for (const std::string& f : folders) {
      const std::string plain = WithoutSlash(f);
      if (plain.empty()) continue;
      if (std::none_of(unique.begin(), unique.end(), [&](const std::string& u) { return LowerText(u) == LowerText(plain); }))
        unique.push_back(plain);
    }
    return unique;
  };
  DefinitionVars v = {
      {"appdata", {KnownFolder(CSIDL_APPDATA)}},
      {"commonappdata", {common}},
      {"programdata", {common}},
      {"commonprogramfiles", both({KnownFolder(CSIDL_PROGRAM_FILES_COMMON), Environment("CommonProgramW6432"),
                                   Environment("CommonProgramFiles(x86)")})},
      {"documents", {KnownFolder(CSIDL_PERSONAL)}},
      {"localappdata", {local}},
      {"music", {KnownFolder(CSIDL_MYMUSIC)}},
      {"pictures", {KnownFolder(CSIDL_MYPICTURES)}},
      {"programfiles", both({KnownFolder(CSIDL_PROGRAM_FILES), Environment("ProgramW6432"), Environment("ProgramFiles(x86)")})},
      {"public", {Environment("PUBLIC")}},
      {"systemdrive", {std::string(windows).substr(0, 2)}},
      {"userprofile", {KnownFolder(CSIDL_PROFILE)}},
      {"video", {KnownFolder(CSIDL_MYVIDEO)}},
      {"windir", {windows}},
  };
  // LocalLow lies beside Local (Vista and later).
  if (local.size() > 6 && LowerText(local.substr(local.size() - 6)) == "\\local") v["locallowappdata"] = {local + "Low"};
  for (auto& entry : v)
    for (std::string& f : entry.second) f = WithoutSlash(f);
  return v;
}

DefinitionSet ParseDefinitions(const std::string& source, const DefinitionVars& vars) {
  DefinitionSet set;
  AppDefinition* entry = nullptr;
  std::string section, langSecRef;  // of the entry being read: Section wins over LangSecRef
  auto finish = [&] {
    if (!entry) return;
    entry->group = !section.empty() ? section : GroupOf(langSecRef);
    if (entry->name.find('=') != std::string::npos && entry->unusable.empty())
      entry->unusable = "its name holds \"=\", which the settings file cannot store";
  };
  auto unusable = [&](const std::string& why) {
    if (entry && entry->unusable.empty()) entry->unusable = why;
  };
  // A UTF-8 byte-order mark is no part of the first line.
  const size_t start = source.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  std::istringstream in(source.substr(start));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = TrimSpaces(line);
    if (line.empty() || line[0] == ';') continue;
    const bool spelled = ToAnsi(line);
    if (line[0] == '[') {
      finish();
      const size_t close = line.find(']');
      if (close == std::string::npos || close < 2) {
        entry = nullptr;
        ++set.skipped;
        ++set.malformed;
        continue;
      }
      set.entries.push_back(AppDefinition());
      entry = &set.entries.back();
      entry->name = line.substr(1, close - 1);
      section.clear();
      langSecRef.clear();
      if (!spelled) unusable("its name has letters this Windows cannot spell");
      continue;
    }
    const size_t eq = line.find('=');
    if (!entry || eq == std::string::npos) {
      ++set.skipped;
      ++set.malformed;
      continue;
    }
    const std::string kind = KeyKind(line.substr(0, eq)), value = TrimSpaces(line.substr(eq + 1));
    const bool pathKey = kind == "detect" || kind == "detectfile" || kind == "filekey" || kind == "regkey" || kind == "excludekey";
    if (pathKey && !spelled) {
      unusable("a path has letters this Windows cannot spell");
      ++set.skipped;
      continue;
    }
    Read read = Read::Ok;
    if (kind == "detect") {
      if (!ParseKey(value, entry->detectKeys)) read = Read::Malformed;
    } else if (kind == "detectfile") {
      std::vector<std::string> paths;
      read = Expand(value, vars, paths);
      for (const std::string& p : paths) entry->detectFiles.push_back(WithoutSlash(p));
    } else if (kind == "specialdetect") {
      if (!ParseSpecialDetect(value, vars, *entry)) {
        unusable("its SpecialDetect is not known");
        read = Read::Unknown;
      }
    } else if (kind == "detectos") {
      if (!ParseDetectOS(value, *entry)) {
        unusable("its DetectOS cannot be read");
        read = Read::Malformed;
      }
    } else if (kind == "filekey") {
      read = ParseFiles(value, vars, entry->fileKeys);
    } else if (kind == "regkey") {
      if (!ParseKey(value, entry->regKeys)) read = Read::Malformed;
    } else if (kind == "excludekey") {
      read = ParseExclude(value, vars, entry->excludes);
      // Erasing without an exclusion would erase what the entry says to keep.
      if (read != Read::Ok) unusable("an ExcludeKey cannot be read, so what it keeps is not known");
    } else if (kind == "section") {
      section = value;
    } else if (kind == "langsecref") {
      langSecRef = value;
    } else if (kind == "default") {
      entry->defaultOn = LowerText(value) == "true";
    } else if (kind == "warning") {
      entry->warning = value;
    } else {
      read = Read::Unknown;
    }
    // A detection that cannot be read finds nothing; it never makes the entry apply everywhere.
    if (read != Read::Ok && (kind == "detect" || kind == "detectfile")) entry->detectionBroken = true;
    if (read != Read::Ok) ++set.skipped;
    if (read == Read::Malformed) ++set.malformed;
  }
  finish();
  return set;
}

std::string DefinitionsFile() { return ProgramFile("winapp2.ini"); }

DefinitionSet LoadDefinitions() {
  std::string text;
  return ReadWholeFile(DefinitionsFile(), text) && !text.empty() ? ParseDefinitions(text, DefinitionVariables())
                                                                  : DefinitionSet();
}

unsigned WindowsVersion() {
  // GetVersionEx reports what a program's manifest claims; the kernel tells the truth.
  struct VersionInfo {
    ULONG size, major, minor, build, platform;
    WCHAR service[128];
  } info = {sizeof(VersionInfo), 0, 0, 0, 0, {0}};
  using GetVersion = LONG(WINAPI*)(VersionInfo*);
  static const auto rtl = reinterpret_cast<GetVersion>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion"));
  if (rtl && rtl(&info) == 0) return info.major * 100 + info.minor;
  OSVERSIONINFOA os = {};
  os.dwOSVersionInfoSize = sizeof os;
  GetVersionExA(&os);
  return os.dwMajorVersion * 100 + os.dwMinorVersion;
}

bool DefinitionDetected(const AppDefinition& entry) {
  if (!entry.unusable.empty()) return false;
  if (entry.osLimited) {
    const unsigned v = WindowsVersion();
    if (v < entry.osMin || v > entry.osMax) return false;
  }
  if (entry.detectAlways) return true;
  if (entry.detectKeys.empty() && entry.detectFiles.empty()) return !entry.detectionBroken;
  for (const DefinitionKey& key : entry.detectKeys)
    if (DefinitionKeyPresent(key)) return true;
  for (const std::string& file : entry.detectFiles)
    if (FileOrFolderPresent(file)) return true;
  return false;
}

std::map<std::string, std::string> StoredDefinitionChoices(const std::string& settingsFile) {
  return ReadIniSection(settingsFile, kDefinitionsSection);
}

bool DefinitionChosen(const AppDefinition& entry, const std::map<std::string, std::string>& stored) {
  auto it = stored.find(LowerText(entry.name));
  if (it != stored.end() && !it->second.empty()) return TickText(it->second);
  return entry.defaultOn && entry.warning.empty();
}

DefinitionResult EraseDefinition(const AppDefinition& entry) {
  DefinitionResult r;
  if (!entry.unusable.empty()) return r;
  for (const DefinitionFiles& files : entry.fileKeys) r.bytes += EraseFiles(files, entry.excludes);
  Eraser& e = ActiveEraser();
  for (const DefinitionKey& key : entry.regKeys) {
    if (!DefinitionKeyPresent(key)) continue;
    if (key.hasValue) {
      if (KeepsValue(entry.excludes, key.root, key.subKey, key.value)) continue;
      e.DeleteValue(key.root, key.subKey, key.value, key.view);
      ++r.keys;
      continue;
    }
    if (KeepsKey(entry.excludes, key.root, key.subKey)) continue;
    if (KeepsSomethingIn(entry.excludes, key.root, key.subKey)) {
      if (EraseKeyExcept(key, entry.excludes, e)) ++r.keys;
    } else {
      e.DeleteKeyTree(key.root, key.subKey, key.view);
      ++r.keys;
    }
  }
  return r;
}

void CleanDefinitions(RunContext& ctx) {
  std::string text;
  if (!ReadWholeFile(DefinitionsFile(), text) || text.empty()) return;
  const std::map<std::string, std::string> stored = StoredDefinitionChoices(ctx.settingsFile);
  // Nothing ticked and no entry ticked by default: the file need not even be parsed.
  const bool anyTicked = std::any_of(stored.begin(), stored.end(), [](const std::pair<const std::string, std::string>& s) { return TickText(s.second); });
  if (!anyTicked && !MayHoldDefaultEntries(text)) return;
  for (const AppDefinition& entry : ParseDefinitions(text, DefinitionVariables()).entries) {
    if (!DefinitionChosen(entry, stored) || !DefinitionDetected(entry)) continue;
    const DefinitionResult r = EraseDefinition(entry);
    ctx.filesize += r.bytes;
    ctx.regnum += r.keys;
  }
}
