// Chromium's LevelDB stores, key by key through the library: what sites keep in Local Storage,
// Session Storage and the service workers' database, and the download records of
// shared_proto_db. A store is changed only by rewriting it without the keys that go, so that
// nothing of them stays readable in its files.
#include <map>
#include <set>

#include "access/FolderGuard.h"
#include "access/LevelDb.h"
#include "access/Listing.h"
#include "access/Normal.h"
#include "access/Sha1.h"
#include "engine/BrowserFamily.h"
#include "engine/Preview.h"
#include "keeplists/ListFile.h"

namespace {

// The site of an origin as Chromium writes it ("https://example.com:8443/" -> "example.com");
// "" for anything but a web site's (an extension's, the browser's own).
std::string WebSite(const std::string& origin) {
  const size_t scheme = origin.find("://");
  return scheme != std::string::npos && WebScheme(origin.substr(0, scheme)) ? SiteOf(origin) : "";
}

// What a store's keys are to a step: the group a key belongs to (a site, or one name for all
// records of a kind), "" for the store's own bookkeeping, which always stays. See() is shown
// every key first, for stores where one key tells another's site.
class KeyGroups {
 public:
  virtual ~KeyGroups() = default;
  virtual void See(const std::string& key, const std::string& value) { (void)key, (void)value; }
  virtual std::string GroupOf(const std::string& key, const std::string& value) const = 0;
  // How a preview names a group's entry, after "<store>: ".
  virtual std::string Label(const std::string& group) const { return "keys of " + group; }
  // Whether the site keep list decides for the groups.
  virtual bool BySite() const { return true; }
};

// Local Storage: "_<origin>\0<key>" holds a value, "META:<origin>" and "METAACCESS:<origin>"
// what the browser knows of it; "VERSION" is the store's own.
class LocalStorageKeys : public KeyGroups {
 public:
  std::string GroupOf(const std::string& key, const std::string&) const override {
    if (!key.empty() && key[0] == '_') return WebSite(key.substr(1, key.find('\0') - 1));
    for (const std::string meta : {"META:", "METAACCESS:"})
      if (key.compare(0, meta.size(), meta) == 0) return WebSite(key.substr(meta.size()));
    return "";
  }
};

// Session Storage: "namespace-<tab>-<origin>/" names the map that holds an origin's values in a
// tab, "map-<map>-<key>" is a value of that map; "version" and "next-map-id" are its own.
class SessionStorageKeys : public KeyGroups {
 public:
  void See(const std::string& key, const std::string& value) override {
    const std::string site = NamespaceSite(key);
    if (!site.empty()) maps_[value].insert(site);
  }
  std::string GroupOf(const std::string& key, const std::string&) const override {
    if (key.compare(0, 10, "namespace-") == 0) return NamespaceSite(key);
    if (key.compare(0, 4, "map-") != 0) return "";
    auto it = maps_.find(key.substr(4, key.find('-', 4) - 4));
    // A map that tabs of two sites share is neither's alone: it stays.
    return it != maps_.end() && it->second.size() == 1 ? *it->second.begin() : "";
  }

