// The walks trust nothing they are shown: names that only look like others, folders swapped for
// links while a walk runs, hard links, paths deeper than MAX_PATH, registry deletions refused.
#include <windows.h>
#include <sddl.h>

#include <sqlite3.h>

#include <algorithm>

#include "access/Eraser.h"
#include "access/Listing.h"
#include "access/Normal.h"
#include "access/RegKey.h"
#include "access/SqliteDb.h"
#include "access/WidePath.h"
#include "access/regfun.h"
#include "engine/CleanRun.h"
#include "engine/Preview.h"
#include "engine/StoredSelection.h"
#include "engine/Winapp2.h"
#include "settings/Inifun.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"

namespace {

// "．．＼" (full-width full stops and reverse solidus): listed by the ANSI calls as "..\".
const std::wstring kLookAlikeUp = L"\xFF0E\xFF0E\xFF3C";

bool WideExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeWideFile(const std::wstring& path, const std::string& text) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  DWORD written = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A link a test made, removed at the end of the test, never left in the prefix's folders.
struct LinkGone {
  std::string path;
  ~LinkGone() { RemoveLink(path); }
};

bool HasOutcome(const CarryingEraser& e, const std::string& target, const std::string& why) {
  return std::any_of(e.outcomes.begin(), e.outcomes.end(),
                     [&](const EntryOutcome& o) { return o.target == target && o.why == why; });
}

}  // namespace

TEST(WideNames, EveryListedNameIsWrittenSoThatItReadsBackExactly) {
  // ASCII and what the code page spells stay as they are; the rest is written out.
  EXPECT_EQ("plain.tmp", NarrowName(std::wstring(L"plain.tmp")));
  EXPECT_EQ("<U+FF0E><U+FF0E><U+FF3C>Documents", NarrowName(kLookAlikeUp + L"Documents"));
  EXPECT_EQ("a<U+4E2D>b<U+1F600>.tmp", NarrowName(std::wstring(L"a\x4E2D" L"b\xD83D\xDE00.tmp")));
  for (const std::wstring& name : {kLookAlikeUp + L"x", std::wstring(L"a\x4E2D" L"b"), std::wstring(L"\xD83D\xDE00")})
    EXPECT_EQ(name, WideText(NarrowName(name)));
  // A "<" that opens no character written out is an ordinary character of a text.
  EXPECT_EQ(L"a<U+12>b", WideText("a<U+12>b"));
  EXPECT_FALSE(HasEscapedNames("a<U+12>b"));
  // Only names that stay inside their folder are joined to it.
  EXPECT_FALSE(SafeName(L".."));
  EXPECT_FALSE(SafeName(L"..\\x"));
  EXPECT_FALSE(SafeName(L"c:x"));
  EXPECT_TRUE(SafeName((kLookAlikeUp + L"x").c_str()));
  EXPECT_TRUE(LiesInside("C:\\t\\a\\b.txt", "C:\\t\\"));
  EXPECT_FALSE(LiesInside("C:\\t\\..\\b.txt", "C:\\t\\"));
  EXPECT_FALSE(LiesInside("C:\\tx\\b.txt", "C:\\t\\"));
}

TEST(WideNames, ADoubleByteCharacterWhoseSecondByteReadsAsASeparatorIsWrittenOut) {
  // In code page 932 U+30BD is 83 5C, its second byte a "\\"; U+30A2 is 83 41.
  wchar_t probe[2] = {0};
  ASSERT_EQ(1, MultiByteToWideChar(932, 0, "\x83\x5C", 2, probe, 2)) << "code page 932 is there";
  ASSERT_EQ(L'\x30BD', probe[0]);
  const std::wstring path = L"C:\\t\\\x30BD\\\x30A2.txt";
  EXPECT_EQ("C:\\t\\<U+30BD>\\\x83\x41.txt", NarrowName(path.data(), path.size(), 932));
  const std::wstring name = L"a\x30BD\x30A2";
  EXPECT_EQ("a<U+30BD>\x83\x41", NarrowName(name.data(), name.size(), 932));
  // The process's own code page is asked as before.
  EXPECT_EQ(NarrowName(path), NarrowName(path.data(), path.size(), CP_ACP));
}

