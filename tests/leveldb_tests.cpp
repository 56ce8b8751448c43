// LevelStore against stores that the library itself makes in the tests' own folders, as a
// browser would: Snappy tables, a log, keys written, overwritten and deleted over two sessions.
#include <leveldb/comparator.h>
#include <leveldb/db.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "access/Eraser.h"
#include "access/LevelDb.h"
#include "tests/TestSupport.h"

namespace {

using KeyValues = std::map<std::string, std::string>;

std::unique_ptr<leveldb::DB> OpenWithLibrary(const std::string& folder, const leveldb::Comparator* order = nullptr) {
  leveldb::Options options;
  options.create_if_missing = true;
  options.write_buffer_size = 64 << 10;  // the smallest: tables are written early and often
  if (order) options.comparator = order;
  leveldb::DB* db = nullptr;
  const leveldb::Status s = leveldb::DB::Open(options, folder, &db);
  EXPECT_TRUE(s.ok()) << s.ToString();
  return std::unique_ptr<leveldb::DB>(db);
}

void Put(leveldb::DB& db, const std::string& key, const std::string& value) {
  ASSERT_TRUE(db.Put(leveldb::WriteOptions(), key, value).ok());
}

KeyValues ReadWithLibrary(const std::string& folder) {
  KeyValues all;
  std::unique_ptr<leveldb::DB> db = OpenWithLibrary(folder);
  if (!db) return all;
  std::unique_ptr<leveldb::Iterator> it(db->NewIterator(leveldb::ReadOptions()));
  for (it->SeekToFirst(); it->Valid(); it->Next()) all[it->key().ToString()] = it->value().ToString();
  EXPECT_TRUE(it->status().ok());
  return all;
}

KeyValues ReadWithStore(const LevelStore& store, const std::string& prefix = "") {
  KeyValues all;
  EXPECT_TRUE(store.ForEach(prefix, [&](const std::string& k, const std::string& v) {
    all[k] = v;
    return true;
  }));
  return all;
}

// The same letters and bytes on every run, so that every store is made alike each time.
class Letters {
 public:
  uint32_t Next() { return state_ = state_ * 1664525u + 1013904223u; }
  std::string Word(size_t n) {
    static const char abc[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string s;
    while (s.size() < n) s += abc[(Next() >> 16) % 52];
    return s;
  }
  std::string Bytes(size_t n) {
    std::string s;
    while (s.size() < n) s += static_cast<char>(Next() >> 24);
    return s;
  }

 private:
  uint32_t state_ = 12345;
};

// Every file below a folder, by its path, with its bytes.
KeyValues FilesBelow(const std::string& folder) {
  KeyValues files;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return files;
  do {
    const std::string name = fd.cFileName, path = folder + "\\" + name;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      for (const auto& f : FilesBelow(path)) files.insert(f);
    } else {
      files[path] = ReadFileText(path);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return files;
}

// Each file below a folder by its path, with its size and a hash of its bytes: what a comparison
// of before and after needs, short enough to read when it fails.
KeyValues Summary(const std::string& folder) {
  KeyValues summary;
  for (const auto& f : FilesBelow(folder))
    summary[f.first] = std::to_string(f.second.size()) + " bytes, hash " + std::to_string(std::hash<std::string>()(f.second));
  return summary;
}

// The files of the given kind (".ldb", ".log"; "" for all) that hold the bytes.
std::vector<std::string> FilesHolding(const KeyValues& files, const std::string& bytes, const std::string& kind = "") {
  std::vector<std::string> holding;
  for (const auto& f : files)
    if (f.first.size() >= kind.size() && f.first.compare(f.first.size() - kind.size(), kind.size(), kind) == 0 &&
        f.second.find(bytes) != std::string::npos)
      holding.push_back(f.first);
  return holding;
}

// A store as a browser leaves it. Keys "e..." are to be erased; "d..." were deleted and "o..."
// overwritten by the browser; "k..." and the new values of "o..." are what stays. Each key and
// value that must vanish carries a word of its own; values alternate between text Snappy
// shrinks and bytes it cannot.
struct SampleStore {
  KeyValues stays;
  std::vector<std::string> gone;  // words that no file may hold once "e..." keys are erased
  size_t toErase = 0;

  void MakeIn(const std::string& folder) {
    Letters letters;
    std::string again;
    for (int n = 0; n < 30; ++n) again += " visited the same page again";
    // A value that must vanish, under a word of its own.
    bool squeezable = false;
    auto value = [&]() {
      const std::string word = letters.Word(16);
      gone.push_back(word);
      squeezable = !squeezable;
      return word + (squeezable ? again : letters.Bytes(400));
    };
    auto key = [&](char kind, int i) {
      const std::string word = letters.Word(16);
      gone.push_back(word);
      char head[8];
      snprintf(head, sizeof head, "%c%04d-", kind, i);
      return head + word;
    };
    std::vector<std::string> deleted, overwritten;
    {
      std::unique_ptr<leveldb::DB> db = OpenWithLibrary(folder);
      ASSERT_TRUE(db);
      for (int i = 0; i < 900; ++i) {
        std::string k, v;
        switch (i % 4) {
          case 0: k = key('e', i); v = value(); ++toErase; break;
          case 1: k = key('d', i); v = value(); deleted.push_back(k); break;
          case 2: k = "k" + std::to_string(i); v = stays[k] = "kept" + std::to_string(i) + again; break;
          default: k = "o" + std::to_string(i); v = value(); overwritten.push_back(k);
        }
        Put(*db, k, v);
      }
    }
    std::unique_ptr<leveldb::DB> db = OpenWithLibrary(folder);  // the log becomes a table
    ASSERT_TRUE(db);
    for (int i = 900; i < 960; ++i) {
      if (i % 2) {
        Put(*db, key('e', i), value());
        ++toErase;
      } else {
        const std::string k = "k" + std::to_string(i);
        Put(*db, k, stays[k] = "kept" + std::to_string(i));
      }
    }
    for (const std::string& k : deleted) ASSERT_TRUE(db->Delete(leveldb::WriteOptions(), k).ok());
    for (const std::string& k : overwritten) Put(*db, k, stays[k] = "now " + k);
  }
};

bool NotErased(const std::string& key, const std::string&) { return key[0] != 'e'; }

class LevelDbTest : public ::testing::Test {
 protected:
  TempFolder dir_{"tswldb"};
  std::string store_ = dir_.File("leveldb");
};

TEST_F(LevelDbTest, RewriteKeepsExactlyTheKeptKeysAndNoFileHoldsAnErasedByteAfterwards) {
  SampleStore sample;
  ASSERT_NO_FATAL_FAILURE(sample.MakeIn(store_));
  const KeyValues before = FilesBelow(dir_.path());
  // The old store does hold them, in its tables and in its log: the scan below finds what is there.
  size_t inTables = 0, inLog = 0;
  for (const std::string& word : sample.gone) {
    inTables += FilesHolding(before, word, ".ldb").size();
    inLog += FilesHolding(before, word, ".log").size();
  }
  EXPECT_GT(inTables, 0u);
  EXPECT_GT(inLog, 0u);

  LevelStore store;
  ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_)) << store.Error();
  size_t erased = 0;
  ASSERT_TRUE(store.Rewrite(NotErased, &erased)) << store.Error();
  EXPECT_EQ(sample.toErase, erased);
  EXPECT_FALSE(store.ok());  // closed by the swap
  EXPECT_EQ("", store.Error());