 private:
  static std::string NamespaceSite(const std::string& key) {
    if (key.compare(0, 10, "namespace-") != 0) return "";
    // The tab's id holds no "-" (its GUID is written with "_"): the origin follows the next one.
    const size_t dash = key.find('-', 10);
    return dash == std::string::npos ? "" : WebSite(key.substr(dash + 1));
  }
  std::map<std::string, std::set<std::string>> maps_;
};

// The first text field numbered `field` at the top of a protocol-buffer record, or "".
std::string ProtoText(const std::string& record, unsigned field) {
  size_t at = 0;
  auto varint = [&](unsigned long long& v) {
    v = 0;
    for (int shift = 0; at < record.size() && shift < 64; shift += 7) {
      const unsigned char b = static_cast<unsigned char>(record[at++]);
      v |= static_cast<unsigned long long>(b & 0x7F) << shift;
      if (!(b & 0x80)) return true;
    }
    return false;
  };
  unsigned long long tag = 0, n = 0;
  while (at < record.size() && varint(tag)) {
    switch (tag & 7) {
      case 0:
        if (!varint(n)) return "";
        break;
      case 1: at += 8; break;
      case 5: at += 4; break;
      case 2:
        if (!varint(n) || n > record.size() - at) return "";
        if ((tag >> 3) == field) return record.substr(at, static_cast<size_t>(n));
        at += static_cast<size_t>(n);
        break;
      default: return "";
    }
  }
  return "";
}

// The service workers' database: "REG:<origin>/\0<id>" a registration, "REGID_TO_ORIGIN:<id>"
// its origin, "INITDATA_UNIQUE_ORIGIN:<origin>/" an origin with one, "RES:<version>\0<id>" a
// script it loaded (the script's address is the record's second field), "REG_USER_DATA:<id>\0"
// and "REG_HAS_USER_DATA:<name>\0<id>" what the site stored with it. The rest is the store's own.
class ServiceWorkerKeys : public KeyGroups {
 public:
  void See(const std::string& key, const std::string& value) override {
    if (key.compare(0, 16, "REGID_TO_ORIGIN:") == 0) registrations_[key.substr(16)] = WebSite(value);
    const std::string site = GroupOf(key, value);
    if (!site.empty()) origins_.insert(OriginOf(key, value));
    if (!site.empty() && key.compare(0, 4, "RES:") == 0 && key.find('\0') != std::string::npos)
      scripts_[site].insert(key.substr(key.find('\0') + 1));
  }
  // The resource ids of a site's scripts: their keys in the script cache.
  std::set<std::string> Scripts(const std::string& site) const {
    auto it = scripts_.find(site);
    return it == scripts_.end() ? std::set<std::string>() : it->second;
  }
  std::string GroupOf(const std::string& key, const std::string& value) const override {
    if (key.compare(0, 4, "REG:") == 0 || key.compare(0, 23, "INITDATA_UNIQUE_ORIGIN:") == 0 ||
        key.compare(0, 4, "RES:") == 0 || key.compare(0, 16, "REGID_TO_ORIGIN:") == 0)
      return WebSite(OriginOf(key, value));
    std::string id;
    if (key.compare(0, 14, "REG_USER_DATA:") == 0) id = key.substr(14, key.find('\0') - 14);
    else if (key.compare(0, 18, "REG_HAS_USER_DATA:") == 0 && key.find('\0') != std::string::npos)
      id = key.substr(key.find('\0') + 1);
    auto it = registrations_.find(id);
    return it == registrations_.end() ? "" : it->second;
  }
  // Every origin with a registration, as a URL: "http://127.0.0.1:8765/".
  const std::set<std::string>& Origins() const { return origins_; }

 private:
  static std::string OriginOf(const std::string& key, const std::string& value) {
    if (key.compare(0, 4, "REG:") == 0) return key.substr(4, key.find('\0') - 4);
    if (key.compare(0, 23, "INITDATA_UNIQUE_ORIGIN:") == 0) return key.substr(23);
    if (key.compare(0, 16, "REGID_TO_ORIGIN:") == 0) return value;
    if (key.compare(0, 4, "RES:") == 0) return ProtoText(value, 2);
    return "";
  }
  std::map<std::string, std::string> registrations_;  // registration id -> site
  std::set<std::string> origins_;
  std::map<std::string, std::set<std::string>> scripts_;
};

// shared_proto_db holds records of several features; "21_download,<guid>" are the downloads'.
class DownloadRecordKeys : public KeyGroups {
 public:
  std::string GroupOf(const std::string& key, const std::string&) const override {
    return key.compare(0, 12, "21_download,") == 0 ? "download records" : "";
  }
  std::string Label(const std::string& group) const override { return group; }
  bool BySite() const override { return false; }
};

// The file systems of sites ("File System"): "Origins" maps "ORIGIN:<identifier>" (as
// "https_example.com_0") to the number of the origin's folder ("000"); "LAST_PATH" is its own.
class FileSystemOriginKeys : public KeyGroups {
 public:
  std::string GroupOf(const std::string& key, const std::string& value) const override {
    return key.compare(0, 7, "ORIGIN:") == 0 && IsFolderNumber(value) ? OriginIdentifierSite(key.substr(7)) : "";
  }
  void See(const std::string& key, const std::string& value) override {
    const std::string site = GroupOf(key, value);
    if (!site.empty()) folders_.push_back({site, value});
  }
  // Each site's folder number, as the store named them.
  const std::vector<SiteFolder>& Folders() const { return folders_; }
  static bool IsFolderNumber(const std::string& name) {
    return !name.empty() && name.size() <= 10 && name.find_first_not_of("0123456789") == std::string::npos;
  }