class WalkTest : public ProgramFolderTest {
 protected:
  TempFolder work{"tswwalk"};
  std::string W(const std::string& rel) const { return work.File(rel); }
  std::wstring Wide(const std::string& rel) const { return WidePath(work.File(rel)); }
  void TearDown() override {
    SetWalkEntryHook(nullptr);
    ProgramFolderTest::TearDown();
  }
};

TEST_F(WalkTest, ALookAlikeFolderIsEmptiedAsItselfAndNeverLeadsOut) {
  MakeFile(W("victim\\thesis.docx"), "mine");
  MakeFile(W("t\\plain.tmp"));
  const std::wstring lookAlike = Wide("t\\") + kLookAlikeUp + L"victim";
  ASSERT_TRUE(CreateDirectoryW(lookAlike.c_str(), nullptr));
  MakeWideFile(lookAlike + L"\\inner.tmp", "x");
  MakeWideFile(Wide("t\\") + kLookAlikeUp + L"victim" + L"\xFF3C" + L"thesis.docx", "look-alike");
  std::vector<std::string> files;
  WalkListedFiles(W("t"), true, [&](const std::string& folder, const ListedEntry& e) { files.push_back(folder + e.name); });
  std::sort(files.begin(), files.end());
  const std::vector<std::string> expected = {
      W("t\\<U+FF0E><U+FF0E><U+FF3C>victim<U+FF3C>thesis.docx"), W("t\\<U+FF0E><U+FF0E><U+FF3C>victim\\inner.tmp"),
      W("t\\plain.tmp")};
  EXPECT_EQ(expected, files);
  EmptyFolderTree(W("t"));
  EXPECT_EQ("mine", ReadFileText(W("victim\\thesis.docx")));
  EXPECT_FALSE(WideExists(lookAlike));
  EXPECT_TRUE(FileExists(W("t")));
  EXPECT_EQ(0, FolderSize(W("t")));
}

