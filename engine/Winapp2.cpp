#include "engine/Winapp2.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "access/Pattern.h"
#include "access/Normal.h"
#include "access/RegKey.h"
#include "access/regfun.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"

const char kDefinitionsSection[] = "WINAPP2";

namespace {

std::string ShellPathOf(int csidl) {
  char buf[MAX_PATH] = {0};
  return SUCCEEDED(SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, buf)) ? buf : "";
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

// %Name% replaced by its folder; false when a variable is unknown or names nothing.
bool Expand(const std::string& text, const std::map<std::string, std::string>& vars, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size();) {
    if (text[i] != '%') {
      out += text[i++];
      continue;
    }
    const size_t end = text.find('%', i + 1);
    if (end == std::string::npos) return false;
    auto it = vars.find(LowerText(text.substr(i + 1, end - i - 1)));
    if (it == vars.end() || it->second.empty()) return false;
    out += it->second;
    i = end + 1;
  }
  return !out.empty();
}

bool ParseKey(const std::string& text, DefinitionKey& key) {
  static const struct {
    const char* name;
    HKEY root;
  } kRoots[] = {{"HKCU", HKEY_CURRENT_USER}, {"HKLM", HKEY_LOCAL_MACHINE}, {"HKU", HKEY_USERS},
                {"HKCR", HKEY_CLASSES_ROOT}, {"HKCC", HKEY_CURRENT_CONFIG}};
  const std::vector<std::string> parts = Split(text, '|');
  const std::string path = parts[0];
  const size_t slash = path.find('\\');
  const std::string rootName = path.substr(0, slash);
  key.root = RootKeyFromName(rootName);
  for (const auto& r : kRoots)
    if (lstrcmpiA(rootName.c_str(), r.name) == 0) key.root = r.root;
  if (!key.root || slash == std::string::npos || slash + 1 >= path.size()) return false;
  key.subKey = WithoutSlash(path.substr(slash + 1));
  key.hasValue = parts.size() > 1;
  key.value = key.hasValue ? parts[1] : "";
  return parts.size() <= 2;
}

bool ParseFiles(const std::string& text, const std::map<std::string, std::string>& vars, DefinitionFiles& files) {
  const std::vector<std::string> parts = Split(text, '|');
  if (parts.size() < 2 || parts.size() > 3 || !Expand(parts[0], vars, files.folder)) return false;
  files.folder = WithoutSlash(files.folder);
  for (const std::string& p : Split(parts[1], ';'))
    if (!TrimSpaces(p).empty()) files.patterns.push_back(TrimSpaces(p));
  if (parts.size() == 3) {
    const std::string flag = LowerText(parts[2]);
    if (flag == "recurse") files.recurse = true;
    else if (flag == "removeself") files.recurse = files.removeSelf = true;
    else return false;
  }
  return !files.patterns.empty();
}

// LangSecRef numbers of the format and the groups they stand for.
std::string GroupOf(const std::string& ref) {
  static const std::map<std::string, std::string> groups = {
      {"3021", "Applications"}, {"3022", "Internet"},      {"3023", "Multimedia"},    {"3024", "Utilities"},
      {"3025", "Windows"},      {"3026", "Firefox"},       {"3027", "Opera"},         {"3028", "Internet Explorer"},
      {"3029", "Google Chrome"}, {"3030", "Thunderbird"},  {"3031", "Windows Store"}, {"3033", "Edge"}};
  auto it = groups.find(TrimSpaces(ref));
  return it == groups.end() ? "Other" : it->second;
}

// The key's name without its number: "FileKey12" -> "filekey".
std::string KeyKind(const std::string& key) {
  std::string k = LowerText(TrimSpaces(key));
  while (!k.empty() && isdigit(static_cast<unsigned char>(k.back()))) k.pop_back();
  return k;
}

// Every existing folder that a path with "*" or "?" in its folder names stands for.
std::vector<std::string> ExpandFolders(const std::string& path) {
  std::vector<std::string> found;
  const std::vector<std::string> parts = Split(path, '\\');
  std::vector<std::string> current = {parts[0]};
  for (size_t i = 1; i < parts.size() && !current.empty(); ++i) {
    std::vector<std::string> next;
    for (const std::string& base : current) {
      if (parts[i].find_first_of("*?") == std::string::npos) {
        next.push_back(base + "\\" + parts[i]);
        continue;
      }
      WIN32_FIND_DATAA fd;
      FindHandle find(base + "\\*", &fd);
      if (!find.ok()) continue;
      do {
        const std::string name = ListedName(fd);
        if (IsFolder(fd) && !IsDots(fd.cFileName) && !IsLink(fd) && !name.empty() && MatchesPattern(fd.cFileName, parts[i]))
          next.push_back(base + "\\" + name);
      } while (find.Next(&fd));
    }
    current.swap(next);
  }
  for (const std::string& c : current) {
    const DWORD attrs = GetFileAttributesA(c.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) found.push_back(c);
  }
  return found;
}

