// Browser profiles laid out by the tests: real SQLite databases with each family's tables, in
// profiles of a Chromium and a Firefox browser below the test's own application-data folders.
#pragma once
#include <windows.h>

#include <sqlite3.h>

#include <string>
#include <vector>

#include "access/SqliteDb.h"
#include "access/WidePath.h"
#include "engine/Browsers.h"
#include "engine/CleanRun.h"
#include "settings/Inifun.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"


// A database made by the test: its SQL run in one go.
inline void MakeDb(const std::string& path, const std::string& sql) {
  MakeFile(path);  // with its folders; SQLite takes an empty file for a new database
  WriteFileText(path, "");
  sqlite3* db = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(Utf8Text(path).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr));
  char* error = nullptr;
  EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error)) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

inline std::vector<std::string> Column(const std::string& path, const std::string& sql) {
  SqliteDb db;
  EXPECT_EQ(SqliteDb::Opened::Ok, db.Open(path, true)) << path;
  return db.Texts(sql);
}

inline long long Number(const std::string& path, const std::string& sql) {
  SqliteDb db;
  EXPECT_EQ(SqliteDb::Opened::Ok, db.Open(path, true)) << path;
  return db.Number(sql);
}

inline const char kChromiumHistory[] =
    "CREATE TABLE urls(id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, visit_count INTEGER DEFAULT 0,"
    " typed_count INTEGER DEFAULT 0, last_visit_time INTEGER NOT NULL, hidden INTEGER DEFAULT 0);"
    "CREATE TABLE visits(id INTEGER PRIMARY KEY, url INTEGER NOT NULL, visit_time INTEGER NOT NULL, from_visit INTEGER);"
    "CREATE TABLE keyword_search_terms(keyword_id INTEGER, url_id INTEGER, term LONGVARCHAR, normalized_term LONGVARCHAR);"
    "CREATE TABLE segments(id INTEGER PRIMARY KEY, name VARCHAR, url_id INTEGER);"
    "CREATE TABLE downloads(id INTEGER PRIMARY KEY, guid VARCHAR, current_path LONGVARCHAR, target_path LONGVARCHAR);"
    "CREATE TABLE downloads_url_chains(id INTEGER, chain_index INTEGER, url LONGVARCHAR);"
    "CREATE TABLE meta(key LONGVARCHAR PRIMARY KEY, value LONGVARCHAR);"
    "INSERT INTO meta VALUES('version','70');"
    "INSERT INTO urls VALUES(1,'https://bookmarked.example/','B',3,1,13300000000000000,0);"
    "INSERT INTO urls VALUES(2,'https://kept.example/','K',2,0,13300000000000000,0);"
    "INSERT INTO urls VALUES(3,'https://secret.example/','S',5,2,13300000000000000,0);"
    // Each page's last visit time is that of its latest visit, as Chromium keeps it.
    "INSERT INTO visits VALUES(1,1,13300000000000000,0);INSERT INTO visits VALUES(2,2,13300000000000000,0);"
    "INSERT INTO visits VALUES(3,3,13299999999999990,0);INSERT INTO visits VALUES(4,3,13300000000000000,3);"
    "INSERT INTO keyword_search_terms VALUES(1,3,'salary','salary');"
    "INSERT INTO segments VALUES(1,'http://secret.example/',3);"
    "INSERT INTO downloads VALUES(1,'g','C:\\\\d\\\\secret.zip','C:\\\\d\\\\secret.zip');"
    "INSERT INTO downloads_url_chains VALUES(1,0,'https://secret.example/secret.zip');";

inline const char kChromiumCookies[] =
    "CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, name TEXT NOT NULL, value TEXT NOT NULL,"
    " encrypted_value BLOB DEFAULT '', path TEXT NOT NULL);";

