// Folder emptying, sweeps, wildcard deletions, measuring and the folder guard, on real folders.
#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Normal.h"
#include "settings/AppFolder.h"
#include "tests/TestSupport.h"

namespace {

void MakeDir(const std::string& path, DWORD attrs = 0) {
  MakeFile(path + "\\placeholder.tmp");
  DeleteFileA((path + "\\placeholder.tmp").c_str());
  if (attrs) SetFileAttributesA(path.c_str(), attrs);
}

// What a routine would erase, found without erasing anything.
template <typename F>
size_t Recorded(F f) {
  RecordingEraser preview;
  ScopedEraser scope(preview);
  f();
  return preview.entries.size();
}

}  // namespace

class FilesTest : public ProgramFolderTest {
 protected:
  TempFolder work{"tswfiles"};
  std::string W(const std::string& rel) const { return work.File(rel); }
};

TEST_F(FilesTest, EmptyFolderTreeKeepsTheFolderEmpty) {
  MakeFile(W("t\\a.txt"));
  MakeFile(W("t\\b.dat"));
  MakeFile(W("t\\one\\c.txt"));
  MakeFile(W("t\\one\\two\\three\\d.txt"));
  MakeDir(W("t\\emptysub"));
  EmptyFolderTree(W("t"));
  EXPECT_TRUE(FileExists(W("t")));
  EXPECT_FALSE(FileExists(W("t\\a.txt")));
  EXPECT_FALSE(FileExists(W("t\\one")));
  EXPECT_FALSE(FileExists(W("t\\emptysub")));

  MakeFile(W("t\\again\\e.txt"));
  EmptyFolderTree(W("t") + "\\");  // the trailing backslash makes no difference
  EXPECT_TRUE(FileExists(W("t")));
  EXPECT_FALSE(FileExists(W("t\\again")));
}

