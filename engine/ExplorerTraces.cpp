// The entries of More Windows Tracks: what Explorer remembers in the registry, the resolver's
// cache, error reports and the thumbnail caches.
#include <windows.h>
#include <shlobj.h>

#include <set>
#include <vector>

#include "access/Eraser.h"
#include "access/FileHandle.h"
#include "access/FolderGuard.h"
#include "access/Normal.h"
#include "access/Pattern.h"
#include "access/RegKey.h"
#include "access/RegSequences.h"
#include "access/SystemStores.h"
#include "engine/Preview.h"
#include "engine/Steps.h"
#include "engine/WindowsTraces.h"

namespace {

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";

bool AllDigits(const std::string& s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos; }

// The places of the folder views: the roaming copy, the local one of Windows XP, and the one of
// Vista and later in the user's classes (and its twin of 32-bit programs on 64-bit Windows).
const char* const kBagTrees[] = {
    "Software\\Microsoft\\Windows\\Shell",
    "Software\\Microsoft\\Windows\\ShellNoRoam",
    "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell",
    "Software\\Classes\\Wow6432Node\\Local Settings\\Software\\Microsoft\\Windows\\Shell",
};

// BagMRU is the desktop, the root of every folder path: its sub-keys and numbered values are the
// folders shown, its NodeSlot names the desktop's own bag and NodeSlots the bags in use; those
// two stay. Of Bags, every numbered bag goes but the desktop's (and any that holds a Desktop
// layout); AllFolders, the views set for all folders, and any other name stay.
double CleanBagTree(const std::string& tree) {
  const std::string mru = tree + "\\BagMRU", bags = tree + "\\Bags";
  std::string desktopBag;
  std::vector<std::string> values;
  {
    RegKey root;
    if (root.Open(HKEY_CURRENT_USER, mru, KEY_READ) == ERROR_SUCCESS) {
      DWORD slot = 0;
      if (root.QueryDword("NodeSlot", slot)) desktopBag = std::to_string(slot);
      values = root.ValueNames();
    }
  }
  double cleaned = 0;
  bool emptied = false;
  for (const std::string& v : values) {
    if (lstrcmpiA(v.c_str(), "NodeSlot") == 0 || lstrcmpiA(v.c_str(), "NodeSlots") == 0) continue;
    DeleteValue(HKEY_CURRENT_USER, mru, v);
    emptied = true;
  }
  cleaned += emptied ? 1 : 0;
  for (const std::string& sub : SubKeyNamesOf(HKEY_CURRENT_USER, mru))
    if (RemoveIfPresent(HKEY_CURRENT_USER, mru + "\\" + sub)) ++cleaned;
  for (const std::string& bag : SubKeyNamesOf(HKEY_CURRENT_USER, bags)) {
    if (!AllDigits(bag) || bag == desktopBag || KeyPresent(HKEY_CURRENT_USER, bags + "\\" + bag + "\\Desktop")) continue;
    if (RemoveIfPresent(HKEY_CURRENT_USER, bags + "\\" + bag)) ++cleaned;
  }
  return cleaned;
}

}  // namespace

void EmptyCounted(RunContext& ctx, const std::string& folder) {
  if (folder.empty() || AttributesOf(folder) == INVALID_FILE_ATTRIBUTES) return;
  const double before = ErasableSize(folder);
  EmptyFolderTree(folder);
  ctx.filesize += ctx.preview ? before : before - ErasableSize(folder);
}

std::string LocalAppDataFolder(const std::string& below) {
  const std::string local = KnownFolder(CSIDL_LOCAL_APPDATA);
  return local.empty() ? "" : local + "\\" + below;
}

bool PassedOverInUse(RunContext& ctx, const std::string& path) {
  {
    FileHandle probe(path, GENERIC_READ, 0, OPEN_EXISTING);
    if (probe.ok() || (probe.openError() != ERROR_SHARING_VIOLATION && probe.openError() != ERROR_LOCK_VIOLATION)) return false;
  }
  if (ctx.preview) ctx.notes.push_back("In use, passed over: " + path);
  else if (!ctx.carrying || ctx.carrying->Chosen("file", path)) ActiveEraser().PassedOver("file", path, "in use");
  return true;
}

void EraseFilesInUseAside(RunContext& ctx, const std::string& folder, const char* pattern) {
  std::vector<std::string> files;
  ForEachMatchingEntry(folder, pattern, [&](const ListedEntry& e) {
    if (!IsFolder(e) && Listed(e)) files.push_back(folder + "\\" + e.name);
    return true;
  });
  for (const std::string& file : files)
    if (!PassedOverInUse(ctx, file)) ctx.filesize += DeleteOneFile(file);
}

void CleanUserAssist(RunContext& ctx) {
  // One key per kind of thing started ({GUID}); its Count holds the names, their counts and times.
  const std::string userAssist = std::string(kExplorer) + "UserAssist";
  for (const std::string& kind : SubKeyNamesOf(HKEY_CURRENT_USER, userAssist))
    ctx.regnum += EmptyExistingKey(HKEY_CURRENT_USER, userAssist + "\\" + kind + "\\Count");
}

void CleanFolderViews(RunContext& ctx) {
  for (const char* tree : kBagTrees) ctx.regnum += CleanBagTree(tree);
}

void CleanExplorerLists(RunContext& ctx) {
  for (const char* list : {"StreamMRU", "ComDlg32\\CIDSizeMRU", "Map Network Drive MRU"})
    ctx.regnum += EmptyExistingKey(HKEY_CURRENT_USER, std::string(kExplorer) + list);
}

void CleanExplorerSearchHistory(RunContext& ctx) {
  // Windows 8 keeps the search charm's terms here, by the program searched in; Windows 8.1 one
  // shortcut per term in ConnectedSearch\History.
  ctx.regnum += EmptyExistingKey(HKEY_CURRENT_USER, std::string(kExplorer) + "SearchHistory");
  EmptyCounted(ctx, LocalAppDataFolder("Microsoft\\Windows\\ConnectedSearch\\History"));
}

void FlushDnsCache(RunContext& ctx) {
  if (!DnsFlushAvailable()) {
    ctx.notes.push_back("This Windows has no DNS cache to flush");
    return;
  }
  // A name looked up since a preview is one it did not show: the cache then stays.
  if (Previewing(ctx, "the DNS resolver's cache", 0, DnsCacheSeen())) return;
  if (!FlushDnsResolverCache()) ctx.notes.push_back("Windows did not flush the DNS cache");
}

void CleanErrorReports(RunContext& ctx) {
  for (const char* folder : {"Microsoft\\Windows\\WER\\ReportArchive", "Microsoft\\Windows\\WER\\ReportQueue", "CrashDumps"})
    EmptyCounted(ctx, LocalAppDataFolder(folder));
}

void CleanThumbnailCaches(RunContext& ctx) {
  // Explorer keeps the caches it uses open: those stay, and the run says so. Explorer is never
  // stopped for them.
  const std::string folder = LocalAppDataFolder("Microsoft\\Windows\\Explorer");
  if (folder.empty() || !FolderMayBeErased(folder)) return;
  for (const char* pattern : {"thumbcache_*.db", "iconcache_*.db"}) EraseFilesInUseAside(ctx, folder, pattern);
}

void TellTheShell(RunContext& ctx) {
  if (!ctx.preview) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
