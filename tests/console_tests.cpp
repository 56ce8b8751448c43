// Analyze and the console cleaner: a preview changes nothing and lists what a run then erases;
// tswclean.exe runs the stored selection with the window's status lines.
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "access/RegKey.h"
#include "engine/CleanRun.h"
#include "engine/CustomItems.h"
#include "engine/Preview.h"
#include "engine/StoredSelection.h"
#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "settings/MainTicks.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"

namespace {

const char kRunMRU[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

bool HasLine(const std::string& text, const std::string& line) {
  const std::vector<std::string> lines = Lines(text);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
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
  EXPECT_TRUE(HasLine(analyze.out, "file\t" + Temp() + "\\a.tmp\t300")) << analyze.out;
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
  EXPECT_EQ("1 entries changed since the preview, left as they are", view.lines.back());
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
  EXPECT_EQ(ticked.keys, run.regnum());
  EXPECT_EQ(ticked.bytes, run.filesize());
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
  EXPECT_EQ(TotalsOf(items, true).keys, TotalsOf(read, true).keys);
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