 private:
  std::vector<SiteFolder> folders_;
};

std::string FolderName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// Reads the store and lists (preview) or takes (run) the keys of every group that goes: with
// the site keep list, every site it does not keep. One entry per group: "<store>: keys of
// <site> (N rows)". Returns the groups that went, or would go in a preview.
std::set<std::string> ChangeLevelStore(BrowserJob& job, const BrowserProfile& p, const std::string& folder, KeyGroups& groups) {
  std::set<std::string> gone;
  if (!LevelStore::Exists(folder) || !FolderMayBeErased(folder)) return gone;
  const bool preview = job.ctx.preview != nullptr;
  // Named as below the profile ("Local Storage\\leveldb"), as a user finds it.
  const std::string name = IsSameOrInside(folder, p.folder) && folder.size() > p.folder.size() + 1 ? folder.substr(p.folder.size() + 1) : FolderName(folder);
  LevelStore store;
  switch (store.Open(folder, preview)) {
    case LevelStore::Opened::Ok: break;
    case LevelStore::Opened::Missing: return gone;
    case LevelStore::Opened::Busy:
      job.Note(p, name + " is locked by another program: left alone");
      return gone;
    case LevelStore::Opened::Unreadable:
      job.Note(p, name + " is not a store Tracksweep can read (" + store.Error() + "): left alone");
      return gone;
  }
  std::map<std::string, unsigned long long> goes, stays;
  const bool read = store.ForEach([&](const std::string& key, const std::string& value) {
    groups.See(key, value);
    return true;
  }) && store.ForEach([&](const std::string& key, const std::string& value) {
    const std::string group = groups.GroupOf(key, value);
    if (!group.empty()) ++(groups.BySite() && job.keptSites.Keeps(group) ? stays : goes)[group];
    return true;
  });
  if (!read) {
    job.Note(p, name + " could not be read (" + store.Error() + "): left alone");
    return gone;
  }
  const std::string prefix = folder + ": ";
  if (preview) {
    for (const auto& g : stays)
      PreviewKept(job.ctx, prefix + groups.Label(g.first) + " (" + std::to_string(g.second) + " rows)", "site keep list");
    for (const auto& g : goes) {
      job.ctx.preview->entries.push_back(RowsEntry(prefix + groups.Label(g.first), g.second));
      gone.insert(g.first);
    }
    return gone;
  }
  // Keeping to a preview: a group's keys go only when its entry is ticked and no more of them
  // would go than the preview counted.
  CarryingEraser* carrying = KeepingToPreview(job.ctx);
  for (const auto& g : goes) {
    const unsigned long long n = g.second;
    if (!carrying ||
        carrying->MayCarryOut("rows", prefix + groups.Label(g.first), [n](const PreviewEntry& listed) { return n <= listed.count; }))
      gone.insert(g.first);
  }
  if (gone.empty()) return gone;
  const double before = FolderSize(folder);
  size_t erased = 0;
  if (!store.Rewrite([&](const std::string& key, const std::string& value) { return gone.count(groups.GroupOf(key, value)) == 0; },
                     &erased)) {
    job.Note(p, name + " could not be changed (" + store.Error() + "): left as it was");
    gone.clear();
    return gone;
  }
  if (!store.Error().empty()) job.Note(p, name + ": " + store.Error());
  if (carrying && erased) carrying->outcomes.push_back({"rows", prefix + std::to_string(erased) + " keys", ""});
  const double after = FolderSize(folder);
  if (before > after) (carrying ? carrying->bytes : job.ctx.filesize) += before - after;
  return gone;
}

// How Chromium names an origin's folders: "https://example.com/" -> "https_example.com_0"
// (0 for the scheme's own port).
std::string OriginIdentifier(const std::string& origin) {
  const size_t scheme = origin.find("://");
  if (scheme == std::string::npos) return "";
  std::string hostPort = origin.substr(scheme + 3);
  hostPort = hostPort.substr(0, hostPort.find('/'));
  const size_t colon = hostPort.rfind(':');
  const bool port = colon != std::string::npos && hostPort.find(']', colon) == std::string::npos;
  return LowerText(origin.substr(0, scheme)) + "_" + (port ? hostPort.substr(0, colon) : hostPort) + "_" +
         (port ? hostPort.substr(colon + 1) : "0");
}

// Cache Storage: a folder per origin named by a hash, whose index.txt (a protocol-buffer record
// of its caches) names the origin in its second field and the storage key in its third
// ("http://localhost:8765/", or "<origin>^<partition>" for a site framed in another). A folder
// without one is a registered origin's when its name is the SHA-1 of that origin's identifier;
// one that names no site is left alone and said.
std::vector<SiteFolder> CacheStorageFolders(BrowserJob& job, const BrowserProfile& p, const std::string& store,
                                            const std::set<std::string>& registered) {
  std::map<std::string, std::string> byHash;
  for (const std::string& origin : registered) byHash[Sha1Hex(OriginIdentifier(origin))] = origin;
  std::vector<SiteFolder> found;
  std::vector<std::string> unknown;
  ForEachEntry(store, [&](const ListedEntry& e) {
    if (!IsFolder(e) || !Listed(e)) return true;
    const std::string folder = store + "\\" + e.name;
    std::string index, origin;
    if (AttributesOf(folder + "\\index.txt") != INVALID_FILE_ATTRIBUTES && ReadWholeFile(folder + "\\index.txt", index)) {
      origin = ProtoText(index, 2);
      if (origin.empty()) origin = ProtoText(index, 3).substr(0, ProtoText(index, 3).find('^'));
    }
    auto it = byHash.find(LowerText(e.name));
    if (origin.empty() && it != byHash.end()) origin = it->second;
    const size_t scheme = origin.find("://");
    if (!origin.empty() && scheme != std::string::npos && !WebScheme(origin.substr(0, scheme))) return true;  // an extension's own
    const std::string site = WebSite(origin);
    if (site.empty()) unknown.push_back(e.name);
    else found.push_back({site, folder});
    return true;
  });
  for (const std::string& name : unknown)
    job.Note(p, "Service Worker\\CacheStorage\\" + name + " names no site Tracksweep can read: left alone");
  return found;
}

}  // namespace

