#include "engine/Browsers.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <set>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "access/Normal.h"
#include "access/Processes.h"
#include "engine/BrowserFamily.h"
#include "engine/Preview.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"
#include "settings/Additional.h"
#include "settings/Inifun.h"

const char kMoreBrowsersSection[] = "MOREBROWSERS";

const std::vector<BrowserInfo>& Browsers() {
  static const std::vector<BrowserInfo> browsers = {
      {"Google Chrome", BrowserFamily::Chromium, CSIDL_LOCAL_APPDATA, "Google\\Chrome\\User Data", {"chrome.exe"}},
      {"Microsoft Edge", BrowserFamily::Chromium, CSIDL_LOCAL_APPDATA, "Microsoft\\Edge\\User Data", {"msedge.exe"}},
      {"Brave", BrowserFamily::Chromium, CSIDL_LOCAL_APPDATA, "BraveSoftware\\Brave-Browser\\User Data", {"brave.exe"}},
      {"Vivaldi", BrowserFamily::Chromium, CSIDL_LOCAL_APPDATA, "Vivaldi\\User Data", {"vivaldi.exe"}},
      // Opera keeps one profile in the folder itself, and its caches below the local one.
      {"Opera", BrowserFamily::Chromium, CSIDL_APPDATA, "Opera Software\\Opera Stable", {"opera.exe"}},
      {"Opera GX", BrowserFamily::Chromium, CSIDL_APPDATA, "Opera Software\\Opera GX Stable", {"opera.exe"}},
      {"Chromium", BrowserFamily::Chromium, CSIDL_LOCAL_APPDATA, "Chromium\\User Data", {"chrome.exe"}},
      {"Yandex", BrowserFamily::Chromium, CSIDL_LOCAL_APPDATA, "Yandex\\YandexBrowser\\User Data", {"Yandex\\YandexBrowser\\Application\\browser.exe"}},
      {"Thorium", BrowserFamily::Chromium, CSIDL_LOCAL_APPDATA, "Thorium\\User Data", {"thorium.exe"}},
      // Installed from the Microsoft Store: everything inside its package's folder.
      {"Arc", BrowserFamily::Chromium, CSIDL_LOCAL_APPDATA,
       "Packages\\TheBrowserCompany.Arc_ttt1ap7aakyb4\\LocalCache\\Local\\Arc\\User Data", {"Arc.exe"}},
      {"Firefox", BrowserFamily::Firefox, CSIDL_APPDATA, "Mozilla\\Firefox", {"firefox.exe"}},
      {"Firefox (Microsoft Store)", BrowserFamily::Firefox, CSIDL_LOCAL_APPDATA,
       "Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Roaming\\Mozilla\\Firefox", {"firefox.exe"},
       "Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Local\\Mozilla\\Firefox"},
      {"Waterfox", BrowserFamily::Firefox, CSIDL_APPDATA, "Waterfox", {"waterfox.exe"}},
      {"LibreWolf", BrowserFamily::Firefox, CSIDL_APPDATA, "librewolf", {"librewolf.exe"}},
      {"Floorp", BrowserFamily::Firefox, CSIDL_APPDATA, "Floorp", {"floorp.exe"}},
      {"Zen", BrowserFamily::Firefox, CSIDL_APPDATA, "zen", {"zen.exe"}},
      {"Pale Moon", BrowserFamily::Firefox, CSIDL_APPDATA, "Moonchild Productions\\Pale Moon", {"palemoon.exe"}},
  };
  return browsers;
}

const std::vector<BrowserKind>& BrowserKinds() {
  static const std::vector<BrowserKind> kinds = {BrowserKind::History, BrowserKind::Cookies,     BrowserKind::Cache,
                                                 BrowserKind::Session, BrowserKind::FormEntries, BrowserKind::Downloads,
                                                 BrowserKind::SiteData};
  return kinds;
}

const char* BrowserKindName(BrowserKind kind) {
  switch (kind) {
    case BrowserKind::History: return "History";
    case BrowserKind::Cookies: return "Cookies";
    case BrowserKind::Cache: return "Cache";
    case BrowserKind::Session: return "Session";
    case BrowserKind::FormEntries: return "Form entries";
    case BrowserKind::Downloads: return "Download list";
    case BrowserKind::SiteData: return "Site data";
  }
  return "";
}

