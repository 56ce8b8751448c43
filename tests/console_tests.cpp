// Analyze and the console cleaner: a preview changes nothing and lists what a run then erases;
// tswclean.exe runs the stored selection with the window's status lines.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <sstream>

#include <nlohmann/json.hpp>

#include "access/RegKey.h"
#include "engine/CleanRun.h"
#include "engine/CustomItems.h"
#include "engine/MoreApps.h"
#include "engine/Preview.h"
#include "engine/StoredSelection.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "settings/MainTicks.h"
#include "tests/RunRecorder.h"
#include "tests/TaskRecord.h"
#include "tests/TestSupport.h"

namespace {

const char kRunMRU[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

bool HasLine(const std::string& text, const std::string& line) {
  const std::vector<std::string> lines = Lines(text);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string LastLine(const std::string& text) {
  const std::vector<std::string> lines = Lines(text);
  return lines.empty() ? "" : lines.back();
}

}  // namespace

class ConsoleTest : public ProgramFolderTest {
 protected:
  IsolatedTrackFolders isolated;
  std::string Temp() const { return isolated.root().File("Temp"); }
  void Seed() {
    MakeFile(Temp() + "\\a.tmp", 300);
    MakeFile(Temp() + "\\sub\\b.tmp", 200);
    RegKey k;
    k.Create(HKEY_CURRENT_USER, kRunMRU);
    RegSetValueExA(k.get(), "a", 0, REG_SZ, reinterpret_cast<const BYTE*>("notepad"), 8);
    MakeFile(isolated.root().File("custom\\c.log"), 50);
    WriteListFile(CustomItemsFile(), {isolated.root().File("custom") + "\\*.log"});
    WriteIni(Settings(), "Additional", "Custom", "1");
    StoreTicks(Settings(), {11, 13});
  }
};

TEST_F(ConsoleTest, APreviewChangesNothingAndListsWhatTheRunThenErases) {
  Seed();
  const std::string settingsBefore = ReadFileText(Settings());
  StoredSelection selection(Settings());
  RecordingView view;
  CleanRun run(view, selection, Settings());
  std::vector<PreviewItem> preview = run.Analyze();
  ASSERT_EQ(4u, preview.size());  // Run history, Temp, More Applications, custom items
  EXPECT_EQ("Start Menu Run History", preview[0].name);
  EXPECT_EQ(1, preview[0].regnum);
  EXPECT_EQ("Windows Temp", preview[1].name);
  EXPECT_EQ(500, preview[1].filesize);
  EXPECT_TRUE(view.lines.empty());
  EXPECT_EQ(settingsBefore, ReadFileText(Settings()));  // no lastclean, no totals
  std::vector<std::string> files;
  for (const PreviewItem& item : preview)
    for (const RecordingEraser::Entry& e : item.entries)
      if (e.kind == "file") files.push_back(e.target);
  std::sort(files.begin(), files.end());
  std::vector<std::string> seeded = {Temp() + "\\a.tmp", Temp() + "\\sub\\b.tmp", isolated.root().File("custom\\c.log")};
  std::sort(seeded.begin(), seeded.end());
  EXPECT_EQ(seeded, files);
  for (const std::string& f : seeded) EXPECT_TRUE(FileExists(f)) << f;
  RegKey mru;
  ASSERT_EQ(ERROR_SUCCESS, mru.Open(HKEY_CURRENT_USER, kRunMRU, KEY_READ));
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(mru.get(), "a", nullptr, nullptr, nullptr, nullptr));
  mru.Close();

  run.Run();
  for (const std::string& f : files) EXPECT_FALSE(FileExists(f)) << f;
  ASSERT_EQ(ERROR_SUCCESS, mru.Open(HKEY_CURRENT_USER, kRunMRU, KEY_READ));
  EXPECT_NE(ERROR_SUCCESS, RegQueryValueExA(mru.get(), "a", nullptr, nullptr, nullptr, nullptr));
}

class CleanerProgramTest : public ConsoleTest {
 protected:
  std::string exe;
  void SetUp() override {
    ConsoleTest::SetUp();
    exe = folder_->File("tswclean.exe");
    ASSERT_TRUE(CopyFileA("C:\\tsw-bin\\tswclean.exe", exe.c_str(), FALSE)) << "the harness puts tswclean.exe there";
  }
};

TEST_F(CleanerProgramTest, CleansTheStoredSelectionWithTheWindowsLines) {
  Seed();
  ProgramResult analyze = RunProgram("\"" + exe + "\" --analyze", folder_->path());
  EXPECT_EQ(0u, analyze.code);
  EXPECT_TRUE(HasLine(analyze.out, "Windows Temp\tfile\t" + Temp() + "\\a.tmp\t300")) << analyze.out;
  EXPECT_TRUE(FileExists(Temp() + "\\a.tmp"));
  EXPECT_EQ("", ReadIni(Settings(), "WINDOWS", "lastclean"));

  ProgramResult clean = RunProgram("\"" + exe + "\"", folder_->path());
  EXPECT_EQ(0u, clean.code) << clean.err;
  EXPECT_FALSE(FileExists(Temp() + "\\a.tmp"));
  EXPECT_NE("", ReadIni(Settings(), "WINDOWS", "lastclean"));
  EXPECT_EQ("1", ReadIni(Settings(), "WINDOWS", "regnum"));

  // The same selection in the engine, as the progress dialog runs it, shows the same lines.
  RecordingView view;
  StoredSelection selection(Settings());
  CleanRun(view, selection, Settings()).Run();
  std::vector<std::string> expected = view.lines;
  expected.push_back(view.summaries.at(0).substr(0, view.summaries.at(0).find(" Released")) + " Released HD Space:.MB");
  std::vector<std::string> printed = Lines(clean.out);
  ASSERT_FALSE(printed.empty());
  EXPECT_EQ(std::vector<std::string>(expected.begin(), expected.end() - 1), std::vector<std::string>(printed.begin(), printed.end() - 1));
  EXPECT_EQ(0u, printed.back().find("Task complete Successfully! Cleaned Registry Keys: 1 Released HD Space:"));

  ProgramResult items = RunProgram("\"" + exe + "\" --items", folder_->path());
  EXPECT_TRUE(HasLine(items.out, "Windows Temp\t1"));
  EXPECT_TRUE(HasLine(items.out, "IE Cookies\t0"));
  EXPECT_TRUE(HasLine(items.out, "Custom Clean Items\t1"));
  EXPECT_TRUE(HasLine(items.out, "More Browsers\t0"));  // no browser kind ticked
}

TEST_F(CleanerProgramTest, BadArgumentsAndAMissingSelectionFailWithAMessage) {
  ProgramResult bad = RunProgram("\"" + exe + "\" --everything", folder_->path());
  EXPECT_EQ(2u, bad.code);
  EXPECT_NE(std::string::npos, bad.err.find("usage: tswclean"));
  ProgramResult none = RunProgram("\"" + exe + "\"", folder_->path());  // no prisd.dat yet
  EXPECT_EQ(3u, none.code);
  EXPECT_NE(std::string::npos, none.err.find("prisd.dat"));
  EXPECT_FALSE(FileExists(Settings()));
  ProgramResult help = RunProgram("\"" + exe + "\" --help", folder_->path());
  EXPECT_EQ(0u, help.code);
  EXPECT_NE(std::string::npos, help.out.find("--analyze"));
  // Asked the Windows way, the same text.
  ProgramResult asked = RunProgram("\"" + exe + "\" /?", folder_->path());
  EXPECT_EQ(0u, asked.code);
  EXPECT_EQ(help.out, asked.out);
}

// The uninstaller's call: the task goes, with no saved selection needed, and a task that is not
// there is no failure.
TEST_F(CleanerProgramTest, UnscheduleRemovesTheScheduledCleaningWithoutASavedSelection) {
  taskrecord::Scheduler scheduler;
  ASSERT_TRUE(scheduler.RegisterDaily("Tracksweep", exe));
  ProgramResult removed = RunProgram("\"" + exe + "\" --unschedule", folder_->path());
  EXPECT_EQ(0u, removed.code) << removed.err;
  EXPECT_FALSE(scheduler.Read("Tracksweep").present);
  ProgramResult again = RunProgram("\"" + exe + "\" --unschedule", folder_->path());
  EXPECT_EQ(0u, again.code) << again.err;
  EXPECT_FALSE(FileExists(Settings()));
  EXPECT_EQ(2u, RunProgram("\"" + exe + "\" --unschedule --report r.json", folder_->path()).code);
  EXPECT_EQ(2u, RunProgram("\"" + exe + "\" --unschedule --items", folder_->path()).code);
  EXPECT_NE(std::string::npos, RunProgram("\"" + exe + "\" /?", folder_->path()).out.find("--unschedule"));
}

namespace {
PreviewEntry* Find(std::vector<PreviewItem>& preview, const std::string& kind, const std::string& target) {
  for (PreviewItem& item : preview)
    for (PreviewEntry& e : item.entries)
      if (e.kind == kind && e.target == target) return &e;
  return nullptr;
}
PreviewItem* FindItem(std::vector<PreviewItem>& preview, const std::string& name) {
  for (PreviewItem& item : preview)
    if (item.name == name) return &item;
  return nullptr;
}
const char kWordpad[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List";
const char kPaint[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List";
}  // namespace

class PreviewRunTest : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    MakeFile(Temp() + "\\a.tmp", 100);
    MakeFile(Temp() + "\\b.tmp", 200);
    MakeFile(Temp() + "\\sub\\c.tmp", 300);
    for (const char* key : {kRunMRU, kWordpad, kPaint}) {
      RegKey k;
      k.Create(HKEY_CURRENT_USER, key);
      RegSetValueExA(k.get(), "File1", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    }
    StoreTicks(Settings(), {11, 13, 28, 29});
  }
  bool HasValue(const char* key) {
    return SHGetValueA(HKEY_CURRENT_USER, key, "File1", nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }
};

TEST_F(PreviewRunTest, CleanTheseErasesExactlyTheTickedEntriesEachCheckedAgain) {
  StoredSelection selection(Settings());
  RecordingView view;
  std::vector<PreviewItem> preview = CleanRun(view, selection, Settings()).Analyze();
  // One file, one key and one whole item unticked.
  ASSERT_NE(nullptr, Find(preview, "file", Temp() + "\\b.tmp"));
  Find(preview, "file", Temp() + "\\b.tmp")->ticked = false;
  ASSERT_NE(nullptr, Find(preview, "key", std::string("HKEY_CURRENT_USER\\") + kRunMRU));
  Find(preview, "key", std::string("HKEY_CURRENT_USER\\") + kRunMRU)->ticked = false;
  for (PreviewEntry& e : FindItem(preview, "Windows Paint Recent Files")->entries) e.ticked = false;
  // Meanwhile a listed file grows and a new one appears in the listed folder.
  MakeFile(Temp() + "\\sub\\c.tmp", 350);
  MakeFile(Temp() + "\\sub\\new.tmp", 10);

  CleanRun run(view, selection, Settings());
  run.RunSelected(preview);
  EXPECT_FALSE(FileExists(Temp() + "\\a.tmp"));
  EXPECT_TRUE(FileExists(Temp() + "\\b.tmp"));      // unticked
  EXPECT_TRUE(FileExists(Temp() + "\\sub\\c.tmp"));  // changed since the preview
  EXPECT_TRUE(FileExists(Temp() + "\\sub\\new.tmp"));  // never listed
  EXPECT_TRUE(HasValue(kRunMRU));
  EXPECT_FALSE(HasValue(kWordpad));
  EXPECT_TRUE(HasValue(kPaint));
  EXPECT_EQ(view.lines.end(), std::find(view.lines.begin(), view.lines.end(), "Cleaning Windows Paint Recent Files......OK"));
  EXPECT_NE(view.lines.end(), std::find(view.lines.begin(), view.lines.end(), "Cleaning Wordpad Recent Files......OK"));
  // The last line says what happened: one entry passed over, said once, and never "Successfully".
  ASSERT_GE(view.lines.size(), 2u);
  EXPECT_EQ("1 entry changed since the preview, left as it is", view.lines[view.lines.size() - 2]);
  EXPECT_EQ("Task complete: 1 entry passed over", view.lines.back());
  EXPECT_EQ(0u, view.summaries.at(0).find("Task complete: 1 entry passed over. Cleaned Registry Keys: ")) << view.summaries.at(0);
  EXPECT_EQ(1u, run.changedSincePreview());
  bool reported = false;
  for (const CleanRun::ItemReport& r : run.report())
    for (const EntryOutcome& o : r.outcomes)
      reported = reported || (o.target == Temp() + "\\sub\\c.tmp" && o.why == "changed since the preview");
  EXPECT_TRUE(reported);
  EXPECT_NE("", ReadIni(Settings(), "WINDOWS", "regnum"));  // stored as a run stores them
}

TEST_F(PreviewRunTest, WhenNothingChangedTheTotalsAreThePreviewsTickedTotals) {
  StoredSelection selection(Settings());
  RecordingView view;
  std::vector<PreviewItem> preview = CleanRun(view, selection, Settings()).Analyze();
  Find(preview, "file", Temp() + "\\b.tmp")->ticked = false;
  const PreviewTotals ticked = TotalsOf(preview, true);
  CleanRun run(view, selection, Settings());
  run.RunSelected(preview);
  EXPECT_EQ(ticked.keys + ticked.countedKeys, run.regnum());
  EXPECT_EQ(ticked.bytes + ticked.countedBytes, run.filesize());
  EXPECT_EQ(400, run.filesize());  // a.tmp and c.tmp
  EXPECT_EQ(0u, run.changedSincePreview());
}

TEST(PreviewList, IsWrittenAndReadBackAndRefusesOtherText) {
  std::vector<PreviewItem> items = {{"Windows Temp", {{"file", "C:\\t\\a.tmp", 100}, {"folder", "C:\\t\\sub", 0}}, 0, 0},
                                    {"Start Menu Run History", {{"fixed", "counts 1 registry keys", 0}}, 0, 0}};
  items[0].entries[1].ticked = false;
  items[1].entries[0].count = 1;
  const std::string text = PreviewListText(items);
  EXPECT_EQ(0u, text.find("item\tkind\ttarget\tsize\tticked\tseen\nWindows Temp\tfile\tC:\\t\\a.tmp\t100\t1\t\n"));
  std::vector<PreviewItem> fromWindows;  // a list edited in Notepad keeps reading
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_TRUE(ReadPreviewList(crlf, fromWindows));
  std::vector<PreviewItem> read;
  ASSERT_TRUE(ReadPreviewList(text, read));
  ASSERT_EQ(2u, read.size());
  EXPECT_FALSE(read[0].entries[1].ticked);
  EXPECT_EQ(1u, read[1].entries[0].count);
  EXPECT_EQ(1, TotalsOf(read, true).countedKeys);
  EXPECT_EQ(0, TotalsOf(read, true).keys);  // what an item counts is no key it measured
  for (const std::string& bad : {std::string(""), std::string("kind\ttarget\tsize\n"), text + "Windows Temp\tfile\tx\t1\n",
                                 text + "Windows Temp\tfile\tx\t1\tyes\n", text + "Windows Temp\tfile\tx\tbig\t1\n"})
    EXPECT_FALSE(ReadPreviewList(bad, read)) << bad;
}

TEST_F(CleanerProgramTest, AnEditedListIsCarriedOutAndReportedForScripts) {
  MakeFile(Temp() + "\\a.tmp", 100);
  MakeFile(Temp() + "\\b.tmp", 200);
  StoreTicks(Settings(), {13});
  const std::string list = folder_->File("preview.txt"), report = folder_->File("report.json");
  ProgramResult analyze = RunProgram("\"" + exe + "\" --analyze --out \"" + list + "\"", folder_->path());
  ASSERT_EQ(0u, analyze.code) << analyze.err;
  std::string text = ReadFileText(list);
  const std::string line = "Windows Temp\tfile\t" + Temp() + "\\b.tmp\t200\t1";
  ASSERT_NE(std::string::npos, text.find(line)) << text;
  text.replace(text.find(line), line.size(), "Windows Temp\tfile\t" + Temp() + "\\b.tmp\t200\t0");
  WriteFileText(list, text);
  // A list that is not one erases nothing.
  WriteFileText(folder_->File("bad.txt"), "not a preview\r\n");
  ProgramResult bad = RunProgram("\"" + exe + "\" --from \"" + folder_->File("bad.txt") + "\"", folder_->path());
  EXPECT_EQ(3u, bad.code);
  EXPECT_EQ(3u, RunProgram("\"" + exe + "\" --from \"" + folder_->File("missing.txt") + "\"", folder_->path()).code);
  EXPECT_TRUE(FileExists(Temp() + "\\a.tmp"));
  EXPECT_EQ(2u, RunProgram("\"" + exe + "\" --out x", folder_->path()).code);

  ProgramResult from = RunProgram("\"" + exe + "\" --from \"" + list + "\" --report \"" + report + "\"", folder_->path());
  EXPECT_EQ(0u, from.code) << from.err;
  EXPECT_FALSE(FileExists(Temp() + "\\a.tmp"));
  EXPECT_TRUE(FileExists(Temp() + "\\b.tmp"));
  const nlohmann::json json = nlohmann::json::parse(ReadFileText(report), nullptr, false);
  ASSERT_FALSE(json.is_discarded());
  EXPECT_EQ(0, json["exitCode"]);
  bool erased = false;
  for (const auto& item : json["items"])
    for (const auto& e : item["erased"]) erased = erased || e["target"] == Temp() + "\\a.tmp";
  EXPECT_TRUE(erased);
  EXPECT_EQ(100, json["totals"]["bytes"]);

  // A file in use is passed over: the run finishes with 1, and the report says why.
  MakeFile(Temp() + "\\locked.tmp", 10);
  HANDLE held = CreateFileA((Temp() + "\\locked.tmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ProgramResult clean = RunProgram("\"" + exe + "\" --report \"" + report + "\"", folder_->path());
  CloseHandle(held);
  EXPECT_EQ(1u, clean.code);
  EXPECT_NE(std::string::npos, ReadFileText(report).find("\"why\": \"in use\""));
  EXPECT_FALSE(FileExists(Temp() + "\\b.tmp"));
}

// ---- The contract: a run that keeps to a preview carries out nothing the preview did not show.

namespace {
// The list with one line's tick set; the line is found by its kind and a part of its target.
std::string WithTick(std::string text, const std::string& kind, const std::string& targetPart, bool ticked) {
  std::istringstream in(text);
  std::string out, line;
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    for (size_t from = 0;;) {
      const size_t tab = line.find('\t', from);
      cells.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
      if (tab == std::string::npos) break;
      from = tab + 1;
    }
    if (cells.size() == 6 && cells[1] == kind && cells[2].find(targetPart) != std::string::npos) cells[4] = ticked ? "1" : "0";
    for (size_t i = 0; i < cells.size(); ++i) out += (i ? "\t" : "") + cells[i];
    out += "\n";
  }
  return out;
}

void Recycle(const std::string& path) {
  std::string from = path + std::string(1, '\0');
  SHFILEOPSTRUCTA op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  ASSERT_EQ(0, SHFileOperationA(&op));
}

long long BinItems() {
  SHQUERYRBINFO info = {sizeof info, 0, 0};
  SHQueryRecycleBinA("", &info);
  return info.i64NumItems;
}
}  // namespace

class ContractTest : public CleanerProgramTest {
 protected:
  std::string list, report;
  void SetUp() override {
    CleanerProgramTest::SetUp();
    list = folder_->File("preview.txt");
    report = folder_->File("report.json");
  }
  std::string Analyze() {
    const ProgramResult r = RunProgram("\"" + exe + "\" --analyze --out \"" + list + "\"", folder_->path());
    EXPECT_EQ(0u, r.code) << r.err;
    return ReadFileText(list);
  }
  ProgramResult From() { return RunProgram("\"" + exe + "\" --from \"" + list + "\" --report \"" + report + "\"", folder_->path()); }
};

TEST_F(ContractTest, TheRecycleBinIsEmptiedOnlyWhileItHoldsWhatThePreviewSaw) {
  SHEmptyRecycleBinA(nullptr, "", SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
  MakeFile(Temp() + "\\old.txt", 9);
  Recycle(Temp() + "\\old.txt");
  StoreTicks(Settings(), {14});
  const std::string text = Analyze();
  EXPECT_NE(std::string::npos, text.find("Recycle Bin\tclear\tthe Recycle Bin\t9\t1\t1 items, 9 bytes")) << text;
  // A document recycled after the preview: the bin no longer holds what was shown.
  MakeFile(Temp() + "\\report.doc", 500);
  Recycle(Temp() + "\\report.doc");
  const ProgramResult r = From();
  EXPECT_EQ(1u, r.code) << r.out;
  EXPECT_EQ(2, BinItems());
  EXPECT_TRUE(HasLine(r.out, "1 entry changed since the preview, left as it is")) << r.out;
  EXPECT_EQ(0u, LastLine(r.out).find("Task complete: 1 entry passed over. Cleaned Registry Keys: ")) << r.out;
  // As it was shown, it goes.
  Analyze();
  EXPECT_EQ(0u, From().code);
  EXPECT_EQ(0, BinItems());
}

TEST_F(ContractTest, AKeyThatChangedSinceThePreviewStaysWhole) {
  RegKey k;
  ASSERT_EQ(ERROR_SUCCESS, k.Create(HKEY_CURRENT_USER, kRunMRU));
  k.SetString("a", "notepad\\1");
  k.SetString("MRUList", "a");
  StoreTicks(Settings(), {11});
  const std::string text = Analyze();
  EXPECT_NE(std::string::npos, text.find("Start Menu Run History\tkey\tHKEY_CURRENT_USER\\" + std::string(kRunMRU))) << text;
  k.SetString("b", "C:\\secret\\plans.doc");  // typed after the preview
  const ProgramResult r = From();
  EXPECT_EQ(1u, r.code) << r.out;
  EXPECT_TRUE(ValuePresent(HKEY_CURRENT_USER, kRunMRU, "b"));
  EXPECT_TRUE(ValuePresent(HKEY_CURRENT_USER, kRunMRU, "a"));
  EXPECT_NE(std::string::npos, ReadFileText(report).find("\"why\": \"changed since the preview\""));
  // A sub-key added after the preview changes it too.
  Analyze();
  RegKey sub;
  sub.Create(HKEY_CURRENT_USER, std::string(kRunMRU) + "\\Later");
  EXPECT_EQ(1u, From().code);
  EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, std::string(kRunMRU) + "\\Later"));
  // Unchanged, it goes; and once it went, an empty key it leaves is no track to list.
  Analyze();
  const ProgramResult unchanged = From();
  EXPECT_EQ(0u, unchanged.code) << unchanged.out;
  EXPECT_FALSE(ValuePresent(HKEY_CURRENT_USER, kRunMRU, "b"));
  EXPECT_EQ(std::string::npos, Analyze().find("\tkey\tHKEY_CURRENT_USER\\" + std::string(kRunMRU)));
}

TEST_F(ContractTest, EveryTickedLineTheRunDoesNotMeetIsPassedOver) {
  MakeFile(Temp() + "\\a.tmp", 300);
  MakeFile(Temp() + "\\b.tmp", 200);
  StoreTicks(Settings(), {13});
  std::string text = Analyze();
  // Letter case and a trailing blank are no other file to Windows; b.tmp's line moves into a
  // second block of its item further down, after a line of an item no run has.
  const std::string aLine = "Windows Temp\tfile\t" + Temp() + "\\a.tmp\t300\t1\t\n";
  const std::string bLine = "Windows Temp\tfile\t" + Temp() + "\\b.tmp\t200\t1\t\n";
  ASSERT_NE(std::string::npos, text.find(aLine)) << text;
  ASSERT_NE(std::string::npos, text.find(bLine)) << text;
  text.replace(text.find(aLine), aLine.size(), "Windows Temp\tfile\t" + Temp() + "\\A.TMP \t300\t1\t\n");
  text.erase(text.find(bLine), bLine.size());
  text += "No Such Item\tfile\tC:\\nowhere\\x.tmp\t1\t1\t\n" + bLine;
  text += "Windows Temp\tfile\t" + Temp() + "\\gone.tmp\t5\t1\t\n";  // never there
  WriteFileText(list, text);
  const ProgramResult r = From();
  EXPECT_EQ(1u, r.code) << r.out;
  EXPECT_FALSE(FileExists(Temp() + "\\a.tmp"));
  EXPECT_FALSE(FileExists(Temp() + "\\b.tmp"));
  EXPECT_NE(std::string::npos, r.out.find("Passed over (not found): " + Temp() + "\\gone.tmp")) << r.out;
  EXPECT_TRUE(HasLine(r.out, "No item of this run is called \"No Such Item\": its 1 ticked entry is passed over")) << r.out;
  EXPECT_EQ(0u, LastLine(r.out).find("Task complete: 2 entries passed over. Cleaned Registry Keys: ")) << r.out;
  EXPECT_EQ(std::string::npos, r.out.find("Successfully")) << r.out;
}

TEST_F(ContractTest, ATypedAddressOfAnyLengthIsListedAndStaysWhenUnticked) {
  const std::string longUrl = "http://" + std::string(280, 'x') + ".example/";
  SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrlsKey);
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrlsKey, "url1", REG_SZ, "http://short.example/", 22);
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrlsKey, "url2", REG_SZ, longUrl.c_str(), static_cast<DWORD>(longUrl.size() + 1));
  WriteListFile(KeepUrlFile(), {});
  StoreTicks(Settings(), {1});
  std::string text = Analyze();
  ASSERT_NE(std::string::npos, text.find("\ttyped address\t" + longUrl + "\t")) << text;
  WriteFileText(list, WithTick(text, "typed address", longUrl, false));
  EXPECT_EQ(0u, From().code);
  EXPECT_EQ(std::vector<std::string>{longUrl}, CurrentTypedUrls());
  // The report names the address that went.
  std::string json;
  ASSERT_TRUE(ReadWholeFile(report, json));
  bool named = false;
  const nlohmann::json parsed = nlohmann::json::parse(json);
  for (const auto& item : parsed["items"])
    for (const auto& e : item["erased"]) named = named || (e["kind"] == "typed address" && e["target"] == "http://short.example/");
  EXPECT_TRUE(named) << json;
  SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrlsKey);
}

