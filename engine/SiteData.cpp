// Site data: what sites keep in a browser besides cookies (their storage, databases, workers and
// caches), site by site, sparing the sites of the site keep list: a kept site's folders stay as
// they are, and its rows stay where it shares a store with other sites.
#include <cstring>
#include <map>
#include <set>

#include "access/Eraser.h"
#include "access/FileHandle.h"
#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "access/Normal.h"
#include "engine/BrowserFamily.h"
#include "engine/Preview.h"
#include "keeplists/ListFile.h"

namespace {

}  // namespace

std::string OriginIdentifierSite(const std::string& identifier) {
  const size_t first = identifier.find('_'), last = identifier.rfind('_');
  if (first == std::string::npos || last <= first + 1 || !WebScheme(identifier.substr(0, first))) return "";
  return SiteOf(identifier.substr(first + 1, last - first - 1));
}

bool WebScheme(const std::string& scheme) {
  const std::string s = LowerText(scheme);
  return s == "http" || s == "https";
}

std::vector<std::string> SimpleCacheFiles(const std::string& folder, const std::set<std::string>& keys) {
  std::vector<std::string> files;
  if (keys.empty()) return files;
  static const unsigned char kMagic[8] = {0x30, 0x5c, 0x72, 0xa7, 0x1b, 0x6d, 0xfb, 0xfc};
  std::vector<std::string> entries;
  ForEachEntry(folder, [&](const ListedEntry& e) {
    if (!IsFolder(e) && Listed(e) && e.name.size() == 18 && e.name.compare(16, 2, "_0") == 0 &&
        e.name.find_first_not_of("0123456789abcdef") == 16)
      entries.push_back(e.name.substr(0, 16));
    return true;
  });
  for (const std::string& hash : entries) {
    FileHandle in(folder + "\\" + hash + "_0", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    unsigned char head[24 + 256];
    DWORD got = 0;
    if (!in.ok() || !ReadFile(in.get(), head, sizeof head, &got, nullptr) || got < 24 || memcmp(head, kMagic, 8) != 0) continue;
    const DWORD length = head[12] | head[13] << 8 | head[14] << 16 | static_cast<DWORD>(head[15]) << 24;
    if (length > got - 24 || !keys.count(std::string(reinterpret_cast<const char*>(head) + 24, length))) continue;
    for (const char* stream : {"_0", "_1", "_s"})
      if (AttributesOf(folder + "\\" + hash + stream) != INVALID_FILE_ATTRIBUTES) files.push_back(folder + "\\" + hash + stream);
  }
  return files;
}

void EraseSiteFolders(BrowserJob& job, const std::string& store, const std::vector<SiteFolder>& folders) {
  std::map<std::string, std::vector<std::string>> bySite;
  for (const SiteFolder& f : folders) bySite[f.site].push_back(f.path);
  for (const auto& site : bySite) {
    const std::string target = store + ": site data of " + site.first;
    if (job.keptSites.Keeps(site.first)) {
      if (job.ctx.preview) PreviewKept(job.ctx, target, "site keep list");
      continue;
    }
    // Each folder measured once: the preview's size, and what a run released.
    std::vector<double> sizes;
    double bytes = 0;
    for (const std::string& path : site.second) {
      sizes.push_back(FolderSize(path));
      bytes += sizes.back();
    }
    const std::string seen = std::to_string(static_cast<unsigned long long>(bytes)) + " bytes";
    if (Previewing(job.ctx, target, bytes, seen)) continue;
    if (KeepingToPreview(job.ctx)) {
      // The preview listed the site, not each of its files: all of them go, through an eraser
      // that keeps to no list (what they measured is counted already).
      CarryingEraser whole;
      ScopedEraser scope(whole);
      for (const std::string& path : site.second) DeleteFoldersMatching(path);
      continue;
    }
    for (size_t i = 0; i < site.second.size(); ++i) {
      DeleteFoldersMatching(site.second[i]);
      job.ctx.filesize += sizes[i] - FolderSize(site.second[i]);
    }
  }
}

namespace {

// The sub-folders of a store whose names tell their site; siteOf gives "" for the folders of
// anything but a web site (an extension's, the browser's own), which are never touched.
std::vector<SiteFolder> SiteFoldersOf(const std::string& store, std::string (*siteOf)(const std::string&)) {
  std::vector<SiteFolder> found;
  ForEachEntry(store, [&](const ListedEntry& e) {
    if (!IsFolder(e) || !Listed(e)) return true;
    const std::string site = siteOf(e.name);
    if (!site.empty()) found.push_back({site, store + "\\" + e.name});
    return true;
  });
  return found;
}

// Chromium: "https_example.com_0.indexeddb.leveldb" (and ".indexeddb.blob") -> "example.com".
std::string ChromiumIndexedDbSite(const std::string& name) {
  const size_t end = name.find(".indexeddb.");
  return end == std::string::npos ? "" : OriginIdentifierSite(name.substr(0, end));
}

// Firefox: "https+++example.com+8080^userContextId=1" -> "example.com".
std::string FirefoxOriginFolderSite(const std::string& name) {
  const std::string origin = name.substr(0, name.find('^'));
  const size_t sep = origin.find("+++");
  if (sep == std::string::npos || !WebScheme(origin.substr(0, sep))) return "";
  return SiteOf(origin.substr(sep + 3, origin.find('+', sep + 3) - (sep + 3)));
}

// Firefox's local storage key of an origin: "moc.elpmaxe.:https:443" -> "example.com".
std::string FirefoxOriginKeyHost(const std::string& key) {
  std::string reversed = key.substr(0, key.find(':'));
  return std::string(reversed.rbegin(), reversed.rend());
}

// A permission's origin, without the attributes Firefox appends: "https://a.com^userContextId=1".
std::string FirefoxPermissionHost(const std::string& origin) { return origin.substr(0, origin.find('^')); }

// Storage buckets (today's Chromium): each a folder "WebStorage\<id>", the bookkeeping in
// "WebStorage\QuotaManager", table buckets with the site in host.
void CleanStorageBuckets(BrowserJob& job, const BrowserProfile& p) {
  const std::string store = p.folder + "\\WebStorage";
  const std::string quota = store + "\\QuotaManager";
  std::vector<SiteFolder> folders;
  {
    SqliteDb db;
    const SqliteDb::Opened opened = db.Open(quota, true);
    if (opened == SqliteDb::Opened::Missing) return;
    if (opened != SqliteDb::Opened::Ok || !db.HasTable("buckets") || !db.HasColumn("buckets", "host")) {
      ChangeDatabase(job, p, quota, {{"buckets", "", "", true}});  // says why, changes nothing
      return;
    }
    for (const auto& bucket : db.TextCounts("SELECT host, id FROM buckets")) {
      const std::string site = SiteOf(bucket.first);
      const std::string folder = store + "\\" + std::to_string(bucket.second);
      if (!site.empty() && AttributesOf(folder) != INVALID_FILE_ATTRIBUTES) folders.push_back({site, folder});
    }
  }
  EraseSiteFolders(job, store, folders);
  CleanSiteRows(job, p, quota, "buckets", "host");
}

// Firefox's list of service workers, serviceworker.txt: a version line, then one block per
// registration ended by a line "#", its scope on the block's second line. The blocks of erased
// sites go; a file of another layout is left as it is.
void CleanFirefoxWorkerList(BrowserJob& job, const BrowserProfile& p) {
  const std::string path = p.folder + "\\serviceworker.txt";
  std::string text;
  if (AttributesOf(path) == INVALID_FILE_ATTRIBUTES || !ReadWholeFile(path, text)) return;
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    at = end + 1;
  }
  struct Block {
    size_t first, last;  // its lines, "#" included
    std::string site;
  };
  std::vector<Block> blocks;
  bool known = !lines.empty() && !lines[0].empty() && lines[0].find_first_not_of("0123456789") == std::string::npos;
  for (size_t i = 1; known && i < lines.size();) {
    size_t end = i;
    while (end < lines.size() && lines[end] != "#") ++end;
    if (end == lines.size()) {
      known = lines[i].empty() && i + 1 == lines.size();  // only the file's last line break may follow
      break;
    }
    const std::string site = end - i >= 2 && lines[i + 1].find("://") != std::string::npos ? SiteOf(lines[i + 1]) : "";
    if (site.empty()) known = false;
    blocks.push_back({i, end, site});
    i = end + 1;
  }
  if (!known) {
    job.Note(p, "serviceworker.txt is of a layout Tracksweep does not know: left alone");
    return;
  }
  std::map<std::string, unsigned> count;
  for (const Block& b : blocks) ++count[b.site];
  std::set<std::string> gone;
  for (const auto& site : count) {
    const std::string target = path + ": site data of " + site.first;
    if (job.keptSites.Keeps(site.first)) {
      if (job.ctx.preview) PreviewKept(job.ctx, target, "site keep list");
      continue;
    }
    if (!Previewing(job.ctx, target, 0, std::to_string(site.second) + " registrations")) gone.insert(site.first);
  }
  if (gone.empty()) return;
  std::string kept = lines[0] + "\n";
  for (const Block& b : blocks)
    if (!gone.count(b.site))
      for (size_t i = b.first; i <= b.last; ++i) kept += lines[i] + "\n";
  // The new list beside the old one; the old one is erased as any file (overwritten first when
  // secure erasing is on), then the new one takes its name.
  const std::string fresh = path + ".tsw-new";
  {
    FileHandle out(fresh, GENERIC_WRITE, 0, CREATE_ALWAYS);
    DWORD written = 0;
    if (!out.ok() || !WriteFile(out.get(), kept.data(), static_cast<DWORD>(kept.size()), &written, nullptr) ||
        written != kept.size()) {
      DeleteFileW(WidePath(fresh).c_str());
      job.Note(p, "serviceworker.txt could not be changed: left as it was");
      return;
    }
  }
  CarryingEraser whole;
  ScopedEraser scope(whole);
  if (DeleteOneFile(path) <= 0 && AttributesOf(path) != INVALID_FILE_ATTRIBUTES) {
    DeleteFileW(WidePath(fresh).c_str());
    job.Note(p, "serviceworker.txt could not be changed: left as it was");
    return;
  }
  MoveFileW(WidePath(fresh).c_str(), WidePath(path).c_str());
}

// The tokens of the compression dictionaries sites gave (all, or only of the sites the keep
// list does not keep), as the dictionaries' cache names their bodies: the token's two halves
// in hexadecimal, "%016X%016X".
std::set<std::string> DictionaryTokens(BrowserJob& job, const std::string& path, bool unkeptOnly) {
  std::set<std::string> tokens;
  SqliteDb db;
  if (db.Open(path, true) != SqliteDb::Opened::Ok || !db.HasColumn("dictionaries", "token_high") || !db.HasColumn("dictionaries", "token_low"))
    return tokens;
  for (const std::string& row : db.Texts("SELECT printf('%016X%016X', token_high, token_low) || host FROM dictionaries"))
    if (row.size() > 32 && (!unkeptOnly || !job.keptSites.Keeps(SiteOf(row.substr(32))))) tokens.insert(row.substr(0, 32));
  return tokens;
}

// Compression dictionaries sites gave: a row each in "Shared Dictionary\db", and the body in the
// cache beside it under the row's token. A body goes once no row names it.
void CleanSharedDictionaries(BrowserJob& job, const BrowserProfile& p) {
  const std::string db = p.folder + "\\Shared Dictionary\\db", cache = p.folder + "\\Shared Dictionary\\cache";
  std::set<std::string> bodies = DictionaryTokens(job, db, true);
  CleanSiteRows(job, p, db, "dictionaries", "host");
  if (!job.ctx.preview)
    for (const std::string& token : DictionaryTokens(job, db, false)) bodies.erase(token);
  if (FolderMayBeErased(cache)) EraseWholeFiles(job, SimpleCacheFiles(cache, bodies));
}

}  // namespace

