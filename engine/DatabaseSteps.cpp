// The one way a browser's database is changed (ChangeDatabase), and the marks that keep a run to
// the rows a preview saw.
#include <windows.h>

#include <algorithm>
#include <map>
#include <set>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "engine/BrowserFamily.h"
#include "engine/Preview.h"

namespace {
unsigned long long BytesOf(const std::string& path) {
  FileFacts facts;
  return FactsOfPath(path, facts) ? facts.size : 0;
}
// The database with its journal and write-ahead log: what its tracks take on the disk.
unsigned long long DatabaseBytes(const std::string& path) {
  return BytesOf(path) + BytesOf(path + "-journal") + BytesOf(path + "-wal");
}
std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

bool Digits(const std::string& s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos; }

// The time of a mark ("rowid 1234 time 13345678901234567" -> "13345678901234567"), "" without one.
std::string MarkTime(const std::string& seen) {
  const size_t at = seen.find(" time ");
  if (at == std::string::npos || !Digits(seen.substr(at + 6))) return "";
  return seen.substr(at + 6);
}

// The condition that keeps a statement to rows no newer than the time a preview saw; a row
// without a time was there unvisited, and is no newer.
std::string TimeBound(const std::string& seen, const std::string& timeColumn) {
  const std::string time = MarkTime(seen);
  if (timeColumn.empty() || time.empty()) return "";
  return "(" + timeColumn + " IS NULL OR " + timeColumn + " <= " + time + ")";
}

// The statement with the condition added to its outermost WHERE (every inner one stands in
// parentheses), or as its WHERE.
std::string Bounded(const std::string& sql, const std::string& bound) {
  if (bound.empty()) return sql;
  return sql + (sql.find(" WHERE ") == std::string::npos ? " WHERE " : " AND ") + bound;
}

// The labels a rewrite belongs to ("moz_historyvisits|moz_historyvisits (downloads)"): it runs
// when one of those steps runs.
std::vector<std::string> FollowedLabels(const std::string& follows) {
  std::vector<std::string> labels;
  for (size_t from = 0; from <= follows.size();) {
    const size_t bar = follows.find('|', from);
    labels.push_back(follows.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
    if (bar == std::string::npos) break;
    from = bar + 1;
  }
  return labels;
}
}  // namespace

std::string RowIdMark(const SqliteDb& db, const std::string& table, const std::string& timeColumn) {
  const std::vector<std::string> max = db.Texts("SELECT max(rowid) FROM \"" + table + "\"");
  if (max.empty()) return "";
  std::string mark = "rowid " + (max[0].empty() ? std::string("0") : max[0]);
  if (!timeColumn.empty()) {
    const std::vector<std::string> latest = db.Texts("SELECT max(" + timeColumn + ") FROM \"" + table + "\"");
    if (!latest.empty() && Digits(latest[0])) mark += " time " + latest[0];
  }
  return mark;
}

std::string RowIdBound(const std::string& seen, const std::string& timeColumn) {
  if (seen.compare(0, 6, "rowid ") != 0) return "";
  const std::string id = seen.substr(6, seen.find(' ', 6) == std::string::npos ? std::string::npos : seen.find(' ', 6) - 6);
  if (!Digits(id)) return "";
  const std::string time = TimeBound(seen, timeColumn);
  return "rowid <= " + id + (time.empty() ? "" : " AND " + time);
}

void PreviewKeptPages(BrowserJob& job, const SqliteDb& db, const std::string& path, const std::string& urlsSql) {
  if (!job.ctx.preview) return;
  for (const std::string& url : db.Texts(urlsSql)) {
    const bool listed = std::find(job.keptUrls.begin(), job.keptUrls.end(), url) != job.keptUrls.end();
    PreviewKept(job.ctx, path + ": " + url, listed ? "URL keep list" : "bookmarks");
  }
}

void ChangeDatabase(BrowserJob& job, const BrowserProfile& profile, const std::string& path,
                    const std::vector<DbStep>& steps, const std::function<bool(SqliteDb&)>& prepare) {
  // Its folder must be one the guard lets the program change; links are never followed.
  const std::string folder = path.substr(0, path.find_last_of('\\'));
  if (!FolderMayBeErased(folder)) return;
  const DWORD attrs = AttributesOf(path);
  if (attrs == INVALID_FILE_ATTRIBUTES) return;  // nothing of this kind here
  if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) return;
  const bool preview = job.ctx.preview != nullptr;
  SqliteDb db;
  switch (db.Open(path, preview)) {
    case SqliteDb::Opened::Ok: break;
    case SqliteDb::Opened::Missing: return;
    case SqliteDb::Opened::Busy:
      job.Note(profile, FileName(path) + " is locked by another program: left alone");
      return;
    case SqliteDb::Opened::NotADatabase:
    case SqliteDb::Opened::Failed:
      job.Note(profile, FileName(path) + " is not a database Tracksweep can read: left alone");
      return;
  }
  for (const DbStep& step : steps) {
    if (step.required && !db.HasTable(step.table)) {
      job.Note(profile, FileName(path) + " has no table " + step.table + ": left alone");
      return;
    }
  }
  if (prepare && !prepare(db)) {
    job.Note(profile, FileName(path) + " could not be prepared (" + db.Error() + "): left alone");
    return;
  }
  const std::string prefix = path + ": ";
  if (preview) {
    for (const DbStep& step : steps) {
      if (step.countSql.empty() || !db.HasTable(step.table)) continue;
      const long long rows = db.Number(step.countSql);
      if (rows <= 0) continue;
      PreviewEntry e = RowsEntry(prefix + step.Label(), static_cast<unsigned long long>(rows));
      e.seen = RowIdMark(db, step.table, step.timeColumn);
      job.ctx.preview->entries.push_back(e);
    }
    return;
  }
  // Keeping to a preview: a counted step runs only when its entry is ticked, and only on the
  // rows the preview saw (no higher row id, no later time than it saw), and not when more of
  // them would go than it counted; the rewrites that follow it run with it, and only with it,
  // on the rows no later than it saw.
  std::set<std::string> skip, counted;
  std::map<std::string, std::string> seen;  // label -> what the preview saw of its table
  std::map<std::string, long long> within;  // label -> its rows within the preview's bounds, before the run
  bool anyCounted = false, anyChosen = false;
  CarryingEraser* carrying = KeepingToPreview(job.ctx);
  for (const DbStep& step : steps) {
    if (step.countSql.empty() || !db.HasTable(step.table)) continue;
    anyCounted = true;
    counted.insert(step.Label());
    const bool chosen = !carrying || carrying->MayCarryOut("rows", prefix + step.Label(), [&](const PreviewEntry& listed) {
      seen[step.Label()] = listed.seen;
      return static_cast<unsigned long long>(db.Number(Bounded(step.countSql, RowIdBound(listed.seen, step.timeColumn)))) <= listed.count;
    });
    if (chosen) anyChosen = true;
    else skip.insert(step.Label());
  }
  auto boundOf = [&](const DbStep& step) {
    const auto mark = seen.find(step.Label());
    return mark == seen.end() ? std::string() : RowIdBound(mark->second, step.timeColumn);
  };
  for (const DbStep& step : steps)
    if (counted.count(step.Label()) && !skip.count(step.Label()) && job.ctx.carrying)
      within[step.Label()] = db.Number(Bounded(step.countSql, boundOf(step)));
  // For the report: each counted table's rows that went (what its count within the preview's
  // bounds lost; rows set aside and put back never went), those that stayed, and why.
  auto reportTables = [&] {
    if (!job.ctx.carrying) return;
    for (const DbStep& step : steps) {
      if (step.countSql.empty() || !db.HasTable(step.table)) continue;
      const unsigned long long left = static_cast<unsigned long long>(std::max(0LL, db.Number(step.countSql)));
      const auto before = within.find(step.Label());
      const long long gone = before == within.end() ? 0 : before->second - db.Number(Bounded(step.countSql, boundOf(step)));
      const unsigned long long erased = static_cast<unsigned long long>(std::max(0LL, gone));
      if (!erased && !left) continue;
      std::string why;
      const PreviewEntry* listed = carrying ? carrying->Listed("rows", prefix + step.Label()) : nullptr;
      if (left && carrying)
        why = !listed ? "not in the preview"
              : !listed->ticked ? "not ticked"
              : skip.count(step.Label()) ? kChangedReason
              : "newer than the preview";
      job.ctx.carrying->tables.push_back({prefix + step.Label(), erased, left, why});
    }
  };
  if (carrying && anyCounted && !anyChosen) {
    reportTables();
    return;
  }
  const unsigned long long before = DatabaseBytes(path);
  if (job.secure) db.Exec("PRAGMA secure_delete=ON");
  {
    SqliteTransaction transaction(db);
    if (!transaction.began()) {
      job.Note(profile, FileName(path) + " is locked by another program: left alone");
      return;
    }
    std::vector<EntryOutcome> erased;
    for (const DbStep& step : steps) {
      if (!db.HasTable(step.table)) continue;
      const bool isCounted = !step.countSql.empty();
      if (isCounted && skip.count(step.Label())) continue;
      std::string bound;
      if (isCounted) {
        bound = boundOf(step);
      } else if (!step.follows.empty()) {
        // A rewrite runs with the first of its steps that runs, on no row later than it saw.
        bool runs = false;
        for (const std::string& label : FollowedLabels(step.follows)) {
          if (!counted.count(label) || skip.count(label)) continue;
          runs = true;
          const auto mark = seen.find(label);
          if (mark != seen.end()) bound = TimeBound(mark->second, step.timeColumn);
          break;
        }
        if (!runs) continue;
      }
      const std::string sql = Bounded(step.sql, bound);
      if (!db.Exec(sql)) {
        job.Note(profile, FileName(path) + " could not be changed (" + db.Error() + "): left as it was");
        return;  // the transaction rolls back
      }
      if (sql.compare(0, 6, "DELETE") == 0 && db.Changes() > 0)
        erased.push_back({"rows", prefix + step.Label() + " (" + std::to_string(db.Changes()) + " rows)", ""});
    }
    if (!transaction.Commit()) {
      job.Note(profile, FileName(path) + " could not be changed (" + db.Error() + "): left as it was");
      return;
    }
    // What went, table by table, for the report.
    if (job.ctx.carrying) job.ctx.carrying->outcomes.insert(job.ctx.carrying->outcomes.end(), erased.begin(), erased.end());
  }
  reportTables();
  db.Compact();
  const unsigned long long after = DatabaseBytes(path);
  if (before > after) (carrying ? carrying->bytes : job.ctx.filesize) += static_cast<double>(before - after);
}
