// The Chromium family: History, Cookies, Web Data and the files beside them, per profile.
#include <nlohmann/json.hpp>

#include "engine/BrowserFamily.h"
#include "keeplists/ListFile.h"

namespace {

bool FileThere(const std::string& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

void CollectUrls(const nlohmann::json& node, std::vector<std::string>& urls) {
  if (!node.is_object()) return;
  auto type = node.find("type");
  auto url = node.find("url");
  if (type != node.end() && type->is_string() && *type == "url" && url != node.end() && url->is_string())
    urls.push_back(url->get<std::string>());
  auto children = node.find("children");
  if (children != node.end() && children->is_array())
    for (const nlohmann::json& child : *children) CollectUrls(child, urls);
}

// Steps that take every row of optional tables.
void AddClearTables(std::vector<DbStep>& steps, std::initializer_list<const char*> tables) {
  for (const char* t : tables)
    steps.push_back({t, std::string("SELECT count(*) FROM \"") + t + "\"", std::string("DELETE FROM \"") + t + "\""});
}

// The pages' icons: mappings of pages that do not stay, and the icons no page that stays uses.
void CleanFavicons(BrowserJob& job, const BrowserProfile& p, const std::vector<std::string>& keep) {
  const std::string keptIcons = "SELECT icon_id FROM icon_mapping WHERE page_url IN (SELECT value FROM temp.tsw_keep)";
  std::vector<DbStep> steps = {
      {"icon_mapping", "SELECT count(*) FROM icon_mapping WHERE page_url NOT IN (SELECT value FROM temp.tsw_keep)",
       "DELETE FROM icon_mapping WHERE page_url NOT IN (SELECT value FROM temp.tsw_keep)", true},
      {"favicons", "SELECT count(*) FROM favicons WHERE id NOT IN (" + keptIcons + ")",
       "DELETE FROM favicons WHERE id NOT IN (" + keptIcons + ")", true},
      {"favicon_bitmaps", "", "DELETE FROM favicon_bitmaps WHERE icon_id NOT IN (SELECT id FROM favicons)", false, "",
       "favicons"},
  };
  ChangeDatabase(job, p, p.folder + "\\Favicons", steps, [&](SqliteDb& db) { return db.TempTable("tsw_keep", keep); });
}

void CleanHistory(BrowserJob& job, const BrowserProfile& p) {
  if (!job.urlsReadable) return;
  std::vector<std::string> keep = job.keptUrls;
  if (!ChromiumBookmarks(p.folder, keep)) {
    job.Note(p, "its bookmarks cannot be read, so its history is kept");
    return;
  }
  std::vector<DbStep> steps = {
      {"urls", "", "", true},
      {"visits", "SELECT count(*) FROM visits", "DELETE FROM visits", true, "", "", "visit_time"},
  };
  AddClearTables(steps, {"visit_source", "content_annotations", "context_annotations", "clusters", "clusters_and_visits",
                         "cluster_keywords", "cluster_visit_duplicates", "keyword_search_terms", "segment_usage", "segments",
                         "visited_links", "journeys", "journey_history_entries", "journey_continuation_queries"});
  // A bookmarked or kept page stays, with its visits cleared. Most rows go: the few that stay
  // are set aside and put back, so that the table and its indexes are cleared in one sweep
  // rather than row by row.
  steps.push_back({"urls", "", "CREATE TEMP TABLE tsw_urls AS SELECT * FROM urls WHERE url IN (SELECT value FROM temp.tsw_keep)",
                   false, "", "urls"});
  // A page visited after a preview is one it did not count: it stays.
  steps.push_back({"urls", "SELECT count(*) FROM urls WHERE url NOT IN (SELECT value FROM temp.tsw_keep)", "DELETE FROM urls",
                   false, "", "", "last_visit_time"});
  // Put back; a kept page the deletion did not reach (one newer than a preview saw) is there still.
  steps.push_back({"urls", "", "INSERT OR IGNORE INTO urls SELECT * FROM temp.tsw_urls", false, "", "urls"});
  // The pages that stay keep no trace of their visits: part of erasing the visits, and only of that.
  // A page visited after the preview keeps its counts: its newer visits stay.
  steps.push_back({"urls", "", "UPDATE urls SET visit_count = 0, typed_count = 0, last_visit_time = 0", false, "", "visits",
                   "last_visit_time"});
  const std::string history = p.folder + "\\History";
  ChangeDatabase(job, p, history, steps, [&](SqliteDb& db) {
    if (!db.TempTable("tsw_keep", keep)) return false;
    PreviewKeptPages(job, db, history, "SELECT url FROM urls WHERE url IN (SELECT value FROM temp.tsw_keep) AND id IN (SELECT url FROM visits)");
    return true;
  });
  CleanFavicons(job, p, keep);
  // The sites that bounced the user on, with the times of each visit.
  std::vector<DbStep> bounces;
  AddClearTables(bounces, {"bounces", "popups"});
  ChangeDatabase(job, p, p.folder + "\\DIPS", bounces);
  // Companions that hold only history: the address bar's shortcuts and predictions, the
  // most-visited tiles and their thumbnails, the visited-links table.
  std::vector<std::string> whole;
  for (const char* name : {"History Provider Cache", "Visited Links", "Top Sites", "Top Sites-journal", "Shortcuts",
                           "Shortcuts-journal", "Network Action Predictor", "Network Action Predictor-journal", "Thumbnails",
                           "Thumbnails-journal"})
    whole.push_back(p.folder + "\\" + name);
  EraseWholeFiles(job, whole);
}

void CleanDownloads(BrowserJob& job, const BrowserProfile& p) {
  std::vector<DbStep> steps = {{"downloads", "SELECT count(*) FROM downloads", "DELETE FROM downloads", true}};
  AddClearTables(steps, {"downloads_url_chains", "downloads_slices", "downloads_reroute_info"});
  ChangeDatabase(job, p, p.folder + "\\History", steps);
  CleanChromiumDownloadRecords(job, p);
}

void CleanFormEntries(BrowserJob& job, const BrowserProfile& p) {
  // Values typed into forms; saved addresses and payment cards live in other tables and stay.
  std::vector<DbStep> steps = {{"autofill", "SELECT count(*) FROM autofill", "DELETE FROM autofill", true}};
  AddClearTables(steps, {"autofill_dates"});
  ChangeDatabase(job, p, p.folder + "\\Web Data", steps);
}

void CleanSession(BrowserJob& job, const BrowserProfile& p) {
  EraseWholeFiles(job, {p.folder + "\\Current Session", p.folder + "\\Last Session", p.folder + "\\Current Tabs",
                        p.folder + "\\Last Tabs"});
  // Today's versions keep the saved windows and tabs in "Sessions", and an encrypted copy beside it.
  EmptyFilesBelow(job, p.folder + "\\Sessions");
  EmptyFilesBelow(job, p.folder + "\\Sessions_Encrypted");
}

// The browser's caches only: what sites keep for themselves (service workers' caches and
// scripts) is their site data.
void CleanCache(BrowserJob& job, const BrowserProfile& p) {
  for (const char* cache : {"Cache", "Code Cache", "GPUCache", "Media Cache", "Application Cache", "DawnGraphiteCache",
                            "DawnWebGPUCache"}) {
    EmptyFilesBelow(job, p.localFolder + "\\" + cache);
    if (p.localFolder != p.folder) EmptyFilesBelow(job, p.folder + "\\" + cache);
  }
}

}  // namespace

namespace {
// The URLs of one bookmarks file; a missing file holds none.
bool BookmarksOf(const std::string& path, std::vector<std::string>& urls) {
  if (!FileThere(path)) return true;
  std::string text;
  if (!ReadWholeFile(path, text)) return false;
  const nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) return false;
  auto roots = doc.find("roots");
  if (roots == doc.end() || !roots->is_object()) return false;
  for (const auto& root : roots->items()) CollectUrls(root.value(), urls);
  return true;
}
}  // namespace