TEST_F(WalkTest, AFolderSwappedForALinkBeforeTheWalkEntersItIsNotFollowed) {
  MakeFile(W("outside\\precious.txt"), "must survive");
  MakeFile(W("t\\a\\first.tmp"));
  MakeFile(W("t\\b.tmp"));
  bool swapped = false;
  // Between the listing of t and the entry into t\a: a moves away and a link takes its place.
  SetWalkEntryHook([&](const std::string& folder) {
    if (folder != W("t\\a\\") || swapped) return;
    swapped = MoveFileA(W("t\\a").c_str(), W("a-away").c_str()) && MakeLink(W("t\\a"), W("outside"));
  });
  struct LinkGone {
    std::string path;
    ~LinkGone() { RemoveLink(path); }  // never left in the prefix's user folders
  } gone{W("t\\a")};
  EmptyFolderTree(W("t"));
  SetWalkEntryHook(nullptr);
  ASSERT_TRUE(swapped);
  ASSERT_TRUE(GetFileAttributesA(W("t\\a").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ("must survive", ReadFileText(W("outside\\precious.txt")));
  EXPECT_FALSE(FileExists(W("t\\b.tmp")));
  EXPECT_TRUE(FileExists(W("a-away\\first.tmp")));
  EXPECT_TRUE(RemoveLink(W("t\\a")));
  EXPECT_EQ("must survive", ReadFileText(W("outside\\precious.txt")));
}

TEST_F(WalkTest, AFolderAWildcardFoundAndThenSwappedForALinkIsNotFollowed) {
  MakeFile(W("outside\\precious.tmp"), "must survive");
  MakeFile(W("defs\\a\\first.tmp"));
  MakeFile(W("defs\\b\\second.tmp"));
  bool swapped = false;
  // Between the listing of defs (the wildcard) and the entry into defs\a.
  SetWalkEntryHook([&](const std::string& folder) {
    if (folder != W("defs\\a\\") || swapped) return;
    swapped = MoveFileA(W("defs\\a").c_str(), W("a-away").c_str()) && MakeLink(W("defs\\a"), W("outside"));
  });
  LinkGone gone{W("defs\\a")};
  const AppDefinition entry =
      ParseDefinitions("[Swapped *]\r\nFileKey1=" + W("defs\\*") + "|*.tmp|RECURSE\r\n", DefinitionVars()).entries.at(0);
  CarryingEraser carrying;
  {
    ScopedEraser scope(carrying);
    EraseDefinition(entry);
  }
  SetWalkEntryHook(nullptr);
  ASSERT_TRUE(swapped);
  EXPECT_EQ("must survive", ReadFileText(W("outside\\precious.tmp")));
  EXPECT_TRUE(FileExists(W("a-away\\first.tmp")));
  EXPECT_FALSE(FileExists(W("defs\\b\\second.tmp")));
  EXPECT_TRUE(HasOutcome(carrying, W("defs\\a"), "a link, not followed"));
}

TEST_F(WalkTest, ACacheFolderSwappedForALinkAfterTheSweepFoundItIsNotFollowed) {
  MakeFile(W("outside\\precious.tmp"), "must survive");
  MakeFile(W("t\\x\\Cache\\a.tmp"));
  MakeFile(W("t\\y\\Cache\\b.tmp"));
  int entries = 0;
  bool swapped = false;
  // The sweep finds t\x\Cache, lets go of it, and then empties it: swapped in between.
  SetWalkEntryHook([&](const std::string& folder) {
    if (folder != W("t\\x\\Cache\\") || ++entries != 2) return;
    swapped = MoveFileA(W("t\\x\\Cache").c_str(), W("cache-away").c_str()) && MakeLink(W("t\\x\\Cache"), W("outside"));
  });
  LinkGone gone{W("t\\x\\Cache")};
  SweepCacheTree(W("t"));
  SetWalkEntryHook(nullptr);
  ASSERT_TRUE(swapped);
  EXPECT_EQ("must survive", ReadFileText(W("outside\\precious.tmp")));
  EXPECT_TRUE(FileExists(W("cache-away\\a.tmp")));
  EXPECT_FALSE(FileExists(W("t\\y\\Cache\\b.tmp")));
  EXPECT_TRUE(FileExists(W("t\\y\\Cache")));
}

TEST_F(WalkTest, AFileReplacedByAHardLinkAfterItWasListedIsDeletedWithoutZeroingTheOtherName) {
  MakeFile(W("Documents\\report.docx"), std::string(3000, 'R'));
  MakeFile(W("t\\a.tmp"), std::string(3000, 'x'));
  ScopedSecureErasing secure(true);
  OverwrittenFiles seen;
  CarryingEraser carrying;
  ScopedEraser scope(carrying);
  size_t listed = 0;
  WalkListedFiles(W("t"), false, [&](const std::string& folder, const ListedEntry& e) {
    ++listed;
    // Listed as a file of its own; before it is erased it becomes a second name of the report.
    const std::string path = folder + e.name;
    if (!DeleteFileA(path.c_str()) || !CreateHardLinkA(path.c_str(), W("Documents\\report.docx").c_str(), nullptr)) return;
    EXPECT_TRUE(carrying.EraseListedFile(path, e.facts, false));
  });
  EXPECT_EQ(1u, listed);
  EXPECT_EQ(std::string(3000, 'R'), ReadFileText(W("Documents\\report.docx")));
  EXPECT_FALSE(FileExists(W("t\\a.tmp")));
  EXPECT_TRUE(seen.every.empty());
  EXPECT_EQ(std::vector<std::string>{"Not overwritten, another name shares its contents: " + W("t\\a.tmp")}, carrying.notes);
}

TEST_F(WalkTest, AFolderTheWalkIsInsideCannotBeRenamedOrSwapped) {
  MakeFile(W("t\\a\\b\\deep.tmp"));
  MakeFile(W("t\\a\\c.tmp"));
  DWORD renamed = 0, error = 0;
  SetWalkEntryHook([&](const std::string& folder) {
    if (folder != W("t\\a\\b\\")) return;
    // The walk holds t and t\a: neither can go elsewhere while it is inside them.
    renamed += MoveFileA(W("t\\a").c_str(), W("t\\moved").c_str()) ? 1 : 0;
    error = GetLastError();
    renamed += MoveFileA(W("t").c_str(), W("t-moved").c_str()) ? 1 : 0;
  });
  EmptyFolderTree(W("t"));
  EXPECT_EQ(0u, renamed);
  EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), error);
  EXPECT_FALSE(FileExists(W("t\\a")));
  EXPECT_TRUE(FileExists(W("t")));
}

