// A SQLite database of another program (a browser's history, cookies, form entries), opened
// without waiting for any lock, changed inside one transaction, compacted afterwards.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class SqliteDb {
 public:
  enum class Opened { Ok, Missing, Busy, NotADatabase, Failed };
  SqliteDb() = default;
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  // An existing database, for writing or only for reading; nothing is created, and reading
  // leaves no file behind. A file that is not a database, or one another program holds
  // locked, says so.
  Opened Open(const std::string& path, bool readOnly = false);
  bool ok() const { return db_ != nullptr; }
  bool HasTable(const std::string& table) const;
  bool HasColumn(const std::string& table, const std::string& column) const;
  // One statement without results; false, with the reason in Error(), when it fails.
  bool Exec(const std::string& sql);
  // The first column of the first row as a number (0 when there is none or on failure).
  long long Number(const std::string& sql) const;
  // The first column of every row as text.
  std::vector<std::string> Texts(const std::string& sql) const;
  // Every row's first column as text and its second as a number.
  std::vector<std::pair<std::string, long long>> TextCounts(const std::string& sql) const;
  // Rows changed by the last statement.
  long long Changes() const;
  std::string Error() const;
  // A SQL function of one text argument answering 1 or 0, for WHERE clauses: "name(column)".
  bool AddPredicate(const std::string& name, std::function<bool(const std::string&)> test);
  // Inserts each text into a temporary one-column table "temp.<table>(value)".
  bool TempTable(const std::string& table, const std::vector<std::string>& values);

  // After a committed change: the write-ahead log folded back and truncated, the file
  // rebuilt without free pages, so no erased row stays on the disk inside the file.
  bool Compact();
  // Seconds spent compacting since the program started, for the benchmark's split.
  static double CompactSeconds();

 private:
  sqlite3* db_ = nullptr;
  std::vector<std::function<bool(const std::string&)>*> predicates_;
  // Reading only: the write-ahead log's index files that opening made, removed again on close,
  // so that a preview leaves no file behind.
  std::vector<std::string> madeByReading_;
};

// BEGIN IMMEDIATE: the write lock is taken at once or not at all; rolled back unless committed.
class SqliteTransaction {
 public:
  explicit SqliteTransaction(SqliteDb& db);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;
  bool began() const { return began_; }
  bool Commit();

 private:
  SqliteDb& db_;
  bool began_ = false;
  bool done_ = false;
};