TEST_F(FilesTest, HiddenSystemAndReadOnlyEntriesStayWithTheirFolders) {
  MakeFile(W("t\\keep\\deep\\hidden.dat"), 10, FILE_ATTRIBUTE_HIDDEN);
  MakeFile(W("t\\keep\\deep\\plain.dat"));
  MakeFile(W("t\\sys\\system.dat"), 10, FILE_ATTRIBUTE_SYSTEM);
  MakeFile(W("t\\ro\\readonly.dat"), 10, FILE_ATTRIBUTE_READONLY);
  MakeFile(W("t\\hiddendir\\inside.dat"));
  SetFileAttributesA(W("t\\hiddendir").c_str(), FILE_ATTRIBUTE_HIDDEN);
  MakeFile(W("t\\gone\\x.dat"));
  EmptyFolderTree(W("t"));
  EXPECT_TRUE(FileExists(W("t\\keep\\deep\\hidden.dat")));
  EXPECT_FALSE(FileExists(W("t\\keep\\deep\\plain.dat")));
  EXPECT_TRUE(FileExists(W("t\\sys\\system.dat")));
  EXPECT_TRUE(FileExists(W("t\\ro\\readonly.dat")));
  EXPECT_TRUE(FileExists(W("t\\hiddendir\\inside.dat")));  // not entered
  EXPECT_FALSE(FileExists(W("t\\gone")));
  SetFileAttributesA(W("t\\ro\\readonly.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FilesTest, MissingFolderDeletesNothing) {
  EmptyFolderTree(W("nothere"));
  SweepTreeForFile(W("nothere"), "cookies.txt");
  EXPECT_EQ(0, FolderSize(W("nothere")));
  EXPECT_TRUE(FileExists(work.path()));
}

TEST_F(FilesTest, SweepTreeForFileDeletesTheNameWhereverAFileIsListed) {
  MakeFile(W("p\\a.slt\\cookies.txt"));
  MakeFile(W("p\\a.slt\\prefs.js"));
  MakeFile(W("p\\b\\c\\d.slt\\cookies.txt"));
  MakeFile(W("p\\only-hidden\\cookies.txt"), 10, FILE_ATTRIBUTE_HIDDEN);
  MakeFile(W("p\\other\\history.dat"));
  SweepTreeForFile(W("p"), "cookies.txt");
  EXPECT_FALSE(FileExists(W("p\\a.slt\\cookies.txt")));
  EXPECT_TRUE(FileExists(W("p\\a.slt\\prefs.js")));
  EXPECT_FALSE(FileExists(W("p\\b\\c\\d.slt\\cookies.txt")));
  EXPECT_TRUE(FileExists(W("p\\only-hidden\\cookies.txt")));
  EXPECT_TRUE(FileExists(W("p\\other\\history.dat")));
  EXPECT_TRUE(FileExists(W("p\\b\\c\\d.slt")));  // folders are never removed by a sweep
}

TEST_F(FilesTest, SweepCacheTreeEmptiesCacheFoldersOnly) {
  MakeFile(W("Profiles\\me\\x.slt\\Cache\\_CACHE_001_"));
  MakeFile(W("Profiles\\me\\x.slt\\Cache\\sub\\page.html"));
  MakeFile(W("Profiles\\me\\x.slt\\cookies.txt"));
  MakeFile(W("Profiles\\you\\y.slt\\cache\\blob.bin"));
  MakeFile(W("Profiles\\you\\y.slt\\NotCache\\keep.bin"));
  SweepCacheTree(W("Profiles"));
  EXPECT_TRUE(FileExists(W("Profiles\\me\\x.slt\\Cache")));
  EXPECT_FALSE(FileExists(W("Profiles\\me\\x.slt\\Cache\\_CACHE_001_")));
  EXPECT_FALSE(FileExists(W("Profiles\\me\\x.slt\\Cache\\sub")));
  EXPECT_TRUE(FileExists(W("Profiles\\me\\x.slt\\cookies.txt")));
  EXPECT_FALSE(FileExists(W("Profiles\\you\\y.slt\\cache\\blob.bin")));
  EXPECT_TRUE(FileExists(W("Profiles\\you\\y.slt\\NotCache\\keep.bin")));
}

TEST_F(FilesTest, DeleteMatchingStaysInItsFolder) {
  MakeFile(W("c\\a.tmp"));
  MakeFile(W("c\\b.TMP"));
  MakeFile(W("c\\keep.txt"));
  MakeFile(W("c\\ro.tmp"), 10, FILE_ATTRIBUTE_READONLY);
  MakeFile(W("c\\hid.tmp"), 10, FILE_ATTRIBUTE_HIDDEN);
  MakeFile(W("c\\sub\\deep.tmp"));
  DeleteMatching(W("c\\*.tmp"));
  EXPECT_FALSE(FileExists(W("c\\a.tmp")));
  EXPECT_FALSE(FileExists(W("c\\b.TMP")));
  EXPECT_TRUE(FileExists(W("c\\keep.txt")));
  EXPECT_TRUE(FileExists(W("c\\ro.tmp")));
  EXPECT_TRUE(FileExists(W("c\\hid.tmp")));
  EXPECT_TRUE(FileExists(W("c\\sub\\deep.tmp")));
  DeleteMatching(W("c\\*.nomatch"));
  EXPECT_TRUE(FileExists(W("c\\keep.txt")));
  DeleteMatching(W("c\\ro.tmp"), true);  // forced: read-only goes too
  EXPECT_FALSE(FileExists(W("c\\ro.tmp")));
}

TEST_F(FilesTest, DeleteFoldersMatchingTakesWholeFolders) {
  MakeFile(W("cache\\Content.IE5\\AB12\\page.htm"));
  MakeFile(W("cache\\Content.IE5\\index.dat"), 10, FILE_ATTRIBUTE_READONLY);
  MakeFile(W("cache\\Cfolder\\x.bin"));
  MakeFile(W("cache\\Other\\y.bin"));
  MakeFile(W("cache\\Cfile.txt"));
  DeleteFoldersMatching(W("cache\\C*"), true);
  EXPECT_FALSE(FileExists(W("cache\\Content.IE5")));
  EXPECT_FALSE(FileExists(W("cache\\Cfolder")));
  EXPECT_TRUE(FileExists(W("cache\\Other\\y.bin")));
  EXPECT_TRUE(FileExists(W("cache\\Cfile.txt")));

  MakeFile(W("cache\\Cro\\ro.bin"), 10, FILE_ATTRIBUTE_READONLY);
  DeleteFoldersMatching(W("cache\\C*"), false);  // unforced: the read-only file keeps its folder
  EXPECT_TRUE(FileExists(W("cache\\Cro\\ro.bin")));
  SetFileAttributesA(W("cache\\Cro\\ro.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FilesTest, FolderSizeCountsEveryFileBelow) {
  MakeFile(W("s\\a.bin"), 1000);
  MakeFile(W("s\\sub\\b.bin"), 2500);
  MakeFile(W("s\\sub\\h.bin"), 500, FILE_ATTRIBUTE_HIDDEN);
  MakeFile(W("s\\sub\\deeper\\c.bin"), 7);
  EXPECT_EQ(4007, FolderSize(W("s")));
  EXPECT_EQ(4007, FolderSize(W("s") + "\\"));
}

TEST_F(FilesTest, GuardRefusesPlacesThatHoldNoTracks) {
  char windows[MAX_PATH], system[MAX_PATH], profile[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  GetSystemDirectoryA(system, MAX_PATH);
  GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
  std::string profiles = std::string(profile).substr(0, std::string(profile).find_last_of('\\'));
  std::string program = ProgramFolder();
  std::string aboveProgram = program.substr(0, program.find_last_of('\\'));
  const std::string refused[] = {
      "", "   ", "Error", "error", "Temp", "relative\\folder", "..", ".\\x", "\\Windows", "C:", "C:\\", "c:/",
      "D:\\", windows, std::string(windows) + "\\", std::string(windows) + "\\system32\\..", system,
      profile, profiles, profiles + "\\Public", program, aboveProgram, "\\\\server\\share",
      "\\\\?\\C:\\temp", "C:\\windows\\..\\", std::string(" ") + windows + " ",
  };
  for (const std::string& p : refused) {
    EXPECT_FALSE(FolderMayBeErased(p)) << "'" << p << "'";
    // Nothing would even be listed for erasing.
    EXPECT_EQ(0u, Recorded([&] { EmptyFolderTree(p); })) << p;
    EXPECT_EQ(0u, Recorded([&] { SweepTreeForFile(p, "win.ini"); })) << p;
    EXPECT_EQ(0u, Recorded([&] { SweepCacheTree(p); })) << p;
  }
  EXPECT_EQ(0u, Recorded([&] { DeleteFoldersMatching("C:\\win*", true); }));
  EXPECT_EQ(0u, Recorded([&] { DeleteFoldersMatching("C:\\*.*", true); }));
  EXPECT_EQ(0u, Recorded([&] { DeleteFoldersMatching("\\*.*", true); }));
  EXPECT_EQ(0u, Recorded([&] { DeleteFoldersMatching("Error\\*.*", true); }));
  EXPECT_EQ(0u, Recorded([&] { DeleteFoldersMatching(profiles + "\\*", true); }));
  EXPECT_TRUE(FileExists(std::string(windows) + "\\win.ini"));

  // Below the protected places is where tracks live.
  EXPECT_TRUE(FolderMayBeErased(std::string(windows) + "\\Temp"));
  EXPECT_TRUE(FolderMayBeErased(std::string(profile) + "\\Cookies"));
  EXPECT_TRUE(FolderMayBeErased(W("x")));
  EXPECT_TRUE(FolderMayBeErased("\\\\server\\share\\cache"));
}

TEST_F(FilesTest, GuardRefusesMatchAllPatternsInProtectedFoldersOnly) {
  char windows[MAX_PATH], system[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string refused[] = {
      "", "*.tmp", "relative\\*.tmp", "C:\\*.*", "C:\\*", "c:\\*.", std::string(windows) + "\\*.*",
      std::string(system) + "\\*", ProgramFolder() + "\\*.*", "C:\\users\\..\\*.*", "Error\\*.*",
  };
  for (const std::string& p : refused) {
    EXPECT_FALSE(PatternMayBeErased(p)) << "'" << p << "'";
    EXPECT_EQ(0u, Recorded([&] { DeleteMatching(p, true); })) << p;
  }
  EXPECT_TRUE(PatternMayBeErased("c:\\*.chk"));
  EXPECT_TRUE(PatternMayBeErased(std::string(windows) + "\\*.pwl"));
  EXPECT_TRUE(PatternMayBeErased(W("c") + "\\*.*"));

  // Named patterns in a drive root still delete.
  MakeFile("C:\\tsw-guard-test.chk");
  MakeFile("C:\\tsw-guard-test.txt");
  DeleteMatching("c:\\*.chk");
  EXPECT_FALSE(FileExists("C:\\tsw-guard-test.chk"));
  EXPECT_TRUE(FileExists("C:\\tsw-guard-test.txt"));
  DeleteFileA("C:\\tsw-guard-test.txt");
}

TEST_F(FilesTest, RecordingEraserListsFilesWithSizesAndDeletesNothing) {
  MakeFile(W("r\\a.bin"), 123);
  MakeFile(W("r\\sub\\b.bin"), 45);
  RecordingEraser preview;
  {
    ScopedEraser scope(preview);
    EmptyFolderTree(W("r"));
  }
  ASSERT_EQ(3u, preview.entries.size());
  EXPECT_EQ("file", preview.entries[0].kind);
  EXPECT_EQ(W("r\\a.bin"), preview.entries[0].target);
  EXPECT_EQ(123u, preview.entries[0].size);
  EXPECT_EQ(45u, preview.entries[1].size);
  EXPECT_EQ("folder", preview.entries[2].kind);
  EXPECT_EQ(W("r\\sub"), preview.entries[2].target);
  EXPECT_TRUE(FileExists(W("r\\sub\\b.bin")));
}

TEST_F(FilesTest, HelpWithoutItsFileSaysSo) {
  MessageRecorder messages;
  ShowHelpFile();
  ASSERT_EQ(1u, messages.seen.size());
  EXPECT_NE(std::string::npos, messages.seen[0].text.find(ProgramFolder() + "\\help.chm"));
}

TEST_F(FilesTest, TheRealEraserNeverRemovesAProtectedFolder) {
  RealEraser eraser;
  std::string empty = W("empty");
  CreateDirectoryA(empty.c_str(), nullptr);
  std::string program = ProgramFolder();
  ASSERT_TRUE(FileExists(program));
  EXPECT_FALSE(eraser.RemoveFolder(program));  // empty, but the program's own
  EXPECT_TRUE(FileExists(program));
  EXPECT_TRUE(eraser.RemoveFolder(empty));
  EXPECT_FALSE(FileExists(empty));
}
