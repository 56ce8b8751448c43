// The Firefox family: places.sqlite, cookies.sqlite, formhistory.sqlite, the session files and
// the caches of the local profile folder.
#include "engine/BrowserFamily.h"

namespace {

// Places that nothing keeps any more: no visit, no annotation, not bookmarked, not on the keep list.
const char kOrphans[] =
    " FROM moz_places WHERE url NOT IN (SELECT value FROM temp.tsw_keep)"
    " AND id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)"
    " AND id NOT IN (SELECT place_id FROM moz_historyvisits)";

std::string Orphans(SqliteDb& db) {
  std::string where = kOrphans;
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
  std::string orphans;
  bool annos = false, origins = false;
  {
    SqliteDb probe;
    if (probe.Open(path, true) == SqliteDb::Opened::Ok) {
      orphans = Orphans(probe);
      annos = probe.HasTable("moz_annos") && probe.HasTable("moz_anno_attributes");
      origins = probe.HasTable("moz_origins") && probe.HasColumn("moz_places", "origin_id");
    }
  }
  if (orphans.empty()) orphans = kOrphans;
  // The download list alone takes only the places that were downloads.
  if (!history) orphans += " AND id IN (SELECT value FROM temp.tsw_downloads)";
  std::vector<DbStep> steps = {{"moz_places", "", "", true}, {"moz_historyvisits", "", "", true}, {"moz_bookmarks", "", "", true}};
  if (history) {
    // Download visits (type 7) belong to the download list.
    steps.push_back({"moz_historyvisits", "SELECT count(*) FROM moz_historyvisits WHERE visit_type <> 7",
                     "DELETE FROM moz_historyvisits WHERE visit_type <> 7"});
    for (const char* t : {"moz_inputhistory", "moz_places_metadata", "moz_places_metadata_search_queries"})
      steps.push_back({t, std::string("SELECT count(*) FROM ") + t, std::string("DELETE FROM ") + t});
  }
  if (downloads) {
    steps.push_back({"moz_historyvisits", "SELECT count(*) FROM moz_historyvisits WHERE visit_type = 7",
                     "DELETE FROM moz_historyvisits WHERE visit_type = 7", false, "moz_historyvisits (downloads)"});
    if (annos) {
      const std::string where =
          " FROM moz_annos WHERE anno_attribute_id IN (SELECT id FROM moz_anno_attributes WHERE name LIKE 'downloads/%')";
      steps.push_back({"moz_annos", "SELECT count(*)" + where, "DELETE" + where});
    }
  }
  // In a preview the visits are still there: count the places that would be left orphans.
  std::string previewOrphans = " FROM moz_places WHERE url NOT IN (SELECT value FROM temp.tsw_keep)"
                               " AND id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)";
  if (!history) previewOrphans += " AND id NOT IN (SELECT place_id FROM moz_historyvisits WHERE visit_type <> 7)";
  if (!downloads) previewOrphans += " AND id NOT IN (SELECT place_id FROM moz_historyvisits WHERE visit_type = 7)";
  if (!history) previewOrphans += " AND id IN (SELECT value FROM temp.tsw_downloads)";
  steps.push_back({"moz_places", "SELECT count(*)" + previewOrphans, "DELETE" + orphans});
  // Each rewrite runs with the step it belongs to, and only with it.
  if (history)
    steps.push_back({"moz_places", "",
                     "UPDATE moz_places SET visit_count = 0, last_visit_date = NULL WHERE id NOT IN (SELECT place_id FROM moz_historyvisits)",
                     false, "", "moz_historyvisits"});
  if (origins)
    steps.push_back({"moz_origins", "", "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places WHERE origin_id IS NOT NULL)",
                     false, "", "moz_places"});
  const std::vector<std::string> keep = history ? job.keptUrls : std::vector<std::string>();
  std::string downloadPlaces = "CREATE TEMP TABLE tsw_downloads AS SELECT place_id AS value FROM moz_historyvisits WHERE visit_type = 7";
  if (annos)
    downloadPlaces += " UNION SELECT place_id FROM moz_annos WHERE anno_attribute_id IN"
                      " (SELECT id FROM moz_anno_attributes WHERE name LIKE 'downloads/%')";
  ChangeDatabase(job, p, path, steps, [&](SqliteDb& db) { return db.TempTable("tsw_keep", keep) && db.Exec(downloadPlaces); });
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
}
