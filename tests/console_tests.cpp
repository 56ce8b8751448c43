// Analyze and the console cleaner: a preview changes nothing and lists what a run then erases;
// tswclean.exe runs the stored selection with the window's status lines.
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

#include "access/RegKey.h"
#include "engine/CleanRun.h"
#include "engine/CustomItems.h"
#include "engine/StoredSelection.h"
#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "settings/MainTicks.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"

namespace {

const char kRunMRU[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

// Every main box stored unticked but the given ones.
void StoreTicks(const std::string& settings, std::initializer_list<int> ticked) {
  for (const TickKey& k : MainTickKeys())
    WriteIni(settings, k.section, k.key, std::find(ticked.begin(), ticked.end(), k.check) != ticked.end() ? "1" : "0");
}

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