  const KeyValues after = FilesBelow(dir_.path());
  for (const std::string& word : sample.gone) EXPECT_EQ(std::vector<std::string>(), FilesHolding(after, word)) << word;
  for (const auto& f : after) EXPECT_EQ(0u, f.first.find(store_ + "\\")) << f.first;  // nothing beside it
  EXPECT_EQ(sample.stays, ReadWithLibrary(store_));
  ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_, true)) << store.Error();
  EXPECT_EQ(sample.stays, ReadWithStore(store));
}

TEST_F(LevelDbTest, RewritingOverwritesTheOldFilesWhileSecureErasingIsOn) {
  SampleStore sample;
  ASSERT_NO_FATAL_FAILURE(sample.MakeIn(store_));
  const KeyValues old = FilesBelow(store_);
  OverwrittenFiles seen;
  {
    ScopedSecureErasing secure(true);
    LevelStore store;
    ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_)) << store.Error();
    ASSERT_TRUE(store.Rewrite(NotErased)) << store.Error();
  }
  for (const auto& f : old) {
    const std::string name = f.first.substr(store_.size() + 1);
    ASSERT_EQ(1u, seen.contents.count(name)) << name;
    EXPECT_EQ(std::string(f.second.size(), '\0'), seen.contents[name]) << name;
  }
  EXPECT_EQ(sample.stays, ReadWithLibrary(store_));
}