namespace {
void PutOnClipboard(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
  GlobalUnlock(mem);
  SetClipboardData(CF_TEXT, mem);
  CloseClipboard();
}
std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data) text = static_cast<const char*>(GlobalLock(data));
  if (data) GlobalUnlock(data);
  CloseClipboard();
  return text;
}
}  // namespace

TEST_F(ContractTest, TheClipboardIsEmptiedOnlyWhileItHoldsWhatThePreviewSaw) {
  PutOnClipboard("seen by the preview");
  StoreTicks(Settings(), {26});
  const std::string text = Analyze();
  EXPECT_NE(std::string::npos, text.find("Windows Clipboard\tclear\tthe clipboard\t0\t1\tsequence ")) << text;
  // Copied after the preview: the clipboard's sequence number moved on, and what it holds stays.
  PutOnClipboard("copied afterwards");
  const ProgramResult r = From();
  EXPECT_EQ(1u, r.code) << r.out;
  EXPECT_EQ("copied afterwards", ClipboardText());
  EXPECT_TRUE(HasLine(r.out, "1 entry changed since the preview, left as it is")) << r.out;
  EXPECT_EQ(0u, LastLine(r.out).find("Task complete: 1 entry passed over. Cleaned Registry Keys: ")) << r.out;
  // As it was shown, it goes.
  Analyze();
  const ProgramResult again = From();
  EXPECT_EQ(0u, again.code) << again.out;
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(0u, LastLine(again.out).find("Task complete Successfully! Cleaned Registry Keys: ")) << again.out;
}