bool SameFolder(const std::string& a, const std::string& b) { return LowerText(WithoutSlash(a)) == LowerText(WithoutSlash(b)); }

bool AnyPattern(const std::string& name, const std::vector<std::string>& patterns) {
  for (const std::string& p : patterns)
    if (MatchesPattern(name, p)) return true;
  return false;
}

bool FileExcluded(const std::string& folder, const std::string& name, const std::vector<DefinitionExclude>& excludes) {
  for (const DefinitionExclude& x : excludes) {
    if (x.kind == DefinitionExclude::File && SameFolder(folder, x.files.folder) && AnyPattern(name, x.files.patterns))
      return true;
    if (x.kind == DefinitionExclude::Path && IsSameOrInside(folder, x.files.folder) &&
        AnyPattern(name, x.files.patterns))
      return true;
  }
  return false;
}

// A key, or one of its values, that an exclusion keeps: the whole key goes only when no
// exclusion lies in it.
bool KeyExcluded(const DefinitionKey& key, const std::vector<DefinitionExclude>& excludes) {
  for (const DefinitionExclude& x : excludes) {
    if (x.kind != DefinitionExclude::Reg || x.key.root != key.root) continue;
    if (key.hasValue) {
      if (SameFolder(x.key.subKey, key.subKey) && (!x.key.hasValue || lstrcmpiA(x.key.value.c_str(), key.value.c_str()) == 0))
        return true;
    } else if (IsSameOrInside(x.key.subKey, key.subKey) || IsSameOrInside(key.subKey, x.key.subKey)) {
      return true;
    }
  }
  return false;
}

double EraseFiles(const DefinitionFiles& fk, const std::vector<DefinitionExclude>& excludes) {
  GuardScope guard;
  Eraser& e = ActiveEraser();
  double bytes = 0;
  for (const std::string& top : ExpandFolders(fk.folder)) {
    // A whole tree only where the folder itself may be erased.
    if (fk.recurse && !FolderMayBeErased(top)) continue;
    std::vector<std::string> folders =
        WalkListedFiles(top, fk.recurse, [&](const std::string& folder, const WIN32_FIND_DATAA& fd) {
          for (const std::string& pattern : fk.patterns) {
            if (!MatchesPattern(fd.cFileName, pattern)) continue;
            const std::string name = ListedName(fd);
            if (!name.empty() && PatternMayBeErased(folder + pattern) && !FileExcluded(folder, fd.cFileName, excludes) &&
                e.EraseListedFile(folder + name, FactsOf(fd), false))
              bytes += FileBytes(fd);
            break;
          }
        });
    if (fk.removeSelf) {
      // Deepest first; the eraser refuses any folder the guard protects.
      for (size_t i = folders.size(); i-- > 0;) e.RemoveFolder(WithoutSlash(folders[i]));
    }
  }
  return bytes;
}