namespace {

bool IsFolderPath(const std::string& path) {
  const DWORD attrs = AttributesOf(path);
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) && !(attrs & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsFilePath(const std::string& path) {
  const DWORD attrs = AttributesOf(path);
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<BrowserProfile> ChromiumProfiles(const std::string& folder, const std::string& local) {
  std::vector<BrowserProfile> profiles;
  if (IsFilePath(folder + "\\Preferences")) profiles.push_back({"", folder, local});  // Opera: the folder itself
  std::set<std::string> seen;
  auto add = [&](const std::string& name) {
    if (seen.insert(LowerText(name)).second) profiles.push_back({name, folder + "\\" + name, local + "\\" + name});
  };
  // The profiles the browser names itself, then any other folder that holds a profile's settings.
  for (const std::string& name : ChromiumNamedProfiles(folder))
    if (IsFolderPath(folder + "\\" + name)) add(name);
  ForEachEntry(folder, [&](const ListedEntry& e) {
    if (IsFolder(e) && Listed(e) && IsFilePath(folder + "\\" + e.name + "\\Preferences")) add(e.name);
    return true;
  });
  return profiles;
}

std::vector<BrowserProfile> FirefoxProfiles(const std::string& folder, const std::string& local) {
  std::vector<BrowserProfile> profiles;
  const std::string ini = folder + "\\profiles.ini";
  std::vector<char> names(32768);
  GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), ini.c_str());
  for (const char* section = names.data(); *section; section += lstrlenA(section) + 1) {
    if (_strnicmp(section, "Profile", 7) != 0) continue;
    char path[MAX_PATH * 2] = {0};
    GetPrivateProfileStringA(section, "Path", "", path, sizeof path, ini.c_str());
    std::string p = TrimSpaces(path);
    if (p.empty()) continue;
    std::replace(p.begin(), p.end(), '/', '\\');
    const bool relative = GetPrivateProfileIntA(section, "IsRelative", 1, ini.c_str()) != 0;
    BrowserProfile profile;
    profile.name = p.substr(p.find_last_of('\\') + 1);
    profile.folder = relative ? folder + "\\" + p : p;
    profile.localFolder = relative ? local + "\\" + p : p;
    if (IsFolderPath(profile.folder)) profiles.push_back(profile);
  }
  return profiles;
}

// Where a browser's profile lock lies: Chromium's in its user-data folder, Firefox's in each profile.
std::vector<std::string> LockFiles(const FoundBrowser& b) {
  if (b.info->family == BrowserFamily::Chromium) return {b.folder + "\\lockfile"};
  std::vector<std::string> locks;
  for (const BrowserProfile& p : b.profiles) locks.push_back(p.folder + "\\parent.lock");
  return locks;
}

}  // namespace

std::vector<BrowserProfile> BrowserProfiles(const BrowserInfo& info, const std::string& folder, const std::string& localFolder) {
  return info.family == BrowserFamily::Chromium ? ChromiumProfiles(folder, localFolder) : FirefoxProfiles(folder, localFolder);
}

std::vector<FoundBrowser> FindBrowsers() {
  std::vector<FoundBrowser> found;
  const std::string local = KnownFolder(CSIDL_LOCAL_APPDATA), roaming = KnownFolder(CSIDL_APPDATA);
  for (const BrowserInfo& info : Browsers()) {
    const std::string& root = info.rootCsidl == CSIDL_APPDATA ? roaming : local;
    if (root.empty()) continue;
    FoundBrowser b;
    b.info = &info;
    b.folder = root + "\\" + info.folder;
    // The same folder below the local application data, where the caches lie.
    b.localFolder = local.empty() ? b.folder : local + "\\" + (info.localFolder ? info.localFolder : info.folder);
    if (!IsFolderPath(b.folder)) continue;
    b.profiles = BrowserProfiles(info, b.folder, b.localFolder);
    found.push_back(b);
  }
  return found;
}

std::string BrowserKindKey(const BrowserInfo& info, BrowserKind kind) { return std::string(info.name) + " " + BrowserKindName(kind); }

namespace {
// The section read once: one read of the file instead of one per browser and kind.
bool Chosen(const std::map<std::string, std::string>& stored, const BrowserInfo& info, BrowserKind kind) {
  auto it = stored.find(LowerText(BrowserKindKey(info, kind)));
  return it != stored.end() && TickText(it->second);
}
std::set<BrowserKind> KindsOf(const std::map<std::string, std::string>& stored, const BrowserInfo& info) {
  std::set<BrowserKind> kinds;
  for (BrowserKind kind : BrowserKinds())
    if (Chosen(stored, info, kind)) kinds.insert(kind);
  return kinds;
}
}  // namespace

bool BrowserKindChosen(const std::string& settingsFile, const BrowserInfo& info, BrowserKind kind) {
  return Chosen(ReadIniSection(settingsFile, kMoreBrowsersSection), info, kind);
}

bool AnyBrowserKindChosen(const std::string& settingsFile) {
  const std::map<std::string, std::string> stored = ReadIniSection(settingsFile, kMoreBrowsersSection);
  for (const BrowserInfo& info : Browsers())
    for (BrowserKind kind : BrowserKinds())
      if (Chosen(stored, info, kind)) return true;
  return false;
}