// What a clean leaves (keys it emptied or created empty, values it blanked) is no track: an
// Analyze after it lists no key or value, only the fixed counts its items add whatever is there.
TEST_F(ContractTest, AfterACleanAnAnalyzeListsNoKeyOrValueOnlyTheFixedCounts) {
  // The applications' keys the test makes are gone again at its end.
  struct Cleanup {
    std::vector<std::string> made;
    ~Cleanup() {
      for (const std::string& key : made) SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    }
  } cleanup;
  for (const char* key : {"Software\\ACD Systems", "Software\\Adobe", "Software\\DivXNetworks", kTypedUrlsKey})
    if (!KeyPresent(HKEY_CURRENT_USER, key)) cleanup.made.push_back(key);
  SHSetValueA(HKEY_CURRENT_USER, kRunMRU, "a", REG_SZ, "notepad", 8);
  SHSetValueA(HKEY_CURRENT_USER, kWordpad, "File1", REG_SZ, "C:\\a.txt", 9);
  SHSetValueA(HKEY_CURRENT_USER, kPaint, "File1", REG_SZ, "C:\\a.bmp", 9);
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrlsKey, "url1", REG_SZ, "http://typed.example/", 22);
  SHSetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\txt", "a",
              REG_SZ, "C:\\a.txt", 9);
  SHSetValueA(HKEY_CURRENT_USER, "Software\\ACD Systems\\ACDSee", "LastFolder", REG_SZ, "C:\\photos", 10);
  SHSetValueA(HKEY_CURRENT_USER, "Software\\Adobe\\Acrobat Reader\\4.0\\AdobeViewer", "avpRecentFile", REG_SZ, "C:\\a.pdf", 9);
  SHSetValueA(HKEY_CURRENT_USER, "Software\\DivXNetworks\\DivX Player", "file", REG_SZ, "C:\\a.avi", 9);
  WriteListFile(KeepUrlFile(), {});
  StoreTicks(Settings(), {1, 10, 11, 12, 15, 19, 20, 21, 22, 23, 25, 28, 29});
  for (const char* app : {"ACDsee4", "AcrobatReader4", "DivxPlayer"}) WriteIni(Settings(), kMoreAppsSection, app, "1");
  auto registryLines = [](const std::string& text) {
    std::vector<std::string> found;
    for (const std::string& line : Lines(text)) {
      const size_t tab = line.find('\t');
      const std::string kind = tab == std::string::npos ? "" : line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1);
      if (kind == "key" || kind == "value" || kind == "blank" || kind == "typed address") found.push_back(line);
    }
    return found;
  };
  const std::string before = Analyze();
  EXPECT_GE(registryLines(before).size(), 8u) << before;
  EXPECT_NE(std::string::npos, before.find("\tblank\tHKEY_CURRENT_USER\\Software\\DivXNetworks\\DivX Player\\file\t")) << before;
  RunProgram("\"" + exe + "\"", folder_->path());
  const std::string after = Analyze();
  EXPECT_EQ(std::vector<std::string>(), registryLines(after)) << after;
  EXPECT_NE(std::string::npos, after.find("Start Menu Run History\tfixed\tcounts 1 registry key\t0\t1\t")) << after;
  EXPECT_FALSE(ValuePresent(HKEY_CURRENT_USER, kRunMRU, "a"));
}

TEST(PreviewText, OneIsSingularEverywhere) {
  EXPECT_EQ("counts 1 registry key", FixedTarget(1));
  EXPECT_EQ("counts 15 registry keys", FixedTarget(15));
  // A list saved while the entry read "counts 1 registry keys" is still carried out.
  EXPECT_EQ(EntryKey("fixed", FixedTarget(1)), EntryKey("fixed", "counts 1 registry keys"));
  EXPECT_NE(EntryKey("fixed", FixedTarget(1)), EntryKey("fixed", FixedTarget(15)));
  EXPECT_EQ("1 entry changed since the preview, left as it is", ChangedLine(1));
  EXPECT_EQ("1,204 entries changed since the preview, left as they are", ChangedLine(1204));
  EXPECT_EQ("Task complete: 1 entry passed over", CompleteLine(1));
  EXPECT_EQ("Task complete Successfully!", CompleteLine(0));
  EXPECT_EQ("Task complete: 2 entries passed over. Cleaned Registry Keys: 3 Released HD Space:.MB", SummaryText(3, 0, 2));
}
