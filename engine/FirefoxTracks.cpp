// The Firefox family: places.sqlite, cookies.sqlite, formhistory.sqlite, the session files and
// the caches of the local profile folder.
#include <set>

#include "engine/BrowserFamily.h"

namespace {

// Places that nothing keeps any more: no visit, no annotation, not bookmarked, not on the keep list.
const char kUnkept[] =
    " FROM moz_places WHERE url NOT IN (SELECT value FROM temp.tsw_keep)"
    " AND id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)";
const char kUnvisited[] = " AND id NOT IN (SELECT place_id FROM moz_historyvisits)";

// What else keeps a place in this version: its annotations and keywords.
std::string OtherKeepers(SqliteDb& db) {
  std::string where;
  if (db.HasTable("moz_annos")) where += " AND id NOT IN (SELECT place_id FROM moz_annos)";
  if (db.HasTable("moz_keywords") && db.HasColumn("moz_keywords", "place_id"))
    where += " AND id NOT IN (SELECT place_id FROM moz_keywords WHERE place_id IS NOT NULL)";
  return where;
}

void CleanPlaces(BrowserJob& job, const BrowserProfile& p) {
  const bool history = job.Chosen(BrowserKind::History) && job.urlsReadable;
  const bool downloads = job.Chosen(BrowserKind::Downloads);
  if (!history && !downloads) return;
  const std::string path = p.folder + "\\places.sqlite";
  // The statements depend on which tables this version has: read them first.
  std::string keepers;
  bool annos = false, origins = false;
  {
    SqliteDb probe;
    if (probe.Open(path, true) == SqliteDb::Opened::Ok) {
      keepers = OtherKeepers(probe);
      annos = probe.HasTable("moz_annos") && probe.HasTable("moz_anno_attributes");
      origins = probe.HasTable("moz_origins") && probe.HasColumn("moz_places", "origin_id");
    }
  }
  std::string orphans = kUnkept + keepers + kUnvisited;
  // The download list alone takes only the places that were downloads.
  if (!history) orphans += " AND id IN (SELECT value FROM temp.tsw_downloads)";
  std::vector<DbStep> steps = {{"moz_places", "", "", true}, {"moz_historyvisits", "", "", true}, {"moz_bookmarks", "", "", true}};
  if (history) {
    // Download visits (type 7) belong to the download list.
    steps.push_back({"moz_historyvisits", "SELECT count(*) FROM moz_historyvisits WHERE visit_type <> 7",
                     "DELETE FROM moz_historyvisits WHERE visit_type <> 7", false, "", "", "visit_date"});
    for (const char* t : {"moz_inputhistory", "moz_places_metadata", "moz_places_metadata_search_queries"})
      steps.push_back({t, std::string("SELECT count(*) FROM ") + t, std::string("DELETE FROM ") + t});
  }
  if (downloads) {
    steps.push_back({"moz_historyvisits", "SELECT count(*) FROM moz_historyvisits WHERE visit_type = 7",
                     "DELETE FROM moz_historyvisits WHERE visit_type = 7", false, "moz_historyvisits (downloads)", "", "visit_date"});
    if (annos) {
      const std::string where =
          " FROM moz_annos WHERE anno_attribute_id IN (SELECT id FROM moz_anno_attributes WHERE name LIKE 'downloads/%')";
      steps.push_back({"moz_annos", "SELECT count(*)" + where, "DELETE" + where});
    }
  }
  // In a preview the visits are still there: count the places that would be left orphans,
  // kept by the same annotations and keywords as the run.
  std::string previewOrphans = kUnkept + keepers;
  if (!history) previewOrphans += " AND id NOT IN (SELECT place_id FROM moz_historyvisits WHERE visit_type <> 7)";
  if (!downloads) previewOrphans += " AND id NOT IN (SELECT place_id FROM moz_historyvisits WHERE visit_type = 7)";
  if (!history) previewOrphans += " AND id IN (SELECT value FROM temp.tsw_downloads)";
  steps.push_back({"moz_places", "SELECT count(*)" + previewOrphans, "DELETE" + orphans});
  // Each rewrite runs with the step it belongs to, and only with it.
  if (history)
    steps.push_back({"moz_places", "",
                     "UPDATE moz_places SET visit_count = 0, last_visit_date = NULL WHERE id NOT IN (SELECT place_id FROM moz_historyvisits)",
                     false, "", "moz_historyvisits"});
  // What the browser's sync adds to a place or a visit goes with it.
  steps.push_back({"moz_historyvisits_extra", "", "DELETE FROM moz_historyvisits_extra WHERE visit_id NOT IN (SELECT id FROM moz_historyvisits)",
                   false, "", "moz_historyvisits|moz_historyvisits (downloads)"});
  steps.push_back({"moz_places_extra", "", "DELETE FROM moz_places_extra WHERE place_id NOT IN (SELECT id FROM moz_places)",
                   false, "", "moz_places"});
  // The new tab page's record of the tiles the user clicked, of the places that went.
  steps.push_back({"moz_newtab_shortcuts_interaction", "",
                   "DELETE FROM moz_newtab_shortcuts_interaction WHERE place_id NOT IN (SELECT id FROM moz_places)", false, "",
                   "moz_places"});
  if (origins)
    steps.push_back({"moz_origins", "", "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places WHERE origin_id IS NOT NULL)",
                     false, "", "moz_places"});
  const std::vector<std::string> keep = history ? job.keptUrls : std::vector<std::string>();
  std::string downloadPlaces = "CREATE TEMP TABLE tsw_downloads AS SELECT place_id AS value FROM moz_historyvisits WHERE visit_type = 7";
  if (annos)
    downloadPlaces += " UNION SELECT place_id FROM moz_annos WHERE anno_attribute_id IN"
                      " (SELECT id FROM moz_anno_attributes WHERE name LIKE 'downloads/%')";
  ChangeDatabase(job, p, path, steps, [&](SqliteDb& db) {
    if (!db.TempTable("tsw_keep", keep) || !db.Exec(downloadPlaces)) return false;
    if (history)
      PreviewKeptPages(job, db, path,
                       "SELECT url FROM moz_places WHERE (url IN (SELECT value FROM temp.tsw_keep)"
                       " OR id IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL))"
                       " AND id IN (SELECT place_id FROM moz_historyvisits WHERE visit_type <> 7)");
    return true;
  });
}

// The pages' icons: pages that are neither bookmarked nor kept, and the icons only they used. A
// site's root icon (its favicon.ico) stays while a page of that site stays.
void CleanFavicons(BrowserJob& job, const BrowserProfile& p) {
  std::vector<std::string> keep = job.keptUrls;
  {
    SqliteDb places;
    const SqliteDb::Opened opened = places.Open(p.folder + "\\places.sqlite", true);
    if (opened == SqliteDb::Opened::Ok && places.HasTable("moz_bookmarks")) {
      for (const std::string& url : places.Texts("SELECT url FROM moz_places WHERE id IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)"))
        keep.push_back(url);
    } else if (opened != SqliteDb::Opened::Missing) {
      job.Note(p, "its bookmarks cannot be read, so the icons of its pages are kept");
      return;
    }
  }
  std::set<std::string> keptHosts;
  for (const std::string& url : keep) keptHosts.insert(SiteOf(url));
  const std::string keptPages = "SELECT id FROM moz_pages_w_icons WHERE page_url IN (SELECT value FROM temp.tsw_keep)";
  const std::string unused = " FROM moz_icons WHERE id NOT IN (SELECT icon_id FROM moz_icons_to_pages WHERE page_id IN (" +
                             keptPages + ")) AND (root = 0 OR NOT tsw_kept_host(icon_url))";
  std::vector<DbStep> steps = {
      {"moz_pages_w_icons", "SELECT count(*) FROM moz_pages_w_icons WHERE page_url NOT IN (SELECT value FROM temp.tsw_keep)",
       "DELETE FROM moz_pages_w_icons WHERE page_url NOT IN (SELECT value FROM temp.tsw_keep)", true},
      {"moz_icons_to_pages", "", "DELETE FROM moz_icons_to_pages WHERE page_id NOT IN (" + keptPages + ")", true, "",
       "moz_pages_w_icons"},
      {"moz_icons", "SELECT count(*)" + unused, "DELETE" + unused, true},
  };
  ChangeDatabase(job, p, p.folder + "\\favicons.sqlite", steps, [&](SqliteDb& db) {
    return db.TempTable("tsw_keep", keep) &&
           db.AddPredicate("tsw_kept_host", [&](const std::string& url) { return keptHosts.count(SiteOf(url)) != 0; });
  });
}

void CleanFormHistory(BrowserJob& job, const BrowserProfile& p) {
  std::vector<DbStep> steps = {{"moz_formhistory", "SELECT count(*) FROM moz_formhistory", "DELETE FROM moz_formhistory", true}};
  for (const char* t : {"moz_history_to_sources", "moz_sources"})
    steps.push_back({t, std::string("SELECT count(*) FROM ") + t, std::string("DELETE FROM ") + t});
  ChangeDatabase(job, p, p.folder + "\\formhistory.sqlite", steps);
}

}  // namespace