inline const char kChromiumWebData[] =
    "CREATE TABLE autofill(name VARCHAR, value VARCHAR, value_lower VARCHAR, date_created INTEGER, date_last_used INTEGER,"
    " count INTEGER DEFAULT 1);"
    "CREATE TABLE autofill_profiles(guid VARCHAR PRIMARY KEY, street_address VARCHAR);"
    "CREATE TABLE credit_cards(guid VARCHAR PRIMARY KEY, name_on_card VARCHAR);"
    "INSERT INTO autofill VALUES('q','my secret search','my secret search',1,1,1);"
    "INSERT INTO autofill_profiles VALUES('p','1 Main Street');INSERT INTO credit_cards VALUES('c','A. User');";

inline const char kFirefoxPlaces[] =
    "CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, visit_count INTEGER DEFAULT 0,"
    " last_visit_date INTEGER, origin_id INTEGER);"
    "CREATE TABLE moz_historyvisits(id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date INTEGER,"
    " visit_type INTEGER);"
    "CREATE TABLE moz_bookmarks(id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER, title LONGVARCHAR);"
    "CREATE TABLE moz_inputhistory(place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER);"
    "CREATE TABLE moz_origins(id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL, frecency INTEGER NOT NULL);"
    "CREATE TABLE moz_anno_attributes(id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);"
    "CREATE TABLE moz_annos(id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER, content LONGVARCHAR);"
    "INSERT INTO moz_origins VALUES(1,'https://','bookmarked.example',1),(2,'https://','secret.example',1),(3,'https://','files.example',1);"
    "INSERT INTO moz_places VALUES(1,'https://bookmarked.example/','B',2,1,1),(2,'https://kept.example/','K',1,1,NULL),"
    "(3,'https://secret.example/','S',4,1,2),(4,'https://files.example/report.pdf','R',1,1,3);"
    "INSERT INTO moz_historyvisits VALUES(1,0,1,1,1),(2,0,2,1,1),(3,0,3,1,2),(4,0,4,1,7);"
    "INSERT INTO moz_bookmarks VALUES(1,2,NULL,0,'root'),(2,1,1,1,'My page');"
    "INSERT INTO moz_inputhistory VALUES(3,'sec',1);"
    "INSERT INTO moz_anno_attributes VALUES(1,'downloads/destinationFileURI'),(2,'bookmarkProperties/description');"
    "INSERT INTO moz_annos VALUES(1,4,1,'file:///C:/d/report.pdf');";

inline const char kFirefoxCookies[] =
    "CREATE TABLE moz_cookies(id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT, value TEXT,"
    " host TEXT, path TEXT);";

inline const char kFirefoxForms[] =
    "CREATE TABLE moz_formhistory(id INTEGER PRIMARY KEY, fieldname TEXT NOT NULL, value TEXT NOT NULL, timesUsed INTEGER);"
    "INSERT INTO moz_formhistory VALUES(1,'searchbar-history','my secret search',3);";

inline std::string CookieRows(const char* table, const char* hostColumn, const std::vector<std::string>& hosts) {
  std::string sql;
  for (const std::string& h : hosts) {
    if (std::string(table) == "cookies")
      sql += "INSERT INTO cookies(creation_utc, host_key, name, value, path) VALUES(1,'" + h + "','n','v','/');";
    else
      sql += std::string("INSERT INTO moz_cookies(name, value, ") + hostColumn + ", path) VALUES('n','v','" + h + "','/');";
  }
  return sql;
}

inline const std::vector<std::string> kHosts = {"example.com",         ".example.com",     "shop.example.com", "thisisanexample.com",
                                          "example.com.evil.net", "shop-example.com", "www.other.com",    "other.com"};
inline const std::vector<std::string> kKeptHosts = {".example.com", "example.com", "shop.example.com", "www.other.com"};