TEST_F(WalkTest, FilesDeeperThanMaxPathAreReachedAndWhatStaysIsPassedOver) {
  std::string deep = W("t");
  CreateDirectoryW(WidePath(deep).c_str(), nullptr);
  while (deep.size() < MAX_PATH + 40) {
    deep += "\\abcdefghijklmnopqrstuvwxyz";
    ASSERT_TRUE(CreateDirectoryW(WidePath(deep).c_str(), nullptr));
  }
  MakeWideFile(WidePath(deep + "\\deep.tmp"), std::string(70, 'd'));
  MakeWideFile(WidePath(deep + "\\held.tmp"), std::string(30, 'h'));
  ASSERT_TRUE(WideExists(WidePath(deep + "\\deep.tmp")));
  EXPECT_EQ(100, FolderSize(W("t")));
  // One file held open without sharing: it cannot go, and the run says so.
  HANDLE held = CreateFileW(WidePath(deep + "\\held.tmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  RecordingView view;
  Ticks ticks;
  RunItem item{GateKind::Always, 0, nullptr, nullptr, "Please Waiting ,Cleaning Deep.......", "Cleaning Deep.......OK",
               false, -1, 0, 0, false, nullptr};
  static std::string top;
  top = W("t");
  item.step = [](RunContext&) { EmptyFolderTree(top); };
  std::vector<RunItem> items{item};
  CleanRun run(view, ticks, Settings(), items);
  run.Run();
  CloseHandle(held);
  EXPECT_FALSE(WideExists(WidePath(deep + "\\deep.tmp")));
  EXPECT_TRUE(WideExists(WidePath(deep + "\\held.tmp")));
  EXPECT_EQ(1u, run.passedOver());
  EXPECT_TRUE(HasLine(view.lines, "Passed over (in use): " + deep + "\\held.tmp"));
  EmptyFolderTree(W("t"));
  EXPECT_FALSE(WideExists(WidePath(deep + "\\held.tmp")));
}

namespace {
void SetKeyAccess(const std::string& sub, const char* sddl) {
  RegKey k;
  ASSERT_EQ(ERROR_SUCCESS, k.Open(HKEY_CURRENT_USER, sub, WRITE_DAC));
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(k.get(), DACL_SECURITY_INFORMATION, sd));
  LocalFree(sd);
}
}  // namespace

TEST_F(WalkTest, ARegistryKeyThatRefusesDeletionIsPassedOverNotCounted) {
  const std::string sub = "Software\\TracksweepTest\\Refusing";
  {
    RegKey k;
    ASSERT_EQ(ERROR_SUCCESS, k.Create(HKEY_CURRENT_USER, sub + "\\Locked"));
    k.SetString("a", "C:\\secret\\plans.doc");
  }
  // A sub-key nobody may read or list: its parent cannot be deleted with it.
  SetKeyAccess(sub + "\\Locked", "D:P(D;;CCSW;;;WD)(A;;KA;;;WD)");
  CarryingEraser carrying;
  EXPECT_EQ(ERROR_ACCESS_DENIED, carrying.DeleteKeyTree(HKEY_CURRENT_USER, sub));
  EXPECT_EQ(0, carrying.keys);
  ASSERT_EQ(1u, carrying.outcomes.size());
  EXPECT_EQ("access denied", carrying.outcomes[0].why);
  EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, sub));
  SetKeyAccess(sub + "\\Locked", "D:(A;;KA;;;WD)");
  EXPECT_EQ(ERROR_SUCCESS, carrying.DeleteKeyTree(HKEY_CURRENT_USER, sub));
  EXPECT_EQ(1, carrying.keys);
  EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, sub));
  RealEraser().DeleteKeyTree(HKEY_CURRENT_USER, "Software\\TracksweepTest");
}

// The console cleaner, as a user runs it, on a temp folder that holds look-alike names and a
// hard link to a document.
class WalkProgramTest : public ProgramFolderTest {
 protected:
  IsolatedTrackFolders isolated;
  std::string exe;
  void SetUp() override {
    ProgramFolderTest::SetUp();
    exe = folder_->File("tswclean.exe");
    ASSERT_TRUE(CopyFileA("C:\\tsw-bin\\tswclean.exe", exe.c_str(), FALSE)) << "the harness puts tswclean.exe there";
    StoreTicks(Settings(), {13});  // Windows Temp only
  }
  std::string Root(const std::string& rel) const { return isolated.root().File(rel); }
};

