// Every store where a visited site remains, built with the tables real profiles of today's
// Chromium and Firefox have (their schemas are carried as test data and read from C:\tsw-data),
// and LevelDB stores written by the library itself.
#include <windows.h>

#include <leveldb/db.h>

#include <algorithm>
#include <map>
#include <memory>

#include "access/LevelDb.h"
#include "access/Sha1.h"
#include "engine/Preview.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"
#include "keeplists/SiteKeepList.h"
#include "tests/BrowserFixture.h"

namespace {

// The SQL a real profile's database was made with: its section of a schemas file, e.g.
// Schema("chromium", "Default/Favicons").
std::string Schema(const std::string& browser, const std::string& database) {
  const std::string text = ReadFileText("C:\\tsw-data\\" + browser + "-schemas.sql");
  const std::string head = "-- " + database + "\n";
  size_t at = text.find(head);
  EXPECT_NE(std::string::npos, at) << database << " is not among the real schemas";
  if (at == std::string::npos) return "";
  at += head.size();
  const size_t end = text.find("\n-- ", at);
  const std::string sql = text.substr(at, end == std::string::npos ? std::string::npos : end - at + 1);
  // Tables SQLite makes itself (sqlite_sequence, sqlite_stat1) come with the first use.
  std::string made;
  for (size_t from = 0; from < sql.size();) {
    const size_t eol = sql.find('\n', from);
    const std::string line = sql.substr(from, eol == std::string::npos ? std::string::npos : eol - from + 1);
    if (line.compare(0, 20, "CREATE TABLE sqlite_") != 0) made += line;
    from = eol == std::string::npos ? sql.size() : eol + 1;
  }
  return made;
}

// A LevelDB store written by the library, as the browser writes it.
void MakeLevelStore(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& entries) {
  for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
    CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
  leveldb::Options options;
  options.create_if_missing = true;
  leveldb::DB* raw = nullptr;
  ASSERT_TRUE(leveldb::DB::Open(options, folder, &raw).ok()) << folder;
  std::unique_ptr<leveldb::DB> db(raw);
  for (const auto& e : entries) ASSERT_TRUE(db->Put(leveldb::WriteOptions(), e.first, e.second).ok());
}

std::vector<std::string> LevelKeys(const std::string& folder) {
  LevelStore store;
  EXPECT_EQ(LevelStore::Opened::Ok, store.Open(folder, true)) << folder;
  std::vector<std::string> keys;
  store.ForEach([&](const std::string& key, const std::string&) {
    keys.push_back(key);
    return true;
  });
  return keys;
}

// Every file below the folder, by its path relative to the folder, with its bytes.
std::map<std::string, std::string> FilesBelow(const std::string& folder) {
  std::map<std::string, std::string> files;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return files;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      for (const auto& inner : FilesBelow(folder + "\\" + name)) files[name + "\\" + inner.first] = inner.second;
    } else {
      files[name] = ReadFileText(folder + "\\" + name);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return files;
}

// Whether any file below the folder holds the text, as bytes.
bool AnyFileHolds(const std::string& folder, const std::string& text) {
  for (const auto& file : FilesBelow(folder))
    if (file.second.find(text) != std::string::npos) return true;
  return false;
}

// Chromium's keys: a Local Storage value of an origin, a service worker's registration, and the
// record of a script it loaded (the script's address in the record's second field).
std::string LocalKey(const std::string& origin) { return "_" + origin + std::string(1, '\0') + "\x01k"; }
std::string Registration(const std::string& origin, const std::string& id) { return "REG:" + origin + std::string(1, '\0') + id; }
std::string Resource(const std::string& version, const std::string& url) {
  return "\x08" + version + "\x12" + std::string(1, static_cast<char>(url.size())) + url + "\x18\x01";
}

// A Cache Storage folder's index.txt as today's Chromium writes it: a cache (its name and
// folder), the origin (field 2, left out when empty), the storage key (3), the bucket (4, 5).
std::string CacheIndex(const std::string& origin, const std::string& storageKey) {
  auto text = [](char tag, const std::string& s) { return std::string(1, tag) + static_cast<char>(s.size()) + s; };
  const std::string cache = text('\x0a', "tswcache") + text('\x12', "9a0ba8cc-436b-4d89-947f-00de4c5c779b") + "\x18\x80\x06\x28\x00\x30\x03";
  return text('\x0a', cache) + (origin.empty() ? "" : text('\x12', origin)) + text('\x1a', storageKey) + "\x20\x02\x28\x01";
}

// An entry file of a disk cache in Chromium's simple format: its header (magic number, version,
// the key's length, a hash, padding) then the key, then the body.
std::string SimpleCacheEntry(const std::string& key, const std::string& body) {
  std::string head("\x30\x5c\x72\xa7\x1b\x6d\xfb\xfc\x05\0\0\0", 12);
  head += static_cast<char>(key.size());
  head += std::string(11, '\0');
  return head + key + body;
}

std::string Bookmarks(const std::string& url) {
  return "{\"roots\":{\"bookmark_bar\":{\"children\":[{\"type\":\"url\",\"url\":\"" + url +
         "\"}],\"type\":\"folder\"},\"other\":{\"children\":[],\"type\":\"folder\"}},\"version\":1}";
}

bool Said(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Every file of a folder with its bytes, to tell that a kept site's data stayed to the byte.
std::vector<std::string> Contents(const std::string& folder) {
  std::vector<std::string> all;
  for (const auto& file : FilesBelow(folder)) all.push_back(file.first + "=" + file.second);
  return all;
}

class BrowserStoreTest : public BrowserTest {
 protected:
  std::string d = chrome + "\\Default";
  void SetUp() override {
    BrowserTest::SetUp();
    MakeFile(chrome + "\\Local State", "{}");
    MakeFile(d + "\\Preferences", "{}");
    MakeFile(d + "\\Bookmarks", Bookmarks("https://bookmarked.example/"));
    MakeFile(firefox + "\\profiles.ini", "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/abc.default-release\r\n");
    CreateDirectoryA((firefox + "\\Profiles").c_str(), nullptr);
    CreateDirectoryA(ffProfile.c_str(), nullptr);
  }
};

}  // namespace

TEST_F(BrowserStoreTest, ChromiumHistoryTakesThePagesIconsBouncesAndMeasuredAddressesOfErasedPagesOnly) {
  MakeDb(d + "\\History", Schema("chromium", "Default/History") +
                              "INSERT INTO urls(id,url,title,visit_count,typed_count,last_visit_time,hidden) VALUES"
                              "(1,'https://bookmarked.example/','B',1,0,1,0),(2,'https://secret.example/?q=salary','S',1,0,1,0);"
                              "INSERT INTO journeys VALUES('j','Salary research','',NULL,NULL,1);");
  MakeDb(d + "\\Favicons", Schema("chromium", "Default/Favicons") +
                               "INSERT INTO favicons VALUES(1,'https://bookmarked.example/b.ico',1),(2,'https://secret.example/s.ico',1),"
                               "(3,'https://cdn.example/shared.ico',1);"
                               "INSERT INTO favicon_bitmaps(id,icon_id,image_data) VALUES(1,1,x'01'),(2,2,x'02'),(3,3,x'03');"
                               "INSERT INTO icon_mapping(id,page_url,icon_id) VALUES(1,'https://bookmarked.example/',1),"
                               "(2,'https://secret.example/?q=salary',2),(3,'https://bookmarked.example/',3),(4,'https://secret.example/?q=salary',3);");
  MakeDb(d + "\\DIPS", Schema("chromium", "Default/DIPS") +
                           "INSERT INTO bounces(site) VALUES('secret.example');"
                           "INSERT INTO popups(opener_site,popup_site) VALUES('secret.example','login.example');");
  const std::string ukm = chrome + "\\segmentation_platform\\ukm_db";
  MakeDb(ukm, Schema("chromium", "segmentation_platform/ukm_db") +
                  "INSERT INTO urls VALUES(7,'https://bookmarked.example/',1,1,'B',''),(8,'https://secret.example/?q=salary',1,1,'S','');"
                  "INSERT INTO metrics VALUES(1,1,1,7,1,'a','b',1),(2,1,2,8,1,'a','b',1);");
  Tick("Google Chrome", {"History"});
  Run();
  EXPECT_EQ((std::vector<std::string>{"https://bookmarked.example/", "https://bookmarked.example/"}),
            Column(d + "\\Favicons", "SELECT page_url FROM icon_mapping ORDER BY id"));
  // The shared icon stays with the bookmarked page; the one only the erased page used goes.
  EXPECT_EQ((std::vector<std::string>{"1", "3"}), Column(d + "\\Favicons", "SELECT id FROM favicons ORDER BY id"));
  EXPECT_EQ((std::vector<std::string>{"1", "3"}), Column(d + "\\Favicons", "SELECT icon_id FROM favicon_bitmaps ORDER BY id"));
  EXPECT_EQ(0, Number(d + "\\DIPS", "SELECT count(*) FROM bounces") + Number(d + "\\DIPS", "SELECT count(*) FROM popups"));
  EXPECT_EQ(0, Number(d + "\\History", "SELECT count(*) FROM journeys"));
  EXPECT_EQ((std::vector<std::string>{"https://bookmarked.example/"}), Column(ukm, "SELECT url FROM urls"));
  EXPECT_EQ((std::vector<std::string>{"7"}), Column(ukm, "SELECT url_id FROM metrics"));
}

TEST_F(BrowserStoreTest, BookmarksAreSparedWhicheverFileHoldsThem) {
  // A signed-in profile's account bookmarks, and the backup while the main file is missing.
  DeleteFileA((d + "\\Bookmarks").c_str());
  MakeFile(d + "\\Bookmarks.bak", Bookmarks("https://backup.example/"));
  MakeFile(d + "\\AccountBookmarks", Bookmarks("https://account.example/"));
  MakeDb(d + "\\History", Schema("chromium", "Default/History") +
                              "INSERT INTO urls(id,url,title,last_visit_time) VALUES(1,'https://backup.example/','',1),"
                              "(2,'https://account.example/','',1),(3,'https://gone.example/','',1);");
  Tick("Google Chrome", {"History"});
  Run();
  EXPECT_EQ((std::vector<std::string>{"https://backup.example/", "https://account.example/"}),
            Column(d + "\\History", "SELECT url FROM urls ORDER BY id"));
  // With the main file there, the backup is an old copy: its pages are no longer spared.
  MakeFile(d + "\\Bookmarks", Bookmarks("https://bookmarked.example/"));
  Run();
  EXPECT_EQ((std::vector<std::string>{"https://account.example/"}), Column(d + "\\History", "SELECT url FROM urls ORDER BY id"));
}

TEST_F(BrowserStoreTest, FirefoxHistoryTakesIconsBouncesInteractionsAndSyncExtrasAndThePreviewCountsAsTheRunErases) {
  MakeDb(ffProfile + "\\places.sqlite",
         Schema("firefox", "places.sqlite") +
             "INSERT INTO moz_places(id,url,guid,url_hash) VALUES(1,'https://bookmarked.example/','a',1),"
             "(2,'https://secret.example/','b',2),(3,'https://noted.example/','c',3),(4,'https://keyword.example/','d',4);"
             "INSERT INTO moz_historyvisits(id,place_id,visit_date,visit_type) VALUES(1,1,1,1),(2,2,1,1),(3,3,1,1),(4,4,1,1);"
             "INSERT INTO moz_bookmarks(id,type,fk,parent,guid) VALUES(1,2,NULL,0,'r'),(2,1,1,1,'m');"
             "INSERT INTO moz_anno_attributes VALUES(1,'some/note');INSERT INTO moz_annos(id,place_id,anno_attribute_id,content,dateAdded,"
             "lastModified) VALUES(1,3,1,'x',1,1);"
             "INSERT INTO moz_keywords(id,keyword,place_id,post_data) VALUES(1,'kw',4,NULL);"
             "INSERT INTO moz_places_extra VALUES(2,'{}'),(1,'{}');INSERT INTO moz_historyvisits_extra VALUES(2,'{}');");
  MakeDb(ffProfile + "\\favicons.sqlite",
         Schema("firefox", "favicons.sqlite") +
             "INSERT INTO moz_pages_w_icons VALUES(1,'https://bookmarked.example/',1),(2,'https://secret.example/',2);"
             "INSERT INTO moz_icons(id,icon_url,fixed_icon_url_hash,root) VALUES(1,'https://bookmarked.example/b.png',1,0),"
             "(2,'https://secret.example/s.png',2,0),(3,'https://secret.example/favicon.ico',3,1),(4,'https://bookmarked.example/favicon.ico',4,1);"
             "INSERT INTO moz_icons_to_pages(page_id,icon_id) VALUES(1,1),(2,2);");
  MakeDb(ffProfile + "\\bounce-tracking-protection.sqlite",
         Schema("firefox", "bounce-tracking-protection.sqlite") + "INSERT INTO sites VALUES('','secret.example',0,1);");
  MakeDb(ffProfile + "\\permissions.sqlite", Schema("firefox", "permissions.sqlite") +
                                                 "INSERT INTO moz_origin_interactions VALUES('https://secret.example',1);"
                                                 "INSERT INTO moz_perms(origin,type,permission) VALUES('https://secret.example','cookie',1);");
  Tick("Firefox", {"History"});
  CleanRun analyze(view, ticks, Settings());
  unsigned long long counted = 0;
  for (const PreviewItem& item : analyze.Analyze())
    for (const PreviewEntry& e : item.entries)
      if (e.target.find("places.sqlite: moz_places (") != std::string::npos) counted = e.count;
  Run();
  const std::string places = ffProfile + "\\places.sqlite";
  // Bookmarked, annotated and keyword pages stay; the preview counted only the one that went.
  EXPECT_EQ((std::vector<std::string>{"1", "3", "4"}), Column(places, "SELECT id FROM moz_places ORDER BY id"));
  EXPECT_EQ(1u, counted);
  EXPECT_EQ((std::vector<std::string>{"1"}), Column(places, "SELECT place_id FROM moz_places_extra"));
  EXPECT_EQ(0, Number(places, "SELECT count(*) FROM moz_historyvisits_extra"));
  const std::string icons = ffProfile + "\\favicons.sqlite";
  EXPECT_EQ((std::vector<std::string>{"https://bookmarked.example/"}), Column(icons, "SELECT page_url FROM moz_pages_w_icons"));
  // The site's root icon stays while a page of the site stays.
  EXPECT_EQ((std::vector<std::string>{"1", "4"}), Column(icons, "SELECT id FROM moz_icons ORDER BY id"));
  EXPECT_EQ(0, Number(ffProfile + "\\bounce-tracking-protection.sqlite", "SELECT count(*) FROM sites"));
  EXPECT_EQ(0, Number(ffProfile + "\\permissions.sqlite", "SELECT count(*) FROM moz_origin_interactions"));
  EXPECT_EQ(1, Number(ffProfile + "\\permissions.sqlite", "SELECT count(*) FROM moz_perms"));  // the user's own
}

TEST_F(BrowserStoreTest, SessionsEncryptedCopyAndDownloadRecordsGoWithTheirKinds) {
  MakeFile(d + "\\Sessions_Encrypted\\Session_13400000000000001", 300);
  MakeFile(d + "\\Sessions_Encrypted\\Tabs_13400000000000001", 300);
  MakeDb(d + "\\History", Schema("chromium", "Default/History"));
  MakeLevelStore(d + "\\shared_proto_db", {{"21_download,78c8a80e", "tswmarker-download https://secret.example/f.zip"},
                                           {"37_DEFAULT_1", "segments"},
                                           {"39_config", "config"}});
  // A real profile's shared_proto_db holds another store, "metadata", in a folder of its own.
  MakeLevelStore(d + "\\shared_proto_db\\metadata", {{"21_download,0", "the metadata store's own"}});
  const std::vector<std::string> metadata = Contents(d + "\\shared_proto_db\\metadata");
  Tick("Google Chrome", {"Session", "Download list"});
  Run();
  EXPECT_FALSE(FileExists(d + "\\Sessions_Encrypted\\Session_13400000000000001"));
  EXPECT_FALSE(FileExists(d + "\\Sessions_Encrypted\\Tabs_13400000000000001"));
  EXPECT_EQ((std::vector<std::string>{"37_DEFAULT_1", "39_config"}), LevelKeys(d + "\\shared_proto_db"));
  EXPECT_FALSE(AnyFileHolds(d + "\\shared_proto_db", "tswmarker-download"));
  EXPECT_EQ(metadata, Contents(d + "\\shared_proto_db\\metadata"));
  // The next download goes the same way, and nothing is left beside the store.
  MakeLevelStore(d + "\\shared_proto_db", {{"21_download,9f00aa11", "tswmarker-second https://secret.example/g.zip"}});
  Run();
  EXPECT_EQ((std::vector<std::string>{"37_DEFAULT_1", "39_config"}), LevelKeys(d + "\\shared_proto_db"));
  EXPECT_FALSE(AnyFileHolds(d + "\\shared_proto_db", "tswmarker-second"));
  EXPECT_EQ(metadata, Contents(d + "\\shared_proto_db\\metadata"));
  EXPECT_FALSE(FileExists(d + "\\shared_proto_db.tsw-old"));
  for (const std::string& line : view.lines) EXPECT_EQ(std::string::npos, line.find("shared_proto_db")) << line;
}

TEST_F(BrowserStoreTest, ChromiumSiteDataGoesSiteBySiteAndAKeptSitesStaysToTheByte) {
  WriteListFile(KeepSiteFile(), {"kept.example"});
  const std::string keptIdb = d + "\\IndexedDB\\https_kept.example_0.indexeddb.leveldb";
  const std::string goneIdb = d + "\\IndexedDB\\https_gone.example_0.indexeddb.leveldb";
  MakeFile(keptIdb + "\\000003.log", "tswmarker-idb-kept");
  MakeFile(goneIdb + "\\000003.log", "tswmarker-idb-gone");
  MakeFile(d + "\\IndexedDB\\chrome-extension_abcdef_0.indexeddb.leveldb\\000003.log", "an extension's own");
  MakeLevelStore(d + "\\Local Storage\\leveldb", {{"VERSION", "1"},
                                                  {LocalKey("https://kept.example"), "\x01tswmarker-local-kept"},
                                                  {LocalKey("https://gone.example"), "\x01tswmarker-local-gone"},
                                                  {"META:https://gone.example", "m"},
                                                  {"META:https://kept.example", "m"}});
  MakeLevelStore(d + "\\Session Storage", {{"version", "1"},
                                           {"namespace-ebbebaf7_160e-https://kept.example/", "0"},
                                           {"namespace-ebbebaf7_160e-https://gone.example/", "1"},
                                           {"map-0-k", "tswmarker-session-kept"},
                                           {"map-1-k", "tswmarker-session-gone"}});
  const std::string sw = d + "\\Service Worker";
  MakeLevelStore(sw + "\\Database", {{"INITDATA_DB_VERSION", "2"},
                                     {"INITDATA_UNIQUE_ORIGIN:https://kept.example/", ""},
                                     {"INITDATA_UNIQUE_ORIGIN:https://gone.example/", ""},
                                     {Registration("https://kept.example/", "0"), "reg"},
                                     {Registration("https://gone.example/", "1"), "reg tswmarker-sw-gone"},
                                     {"REGID_TO_ORIGIN:0", "https://kept.example/"},
                                     {"REGID_TO_ORIGIN:1", "https://gone.example/"},
                                     {"RES:0" + std::string(1, '\0') + "0", Resource(std::string(1, '\0'), "https://kept.example/sw.js")},
                                     {"RES:1" + std::string(1, '\0') + "3", Resource("\x03", "https://gone.example/sw.js")}});
  // Cache Storage: a folder named by the SHA-1 of the origin's identifier.
  const std::string keptCache = sw + "\\CacheStorage\\" + Sha1Hex("https_kept.example_0");
  const std::string goneCache = sw + "\\CacheStorage\\" + Sha1Hex("https_gone.example_0");
  MakeFile(keptCache + "\\index.txt", CacheIndex("https://kept.example/", "https://kept.example/"));
  MakeFile(goneCache + "\\index.txt", "tswmarker-cache-gone");  // unreadable: its name tells the registered origin
  // Caches of sites with no worker registered: found by what their index names.
  const std::string orphanCache = sw + "\\CacheStorage\\" + Sha1Hex("https_orphan.example_0");
  const std::string framedCache = sw + "\\CacheStorage\\0f1e2d3c4b5a69788796a5b4c3d2e1f00f1e2d3c";
  const std::string keptOrphan = sw + "\\CacheStorage\\" + Sha1Hex("https_kept.example_8443");
  const std::string strayCache = sw + "\\CacheStorage\\ffffffffffffffffffffffffffffffffffffffff";
  MakeFile(orphanCache + "\\index.txt", CacheIndex("https://orphan.example/", "https://orphan.example/"));
  MakeFile(orphanCache + "\\4ec5fa88-6eac-4d2d-9b3a-102c72fd8688\\541604799cb00424_0", "tswmarker-orphan");
  MakeFile(framedCache + "\\index.txt", CacheIndex("", "https://framed.example/^0https://top.example"));
  MakeFile(keptOrphan + "\\index.txt", CacheIndex("https://kept.example:8443/", "https://kept.example:8443/"));
  MakeFile(strayCache + "\\index", "no index.txt, and no registered origin's name");
  // The scripts' cache: an entry per resource, named by a hash of its id, which its header holds.
  MakeFile(sw + "\\ScriptCache\\2cc80dabc69f58b6_0", SimpleCacheEntry("0", "// the kept site's worker"));
  MakeFile(sw + "\\ScriptCache\\ba23d8ecda68de77_0", SimpleCacheEntry("3", "// tswmarker-script-gone"));
  MakeFile(sw + "\\ScriptCache\\ba23d8ecda68de77_s", "sparse data of the gone site's script");
  MakeFile(sw + "\\ScriptCache\\index-dir\\the-real-index", "index");
  MakeDb(d + "\\WebStorage\\QuotaManager", Schema("chromium", "Default/WebStorage/QuotaManager") +
                                               "INSERT INTO buckets(id,storage_key,host,name,use_count,last_accessed,last_modified,"
                                               "expiration,quota,persistent,durability) VALUES(1,'https://kept.example/','kept.example',"
                                               "'default',0,0,0,0,0,0,1),(2,'https://gone.example/','gone.example','inbox',0,0,0,0,0,0,1);");
  MakeFile(d + "\\WebStorage\\1\\IndexedDB\\data", "kept bucket");
  MakeFile(d + "\\WebStorage\\2\\IndexedDB\\data", "tswmarker-bucket-gone");
  MakeDb(d + "\\Shared Dictionary\\db", Schema("chromium", "Default/Shared Dictionary/db") +
                                            "INSERT INTO dictionaries(frame_origin,top_frame_site,host,match,match_dest,id,url,last_fetch_time,"
                                            "res_time,exp_time,last_used_time,size,sha256,token_high,token_low) VALUES"
                                            "('https://kept.example','https://kept.example','kept.example','/*','','','u',1,1,1,1,1,x'00',1,1),"
                                            "('https://gone.example','https://gone.example','gone.example','/*','','','u',1,1,1,1,1,x'00',-2,2);");
  // The dictionaries' bodies, under their tokens ("%016X%016X" of the two halves).
  const std::string dictionaries = d + "\\Shared Dictionary\\cache";
  MakeFile(dictionaries + "\\0123456789abcdef_0", SimpleCacheEntry("00000000000000010000000000000001", "kept dictionary"));
  MakeFile(dictionaries + "\\fedcba9876543210_0", SimpleCacheEntry("FFFFFFFFFFFFFFFE0000000000000002", "tswmarker-dictionary-gone"));
  MakeFile(dictionaries + "\\fedcba9876543210_1", "tswmarker-dictionary-gone");
  MakeFile(dictionaries + "\\index-dir\\the-real-index", "index");
  // File System: "Origins" names each origin's numbered folder, which holds a "Paths" store and
  // the files of its temporary ("t") and persistent ("p") file systems.
  const std::string fs = d + "\\File System";
  MakeLevelStore(fs + "\\Origins", {{"LAST_PATH", "002"},
                                    {"ORIGIN:https_kept.example_0", "000"},
                                    {"ORIGIN:https_gone.example_0", "001"},
                                    {"ORIGIN:chrome-extension_abcdef_0", "002"}});
  for (const char* n : {"000", "001", "002"}) {
    MakeLevelStore(fs + "\\" + n + "\\t\\Paths", {{"LAST_FILE_ID", "1"}, {"CHILD_OF:0:f.txt", std::string("tswmarker-fs-") + n}});
    MakeFile(fs + "\\" + n + "\\t\\00\\00000000", std::string("file of ") + n);
  }
  MakeFile(fs + "\\001\\p\\00\\00000001", "tswmarker-fs-gone");
  const std::vector<std::string> keptFsBefore = Contents(fs + "\\000"), extensionFsBefore = Contents(fs + "\\002");
  const std::vector<std::string> keptBefore = Contents(keptIdb), keptCacheBefore = Contents(keptCache),
                                 keptOrphanBefore = Contents(keptOrphan);
  // The cache kind no longer touches what sites keep for themselves.
  Tick("Google Chrome", {"Cache"});
  Run();
  EXPECT_TRUE(FileExists(goneCache + "\\index.txt"));
  EXPECT_TRUE(FileExists(sw + "\\ScriptCache\\2cc80dabc69f58b6_0"));

  Tick("Google Chrome", {"Site data"});
  Run();
  EXPECT_FALSE(FileExists(goneIdb));
  EXPECT_EQ(keptBefore, Contents(keptIdb));
  EXPECT_TRUE(FileExists(d + "\\IndexedDB\\chrome-extension_abcdef_0.indexeddb.leveldb\\000003.log"));
  EXPECT_EQ((std::vector<std::string>{"META:https://kept.example", "VERSION", LocalKey("https://kept.example")}),
            LevelKeys(d + "\\Local Storage\\leveldb"));
  EXPECT_FALSE(AnyFileHolds(d + "\\Local Storage\\leveldb", "tswmarker-local-gone"));
  EXPECT_EQ((std::vector<std::string>{"map-0-k", "namespace-ebbebaf7_160e-https://kept.example/", "version"}),
            LevelKeys(d + "\\Session Storage"));
  EXPECT_FALSE(AnyFileHolds(d + "\\Session Storage", "tswmarker-session-gone"));
  const std::vector<std::string> workers = LevelKeys(sw + "\\Database");
  EXPECT_EQ(5u, workers.size());  // the version, and the kept site's four
  EXPECT_EQ(0, std::count_if(workers.begin(), workers.end(), [](const std::string& k) { return k.find("gone") != std::string::npos; }));
  EXPECT_FALSE(AnyFileHolds(sw + "\\Database", "tswmarker-sw-gone"));
  EXPECT_FALSE(FileExists(goneCache));
  EXPECT_EQ(keptCacheBefore, Contents(keptCache));
  EXPECT_FALSE(FileExists(orphanCache));
  EXPECT_FALSE(FileExists(framedCache));
  EXPECT_EQ(keptOrphanBefore, Contents(keptOrphan));
  EXPECT_TRUE(FileExists(strayCache + "\\index"));
  EXPECT_NE(view.lines.end(), std::find(view.lines.begin(), view.lines.end(),
                                        "Google Chrome (Default): Service Worker\\CacheStorage\\ffffffffffffffffffffffffffffffffffffffff "
                                        "names no site Tracksweep can read: left alone"));
  // A kept site's worker uses the cache: only the gone site's script goes.
  EXPECT_EQ(SimpleCacheEntry("0", "// the kept site's worker"), ReadFileText(sw + "\\ScriptCache\\2cc80dabc69f58b6_0"));
  EXPECT_FALSE(AnyFileHolds(sw + "\\ScriptCache", "tswmarker-script-gone"));
  EXPECT_FALSE(FileExists(sw + "\\ScriptCache\\ba23d8ecda68de77_s"));
  EXPECT_TRUE(FileExists(sw + "\\ScriptCache\\index-dir\\the-real-index"));
  EXPECT_EQ(SimpleCacheEntry("00000000000000010000000000000001", "kept dictionary"), ReadFileText(dictionaries + "\\0123456789abcdef_0"));
  EXPECT_FALSE(AnyFileHolds(dictionaries, "tswmarker-dictionary-gone"));
  EXPECT_FALSE(FileExists(d + "\\WebStorage\\2"));
  EXPECT_EQ("kept bucket", ReadFileText(d + "\\WebStorage\\1\\IndexedDB\\data"));
  EXPECT_EQ((std::vector<std::string>{"kept.example"}), Column(d + "\\WebStorage\\QuotaManager", "SELECT host FROM buckets"));
  EXPECT_EQ((std::vector<std::string>{"kept.example"}), Column(d + "\\Shared Dictionary\\db", "SELECT host FROM dictionaries"));
  EXPECT_FALSE(FileExists(fs + "\\001"));
  EXPECT_EQ(keptFsBefore, Contents(fs + "\\000"));
  EXPECT_EQ(extensionFsBefore, Contents(fs + "\\002"));
  EXPECT_EQ((std::vector<std::string>{"LAST_PATH", "ORIGIN:chrome-extension_abcdef_0", "ORIGIN:https_kept.example_0"}),
            LevelKeys(fs + "\\Origins"));
  EXPECT_FALSE(AnyFileHolds(fs, "tswmarker-fs-gone"));
  for (const std::string& line : view.lines) EXPECT_EQ(std::string::npos, line.find("File System")) << line;
}

TEST_F(BrowserStoreTest, FirefoxSiteDataGoesSiteBySiteWithTheStorageItWasGrantedAndItsWorkers) {
  WriteListFile(KeepSiteFile(), {"kept.example"});
  const std::string storage = ffProfile + "\\storage\\default";
  MakeFile(storage + "\\https+++kept.example\\ls\\data.sqlite", "kept local storage");
  MakeFile(storage + "\\https+++gone.example^userContextId=1\\idb\\1.sqlite", "tswmarker-idb");
  MakeFile(storage + "\\https+++gone.example+8443\\ls\\data.sqlite", "tswmarker-local");
  MakeFile(storage + "\\moz-extension+++0d4a\\idb\\1.sqlite", "an extension's own");
  MakeDb(ffProfile + "\\permissions.sqlite",
         Schema("firefox", "permissions.sqlite") +
             "INSERT INTO moz_perms(origin,type,permission) VALUES('https://gone.example','storageAccessAPI',1),"
             "('https://gone.example^userContextId=1','3rdPartyStorage^https://cdn.example',1),"
             "('https://kept.example','storageAccessAPI',1),('https://gone.example','cookie',1),"
             "('https://gone.example','persistent-storage',1);");
  MakeDb(ffProfile + "\\webappsstore.sqlite", Schema("firefox", "webappsstore.sqlite") +
                                                  "INSERT INTO webappsstore2 VALUES('','elpmaxe.enog.:https:443','','k','v'),"
                                                  "('','elpmaxe.tpek.:https:443','','k','v');");
  MakeDb(ffProfile + "\\storage.sqlite", Schema("firefox", "storage.sqlite") +
                                             "INSERT INTO origin VALUES(2,'','gone.example','https://gone.example','',1,1,1,1,0),"
                                             "(2,'','kept.example','https://kept.example','',1,1,1,1,0);");
  const std::string block = "\nhttps://%s/\nhttps://%s/sw.js\ntrue\n{b5d6}\n0\n1\n1\n1\n0\ntrue\n0\n2\n0\n-1\n0\n#\n";
  auto registration = [&](const std::string& host) {
    std::string b = block;
    for (size_t at; (at = b.find("%s")) != std::string::npos;) b.replace(at, 2, host);
    return b;
  };
  MakeFile(ffProfile + "\\serviceworker.txt", "12\n" + registration("gone.example") + registration("kept.example"));
  // The archive Firefox restores an origin's local storage from.
  MakeDb(ffProfile + "\\storage\\ls-archive.sqlite", Schema("firefox", "storage/ls-archive.sqlite") +
                                                         "INSERT INTO webappsstore2 VALUES('','elpmaxe.enog.:https:443','','k','tswmarker-archive'),"
                                                         "('^userContextId=1','elpmaxe.enog.:http:8080','','k','v'),"
                                                         "('','elpmaxe.tpek.:https:443','','k','v');");
  Tick("Firefox", {"Site data"});
  Run();
  EXPECT_EQ("kept local storage", ReadFileText(storage + "\\https+++kept.example\\ls\\data.sqlite"));
  EXPECT_FALSE(FileExists(storage + "\\https+++gone.example^userContextId=1"));
  EXPECT_FALSE(FileExists(storage + "\\https+++gone.example+8443"));
  EXPECT_TRUE(FileExists(storage + "\\moz-extension+++0d4a\\idb\\1.sqlite"));
  // Storage the site was granted on its own goes; what the user set stays.
  EXPECT_EQ((std::vector<std::string>{"https://kept.example storageAccessAPI", "https://gone.example cookie",
                                      "https://gone.example persistent-storage"}),
            Column(ffProfile + "\\permissions.sqlite", "SELECT origin || ' ' || type FROM moz_perms ORDER BY id"));
  EXPECT_EQ((std::vector<std::string>{"elpmaxe.tpek.:https:443"}), Column(ffProfile + "\\webappsstore.sqlite", "SELECT originKey FROM webappsstore2"));
  EXPECT_EQ((std::vector<std::string>{"https://kept.example"}), Column(ffProfile + "\\storage.sqlite", "SELECT origin FROM origin"));
  EXPECT_EQ("12\n" + registration("kept.example"), ReadFileText(ffProfile + "\\serviceworker.txt"));
  EXPECT_EQ((std::vector<std::string>{"elpmaxe.tpek.:https:443"}),
            Column(ffProfile + "\\storage\\ls-archive.sqlite", "SELECT originKey FROM webappsstore2"));
}

TEST_F(BrowserStoreTest, TheScriptCacheIsEmptiedWhenNoWorkerIsLeftAndLockedOrUnreadableStoresAreLeftAsTheyAreAndSaid) {
  const std::string sw = d + "\\Service Worker";
  MakeLevelStore(sw + "\\Database", {{"INITDATA_DB_VERSION", "2"},
                                     {Registration("https://gone.example/", "1"), "reg"},
                                     {"REGID_TO_ORIGIN:1", "https://gone.example/"},
                                     {"RES:1" + std::string(1, '\0') + "3", Resource("\x03", "https://gone.example/sw.js")}});
  MakeFile(sw + "\\ScriptCache\\ba23d8ecda68de77_0", SimpleCacheEntry("3", "// tswmarker-script"));
  MakeFile(sw + "\\ScriptCache\\4cb013792b196a35_0", SimpleCacheEntry("1", "// a script no record names"));
  MakeFile(sw + "\\ScriptCache\\index-dir\\the-real-index", "index");
  const std::string local = d + "\\Local Storage\\leveldb";
  MakeLevelStore(local, {{LocalKey("https://gone.example"), "\x01tswmarker-local"}});
  // A store the library cannot read (its manifest is damaged) is left as it is, and said.
  MakeFile(d + "\\Session Storage\\CURRENT", "MANIFEST-000001\n");
  MakeFile(d + "\\Session Storage\\MANIFEST-000001", "not a manifest at all");
  const std::vector<std::string> sessionBefore = Contents(d + "\\Session Storage");
  // File systems whose Origins store is missing tell no site.
  MakeFile(d + "\\File System\\000\\t\\00\\00000000", "a file of an origin no store names");
  {
    // The browser holds its store's LOCK while it runs, as the library takes it.
    HANDLE lock = CreateFileA((local + "\\LOCK").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    ASSERT_TRUE(LockFile(lock, 0, 0, MAXDWORD, MAXDWORD));
    const std::vector<std::string> before = Contents(local);
    Tick("Google Chrome", {"Site data"});
    Run();
    UnlockFile(lock, 0, 0, MAXDWORD, MAXDWORD);
    CloseHandle(lock);
    EXPECT_EQ(before, Contents(local));
  }
  EXPECT_NE(view.lines.end(), std::find(view.lines.begin(), view.lines.end(),
                                        "Google Chrome (Default): Local Storage\\leveldb is locked by another program: left alone"));
  EXPECT_EQ((std::vector<std::string>{LocalKey("https://gone.example")}), LevelKeys(local));
  EXPECT_EQ(sessionBefore, Contents(d + "\\Session Storage"));
  EXPECT_EQ("a file of an origin no store names", ReadFileText(d + "\\File System\\000\\t\\00\\00000000"));
  EXPECT_TRUE(Said(view.lines, "Google Chrome (Default): File System holds no Origins store: left alone"));
  EXPECT_EQ(1, std::count_if(view.lines.begin(), view.lines.end(), [](const std::string& line) {
              return line.find("Google Chrome (Default): Session Storage is not a store Tracksweep can read (") == 0 &&
                     line.find("): left alone") != std::string::npos;
            })) << ::testing::PrintToString(view.lines);
  // No worker is left: nothing of the scripts' cache is of use, and all of it goes.
  EXPECT_EQ((std::vector<std::string>{"INITDATA_DB_VERSION"}), LevelKeys(sw + "\\Database"));
  EXPECT_EQ((std::map<std::string, std::string>()), FilesBelow(sw + "\\ScriptCache"));
}

TEST_F(BrowserStoreTest, APreviewListsSiteDataPerSiteAndARunKeepingToItTakesOnlyTheTickedSites) {
  MakeFile(d + "\\IndexedDB\\https_a.example_0.indexeddb.leveldb\\000003.log", "a");
  MakeFile(d + "\\IndexedDB\\https_b.example_0.indexeddb.leveldb\\000003.log", "b");
  MakeLevelStore(d + "\\Local Storage\\leveldb", {{LocalKey("https://a.example"), "\x01v"}, {LocalKey("https://b.example"), "\x01v"}});
  Tick("Google Chrome", {"Site data"});
  CleanRun analyze(view, ticks, Settings());
  std::vector<PreviewItem> preview = analyze.Analyze();
  std::vector<std::string> targets;
  for (PreviewItem& item : preview)
    for (PreviewEntry& e : item.entries) {
      if (e.target.find("b.example") != std::string::npos) e.ticked = false;
      if (e.target.find(" of ") != std::string::npos) targets.push_back(e.target.substr(e.target.rfind(": ") + 2));
    }
  std::sort(targets.begin(), targets.end());
  EXPECT_EQ((std::vector<std::string>{"keys of a.example (1 rows)", "keys of b.example (1 rows)", "site data of a.example",
                                      "site data of b.example"}),
            targets);
  EXPECT_TRUE(FileExists(d + "\\IndexedDB\\https_a.example_0.indexeddb.leveldb\\000003.log"));  // a preview changes nothing
  CleanRun carry(view, ticks, Settings());
  carry.RunSelected(preview);
  EXPECT_FALSE(FileExists(d + "\\IndexedDB\\https_a.example_0.indexeddb.leveldb"));
  EXPECT_TRUE(FileExists(d + "\\IndexedDB\\https_b.example_0.indexeddb.leveldb\\000003.log"));
  EXPECT_EQ((std::vector<std::string>{LocalKey("https://b.example")}), LevelKeys(d + "\\Local Storage\\leveldb"));
}

TEST_F(BrowserStoreTest, BrowsersOfTheStoreAndProfilesNamedInLocalStateAreFound) {
  const std::string arc = local + "\\Packages\\TheBrowserCompany.Arc_ttt1ap7aakyb4\\LocalCache\\Local\\Arc\\User Data";
  MakeFile(arc + "\\Default\\Preferences", "{}");
  // A profile Local State names holds no Preferences yet; a name that would lead outside is refused.
  MakeFile(chrome + "\\Local State", "{\"profile\":{\"info_cache\":{\"Default\":{},\"Work\":{},\"..\\\\..\":{}}}}");
  CreateDirectoryA((chrome + "\\Work").c_str(), nullptr);
  const std::string store = local + "\\Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Roaming\\Mozilla\\Firefox";
  MakeFile(store + "\\profiles.ini", "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/x.default\r\n");
  CreateDirectoryA((store + "\\Profiles").c_str(), nullptr);
  CreateDirectoryA((store + "\\Profiles\\x.default").c_str(), nullptr);
  std::map<std::string, std::vector<std::string>> found;
  std::map<std::string, std::string> caches;
  for (const FoundBrowser& b : FindBrowsers())
    for (const BrowserProfile& p : b.profiles) {
      found[b.info->name].push_back(p.name);
      caches[b.info->name] = p.localFolder;
    }
  EXPECT_EQ((std::vector<std::string>{"Default", "Work"}), found["Google Chrome"]);
  EXPECT_EQ((std::vector<std::string>{"Default"}), found["Arc"]);
  EXPECT_EQ((std::vector<std::string>{"x.default"}), found["Firefox (Microsoft Store)"]);
  EXPECT_EQ(local + "\\Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Local\\Mozilla\\Firefox\\Profiles\\x.default",
            caches["Firefox (Microsoft Store)"]);
}

TEST_F(BrowserStoreTest, TodaysOtherBrowsersAreFoundFromTheirFoldersEachWithItsName) {
  for (const char* folder : {"Yandex\\YandexBrowser\\User Data", "Thorium\\User Data"}) MakeFile(local + "\\" + folder + "\\Default\\Preferences", "{}");
  for (const char* folder : {"Floorp", "zen", "Moonchild Productions\\Pale Moon"}) {
    MakeFile(roaming + "\\" + folder + "\\profiles.ini", "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/x.default\r\n");
    CreateDirectoryA((roaming + "\\" + folder + "\\Profiles").c_str(), nullptr);
    CreateDirectoryA((roaming + "\\" + folder + "\\Profiles\\x.default").c_str(), nullptr);
  }
  std::map<std::string, std::string> found;
  for (const FoundBrowser& b : FindBrowsers())
    for (const BrowserProfile& p : b.profiles) found[b.info->name] = p.folder;
  EXPECT_EQ(local + "\\Yandex\\YandexBrowser\\User Data\\Default", found["Yandex"]);
  EXPECT_EQ(local + "\\Thorium\\User Data\\Default", found["Thorium"]);
  EXPECT_EQ(roaming + "\\Floorp\\Profiles\\x.default", found["Floorp"]);
  EXPECT_EQ(roaming + "\\zen\\Profiles\\x.default", found["Zen"]);
  EXPECT_EQ(roaming + "\\Moonchild Productions\\Pale Moon\\Profiles\\x.default", found["Pale Moon"]);
}