TEST_F(LevelDbTest, OpeningReadingAndClosingNeverWriteTheStore) {
  SampleStore sample;
  ASSERT_NO_FATAL_FAILURE(sample.MakeIn(store_));
  const KeyValues before = Summary(dir_.path());
  for (bool readOnly : {true, false}) {
    LevelStore store;
    ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_, readOnly)) << store.Error();
    EXPECT_EQ(sample.stays.size() + sample.toErase, ReadWithStore(store).size());
    if (readOnly) {
      EXPECT_FALSE(store.Rewrite(NotErased));
    }
  }
  EXPECT_EQ(before, Summary(dir_.path()));
}

TEST_F(LevelDbTest, APrefixWalksItsKeysInOrderUntilToldToStop) {
  {
    std::unique_ptr<leveldb::DB> db = OpenWithLibrary(store_);
    ASSERT_TRUE(db);
    for (const char* key : {"c1", "b2", "a1", "b1", "b3", "ba"}) Put(*db, key, std::string("v") + key);
  }
  LevelStore store;
  ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_, true)) << store.Error();
  std::vector<std::string> seen;
  auto note = [&](const std::string& k, const std::string& v) {
    seen.push_back(k + "=" + v);
    return true;
  };
  EXPECT_TRUE(store.ForEach("b", note));
  EXPECT_EQ((std::vector<std::string>{"b1=vb1", "b2=vb2", "b3=vb3", "ba=vba"}), seen);
  seen.clear();
  EXPECT_TRUE(store.ForEach("b", [&](const std::string& k, const std::string&) {
    seen.push_back(k);
    return seen.size() < 2;
  }));
  EXPECT_EQ((std::vector<std::string>{"b1", "b2"}), seen);
  seen.clear();
  EXPECT_TRUE(store.ForEach("bb", note));
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(store.ForEach(note));
  EXPECT_EQ((std::vector<std::string>{"a1=va1", "b1=vb1", "b2=vb2", "b3=vb3", "ba=vba", "c1=vc1"}), seen);
}

TEST_F(LevelDbTest, AStoreSomeoneHoldsIsBusyAndStaysAsItIs) {
  SampleStore sample;
  ASSERT_NO_FATAL_FAILURE(sample.MakeIn(store_));
  {
    std::unique_ptr<leveldb::DB> browser = OpenWithLibrary(store_);
    ASSERT_TRUE(browser);
    browser->CompactRange(nullptr, nullptr);  // its own work done, so that its files stay still
    const KeyValues held = Summary(dir_.path());
    for (bool readOnly : {false, true}) {
      LevelStore store;
      EXPECT_EQ(LevelStore::Opened::Busy, store.Open(store_, readOnly));
      EXPECT_NE("", store.Error());
      EXPECT_FALSE(store.Rewrite(NotErased));
    }
    EXPECT_EQ(held, Summary(dir_.path()));
  }
  const KeyValues before = Summary(dir_.path());
  LevelStore first, second;
  ASSERT_EQ(LevelStore::Opened::Ok, first.Open(store_)) << first.Error();
  EXPECT_EQ(LevelStore::Opened::Busy, second.Open(store_, true));
  EXPECT_EQ(before, Summary(dir_.path()));
  first.Close();
  EXPECT_EQ(LevelStore::Opened::Ok, second.Open(store_, true)) << second.Error();
}

// Keys kept in reverse order: a store of another key order than the library's own.
class Reversed : public leveldb::Comparator {
 public:
  int Compare(const leveldb::Slice& a, const leveldb::Slice& b) const override { return b.compare(a); }
  const char* Name() const override { return "tsw.reversed"; }
  void FindShortestSeparator(std::string*, const leveldb::Slice&) const override {}
  void FindShortSuccessor(std::string*) const override {}
};