TEST_F(WalkProgramTest, LookAlikeEntriesInTheTempFolderGoAndTheFolderTheyMimicStays) {
  // Temp\..\victim is a real folder; Temp holds "．．＼victim" and "．．＼victim＼keep.txt".
  MakeFile(Root("victim\\keep.txt"), "keep me");
  MakeFile(Root("victim\\thesis.docx"), "mine");
  const std::wstring temp = WidePath(Root("Temp"));
  ASSERT_TRUE(CreateDirectoryW((temp + L"\\" + kLookAlikeUp + L"victim").c_str(), nullptr));
  MakeWideFile(temp + L"\\" + kLookAlikeUp + L"victim\\thesis.docx", "look-alike");
  MakeWideFile(temp + L"\\" + kLookAlikeUp + L"victim\xFF3Ckeep.txt", "look-alike");
  const ProgramResult r = RunProgram("\"" + exe + "\"", folder_->path());
  EXPECT_EQ(0u, r.code) << r.out << r.err;
  EXPECT_EQ("keep me", ReadFileText(Root("victim\\keep.txt")));
  EXPECT_EQ("mine", ReadFileText(Root("victim\\thesis.docx")));
  EXPECT_FALSE(WideExists(temp + L"\\" + kLookAlikeUp + L"victim"));
  EXPECT_FALSE(WideExists(temp + L"\\" + kLookAlikeUp + L"victim\xFF3Ckeep.txt"));
  EXPECT_TRUE(FileExists(Root("Temp")));
}

TEST_F(WalkProgramTest, ATempFolderTheCodePageCannotSpellIsEmptiedAsItselfNotItsLookAlike) {
  // TMP names "ｔemp" (a full-width t): its narrow look-alike "temp" is another, real folder.
  MakeFile(Root("Temp\\precious.txt"), "mine");
  const std::wstring fullWidth = WidePath(isolated.root().path()) + L"\\" L"\xFF54" L"emp";
  ASSERT_TRUE(CreateDirectoryW(fullWidth.c_str(), nullptr));
  MakeWideFile(fullWidth + L"\\junk.tmp", "junk");
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", fullWidth.c_str()));
  ASSERT_TRUE(SetEnvironmentVariableW(L"TEMP", fullWidth.c_str()));
  const ProgramResult r = RunProgram("\"" + exe + "\"", folder_->path());
  EXPECT_EQ(0u, r.code) << r.out << r.err;
  EXPECT_EQ("mine", ReadFileText(Root("Temp\\precious.txt")));
  EXPECT_FALSE(WideExists(fullWidth + L"\\junk.tmp"));
  EXPECT_TRUE(WideExists(fullWidth));
}

TEST_F(WalkProgramTest, SecureCleaningDeletesAHardLinkWithoutZeroingTheDocumentItSharesAndSaysSo) {
  MakeFile(Root("Documents\\report.docx"), std::string(4000, 'R'));
  ASSERT_TRUE(CreateHardLinkA(Root("Temp\\report.tmp").c_str(), Root("Documents\\report.docx").c_str(), nullptr));
  MakeFile(Root("Temp\\own.tmp"), 100);
  WriteIni(Settings(), "Additional", "securely", "1");
  const ProgramResult r = RunProgram("\"" + exe + "\"", folder_->path());
  EXPECT_EQ(0u, r.code) << r.out << r.err;
  EXPECT_EQ(std::string(4000, 'R'), ReadFileText(Root("Documents\\report.docx")));
  EXPECT_FALSE(FileExists(Root("Temp\\report.tmp")));
  EXPECT_FALSE(FileExists(Root("Temp\\own.tmp")));
  EXPECT_NE(std::string::npos,
            r.out.find("Not overwritten, another name shares its contents: " + Root("Temp\\report.tmp")))
      << r.out;
}

namespace {
// A history of secret rows and one kept row; the SQL given runs first. With keepLog the rows
// stay in the write-ahead log, as a browser that did not fold them back on closing leaves them.
void MakeSecretHistory(const std::string& path, const std::string& first, bool keepLog) {
  sqlite3* raw = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(Utf8Text(path).c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr));
  sqlite3_exec(raw, (first + "CREATE TABLE urls(id INTEGER PRIMARY KEY, url TEXT);"
                             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                             "INSERT INTO urls(url) SELECT 'https://secret-' || i || '.example/' || hex(randomblob(40)) FROM n;"
                             "INSERT INTO urls(url) VALUES ('https://kept.example/');")
                        .c_str(),
               nullptr, nullptr, nullptr);
  int set = 0;
  if (keepLog) sqlite3_db_config(raw, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, &set);
  sqlite3_close(raw);
}