class BrowserTest : public ProgramFolderTest {
 protected:
  TempFolder work{"tswbrowsers"};
  std::string roaming = work.File("Roaming"), local = work.File("Local");
  RedirectedShellFolder roamingFolder{"AppData", roaming};
  RedirectedShellFolder localFolder{"Local AppData", local};
  std::string chrome = local + "\\Google\\Chrome\\User Data";
  std::string firefox = roaming + "\\Mozilla\\Firefox";
  std::string ffProfile = firefox + "\\Profiles\\abc.default-release";
  std::string ffLocal = local + "\\Mozilla\\Firefox\\Profiles\\abc.default-release";
  RecordingView view;
  Ticks ticks;

  void SetUp() override {
    ProgramFolderTest::SetUp();
    CreateDirectoryA(roaming.c_str(), nullptr);
    CreateDirectoryA(local.c_str(), nullptr);
  }
  void Chromium() {
    for (const char* profile : {"Default", "Profile 1"}) {
      const std::string p = chrome + "\\" + profile;
      MakeFile(p + "\\Preferences", "{\"profile\":{\"name\":\"" + std::string(profile) + "\"}}");
      MakeFile(p + "\\Bookmarks",
               "{\"roots\":{\"bookmark_bar\":{\"children\":[{\"type\":\"folder\",\"children\":[{\"type\":\"url\","
               "\"url\":\"https://bookmarked.example/\"}]}],\"type\":\"folder\"},\"other\":{\"children\":[],\"type\":\"folder\"}},"
               "\"version\":1}");
      MakeDb(p + "\\History", kChromiumHistory);
      MakeDb(p + "\\Network\\Cookies", std::string(kChromiumCookies) + CookieRows("cookies", "host_key", kHosts));
      MakeDb(p + "\\Web Data", kChromiumWebData);
      MakeDb(p + "\\Login Data", "CREATE TABLE logins(origin_url VARCHAR, username_value VARCHAR);"
                                 "INSERT INTO logins VALUES('https://secret.example/','me');");
      MakeFile(p + "\\Top Sites", 300);
      MakeFile(p + "\\Shortcuts", 200);
      MakeFile(p + "\\Current Session", 100);
      MakeFile(p + "\\Sessions\\Session_13300000000000001", 100);
      MakeFile(p + "\\Cache\\Cache_Data\\f_000001", 1000);
      MakeFile(p + "\\Code Cache\\js\\index", 500);
    }
    MakeFile(chrome + "\\Local State", "{}");
  }
  void Firefox() {
    MakeFile(firefox + "\\profiles.ini",
             "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default-release\r\nIsRelative=1\r\n"
             "Path=Profiles/abc.default-release\r\nDefault=1\r\n");
    MakeDb(ffProfile + "\\places.sqlite", kFirefoxPlaces);
    MakeDb(ffProfile + "\\cookies.sqlite", std::string(kFirefoxCookies) + CookieRows("moz_cookies", "host", kHosts));
    MakeDb(ffProfile + "\\formhistory.sqlite", kFirefoxForms);
    MakeFile(ffProfile + "\\logins.json", "{\"logins\":[{\"hostname\":\"https://secret.example\"}]}");
    MakeFile(ffProfile + "\\key4.db", 2000);
    MakeFile(ffProfile + "\\prefs.js", "user_pref(\"a\", 1);\n");
    MakeFile(ffProfile + "\\sessionstore.jsonlz4", 300);
    MakeFile(ffProfile + "\\sessionstore-backups\\recovery.jsonlz4", 300);
    MakeFile(ffLocal + "\\cache2\\entries\\0123ABCD", 4000);
    MakeFile(ffLocal + "\\startupCache\\startupCache.8.little", 700);
  }
  void Tick(const std::string& browser, std::initializer_list<const char*> kinds) {
    for (const char* k : kinds) WriteIni(Settings(), kMoreBrowsersSection, browser + " " + k, "1");
  }
  CleanRun Run() {
    CleanRun run(view, ticks, Settings());
    run.Run();
    return run;
  }
};
