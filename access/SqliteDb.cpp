#include "access/SqliteDb.h"

#include <windows.h>

#include <sqlite3.h>

#include "access/Eraser.h"
#include "access/Listing.h"
#include "access/WidePath.h"

namespace {
// A prepared statement that is always finalized.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// With secure erasing on, databases are opened through this file system of SQLite's: the
// platform's own, but every file SQLite deletes (the rollback journal, which holds the pages as
// they were before a change, during VACUUM the whole old database; the write-ahead log) is
// overwritten with zeros first, so that no erased row stays readable in a file it leaves or
// deletes.
const char kZeroingVfs[] = "tsw-zeroing";
sqlite3_vfs* g_platformVfs = nullptr;

int ZeroingDelete(sqlite3_vfs*, const char* name, int syncDir) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
  if (n > 1) {
    std::wstring wide(static_cast<size_t>(n - 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name, -1, &wide[0], n);
    bool linked = false;
    if (!OverwriteWithZeros(wide, linked)) {
      // It goes even so (a journal left behind would bring the erased rows back), but not in silence.
      const DWORD error = GetLastError();
      if (linked) ActiveEraser().NotOverwritten(NarrowName(wide), "another name shares its contents");
      else if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        ActiveEraser().NotOverwritten(NarrowName(wide), ReasonOf(error));
    }
  }
  return g_platformVfs->xDelete(g_platformVfs, name, syncDir);
}

const char* ZeroingVfs() {
  static sqlite3_vfs zeroing;
  static bool registered = false;
  if (!registered) {
    g_platformVfs = sqlite3_vfs_find(nullptr);
    if (!g_platformVfs) return nullptr;
    zeroing = *g_platformVfs;  // the platform's methods and data, under a name of its own
    zeroing.zName = kZeroingVfs;
    zeroing.pNext = nullptr;
    zeroing.xDelete = ZeroingDelete;
    registered = sqlite3_vfs_register(&zeroing, 0) == SQLITE_OK;
  }
  return registered ? kZeroingVfs : nullptr;
}

void CallPredicate(sqlite3_context* context, int argc, sqlite3_value** argv) {
  auto* test = static_cast<std::function<bool(const std::string&)>*>(sqlite3_user_data(context));
  const unsigned char* text = argc > 0 ? sqlite3_value_text(argv[0]) : nullptr;
  sqlite3_result_int(context, (*test)(text ? reinterpret_cast<const char*>(text) : "") ? 1 : 0);
}
}  // namespace

SqliteDb::~SqliteDb() {
  if (db_) sqlite3_close(db_);
  for (auto* p : predicates_) delete p;
  // Never one in use (another program holds it without letting it go), nor a log that holds pages.
  for (const std::string& made : madeByReading_) {
    FileFacts facts;
    if (FactsOfPath(made, facts) && (made.compare(made.size() - 4, 4, "-shm") == 0 || facts.size == 0))
      DeleteFileW(WidePath(made).c_str());
  }
}

SqliteDb::Opened SqliteDb::Open(const std::string& path, bool readOnly) {
  const DWORD attrs = AttributesOf(path);
  if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return Opened::Missing;
  const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  if (readOnly)
    for (const char* suffix : {"-shm", "-wal"})
      if (AttributesOf(path + suffix) == INVALID_FILE_ATTRIBUTES) madeByReading_.push_back(path + suffix);
  const bool secure = SecureErasingOn() && !readOnly;
  if (sqlite3_open_v2(Utf8Text(path).c_str(), &db_, flags, secure ? ZeroingVfs() : nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    db_ = nullptr;
    return Opened::Failed;
  }
  sqlite3_busy_timeout(db_, 0);  // never wait for the browser
  // Opening reads nothing: the first statement tells a database from any other file.
  const int rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) {
    // The keep tables and the sorting of large deletions stay in memory, beside no file.
    sqlite3_exec(db_, "PRAGMA temp_store=MEMORY", nullptr, nullptr, nullptr);
    // Deleting most rows of a large table touches every page of its indexes: keep them at hand.
    sqlite3_exec(db_, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    // Reading through a mapping spares a system call per page.
    sqlite3_exec(db_, "PRAGMA mmap_size=67108864", nullptr, nullptr, nullptr);
    // Erased rows are overwritten inside the file as well, not only left as free space.
    if (secure) sqlite3_exec(db_, "PRAGMA secure_delete=ON", nullptr, nullptr, nullptr);
    return Opened::Ok;
  }
  const int code = rc & 0xff;
  sqlite3_close(db_);
  db_ = nullptr;
  if (code == SQLITE_BUSY || code == SQLITE_LOCKED) return Opened::Busy;
  if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT) return Opened::NotADatabase;
  return Opened::Failed;
}