void BrowserJob::Note(const BrowserProfile& profile, const std::string& what) {
  const std::string who = profile.name.empty() ? browser.info->name : std::string(browser.info->name) + " (" + profile.name + ")";
  ctx.notes.push_back(who + ": " + what);
  ctx.outcomes.push_back({"browser", who, what});  // something of it stayed: a report says why
}

std::set<BrowserKind> ChosenKinds(const std::string& settingsFile, const BrowserInfo& info) {
  return KindsOf(ReadIniSection(settingsFile, kMoreBrowsersSection), info);
}

std::string CleanWhenClosedKey(const BrowserInfo& info) { return std::string(info.name) + " Clean when it closes"; }

bool CleanWhenClosedChosen(const std::string& settingsFile, const BrowserInfo& info) {
  return TickText(ReadIni(settingsFile, kMoreBrowsersSection, CleanWhenClosedKey(info)));
}

BrowserKeeps ReadBrowserKeeps(const std::string& settingsFile) {
  BrowserKeeps keeps;
  keeps.urlsReadable = ReadListFile(KeepUrlFile(), keeps.urls);
  keeps.sitesReadable = ReadSiteKeepList(keeps.sites);
  keeps.secure = OptionOn(settingsFile, Option::Securely);
  return keeps;
}

bool CleanFoundBrowser(RunContext& ctx, const FoundBrowser& b, const std::set<BrowserKind>& kinds, const BrowserKeeps& keeps) {
  BrowserJob job{ctx, b, kinds, keeps.urlsReadable, keeps.urls, keeps.sitesReadable, keeps.sites, keeps.secure};
  if (job.kinds.empty()) return true;
  // A browser that runs rewrites its files as it pleases: nothing of it is touched.
  if (AnyProcessRunning(b.info->processes)) {
    // A preview cannot know what such a browser will hold once a run has asked it to close.
    if (ctx.preview && OptionOn(ctx.settingsFile, Option::CloseBrowsers))
      ctx.notes.push_back(std::string(b.info->name) + " is running: a run asks it to close first; close it to see here what goes");
    ctx.notes.push_back(std::string(b.info->name) + " is running: passed over, nothing of it was changed");
    ctx.outcomes.push_back({"browser", b.info->name, "a browser running"});
    return false;
  }
  const std::vector<std::string> locks = LockFiles(b);
  if (std::any_of(locks.begin(), locks.end(), FileHeldOpen)) {
    ctx.notes.push_back(std::string(b.info->name) + " has a profile in use: passed over, nothing of it was changed");
    ctx.outcomes.push_back({"browser", b.info->name, "a browser running (its profile is in use)"});
    return false;
  }
  if (job.Chosen(BrowserKind::History) && !keeps.urlsReadable)
    ctx.notes.push_back(std::string(b.info->name) + ": the URL keep list cannot be read, so its history is kept");
  if (job.Chosen(BrowserKind::Cookies) && !keeps.sitesReadable)
    ctx.notes.push_back(std::string(b.info->name) + ": the site keep list cannot be read, so its cookies are kept");
  if (job.Chosen(BrowserKind::SiteData) && !keeps.sitesReadable)
    ctx.notes.push_back(std::string(b.info->name) + ": the site keep list cannot be read, so its site data is kept");
  for (const BrowserProfile& p : b.profiles) {
    if (b.info->family == BrowserFamily::Chromium) CleanChromiumProfile(job, p);
    else CleanFirefoxProfile(job, p);
  }
  if (b.info->family == BrowserFamily::Chromium) CleanChromiumBrowser(job);
  return true;
}

void CleanMoreBrowsers(RunContext& ctx) {
  const BrowserKeeps keeps = ReadBrowserKeeps(ctx.settingsFile);
  const std::map<std::string, std::string> stored = ReadIniSection(ctx.settingsFile, kMoreBrowsersSection);
  for (const FoundBrowser& b : FindBrowsers()) CleanFoundBrowser(ctx, b, KindsOf(stored, *b.info), keeps);
}

std::vector<std::string> BrowserCookieSites() {
  std::vector<std::string> sites;
  for (const FoundBrowser& b : FindBrowsers()) {
    for (const BrowserProfile& p : b.profiles) {
      const bool chromium = b.info->family == BrowserFamily::Chromium;
      SqliteDb db;
      if (db.Open(chromium ? ChromiumCookiesFile(p) : FirefoxCookiesFile(p), true) != SqliteDb::Opened::Ok) continue;
      for (const std::string& host : db.Texts(chromium ? "SELECT DISTINCT host_key FROM cookies" : "SELECT DISTINCT host FROM moz_cookies")) {
        const std::string site = SiteOf(host);
        if (!site.empty()) sites.push_back(site);
      }
    }
  }
  std::sort(sites.begin(), sites.end());
  sites.erase(std::unique(sites.begin(), sites.end()), sites.end());
  return sites;
}