bool KeyPresent(const DefinitionKey& key) {
  RegKey k;
  if (k.Open(key.root, key.subKey, KEY_READ) != ERROR_SUCCESS) return false;
  return !key.hasValue || RegQueryValueExA(k.get(), key.value.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool FileOrFolderPresent(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return false;
  const std::string name = path.substr(slash + 1);
  for (const std::string& folder : ExpandFolders(path.substr(0, slash))) {
    if (!HasWildcards(name)) {
      if (GetFileAttributesA((folder + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
      continue;
    }
    WIN32_FIND_DATAA fd;
    FindHandle find(folder + "\\*", &fd);
    if (!find.ok()) continue;
    do {
      if (!IsDots(fd.cFileName) && MatchesPattern(fd.cFileName, name)) return true;
    } while (find.Next(&fd));
  }
  return false;
}

}  // namespace

std::map<std::string, std::string> DefinitionVariables() {
  char windows[MAX_PATH] = {0}, temp[MAX_PATH] = {0}, pub[MAX_PATH] = {0};
  GetWindowsDirectoryA(windows, MAX_PATH);
  GetTempPathA(MAX_PATH, temp);
  GetEnvironmentVariableA("PUBLIC", pub, MAX_PATH);
  const std::string local = ShellPathOf(CSIDL_LOCAL_APPDATA);
  std::map<std::string, std::string> v = {
      {"appdata", ShellPathOf(CSIDL_APPDATA)},
      {"localappdata", local},
      {"commonappdata", ShellPathOf(CSIDL_COMMON_APPDATA)},
      {"documents", ShellPathOf(CSIDL_PERSONAL)},
      {"userprofile", ShellPathOf(CSIDL_PROFILE)},
      {"programfiles", ShellPathOf(CSIDL_PROGRAM_FILES)},
      {"commonprogramfiles", ShellPathOf(CSIDL_PROGRAM_FILES_COMMON)},
      {"windir", windows},
      {"systemroot", windows},
      {"systemdrive", std::string(windows).substr(0, 2)},
      {"temp", WithoutSlash(temp)},
      {"public", pub},
      {"music", ShellPathOf(CSIDL_MYMUSIC)},
      {"pictures", ShellPathOf(CSIDL_MYPICTURES)},
      {"video", ShellPathOf(CSIDL_MYVIDEO)},
  };
  // LocalLow lies beside Local (Vista and later).
  if (local.size() > 6 && LowerText(local.substr(local.size() - 6)) == "\\local") v["locallowappdata"] = local + "Low";
  return v;
}

DefinitionSet ParseDefinitions(const std::string& text, const std::map<std::string, std::string>& vars) {
  DefinitionSet set;
  AppDefinition* entry = nullptr;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    line = TrimSpaces(line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close == std::string::npos || close < 2) {
        entry = nullptr;
        ++set.skipped;
        continue;
      }
      set.entries.push_back(AppDefinition());
      entry = &set.entries.back();
      entry->name = line.substr(1, close - 1);
      entry->group = "Other";
      continue;
    }
    const size_t eq = line.find('=');
    if (!entry || eq == std::string::npos) {
      ++set.skipped;
      continue;
    }
    const std::string kind = KeyKind(line.substr(0, eq)), value = TrimSpaces(line.substr(eq + 1));
    bool used = true;
    if (kind == "detect") {
      DefinitionKey key;
      used = ParseKey(value, key) && !key.hasValue;
      if (used) entry->detectKeys.push_back(key);
    } else if (kind == "detectfile") {
      std::string path;
      used = Expand(value, vars, path);
      if (used) entry->detectFiles.push_back(WithoutSlash(path));
    } else if (kind == "filekey") {
      DefinitionFiles files;
      used = ParseFiles(value, vars, files);
      if (used) entry->fileKeys.push_back(files);
    } else if (kind == "regkey") {
      DefinitionKey key;
      used = ParseKey(value, key);
      if (used) entry->regKeys.push_back(key);
    } else if (kind == "excludekey") {
      DefinitionExclude x;
      const size_t bar = value.find('|');
      const std::string what = LowerText(value.substr(0, bar)), rest = bar == std::string::npos ? "" : value.substr(bar + 1);
      if (what == "reg") {
        x.kind = DefinitionExclude::Reg;
        used = ParseKey(rest, x.key);
      } else if (what == "file" || what == "path") {
        x.kind = what == "file" ? DefinitionExclude::File : DefinitionExclude::Path;
        used = ParseFiles(rest, vars, x.files);
      } else {
        used = false;
      }
      if (used) entry->excludes.push_back(x);
    } else if (kind == "section") {
      entry->group = value;
    } else if (kind == "langsecref") {
      if (entry->group == "Other") entry->group = GroupOf(value);
    } else if (kind == "default") {
      entry->defaultOn = LowerText(value) == "true";
    } else if (kind == "warning") {
      entry->warning = value;
    } else {
      used = false;
    }
    if (!used) ++set.skipped;
  }
  return set;
}

DefinitionSet LoadDefinitions() {
  std::ifstream in(ProgramFile("winapp2.ini"), std::ios::binary);
  if (!in) return DefinitionSet();
  std::stringstream text;
  text << in.rdbuf();
  return ParseDefinitions(text.str(), DefinitionVariables());
}

bool DefinitionDetected(const AppDefinition& entry) {
  if (entry.detectKeys.empty() && entry.detectFiles.empty()) return true;
  for (const DefinitionKey& key : entry.detectKeys)
    if (KeyPresent(key)) return true;
  for (const std::string& file : entry.detectFiles)
    if (FileOrFolderPresent(file)) return true;
  return false;
}

DefinitionResult EraseDefinition(const AppDefinition& entry) {
  DefinitionResult r;
  for (const DefinitionFiles& files : entry.fileKeys) r.bytes += EraseFiles(files, entry.excludes);
  Eraser& e = ActiveEraser();
  for (const DefinitionKey& key : entry.regKeys) {
    if (KeyExcluded(key, entry.excludes) || !KeyPresent(key)) continue;
    if (key.hasValue) e.DeleteValue(key.root, key.subKey, key.value);
    else e.DeleteKeyTree(key.root, key.subKey);
    ++r.keys;
  }
  return r;
}

void CleanDefinitions(RunContext& ctx) {
  for (const AppDefinition& entry : LoadDefinitions().entries) {
    if (!TickText(ReadIni(ctx.settingsFile, kDefinitionsSection, entry.name)) || !DefinitionDetected(entry)) continue;
    const DefinitionResult r = EraseDefinition(entry);
    ctx.filesize += r.bytes;
    ctx.regnum += r.keys;
  }
}
