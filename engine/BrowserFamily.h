// What the two family modules (Chromium, Firefox) share: the job of one browser in one run or
// preview, and the one way a database of theirs is changed.
#pragma once
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "access/SqliteDb.h"
#include "engine/Browsers.h"
#include "keeplists/SiteKeepList.h"

struct BrowserJob {
  RunContext& ctx;
  const FoundBrowser& browser;
  std::set<BrowserKind> kinds;        // the chosen ones
  bool urlsReadable = false;          // keepurl.dat read: History may go
  std::vector<std::string> keptUrls;  // keepurl.dat
  bool sitesReadable = false;         // keepsite.dat read: Cookies may go
  SiteKeepList keptSites;
  bool secure = false;                // "Enable Securely Cleaning"
  bool Chosen(BrowserKind k) const { return kinds.count(k) != 0; }
  void Note(const BrowserProfile& profile, const std::string& what);  // a status line
};

// One change of a database: rows of a table that go (counted by a preview) or a statement
// that only rewrites what stays (not counted).
struct DbStep {
  DbStep(std::string table, std::string countSql, std::string sql, bool required = false, std::string label = "",
         std::string follows = "", std::string timeColumn = "")
      : table(std::move(table)), countSql(std::move(countSql)), sql(std::move(sql)), required(required),
        label(std::move(label)), follows(std::move(follows)), timeColumn(std::move(timeColumn)) {}
  std::string table;     // the table it needs; an optional step is passed over without it
  std::string countSql;  // how many rows would go; "" for a rewrite
  std::string sql;       // what the run does
  bool required = false; // without its table the database is left alone, and the user told
  std::string label;     // how its preview entry names it, when not by its table
  std::string follows;   // a rewrite that belongs to the counted step of this label (or of one of
                         // several, "a|b")
  // The column of the table's rows that tells when each was made or last visited: a preview marks
  // the latest time it saw, and a run keeps to no later rows. For a rewrite, the column of its own
  // table that the followed step's time bounds.
  std::string timeColumn;
  std::string Label() const { return label.empty() ? table : label; }
};

// Opens the database of a profile without waiting, prepares it (keep tables, predicates),
// then either counts what each step would take (preview) or carries out every step inside one
// transaction, rolled back on any failure, and compacts it. A missing file is passed over; a
// file that is not a database, lacks a required table, or is locked is left as it was and
// reported. Adds what the file shrank to the released space.
void ChangeDatabase(BrowserJob& job, const BrowserProfile& profile, const std::string& path,
                    const std::vector<DbStep>& steps, const std::function<bool(SqliteDb&)>& prepare = nullptr);
// In a preview, each visited page that History keeps (urlsSql gives their addresses), shown as
// kept with what keeps it: the URL keep list, or else the bookmarks.
void PreviewKeptPages(BrowserJob& job, const SqliteDb& db, const std::string& path, const std::string& urlsSql);
// What a preview saw of a table: its highest row id, and with a time column the latest time
// ("rowid 1234", "rowid 1234 time 13345678901234567"); "" where it has none.
std::string RowIdMark(const SqliteDb& db, const std::string& table, const std::string& timeColumn = "");
// The condition that keeps a statement to the rows such a mark saw: "rowid <= 1234", with the
// time column "rowid <= 1234 AND (col IS NULL OR col <= 13345678901234567)"; "" for no mark.
std::string RowIdBound(const std::string& seen, const std::string& timeColumn = "");
// Every row of a table shared by many sites whose site the site keep list does not keep (a
// list that cannot be read keeps them all), one preview entry per site: "<table> of <site>". The
// site is read from the column, through hostOf where the column holds it in another form; only
// the rows the filter selects are concerned.
void CleanSiteRows(BrowserJob& job, const BrowserProfile& profile, const std::string& path, const std::string& table,
                   const std::string& column, const std::string& filter = "",
                   const std::function<std::string(const std::string&)>& hostOf = nullptr);
// Every cookie of the table whose site the site keep list does not keep.
void CleanCookieTable(BrowserJob& job, const BrowserProfile& profile, const std::string& path, const std::string& table,
                      const std::string& hostColumn);
// Files that hold only tracks go whole; folders are emptied of their files and kept.
void EraseWholeFiles(BrowserJob& job, const std::vector<std::string>& paths);
void EmptyFilesBelow(BrowserJob& job, const std::string& folder);

// The families.
void CleanChromiumProfile(BrowserJob& job, const BrowserProfile& profile);
void CleanChromiumBrowser(BrowserJob& job);  // what lies beside the profiles (shader caches)
void CleanFirefoxProfile(BrowserJob& job, const BrowserProfile& profile);
// Whether a scheme is a web site's ("http", "https", any case): an extension's data or the
// browser's own is no site data.
bool WebScheme(const std::string& scheme);
// The site of an origin as Chromium names it in folders and keys ("https_example.com_0" ->
// "example.com"); "" for anything but a web site's.
std::string OriginIdentifierSite(const std::string& identifier);
// A folder that holds one site's data alone.
struct SiteFolder {
  std::string site;
  std::string path;
};
// The files of the entries of a disk cache in Chromium's simple format ("<hash>_0" with its
// "_1" and "_s") whose key, as the entry's own header holds it, is one of keys.
std::vector<std::string> SimpleCacheFiles(const std::string& folder, const std::set<std::string>& keys);
// Removes the folders of every site the keep list does not keep. A preview lists one entry per
// site and store ("<store>: site data of <site>", with its size); a run that keeps to it removes
// a site's folders only while they hold what the preview measured.
void EraseSiteFolders(BrowserJob& job, const std::string& store, const std::vector<SiteFolder>& folders);
// Chromium's LevelDB stores of site data (Local Storage, Session Storage, the service workers'
// database with their caches), and of the download list (shared_proto_db's download records).
void CleanChromiumLevelStores(BrowserJob& job, const BrowserProfile& profile);
void CleanChromiumDownloadRecords(BrowserJob& job, const BrowserProfile& profile);
// The sandboxed file systems of sites ("File System": its "Origins" store and a folder per origin).
void CleanChromiumFileSystems(BrowserJob& job, const BrowserProfile& profile);
// Site data: what sites keep in the browser besides cookies, site by site, the keep list's
// sites spared; stores whose layout is not known are left alone and said so.
void CleanChromiumSiteData(BrowserJob& job, const BrowserProfile& profile);
void CleanFirefoxSiteData(BrowserJob& job, const BrowserProfile& profile);
std::string ChromiumCookiesFile(const BrowserProfile& profile);
std::string FirefoxCookiesFile(const BrowserProfile& profile);
// The URLs of a Chromium profile's bookmarks: "Bookmarks" ("Bookmarks.bak" while it is
// missing) and a signed-in profile's "AccountBookmarks"; false when one exists but cannot be read.
bool ChromiumBookmarks(const std::string& profileFolder, std::vector<std::string>& urls);
// The profile folders Chromium's "Local State" names (profile.info_cache), as plain folder names.
std::vector<std::string> ChromiumNamedProfiles(const std::string& userDataFolder);