// ---- What the families share ----------------------------------------------------------------

void CleanSiteRows(BrowserJob& job, const BrowserProfile& profile, const std::string& path, const std::string& table,
                   const std::string& column, const std::string& filter, const std::function<std::string(const std::string&)>& hostOf) {
  if (!job.sitesReadable) return;
  auto host = [&](const std::string& value) { return SiteOf(hostOf ? hostOf(value) : value); };
  const std::string only = filter.empty() ? "" : " AND (" + filter + ")";
  // One entry per site, so that a preview can keep one: "...\Cookies: cookies of example.com (3 rows)".
  const std::string label = table + " of ";
  // Of each site, the rows that may go, and (keeping to a preview) of those only the ones
  // with no higher row id than the preview saw.
  auto sitesOf = [&](SqliteDb& db, const std::string& bound) {
    std::map<std::string, long long> sites;
    for (const auto& row : db.TextCounts("SELECT " + column + ", count(*) FROM " + table + " WHERE NOT tsw_kept(" + column + ")" +
                                         only + (bound.empty() ? "" : " AND " + bound) + " GROUP BY " + column))
      sites[host(row.first)] += row.second;
    return sites;
  };
  auto kept = [&](const std::string& value) { return job.keptSites.Keeps(host(value)); };
  CarryingEraser* carrying = KeepingToPreview(job.ctx);
  std::set<std::string> chosen;  // keeping to a preview: the sites whose rows may go
  std::string bound;             // and the rows the preview saw
  if (job.ctx.preview || carrying) {
    SqliteDb db;
    if (db.Open(path, true) != SqliteDb::Opened::Ok || !db.HasTable(table) || !db.AddPredicate("tsw_kept", kept)) {
      if (job.ctx.preview) ChangeDatabase(job, profile, path, {{table, "", "", true}});  // says why, changes nothing
      return;
    }
    const std::string mark = RowIdMark(db, table);
    if (carrying) {
      // The lowest mark of the listed sites: a row the preview did not see never goes.
      for (const PreviewEntry& e : carrying->Entries()) {
        const std::string b = RowIdBound(e.seen);
        if (e.kind == "rows" && !b.empty() && e.target.compare(0, path.size(), path) == 0 &&
            (bound.empty() || std::stoull(b.substr(9)) < std::stoull(bound.substr(9))))
          bound = b;
      }
    }
    if (job.ctx.preview) {
      std::map<std::string, long long> keptSites;
      for (const auto& row : db.TextCounts("SELECT " + column + ", count(*) FROM " + table + " WHERE tsw_kept(" + column + ")" +
                                           only + " GROUP BY " + column))
        keptSites[hostOf ? host(row.first) : row.first] += row.second;
      for (const auto& site : keptSites)
        PreviewKept(job.ctx, path + ": " + label + site.first + " (" + std::to_string(site.second) + " rows)", "site keep list");
    }
    for (const auto& site : sitesOf(db, bound)) {
      const std::string target = path + ": " + label + site.first;
      const unsigned long long rows = static_cast<unsigned long long>(site.second);
      if (job.ctx.preview) {
        PreviewEntry e = RowsEntry(target, rows);
        e.seen = mark;
        job.ctx.preview->entries.push_back(e);
      } else if (carrying->MayCarryOut("rows", target, [rows](const PreviewEntry& listed) { return rows <= listed.count; })) {
        chosen.insert(site.first);
      }
    }
    if (job.ctx.preview || chosen.empty()) return;
  }
  const std::string where = " FROM " + table + " WHERE NOT tsw_kept(" + column + ")" + only +
                            (carrying ? " AND tsw_chosen(" + column + ")" : "") + (bound.empty() ? "" : " AND " + bound);
  ChangeDatabase(job, profile, path, {{table, "", "DELETE" + where, true}}, [&](SqliteDb& db) {
    return db.AddPredicate("tsw_kept", kept) &&
           db.AddPredicate("tsw_chosen", [&](const std::string& value) { return chosen.count(host(value)) != 0; });
  });
}

void CleanCookieTable(BrowserJob& job, const BrowserProfile& profile, const std::string& path, const std::string& table,
                      const std::string& hostColumn) {
  CleanSiteRows(job, profile, path, table, hostColumn);
}

void EraseWholeFiles(BrowserJob& job, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) job.ctx.filesize += DeleteOneFile(path);
}

void EmptyFilesBelow(BrowserJob& job, const std::string& folder) {
  if (!IsFolderPath(folder) || !FolderMayBeErased(folder)) return;
  Eraser& e = ActiveEraser();
  WalkListedFiles(folder, true, [&](const std::string& f, const ListedEntry& entry) {
    if (e.EraseListedFile(f + entry.name, entry.facts, false)) job.ctx.filesize += FileBytes(entry);
  });
}
