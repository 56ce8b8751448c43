#include "access/LevelDb.h"

#include <windows.h>

#include <leveldb/db.h>
#include <leveldb/env.h>
#include <leveldb/write_batch.h>
#include <memenv/memenv.h>

#include <vector>

#include "access/Eraser.h"
#include "access/FileHandle.h"
#include "access/Listing.h"
#include "access/WidePath.h"

// The store's LOCK taken as the library takes it (opened without write sharing, its whole range
// locked), so that neither the browser nor the library opens the store while it is held; a
// store without a LOCK file is open nowhere and needs none.
class LevelStore::Lock {
 public:
  explicit Lock(const std::string& path) : file_(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING) {
    if (!file_.ok()) {
      error_ = file_.openError();
      return;
    }
    held_ = ::LockFile(file_.get(), 0, 0, MAXDWORD, MAXDWORD) != FALSE;
    if (!held_) error_ = GetLastError();
  }
  ~Lock() {
    if (held_) ::UnlockFile(file_.get(), 0, 0, MAXDWORD, MAXDWORD);
  }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  bool held() const { return held_; }
  DWORD error() const { return error_; }

 private:
  FileHandle file_;
  bool held_ = false;
  DWORD error_ = ERROR_SUCCESS;
};

namespace {

// Beside the store, named after it: the fresh store being written, and the old one once swapped out.
const char kFreshSuffix[] = ".tsw-fresh";
const char kAsideSuffix[] = ".tsw-old";

// Files of a store folder that the library does not need to read it: its lock and its own
// diary of what it did.
bool NotStoreData(const std::string& name) {
  for (const char* skip : {"LOCK", "LOG", "LOG.old"})
    if (lstrcmpiA(name.c_str(), skip) == 0) return true;
  return false;
}

// The files the library makes in a store folder ("CURRENT", "MANIFEST-000001", "000003.log",
// "000005.ldb"...). Anything else there (another store in a sub-folder, as shared_proto_db
// keeps its "metadata", or a file of the browser's own) is none of the store's and goes along
// with it untouched when the store is rewritten.
bool IsStoreFile(const std::string& name) {
  if (NotStoreData(name) || name == "CURRENT") return true;
  std::string number = name;
  if (name.compare(0, 9, "MANIFEST-") == 0) number = name.substr(9);
  else {
    const size_t dot = name.find('.');
    if (dot == std::string::npos) return false;
    const std::string kind = name.substr(dot + 1);
    if (kind != "log" && kind != "ldb" && kind != "sst" && kind != "dbtmp") return false;
    number = name.substr(0, dot);
  }
  return !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
}

// One file of the store into the memory environment, under the name the library will ask for.
bool CopyIntoMemory(const std::string& path, leveldb::Env& memory, const std::string& name, std::string& error) {
  FileHandle in(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  if (!in.ok()) {
    error = path + ": " + ReasonOf(in.openError());
    return false;
  }
  leveldb::WritableFile* raw = nullptr;
  leveldb::Status s = memory.NewWritableFile(name, &raw);
  std::unique_ptr<leveldb::WritableFile> out(raw);
  std::vector<char> buffer(1 << 16);
  DWORD got = 0;
  while (s.ok()) {
    if (!ReadFile(in.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      error = path + ": " + ReasonOf(GetLastError());
      return false;
    }
    if (got == 0) break;
    s = out->Append(leveldb::Slice(buffer.data(), got));
  }
  if (s.ok()) s = out->Close();
  if (!s.ok()) error = s.ToString();
  return s.ok();
}

// Erases the store's own files of a folder this code swapped out or made through the real
// eraser, whatever eraser a caller has put in force (the secure option of the run applies), then
// the folder when nothing else is left in it. The folder is listed first: secure erasing renames
// a file inside it before deleting it. Names a file that stayed, or what is not the store's, in
// stayed; true when the folder is gone.
bool EraseStoreFolder(const std::string& folder, std::string* stayed) {
  std::vector<ListedEntry> files;
  std::string other;
  ForEachEntry(folder, [&](const ListedEntry& e) {
    if (!IsFolder(e) && IsStoreFile(e.name)) files.push_back(e);
    else if (other.empty()) other = folder + "\\" + e.name + ": not the store's own";
    return true;
  });
  RealEraser eraser;
  for (const ListedEntry& e : files) {
    const std::string path = folder + "\\" + e.name;
    if (!eraser.EraseListedFile(path, e.facts, true) && stayed && stayed->empty())
      *stayed = path + ": " + ReasonOf(eraser.lastError());
  }
  if (!other.empty()) {
    if (stayed && stayed->empty()) *stayed = other;
    return false;
  }
  return eraser.RemoveWalkedFolder(folder) || AttributesOf(folder) == INVALID_FILE_ATTRIBUTES;
}

bool Rename(const std::string& from, const std::string& to) {
  return MoveFileW(WidePath(from).c_str(), WidePath(to).c_str()) != FALSE;
}

// Moves what is not the store's own (sub-folders, other files) from the old store's folder into
// the new one, as it is. An entry the new folder already has stays where it was: the new one is
// the browser's. Names the first that could not move in error; true when all moved.
bool CarryOver(const std::string& from, const std::string& to, std::string& error) {
  std::vector<std::string> names;
  ForEachEntry(from, [&](const ListedEntry& e) {
    if (IsFolder(e) || !IsStoreFile(e.name)) names.push_back(e.name);
    return true;
  });
  bool all = true;
  for (const std::string& name : names) {
    if (Rename(from + "\\" + name, to + "\\" + name)) continue;
    if (all && error.empty()) error = from + "\\" + name + ": " + ReasonOf(GetLastError());
    all = false;
  }
  return all;
}

}  // namespace

LevelStore::LevelStore() = default;
LevelStore::~LevelStore() { Close(); }

void LevelStore::Close() {
  db_.reset();
  memory_.reset();
  lock_.reset();
}

LevelStore::Opened LevelStore::Fail(Opened why, const std::string& error) {
  Close();
  error_ = error;
  return why;
}

bool LevelStore::Exists(const std::string& folder) {
  return AttributesOf(folder) != INVALID_FILE_ATTRIBUTES || AttributesOf(folder + kAsideSuffix) != INVALID_FILE_ATTRIBUTES;
}

LevelStore::Opened LevelStore::Open(const std::string& folder, bool readOnly) {
  Close();
  error_.clear();
  folder_ = folder;
  while (folder_.size() > 3 && (folder_.back() == '\\' || folder_.back() == '/')) folder_.pop_back();
  readOnly_ = readOnly;
  DWORD attrs = AttributesOf(folder_);
  // A rewrite stopped between its two renames left the old store aside and none in its place:
  // it is put back whole (a fresh one beside it goes with the next rewrite).
  const std::string aside = folder_ + kAsideSuffix;
  if (attrs == INVALID_FILE_ATTRIBUTES && !readOnly && AttributesOf(aside) != INVALID_FILE_ATTRIBUTES && Rename(aside, folder_))
    attrs = AttributesOf(folder_);
  if (attrs == INVALID_FILE_ATTRIBUTES) return Fail(Opened::Missing, folder_ + ": not found");
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return Fail(Opened::Unreadable, folder_ + ": not a folder");
  if (HasEscapedNames(folder_))
    return Fail(Opened::Unreadable, folder_ + ": a name the code page cannot spell, which the library cannot open");

  const std::string lockPath = folder_ + "\\LOCK";
  if (AttributesOf(lockPath) != INVALID_FILE_ATTRIBUTES) {
    lock_.reset(new Lock(lockPath));
    if (!lock_->held()) {
      const DWORD why = lock_->error();
      const bool busy = why == ERROR_SHARING_VIOLATION || why == ERROR_LOCK_VIOLATION;
      return Fail(busy ? Opened::Busy : Opened::Unreadable, lockPath + ": " + ReasonOf(why));
    }
  }

  memory_.reset(leveldb::NewMemEnv(leveldb::Env::Default()));
  bool copied = true;
  std::string error;
  ForEachEntry(folder_, [&](const ListedEntry& e) {
    // A name the code page cannot spell is none of the library's.
    if (IsFolder(e) || NotStoreData(e.name) || !IsStoreFile(e.name) || HasEscapedNames(e.name)) return true;
    copied = CopyIntoMemory(folder_ + "\\" + e.name, *memory_, folder_ + "/" + e.name, error);
    return copied;
  });
  if (!copied) return Fail(Opened::Unreadable, error);
  // Held while reading only: the browser may have its store back at once.
  if (readOnly) lock_.reset();

  leveldb::Options options;
  options.env = memory_.get();
  options.create_if_missing = false;
  leveldb::DB* db = nullptr;
  const leveldb::Status s = leveldb::DB::Open(options, folder_, &db);
  if (!s.ok()) return Fail(Opened::Unreadable, s.ToString());
  db_.reset(db);
  return Opened::Ok;
}

bool LevelStore::Scan(const std::string& prefix, const KeyVisit& visit) const {
  if (!db_) {
    error_ = "not open";
    return false;
  }
  leveldb::ReadOptions read;
  read.verify_checksums = true;  // a damaged block stops the walk rather than being taken as keys
  read.fill_cache = false;
  std::unique_ptr<leveldb::Iterator> it(db_->NewIterator(read));
  for (prefix.empty() ? it->SeekToFirst() : it->Seek(prefix); it->Valid(); it->Next()) {
    if (!it->key().starts_with(prefix)) break;
    if (!visit(it->key().ToString(), it->value().ToString())) break;
  }
  if (!it->status().ok()) {
    error_ = it->status().ToString();
    return false;
  }
  return true;
}

bool LevelStore::ForEach(const KeyVisit& visit) const { return Scan(std::string(), visit); }

bool LevelStore::ForEach(const std::string& prefix, const KeyVisit& visit) const { return Scan(prefix, visit); }

bool LevelStore::Rewrite(const KeyVisit& keep, size_t* erased) {
  if (erased) *erased = 0;
  error_.clear();
  if (!db_ || readOnly_) {
    error_ = db_ ? "opened for reading only" : "not open";
    Close();
    return false;
  }
  const std::string fresh = folder_ + kFreshSuffix, aside = folder_ + kAsideSuffix;
  // What an interrupted rewrite left: a fresh store never swapped in, an old one not yet erased,
  // whose sub-stores and other files may not have come over yet.
  if (AttributesOf(aside) != INVALID_FILE_ATTRIBUTES) CarryOver(aside, folder_, error_);
  for (const std::string& leftover : {fresh, aside}) {
    if (AttributesOf(leftover) != INVALID_FILE_ATTRIBUTES && !EraseStoreFolder(leftover, &error_)) {
      error_ = leftover + " is in the way: " + error_;
      Close();
      return false;
    }
  }

  size_t dropped = 0;
  bool written = false;
  {
    leveldb::Options options;
    options.create_if_missing = true;
    options.error_if_exists = true;
    options.compression = leveldb::kSnappyCompression;
    leveldb::DB* raw = nullptr;
    leveldb::Status s = leveldb::DB::Open(options, fresh, &raw);
    std::unique_ptr<leveldb::DB> out(raw);
    leveldb::WriteBatch batch;
    auto flush = [&](bool last) {
      leveldb::WriteOptions write;
      write.sync = last;  // on the disk before the old store goes
      if (s.ok()) s = out->Write(write, &batch);
      batch.Clear();
    };
    if (s.ok()) {
      const bool walked = Scan(std::string(), [&](const std::string& key, const std::string& value) {
        if (!keep(key, value)) {
          ++dropped;
          return true;
        }
        batch.Put(key, value);
        if (batch.ApproximateSize() > (1u << 20)) flush(false);
        return s.ok();
      });
      flush(true);
      written = walked && s.ok();
    }
    if (!s.ok()) error_ = s.ToString();
  }
  // Nothing may hold a file inside either folder while they are renamed.
  Close();
  std::string ignored;
  if (!written) {
    EraseStoreFolder(fresh, &ignored);
    return false;
  }
  if (!Rename(folder_, aside)) {
    error_ = folder_ + ": " + ReasonOf(GetLastError());
    EraseStoreFolder(fresh, &ignored);
    return false;
  }
  if (!Rename(fresh, folder_)) {
    error_ = fresh + ": " + ReasonOf(GetLastError());
    if (!Rename(aside, folder_)) error_ += "; the old store stays in " + aside;
    EraseStoreFolder(fresh, &ignored);
    return false;
  }
  if (erased) *erased = dropped;
  std::string stayed;
  CarryOver(aside, folder_, stayed);
  if (!EraseStoreFolder(aside, &stayed)) error_ = "the old store stays in " + aside + (stayed.empty() ? "" : " (" + stayed + ")");
  return true;
}
