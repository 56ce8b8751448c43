// Definition files, stage four: erasing a detected entry through the erasing seam, with every
// exclusion honoured and every path judged by the folder guard.
#include <windows.h>

#include <algorithm>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "access/Normal.h"
#include "access/Pattern.h"
#include "access/RegKey.h"
#include "engine/Winapp2Stages.h"
#include "keeplists/ListFile.h"
#include "settings/Inifun.h"

using winapp2::DefinitionKeyPresent;
using winapp2::ExpandFolders;
using winapp2::Parts;
using winapp2::WithoutSlash;

namespace {

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
    const LONG opened = k.Open(key.root, key.subKey, KEY_READ | key.view);
    if (opened != ERROR_SUCCESS) {
      if (opened != ERROR_FILE_NOT_FOUND)
        e.PassedOver("key", RegistryTarget(key.root, key.subKey, key.view), ReasonOf(static_cast<DWORD>(opened)));
      return false;
    }
    values = k.ValueNames();
    subKeys = k.SubKeyNames();
  }
  bool erased = false;
  for (const std::string& v : values)
    if (!KeepsValue(excludes, key.root, key.subKey, v))
      erased = e.DeleteValue(key.root, key.subKey, v, key.view) == ERROR_SUCCESS || erased;
  for (const std::string& name : subKeys) {
    DefinitionKey sub = key;
    sub.subKey = key.subKey + "\\" + name;
    if (KeepsKey(excludes, key.root, sub.subKey)) continue;
    if (KeepsSomethingIn(excludes, key.root, sub.subKey)) {
      erased = EraseKeyExcept(sub, excludes, e) || erased;
    } else {
      erased = e.DeleteKeyTree(key.root, sub.subKey, key.view) == ERROR_SUCCESS || erased;
    }
  }
  return erased;
}

// The part of an expanded folder that the definition named before its first wildcard; the
// folders below it were found by listing.
std::string NamedPart(const std::string& top, const std::string& namedAs) {
  size_t named = 0;
  for (const std::string& part : Parts(namedAs)) {
    if (HasWildcards(part)) break;
    ++named;
  }
  size_t at = 0;
  for (size_t i = 0; i < named && at != std::string::npos; ++i) {
    at = top.find_first_not_of('\\', at);
    if (at != std::string::npos) at = top.find('\\', at);
  }
  return at == std::string::npos ? top : top.substr(0, at);
}

bool InAny(const std::string& folder, const std::vector<std::string>& kept) {
  return std::any_of(kept.begin(), kept.end(), [&](const std::string& k) { return IsSameOrInside(folder, k); });
}

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
    // The user's own folders further down (a Downloads moved into it) stay whole as well.
    const std::vector<std::string> keptWhole = wildFolder ? UserFoldersBelow(top) : std::vector<std::string>();
    if (fk.recurse && std::all_of(fk.patterns.begin(), fk.patterns.end(), IsMatchAllPattern))
      for (const std::string& kept : keptWhole)
        if (AttributesOf(kept) != INVALID_FILE_ATTRIBUTES) e.Refused(kept);
    // What the wildcard found is entered as itself, never through a link swapped in since.
    std::vector<std::string> folders = WalkListedFilesBelow(
        wildFolder ? NamedPart(top, fk.folder) : top, top, fk.recurse, [&](const std::string& folder, const ListedEntry& entry) {
          for (const std::string& pattern : fk.patterns) {
            if (!MatchesPattern(entry.name, pattern)) continue;
            if ((!allMayGo || (!keptWhole.empty() && InAny(folder, keptWhole))) && IsMatchAllPattern(pattern)) continue;
            if (PatternMayBeErased(folder + pattern) && !FileExcluded(folder, entry.name, excludes) &&
                e.EraseListedFile(folder + entry.name, entry.facts, false))
              bytes += FileBytes(entry);
            break;
          }
        });
    if (fk.removeSelf && allMayGo) {
      // Not in a folder of the user's own files reached through a wildcard. Deepest first; the
      // eraser refuses any folder the guard protects, a folder that keeps an excluded file is
      // not empty, and a folder an exclusion covers stays even when it is.
      for (size_t i = folders.size(); i-- > 0;)
        if (!FolderExcluded(folders[i], excludes) && !InAny(folders[i], keptWhole)) e.RemoveFolder(WithoutSlash(folders[i]));
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

DefinitionResult EraseDefinition(const AppDefinition& entry) {
  DefinitionResult r;
  if (!entry.unusable.empty()) return r;
  for (const DefinitionFiles& files : entry.fileKeys) r.bytes += EraseFiles(files, entry.excludes);
  Eraser& e = ActiveEraser();
  for (const DefinitionKey& key : entry.regKeys) {
    if (!DefinitionKeyPresent(key)) continue;
    if (key.hasValue) {
      if (KeepsValue(entry.excludes, key.root, key.subKey, key.value)) continue;
      if (e.DeleteValue(key.root, key.subKey, key.value, key.view) == ERROR_SUCCESS) ++r.keys;
      continue;
    }
    if (KeepsKey(entry.excludes, key.root, key.subKey)) continue;
    if (KeepsSomethingIn(entry.excludes, key.root, key.subKey)) {
      if (EraseKeyExcept(key, entry.excludes, e)) ++r.keys;
    } else if (e.DeleteKeyTree(key.root, key.subKey, key.view) == ERROR_SUCCESS) {
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
  const DefinitionSet set = ParseDefinitions(text, DefinitionVariables());
  for (const DetectedDefinition& found : DetectedAndChosen(set, stored)) {
    const DefinitionResult r = EraseDefinition(*found.entry);
    ctx.filesize += r.bytes;
    ctx.regnum += r.keys;
  }
}