bool ChromiumBookmarks(const std::string& profileFolder, std::vector<std::string>& urls) {
  const std::string main = profileFolder + "\\Bookmarks";
  // Without its file, the browser restores the bookmarks from the backup: so are they spared.
  const std::string bookmarks = FileThere(main) ? main : profileFolder + "\\Bookmarks.bak";
  return BookmarksOf(bookmarks, urls) && BookmarksOf(profileFolder + "\\AccountBookmarks", urls);
}

std::vector<std::string> ChromiumNamedProfiles(const std::string& userDataFolder) {
  std::vector<std::string> names;
  std::string text;
  if (!FileThere(userDataFolder + "\\Local State") || !ReadWholeFile(userDataFolder + "\\Local State", text)) return names;
  const nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) return names;
  auto profile = doc.find("profile");
  if (profile == doc.end() || !profile->is_object()) return names;
  auto cache = profile->find("info_cache");
  if (cache == profile->end() || !cache->is_object()) return names;
  for (const auto& entry : cache->items()) {
    const std::string& name = entry.key();
    // A folder of its own, never a path: nothing that could lead out of the user-data folder.
    if (name.empty() || name == "." || name == ".." || name.find_first_of("\\/:*?\"<>|") != std::string::npos) continue;
    names.push_back(name);
  }
  return names;
}

