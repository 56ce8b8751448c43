// A LevelDB store of another program (Chromium's Local Storage, Session Storage, Service Worker
// database, shared_proto_db), read key by key through the library. A deleted record stays in
// the store's log and older tables, so a change rewrites the store: the keys that stay go into
// a fresh store that takes the old one's place, and the old one's files are erased.
#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace leveldb {
class DB;
class Env;
}  // namespace leveldb

class LevelStore {
 public:
  enum class Opened { Ok, Missing, Busy, Unreadable };
  // Answers false to stop a walk (ForEach) or to leave a key out (Rewrite).
  using KeyVisit = std::function<bool(const std::string& key, const std::string& value)>;

  LevelStore();
  ~LevelStore();
  LevelStore(const LevelStore&) = delete;
  LevelStore& operator=(const LevelStore&) = delete;

  // An existing store folder; nothing is created. The library reads a copy of the store's files
  // in memory, so opening never writes them (it would otherwise fold the log into a new table).
  // The store's LOCK is held while they are copied and, to change it (readOnly false), until
  // Rewrite or Close. Missing: no such folder. Busy: another program holds the LOCK.
  // Unreadable: not a folder, not a store, another key order, damaged, or a path the code page
  // cannot spell (the library's calls are ANSI ones); Error() says why.
  // A rewrite stopped between its two renames left no store in the folder's place: opening to
  // change it (not to read) puts the old one back first.
  Opened Open(const std::string& folder, bool readOnly = false);
  // Whether there is a store to open: the folder, or the old store a stopped rewrite left aside.
  static bool Exists(const std::string& folder);
  bool ok() const { return db_ != nullptr; }
  void Close();

  // Every live key in key order, until visit answers false; with a prefix, only the keys that
  // begin with it. False when the store is not open or a table cannot be read.
  bool ForEach(const KeyVisit& visit) const;
  bool ForEach(const std::string& prefix, const KeyVisit& visit) const;

  // Writes every live key that keep answers true for into a fresh store beside this one (Snappy
  // tables, as the library makes by default), swaps the two folders, moves what is not the
  // store's own (a sub-store such as shared_proto_db's "metadata", other files) over to the new
  // one untouched, and erases the old one's files through the real eraser, so that secure
  // erasing applies. What a stopped rewrite left beside the store is finished first. Until the swap nothing of the
  // old store changes; when anything fails before it, the fresh folder goes and the old store
  // stays as it was (false). erased, if given, receives the number of keys left out. The store
  // is closed afterwards either way. A file of the old store that could not be erased is named
  // in Error() while Rewrite still answers true: the new store is in place.
  bool Rewrite(const KeyVisit& keep, size_t* erased = nullptr);

  std::string Error() const { return error_; }

 private:
  class Lock;
  bool Scan(const std::string& prefix, const KeyVisit& visit) const;
  Opened Fail(Opened why, const std::string& error);

  std::string folder_;  // without a trailing "\"
  bool readOnly_ = true;
  std::unique_ptr<Lock> lock_;
  std::unique_ptr<leveldb::Env> memory_;
  std::unique_ptr<leveldb::DB> db_;  // after memory_, so that it closes first
  mutable std::string error_;
};