// The secret rows erased and the database compacted, as a secure run does; whileOpen runs
// before the database is closed.
void EraseSecretsSecurely(const std::string& path, const std::function<void()>& whileOpen = nullptr) {
  ScopedSecureErasing secure(true);
  SqliteDb db;
  ASSERT_EQ(SqliteDb::Opened::Ok, db.Open(path));
  {
    SqliteTransaction t(db);
    ASSERT_TRUE(db.Exec("DELETE FROM urls WHERE url LIKE 'https://secret-%'"));
    ASSERT_TRUE(t.Commit());
  }
  ASSERT_TRUE(db.Compact());
  if (whileOpen) whileOpen();
}

void ExpectOnlyTheKeptRow(const std::string& path) {
  const std::string database = ReadFileText(path);
  EXPECT_EQ(std::string::npos, database.find("secret-"));
  EXPECT_NE(std::string::npos, database.find("https://kept.example/"));
}
}  // namespace

TEST_F(WalkTest, SecureCleaningLeavesNoErasedRowInTheDatabasesJournal) {
  const std::string path = W("History");
  MakeSecretHistory(path, "", false);
  OverwrittenFiles seen;
  EraseSecretsSecurely(path);
  // The journals SQLite wrote held every erased row (the commit's, then the compaction's); each
  // was zeros when it was deleted.
  size_t journals = 0;
  for (const auto& file : seen.every) {
    if (file.first.find("-journal") == std::string::npos) continue;
    ++journals;
    EXPECT_EQ(std::string(file.second.size(), '\0'), file.second) << file.first << " #" << journals;
  }
  EXPECT_GE(journals, 2u);
  EXPECT_FALSE(FileExists(path + "-journal"));
  ExpectOnlyTheKeptRow(path);
}

TEST_F(WalkTest, SecureCleaningLeavesNoErasedRowInAWriteAheadLog) {
  const std::string path = W("places.sqlite");
  MakeSecretHistory(path, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;", true);
  ASSERT_NE(std::string::npos, ReadFileText(path + "-wal").find("secret-"));
  OverwrittenFiles seen;
  // Still open after the run's work: the log is there, and holds no erased row.
  EraseSecretsSecurely(path, [&] { EXPECT_EQ(std::string::npos, ReadFileText(path + "-wal").find("secret-")); });
  for (const auto& file : seen.every) EXPECT_EQ(std::string::npos, file.second.find("secret-")) << file.first;
  EXPECT_EQ(std::string::npos, ReadFileText(path + "-wal").find("secret-"));
  ExpectOnlyTheKeptRow(path);
}

TEST_F(WalkTest, AJournalThatCannotBeOverwrittenGoesButNotInSilence) {
  const std::string path = W("History");
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(Utf8Text(path).c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr));
    sqlite3_exec(raw, "CREATE TABLE urls(id INTEGER PRIMARY KEY, url TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
  }
  ScopedSecureErasing secure(true);
  SqliteDb db;
  ASSERT_EQ(SqliteDb::Opened::Ok, db.Open(path));  // a secure run's databases go through its file system
  sqlite3_vfs* zeroing = sqlite3_vfs_find("tsw-zeroing");
  ASSERT_NE(nullptr, zeroing);
  // A journal another program holds open: it cannot be overwritten, but deleting it is allowed.
  const std::string journal = path + "-journal";
  MakeFile(journal, "old pages: https://secret.example/");
  HANDLE held = CreateFileA(journal.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  CarryingEraser carrying;
  {
    ScopedEraser scope(carrying);
    EXPECT_EQ(SQLITE_OK, zeroing->xDelete(zeroing, Utf8Text(journal).c_str(), 0));
  }
  CloseHandle(held);
  EXPECT_FALSE(FileExists(journal));
  EXPECT_EQ(std::vector<std::string>{"Not overwritten before it was deleted (in use): " + journal}, carrying.notes);
}

// Registry entries that refuse to go are passed over with the reason, and not counted.
TEST_F(WalkTest, ADefinitionsRefusedValueAndUnreadableKeyArePassedOver) {
  const std::string sub = "Software\\TracksweepTest\\Definition";
  for (const char* key : {"\\Locked", "\\Unreadable\\Inner", "\\Unreadable\\Kept"}) {
    RegKey k;
    ASSERT_EQ(ERROR_SUCCESS, k.Create(HKEY_CURRENT_USER, sub + key));
    k.SetString("Recent", "C:\\secret\\plans.doc");
  }
  SetKeyAccess(sub + "\\Locked", "D:P(D;;DC;;;WD)(A;;KA;;;WD)");         // its values may not be changed
  SetKeyAccess(sub + "\\Unreadable", "D:P(D;;CCSW;;;WD)(A;;KA;;;WD)");  // nor this one read
  const std::string key = "HKCU\\" + sub;
  const AppDefinition entry = ParseDefinitions("[Refusing *]\r\nRegKey1=" + key + "\\Locked|Recent\r\nRegKey2=" + key +
                                                   "\\Unreadable\r\nExcludeKey1=REG|" + key + "\\Unreadable\\Kept\r\n",
                                               DefinitionVars())
                                  .entries.at(0);
  CarryingEraser carrying;
  DefinitionResult r;
  {
    ScopedEraser scope(carrying);
    r = EraseDefinition(entry);
  }
  SetKeyAccess(sub + "\\Locked", "D:(A;;KA;;;WD)");
  SetKeyAccess(sub + "\\Unreadable", "D:(A;;KA;;;WD)");
  EXPECT_EQ(0, r.keys);
  EXPECT_EQ(0, carrying.keys);
  EXPECT_TRUE(HasOutcome(carrying, "HKEY_CURRENT_USER\\" + sub + "\\Locked\\Recent", "access denied"));
  EXPECT_TRUE(HasOutcome(carrying, "HKEY_CURRENT_USER\\" + sub + "\\Unreadable", "access denied"));
  EXPECT_TRUE(ValuePresent(HKEY_CURRENT_USER, sub + "\\Locked", "Recent"));
  EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, sub + "\\Unreadable\\Inner"));
  RealEraser().DeleteKeyTree(HKEY_CURRENT_USER, "Software\\TracksweepTest");
}