std::string ChromiumCookiesFile(const BrowserProfile& p) {
  const std::string network = p.folder + "\\Network\\Cookies";
  return FileThere(network) ? network : p.folder + "\\Cookies";
}

void CleanChromiumProfile(BrowserJob& job, const BrowserProfile& p) {
  if (job.Chosen(BrowserKind::History)) CleanHistory(job, p);
  if (job.Chosen(BrowserKind::Downloads)) CleanDownloads(job, p);
  if (job.Chosen(BrowserKind::Cookies)) CleanCookieTable(job, p, ChromiumCookiesFile(p), "cookies", "host_key");
  if (job.Chosen(BrowserKind::FormEntries)) CleanFormEntries(job, p);
  if (job.Chosen(BrowserKind::Session)) CleanSession(job, p);
  if (job.Chosen(BrowserKind::Cache)) CleanCache(job, p);
  if (job.Chosen(BrowserKind::SiteData)) CleanChromiumSiteData(job, p);
}

void CleanChromiumBrowser(BrowserJob& job) {
  if (job.Chosen(BrowserKind::History) && job.urlsReadable) {
    // The addresses the segmentation platform keeps for all profiles, with what it measured of
    // them; the pages every profile keeps stay.
    std::vector<std::string> keep = job.keptUrls;
    bool readable = true;
    for (const BrowserProfile& p : job.browser.profiles) readable = ChromiumBookmarks(p.folder, keep) && readable;
    const BrowserProfile all{"", job.browser.folder, job.browser.localFolder};
    if (readable) {
      std::vector<DbStep> steps = {
          {"urls", "SELECT count(*) FROM urls WHERE url NOT IN (SELECT value FROM temp.tsw_keep)",
           "DELETE FROM urls WHERE url NOT IN (SELECT value FROM temp.tsw_keep)", true},
          {"metrics", "", "DELETE FROM metrics WHERE url_id IS NOT NULL AND url_id <> 0 AND url_id NOT IN (SELECT url_id FROM urls)",
           false, "", "urls"},
      };
      ChangeDatabase(job, all, job.browser.folder + "\\segmentation_platform\\ukm_db", steps,
                     [&](SqliteDb& db) { return db.TempTable("tsw_keep", keep); });
    } else {
      job.Note(all, "the bookmarks of a profile cannot be read, so the pages it measured are kept");
    }
  }
  if (!job.Chosen(BrowserKind::Cache)) return;
  for (const char* cache : {"ShaderCache", "GrShaderCache", "GraphiteDawnCache"})
    EmptyFilesBelow(job, job.browser.localFolder + "\\" + cache);
}