void CleanChromiumSiteData(BrowserJob& job, const BrowserProfile& p) {
  if (!job.sitesReadable) return;
  EraseSiteFolders(job, p.folder + "\\IndexedDB", SiteFoldersOf(p.folder + "\\IndexedDB", ChromiumIndexedDbSite));
  CleanStorageBuckets(job, p);
  CleanChromiumLevelStores(job, p);
  CleanSharedDictionaries(job, p);
  CleanChromiumFileSystems(job, p);
}

void CleanFirefoxSiteData(BrowserJob& job, const BrowserProfile& p) {
  if (!job.sitesReadable) return;
  for (const char* kind : {"default", "temporary"}) {
    const std::string store = p.folder + "\\storage\\" + kind;
    EraseSiteFolders(job, store, SiteFoldersOf(store, FirefoxOriginFolderSite));
  }
  // Local storage of the versions before the folders, and the archive Firefox restores it from.
  CleanSiteRows(job, p, p.folder + "\\webappsstore.sqlite", "webappsstore2", "originKey", "", FirefoxOriginKeyHost);
  CleanSiteRows(job, p, p.folder + "\\storage\\ls-archive.sqlite", "webappsstore2", "originKey", "", FirefoxOriginKeyHost);
  // Storage a site was granted on its own (the storage access API, a third party's storage);
  // never a permission the user set.
  CleanSiteRows(job, p, p.folder + "\\permissions.sqlite", "moz_perms", "origin",
                "type = 'storageAccessAPI' OR type LIKE '3rdPartyStorage^%' OR type LIKE '3rdPartyFrameStorage^%'",
                FirefoxPermissionHost);
  // What the storage's bookkeeping holds of each origin, and the registrations of its workers.
  CleanSiteRows(job, p, p.folder + "\\storage.sqlite", "origin", "origin", "", FirefoxPermissionHost);
  CleanFirefoxWorkerList(job, p);
}