std::string FirefoxCookiesFile(const BrowserProfile& p) { return p.folder + "\\cookies.sqlite"; }

void CleanFirefoxProfile(BrowserJob& job, const BrowserProfile& p) {
  CleanPlaces(job, p);
  if (job.Chosen(BrowserKind::History) && job.urlsReadable) {
    CleanFavicons(job, p);
    // The sites that bounced the user on, and those the user interacted with.
    ChangeDatabase(job, p, p.folder + "\\bounce-tracking-protection.sqlite",
                   {{"sites", "SELECT count(*) FROM sites", "DELETE FROM sites"}});
    ChangeDatabase(job, p, p.folder + "\\permissions.sqlite",
                   {{"moz_origin_interactions", "SELECT count(*) FROM moz_origin_interactions", "DELETE FROM moz_origin_interactions"}});
  }
  if (job.Chosen(BrowserKind::Cookies)) CleanCookieTable(job, p, FirefoxCookiesFile(p), "moz_cookies", "host");
  if (job.Chosen(BrowserKind::FormEntries)) CleanFormHistory(job, p);
  if (job.Chosen(BrowserKind::Session)) {
    EraseWholeFiles(job, {p.folder + "\\sessionstore.jsonlz4", p.folder + "\\sessionstore.js"});
    EmptyFilesBelow(job, p.folder + "\\sessionstore-backups");
  }
  if (job.Chosen(BrowserKind::Cache)) {
    for (const char* cache : {"cache2", "startupCache", "thumbnails", "jumpListCache", "shader-cache"})
      EmptyFilesBelow(job, p.localFolder + "\\" + cache);
  }
  if (job.Chosen(BrowserKind::SiteData)) CleanFirefoxSiteData(job, p);
}