TEST_F(LevelDbTest, WhatIsNoStoreOfOursIsUnreadableOrMissingAndStaysAsItIs) {
  LevelStore store;
  EXPECT_EQ(LevelStore::Opened::Missing, store.Open(dir_.File("nothing")));
  EXPECT_FALSE(store.ok());

  MakeFile(dir_.File("file"), "not a folder");
  EXPECT_EQ(LevelStore::Opened::Unreadable, store.Open(dir_.File("file")));

  MakeFile(dir_.File("garbage\\CURRENT"), "no manifest named here");
  MakeFile(dir_.File("garbage\\MANIFEST-000001"), Letters().Bytes(300));
  MakeFile(dir_.File("damaged\\CURRENT"), "MANIFEST-000001\n");
  MakeFile(dir_.File("damaged\\MANIFEST-000001"), Letters().Bytes(300));
  MakeFile(dir_.File("empty\\LOG"), "");
  Reversed reversed;
  {
    std::unique_ptr<leveldb::DB> db = OpenWithLibrary(dir_.File("reversed"), &reversed);
    ASSERT_TRUE(db);
    Put(*db, "key", "value");
  }
  const KeyValues before = Summary(dir_.path());
  for (const char* name : {"garbage", "damaged", "empty", "reversed"}) {
    EXPECT_EQ(LevelStore::Opened::Unreadable, store.Open(dir_.File(name))) << name;
    EXPECT_NE("", store.Error()) << name;
    EXPECT_FALSE(store.Rewrite(NotErased)) << name;
  }
  EXPECT_NE(std::string::npos, store.Error().find("not open"));
  ASSERT_EQ(LevelStore::Opened::Unreadable, store.Open(dir_.File("reversed")));
  EXPECT_NE(std::string::npos, store.Error().find("tsw.reversed")) << store.Error();
  EXPECT_EQ(before, Summary(dir_.path()));

  // The library's calls are ANSI ones: a folder the code page cannot spell is refused.
  ASSERT_TRUE(CreateDirectoryW((std::wstring(store_.begin(), store_.end()) + L"\x4E2D").c_str(), nullptr));
  EXPECT_EQ(LevelStore::Opened::Unreadable, store.Open(store_ + "<U+4E2D>"));
}

TEST_F(LevelDbTest, AFolderInTheFreshStoresWayStopsTheRewriteBeforeAnythingChanges) {
  SampleStore sample;
  ASSERT_NO_FATAL_FAILURE(sample.MakeIn(store_));
  MakeFile(store_ + ".tsw-fresh\\held\\x.dat", "x");
  const KeyValues before = Summary(dir_.path());
  LevelStore store;
  ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_)) << store.Error();
  size_t erased = 99;
  EXPECT_FALSE(store.Rewrite(NotErased, &erased));
  EXPECT_EQ(0u, erased);
  EXPECT_NE(std::string::npos, store.Error().find("in the way")) << store.Error();
  EXPECT_EQ(before, Summary(dir_.path()));

  // What an interrupted rewrite left goes, and this one is done.
  RemoveTree(store_ + ".tsw-fresh\\held");
  MakeFile(store_ + ".tsw-fresh\\CURRENT", "left over");
  MakeFile(store_ + ".tsw-old\\000001.log", "left over");
  ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_)) << store.Error();
  EXPECT_TRUE(store.Rewrite(NotErased, &erased)) << store.Error();
  EXPECT_EQ(sample.toErase, erased);
  EXPECT_EQ(sample.stays, ReadWithLibrary(store_));
  EXPECT_EQ(std::vector<std::string>(), FilesHolding(FilesBelow(dir_.path()), "left over"));
}