bool SqliteDb::HasTable(const std::string& table) const {
  Statement s(db_, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1");
  if (!s.get()) return false;
  sqlite3_bind_text(s.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  return sqlite3_step(s.get()) == SQLITE_ROW;
}

bool SqliteDb::HasColumn(const std::string& table, const std::string& column) const {
  Statement s(db_, "SELECT 1 FROM pragma_table_info(?1) WHERE name=?2");
  if (!s.get()) return false;
  sqlite3_bind_text(s.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(s.get(), 2, column.c_str(), -1, SQLITE_TRANSIENT);
  return sqlite3_step(s.get()) == SQLITE_ROW;
}

bool SqliteDb::Exec(const std::string& sql) { return db_ && sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK; }

long long SqliteDb::Number(const std::string& sql) const {
  Statement s(db_, sql);
  if (!s.get() || sqlite3_step(s.get()) != SQLITE_ROW) return 0;
  return sqlite3_column_int64(s.get(), 0);
}

std::vector<std::string> SqliteDb::Texts(const std::string& sql) const {
  std::vector<std::string> out;
  Statement s(db_, sql);
  if (!s.get()) return out;
  while (sqlite3_step(s.get()) == SQLITE_ROW) {
    const unsigned char* t = sqlite3_column_text(s.get(), 0);
    out.emplace_back(t ? reinterpret_cast<const char*>(t) : "");
  }
  return out;
}

std::vector<std::pair<std::string, long long>> SqliteDb::TextCounts(const std::string& sql) const {
  std::vector<std::pair<std::string, long long>> out;
  Statement s(db_, sql);
  if (!s.get()) return out;
  while (sqlite3_step(s.get()) == SQLITE_ROW) {
    const unsigned char* t = sqlite3_column_text(s.get(), 0);
    out.emplace_back(t ? reinterpret_cast<const char*>(t) : "", sqlite3_column_int64(s.get(), 1));
  }
  return out;
}

long long SqliteDb::Changes() const { return db_ ? sqlite3_changes(db_) : 0; }

std::string SqliteDb::Error() const { return db_ ? sqlite3_errmsg(db_) : "not open"; }

bool SqliteDb::AddPredicate(const std::string& name, std::function<bool(const std::string&)> test) {
  if (!db_) return false;
  auto* held = new std::function<bool(const std::string&)>(std::move(test));
  predicates_.push_back(held);
  return sqlite3_create_function(db_, name.c_str(), 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, held, CallPredicate, nullptr,
                                 nullptr) == SQLITE_OK;
}

bool SqliteDb::TempTable(const std::string& table, const std::vector<std::string>& values) {
  if (!Exec("CREATE TEMP TABLE IF NOT EXISTS " + table + "(value TEXT)")) return false;
  Statement s(db_, "INSERT INTO temp." + table + "(value) VALUES (?1)");
  if (!s.get()) return false;
  for (const std::string& v : values) {
    sqlite3_bind_text(s.get(), 1, v.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(s.get()) != SQLITE_DONE) return false;
    sqlite3_reset(s.get());
  }
  return true;
}

namespace {
double g_compactSeconds = 0;
double Seconds() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}
}  // namespace

double SqliteDb::CompactSeconds() { return g_compactSeconds; }

bool SqliteDb::Compact() {
  const double start = Seconds();
  // A database in write-ahead mode keeps changed pages in its log: fold them back first.
  Exec("PRAGMA wal_checkpoint(TRUNCATE)");
  const bool vacuumed = Exec("VACUUM");
  Exec("PRAGMA wal_checkpoint(TRUNCATE)");
  g_compactSeconds += Seconds() - start;
  return vacuumed;
}

SqliteTransaction::SqliteTransaction(SqliteDb& db) : db_(db) { began_ = db_.Exec("BEGIN IMMEDIATE"); }

SqliteTransaction::~SqliteTransaction() {
  if (began_ && !done_) db_.Exec("ROLLBACK");
}

bool SqliteTransaction::Commit() {
  if (!began_ || done_) return false;
  done_ = db_.Exec("COMMIT");
  return done_;
}