void CleanChromiumLevelStores(BrowserJob& job, const BrowserProfile& p) {
  LocalStorageKeys local;
  ChangeLevelStore(job, p, p.folder + "\\Local Storage\\leveldb", local);
  SessionStorageKeys session;
  ChangeLevelStore(job, p, p.folder + "\\Session Storage", session);
  // The workers: their registrations, then the Cache Storage of every erased site, with a
  // worker or not. Their scripts share one cache: it is emptied only when no worker is left.
  const std::string workers = p.folder + "\\Service Worker";
  ServiceWorkerKeys registered;
  const std::set<std::string> gone = ChangeLevelStore(job, p, workers + "\\Database", registered);
  EraseSiteFolders(job, workers + "\\CacheStorage", CacheStorageFolders(job, p, workers + "\\CacheStorage", registered.Origins()));
  std::set<std::string> left;
  for (const std::string& origin : registered.Origins())
    if (!gone.count(WebSite(origin))) left.insert(WebSite(origin));
  if (!gone.empty() && left.empty()) {
    EmptyFilesBelow(job, workers + "\\ScriptCache");
  } else if (!gone.empty()) {
    // Kept sites' workers share the cache: only the erased sites' scripts go, found by the key
    // each entry holds (its resource id).
    std::set<std::string> scripts;
    for (const std::string& site : gone)
      for (const std::string& id : registered.Scripts(site)) scripts.insert(id);
    EraseWholeFiles(job, SimpleCacheFiles(workers + "\\ScriptCache", scripts));
  }
}

void CleanChromiumDownloadRecords(BrowserJob& job, const BrowserProfile& p) {
  DownloadRecordKeys downloads;
  ChangeLevelStore(job, p, p.folder + "\\shared_proto_db", downloads);
}

void CleanChromiumFileSystems(BrowserJob& job, const BrowserProfile& p) {
  // The key goes first: a folder whose key is gone is one Chromium drops itself, while a key
  // whose folder is gone only gets an empty one again.
  const std::string store = p.folder + "\\File System";
  if (!LevelStore::Exists(store + "\\Origins")) {
    // Folders without the store that names their origins belong to no site that can be told.
    bool any = false;
    ForEachEntry(store, [&](const ListedEntry&) { return !(any = true); });
    if (any) job.Note(p, "File System holds no Origins store: left alone");
    return;
  }
  FileSystemOriginKeys origins;
  const std::set<std::string> gone = ChangeLevelStore(job, p, store + "\\Origins", origins);
  std::vector<SiteFolder> folders;
  for (const SiteFolder& f : origins.Folders())
    if (gone.count(f.site) && AttributesOf(store + "\\" + f.path) != INVALID_FILE_ATTRIBUTES) folders.push_back({f.site, store + "\\" + f.path});
  EraseSiteFolders(job, store, folders);
}