TEST_F(WalkTest, MoreApplicationsSayWhatStayedAndDoNotCountIt) {
  IsolatedTrackFolders isolated;
  const std::string getRight = "Software\\Headlight\\GetRight\\MRU", acrobat = "Software\\Adobe\\Acrobat Reader\\4.0\\AdobeViewer",
                    player = "Software\\DivXNetworks\\ThePlaya";
  for (const std::pair<std::string, const char*>& v :
       {std::make_pair(getRight, "url1"), std::make_pair(acrobat, "avpRecentFile"), std::make_pair(player, "File1")}) {
    RegKey k;
    ASSERT_EQ(ERROR_SUCCESS, k.Create(HKEY_CURRENT_USER, v.first));
    k.SetString(v.second, "C:\\secret\\plans.doc");
  }
  // None of the three keys lets its values be changed.
  for (const std::string& key : {getRight, acrobat, player}) SetKeyAccess(key, "D:P(D;;DC;;;WD)(A;;KA;;;WD)");
  for (const char* app : {"GetRight", "AcrobatReader4", "ThePlayer", "QuickTime"}) WriteIni(Settings(), "MOREAPPLICATIONS", app, "1");
  RecordingView view;
  Ticks ticks;
  CleanRun run(view, ticks, Settings());
  run.Run();
  for (const std::string& key : {getRight, acrobat, player}) SetKeyAccess(key, "D:(A;;KA;;;WD)");
  EXPECT_EQ(1, run.regnum());  // QuickTime's, which erases nothing; the others' fixed counts are not earned
  EXPECT_EQ(3u, run.passedOver());
  for (const std::string& target : {getRight, acrobat + "\\avpRecentFile", player + "\\File1"})
    EXPECT_TRUE(HasLine(view.lines, "Passed over (access denied): HKEY_CURRENT_USER\\" + target)) << target;
  EXPECT_TRUE(ValuePresent(HKEY_CURRENT_USER, getRight, "url1"));
  EXPECT_EQ("C:\\secret\\plans.doc", GetStringValue("HKEY_CURRENT_USER\\" + acrobat, "avpRecentFile"));
  for (const char* key : {"Software\\Headlight", "Software\\Adobe", "Software\\DivXNetworks"})
    RealEraser().DeleteKeyTree(HKEY_CURRENT_USER, key);
}
