// Definition files, stage two: a section read from the text becomes an expanded entry, its
// variables replaced by the folders they stand for and its keys, detections and exclusions read.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Pattern.h"
#include "access/RegText.h"
#include "engine/Winapp2Stages.h"
#include "keeplists/ListFile.h"
#include "settings/Inifun.h"

using winapp2::Read;
using winapp2::Split;
using winapp2::WithoutSlash;
using winapp2::Environment;
using winapp2::Parts;

namespace winapp2 {

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

}  // namespace winapp2

namespace {

using winapp2::Expand;

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

AppDefinition ExpandDefinition(const ParsedDefinition& parsed, const DefinitionVars& vars, size_t& skipped, size_t& malformed) {
  AppDefinition e;
  e.name = parsed.name;
  std::string section, langSecRef;  // Section wins over LangSecRef
  auto unusable = [&](const std::string& why) {
    if (e.unusable.empty()) e.unusable = why;
  };
  if (!parsed.nameSpelled) unusable("its name has letters this Windows cannot spell");
  for (const ParsedLine& l : parsed.lines) {
    const std::string& kind = l.kind;
    const std::string& value = l.value;
    const bool pathKey = kind == "detect" || kind == "detectfile" || kind == "filekey" || kind == "regkey" || kind == "excludekey";
    if (pathKey && !l.spelled) {
      unusable("a path has letters this Windows cannot spell");
      ++skipped;
      continue;
    }
    Read read = Read::Ok;
    if (kind == "detect") {
      if (!ParseKey(value, e.detectKeys)) read = Read::Malformed;
    } else if (kind == "detectfile") {
      std::vector<std::string> paths;
      read = Expand(value, vars, paths);
      for (const std::string& p : paths) e.detectFiles.push_back(WithoutSlash(p));
    } else if (kind == "specialdetect") {
      if (!ParseSpecialDetect(value, vars, e)) {
        unusable("its SpecialDetect is not known");
        read = Read::Unknown;
      }
    } else if (kind == "detectos") {
      if (!ParseDetectOS(value, e)) {
        unusable("its DetectOS cannot be read");
        read = Read::Malformed;
      }
    } else if (kind == "filekey") {
      read = ParseFiles(value, vars, e.fileKeys);
    } else if (kind == "regkey") {
      if (!ParseKey(value, e.regKeys)) read = Read::Malformed;
    } else if (kind == "excludekey") {
      read = ParseExclude(value, vars, e.excludes);
      // Erasing without an exclusion would erase what the entry says to keep.
      if (read != Read::Ok) unusable("an ExcludeKey cannot be read, so what it keeps is not known");
    } else if (kind == "section") {
      section = value;
    } else if (kind == "langsecref") {
      langSecRef = value;
    } else if (kind == "default") {
      e.defaultOn = LowerText(value) == "true";
    } else if (kind == "warning") {
      e.warning = value;
    } else {
      read = Read::Unknown;
    }
    // A detection that cannot be read finds nothing; it never makes the entry apply everywhere.
    if (read != Read::Ok && (kind == "detect" || kind == "detectfile")) e.detectionBroken = true;
    if (read != Read::Ok) ++skipped;
    if (read == Read::Malformed) ++malformed;
  }
  e.group = !section.empty() ? section : GroupOf(langSecRef);
  if (e.name.find('=') != std::string::npos) unusable("its name holds \"=\", which the settings file cannot store");
  return e;
}

DefinitionSet ParseDefinitions(const std::string& text, const DefinitionVars& vars) {
  const ParsedFile file = ReadDefinitionText(text);
  DefinitionSet set;
  set.skipped = file.skipped;
  set.malformed = file.malformed;
  for (const ParsedDefinition& parsed : file.entries) set.entries.push_back(ExpandDefinition(parsed, vars, set.skipped, set.malformed));
  return set;
}

DefinitionSet LoadDefinitions() {
  std::string text;
  return ReadWholeFile(DefinitionsFile(), text) && !text.empty() ? ParseDefinitions(text, DefinitionVariables())
                                                                  : DefinitionSet();
}