// shared_proto_db as a real profile has it: a store with another store, "metadata", in a
// sub-folder of its own, and a file of the browser's own beside the store's files.
class NestedStoreTest : public LevelDbTest {
 protected:
  SampleStore sample;
  std::string inner = store_ + "\\metadata";
  KeyValues innerBefore;
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(sample.MakeIn(store_));
    {
      std::unique_ptr<leveldb::DB> db = OpenWithLibrary(inner);
      ASSERT_TRUE(db);
      Put(*db, "e-metadata-key", "metadata of the outer store");
    }
    MakeFile(store_ + "\\notes.json", "the browser's own");
    innerBefore = Summary(inner);
    innerBefore[store_ + "\\notes.json"] = Summary(dir_.path())[store_ + "\\notes.json"];
  }
  // The sub-store and the other file, as they are now.
  KeyValues Carried() {
    KeyValues now = Summary(inner);
    const KeyValues all = Summary(dir_.path());
    auto notes = all.find(store_ + "\\notes.json");
    if (notes != all.end()) now.insert(*notes);
    return now;
  }
  void ExpectOnlyTheStoreIsThere() {
    for (const auto& f : FilesBelow(dir_.path())) EXPECT_EQ(0u, f.first.find(store_ + "\\")) << f.first;
  }
};

TEST_F(NestedStoreTest, ASubStoreAndOtherFilesComeOverUntouchedRewriteAfterRewrite) {
  LevelStore store;
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_)) << store.Error();
    size_t erased = 0;
    ASSERT_TRUE(store.Rewrite(NotErased, &erased)) << round << ": " << store.Error();
    EXPECT_EQ(round ? 0u : sample.toErase, erased);
    EXPECT_EQ("", store.Error()) << round;
    EXPECT_EQ(innerBefore, Carried()) << round;
    ExpectOnlyTheStoreIsThere();
    EXPECT_EQ(sample.stays, ReadWithLibrary(store_)) << round;
  }
  // The sub-store is a store of its own still, with its key (its "e" is not the outer one's).
  EXPECT_EQ((KeyValues{{"e-metadata-key", "metadata of the outer store"}}), ReadWithLibrary(inner));
}

TEST_F(NestedStoreTest, WhatAStoppedRewriteLeftAsideComesBackAndTheNextRewriteFinishesIt) {
  // Stopped after the swap: the new store in place, the sub-store still in the old one's folder.
  const std::string aside = store_ + ".tsw-old";
  ASSERT_TRUE(MoveFileA(store_.c_str(), aside.c_str()));
  ASSERT_TRUE(CreateDirectoryA(store_.c_str(), nullptr));
  {
    std::unique_ptr<leveldb::DB> db = OpenWithLibrary(store_);
    ASSERT_TRUE(db);
    for (const auto& kv : sample.stays) Put(*db, kv.first, kv.second);
    Put(*db, "e-new", "to erase");
  }
  LevelStore store;
  ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_)) << store.Error();
  size_t erased = 0;
  ASSERT_TRUE(store.Rewrite(NotErased, &erased)) << store.Error();
  EXPECT_EQ(1u, erased);
  EXPECT_EQ(innerBefore, Carried());
  ExpectOnlyTheStoreIsThere();
  EXPECT_EQ(sample.stays, ReadWithLibrary(store_));

  // Stopped between the two renames: no store in its place, the old one whole beside it. A read
  // finds nothing and changes nothing; opening to change it puts the old store back.
  ASSERT_TRUE(MoveFileA(store_.c_str(), aside.c_str()));
  MakeFile(store_ + ".tsw-fresh\\CURRENT", "never swapped in");
  EXPECT_TRUE(LevelStore::Exists(store_));
  EXPECT_EQ(LevelStore::Opened::Missing, store.Open(store_, true));
  EXPECT_TRUE(FileExists(aside + "\\metadata\\CURRENT"));
  ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_)) << store.Error();
  ASSERT_TRUE(store.Rewrite(NotErased, &erased)) << store.Error();
  EXPECT_EQ(innerBefore, Carried());
  ExpectOnlyTheStoreIsThere();
  EXPECT_EQ(sample.stays, ReadWithLibrary(store_));
}

TEST_F(NestedStoreTest, ALeftoverWhoseSubStoreTheLiveStoreHasAgainIsInTheWayAndBothStay) {
  const std::string aside = store_ + ".tsw-old";
  MakeFile(aside + "\\metadata\\CURRENT", "an older metadata");
  const KeyValues before = Summary(dir_.path());
  LevelStore store;
  ASSERT_EQ(LevelStore::Opened::Ok, store.Open(store_)) << store.Error();
  EXPECT_FALSE(store.Rewrite(NotErased));
  EXPECT_NE(std::string::npos, store.Error().find("in the way")) << store.Error();
  EXPECT_EQ(before, Summary(dir_.path()));
}

}  // namespace
