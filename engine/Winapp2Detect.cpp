// Definition files, stage three: which expanded entries are on this machine, and chosen.
#include <windows.h>

#include "access/Listing.h"
#include "access/Pattern.h"
#include "access/RegKey.h"
#include "engine/Winapp2Stages.h"
#include "settings/Inifun.h"

using winapp2::Split;

namespace winapp2 {

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

}  // namespace winapp2

using winapp2::DefinitionKeyPresent;
using winapp2::FileOrFolderPresent;

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

std::vector<DetectedDefinition> DetectedAndChosen(const DefinitionSet& set, const std::map<std::string, std::string>& stored) {
  std::vector<DetectedDefinition> found;
  // Only chosen entries are looked for.
  for (const AppDefinition& entry : set.entries)
    if (DefinitionChosen(entry, stored) && DefinitionDetected(entry)) found.push_back({&entry});
  return found;
}
