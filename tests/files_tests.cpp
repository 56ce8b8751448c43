// Folder emptying, sweeps, wildcard deletions, measuring and the folder guard, on real folders.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Normal.h"
#include "access/Pattern.h"
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

std::string ShellFolderPath(int csidl) {
  char buf[MAX_PATH] = {0};
  SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, 0, buf);
  return buf;
}

std::string Above(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

TEST_F(FilesTest, GuardRefusesTheUsersFoldersAndEverythingNearTheSystem) {
  char system[MAX_PATH] = {0};
  GetSystemDirectoryA(system, MAX_PATH);
  for (int csidl : {CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_MYVIDEO,
                    CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA,
                    CSIDL_COMMON_APPDATA, CSIDL_STARTMENU}) {
    const std::string f = ShellFolderPath(csidl);
    ASSERT_FALSE(f.empty()) << csidl;
    EXPECT_FALSE(FolderMayBeErased(f)) << f;
    EXPECT_FALSE(FolderMayBeErased(f + "\\")) << f;
    EXPECT_FALSE(FolderMayBeErased(Above(f))) << f;
  }
  // Inside the user's folders is where tracks live.
  EXPECT_TRUE(FolderMayBeErased(ShellFolderPath(CSIDL_PERSONAL) + "\\My Received Files"));
  EXPECT_TRUE(FolderMayBeErased(ShellFolderPath(CSIDL_APPDATA) + "\\Mozilla\\Profiles"));
  EXPECT_TRUE(FolderMayBeErased(ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\Temp"));
  // Nothing inside the system folder or the program folder, at any depth.
  for (const std::string& f : {std::string(system) + "\\drivers", std::string(system) + "\\spool\\drivers\\x",
                               ProgramFolder() + "\\Skinz", ProgramFolder() + "\\Skinz\\Blue"})
    EXPECT_FALSE(FolderMayBeErased(f)) << f;
  char wow64[MAX_PATH] = {0};
  auto get = reinterpret_cast<UINT(WINAPI*)(LPSTR, UINT)>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryA"));
  if (get && get(wow64, MAX_PATH)) {
    EXPECT_FALSE(FolderMayBeErased(std::string(wow64) + "\\drivers")) << wow64;
  }
}

TEST_F(FilesTest, EveryPatternOfWildcardsAloneMatchesAll) {
  for (const char* p : {"*", "*.*", "?*", "*.?*", "*?", "??*.*", "*.", "?"}) EXPECT_TRUE(IsMatchAllPattern(p)) << p;
  for (const char* p : {"", "*.tmp", "a*", "*.?x", "desktop.ini"}) EXPECT_FALSE(IsMatchAllPattern(p)) << p;
  char windows[MAX_PATH] = {0};
  GetWindowsDirectoryA(windows, MAX_PATH);
  for (const std::string& p : {std::string(windows) + "\\?*", std::string(windows) + "\\*?", std::string("C:\\*.?*"),
                               ProgramFolder() + "\\?*"})
    EXPECT_FALSE(PatternMayBeErased(p)) << p;
  EXPECT_TRUE(PatternMayBeErased(W("c") + "\\?*"));
}

TEST_F(FilesTest, NamedPatternsInRefusedFoldersAreRefusedButTheTablesOwn) {
  char windows[MAX_PATH] = {0};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string desktop = ShellFolderPath(CSIDL_DESKTOPDIRECTORY), documents = ShellFolderPath(CSIDL_PERSONAL);
  for (const std::string& p : {desktop + "\\*.lnk", documents + "\\*.doc", documents + "\\letter.txt",
                               std::string(windows) + "\\*.ini", std::string("C:\\*.txt"), ProgramFolder() + "\\*.dat"})
    EXPECT_FALSE(PatternMayBeErased(p)) << p;
  EXPECT_TRUE(PatternMayBeErased(std::string(windows) + "\\*.pwl"));
  EXPECT_TRUE(PatternMayBeErased(std::string(windows) + "\\*.PWL"));
  EXPECT_TRUE(PatternMayBeErased("D:\\*.chk"));
  EXPECT_FALSE(PatternMayBeErased(desktop + "\\*.chk"));  // *.chk only in a drive root
  EXPECT_FALSE(PatternMayBeErased(documents + "\\*.pwl"));  // *.pwl only in the Windows folder

  MakeFile(desktop + "\\tsw-shortcut.lnk");
  DeleteMatching(desktop + "\\*.lnk");
  EXPECT_TRUE(FileExists(desktop + "\\tsw-shortcut.lnk"));
  DeleteFileA((desktop + "\\tsw-shortcut.lnk").c_str());
}

// The harness links C:\tsw-links\to-outside to a folder of the prefix that no drive reaches.
TEST_F(FilesTest, AFolderThatIsALinkIsJudgedWhereItLeads) {
  const std::string link = "C:\\tsw-links\\to-outside";
  ASSERT_TRUE(FileExists(link + "\\precious.txt")) << "the harness makes this link";
  ASSERT_TRUE(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_FALSE(FolderMayBeErased(link));
  EXPECT_FALSE(FolderMayBeErased(link + "\\"));
  EXPECT_FALSE(PatternMayBeErased(link + "\\*.txt"));
  EmptyFolderTree(link);
  SweepTreeForFile(link, "precious.txt");
  DeleteMatching(link + "\\*.*", true);
  EXPECT_TRUE(FileExists(link + "\\precious.txt"));
  // A walk that meets the link inside a folder passes it by.
  EmptyFolderTree("C:\\tsw-links");
  EXPECT_EQ(0, FolderSize("C:\\tsw-links"));
  EXPECT_TRUE(FileExists(link + "\\precious.txt"));
}

TEST(TestSupport, RemoveTreeRemovesALinkButNotWhatItLeadsTo) {
  const std::string folder = "C:\\tsw-links\\remove-me";
  ASSERT_TRUE(FileExists(folder + "\\link\\precious.txt")) << "the harness makes this link";
  RemoveTree(folder);
  // Wine cannot remove a link to a folder (Windows removes a junction); either way nothing
  // behind it is touched.
  EXPECT_TRUE(FileExists("C:\\tsw-links\\to-outside\\precious.txt"));
  EXPECT_TRUE(FileExists(folder + "\\link\\precious.txt") || !FileExists(folder + "\\link"));
}

TEST_F(FilesTest, AForcedDeleteThatFailsLeavesTheFileReadOnly) {
  MakeFile(W("locked.dat"), 10, FILE_ATTRIBUTE_READONLY);
  HANDLE h = CreateFileA(W("locked.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  RealEraser eraser;
  EXPECT_FALSE(eraser.EraseFile(W("locked.dat"), true));
  CloseHandle(h);
  ASSERT_TRUE(FileExists(W("locked.dat")));
  EXPECT_TRUE(GetFileAttributesA(W("locked.dat").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(eraser.EraseFile(W("locked.dat"), true));
  EXPECT_FALSE(FileExists(W("locked.dat")));
}

TEST_F(FilesTest, SecureErasingZeroesAFileBeforeItGoes) {
  MakeFile(W("s\\secret.dat"), std::string(100000, 'S'));
  MakeFile(W("s\\ro.dat"), std::string(10, 'R'));
  SetFileAttributesA(W("s\\ro.dat").c_str(), FILE_ATTRIBUTE_READONLY);
  OverwrittenFiles seen;  // what each file held just before it went
  {
    ScopedSecureErasing secure(true);
    EmptyFolderTree(W("s"));
    EXPECT_FALSE(FileExists(W("s\\secret.dat")));
    EXPECT_EQ(std::string(100000, '\0'), seen.contents["secret.dat"]);
    EXPECT_TRUE(FileExists(W("s\\ro.dat")));  // read-only: kept unless the step forces it
    EXPECT_EQ(0u, seen.contents.count("ro.dat"));
    EXPECT_EQ(10, FolderSize(W("s")));  // nothing renamed is left behind
    EXPECT_TRUE(RealEraser().EraseFile(W("s\\ro.dat"), true));
    EXPECT_EQ(std::string(10, '\0'), seen.contents["ro.dat"]);
  }
  MakeFile(W("plain.dat"), std::string(10, 'P'));
  EXPECT_TRUE(RealEraser().EraseFile(W("plain.dat"), false));  // off again: nothing is overwritten
  EXPECT_EQ(0u, seen.contents.count("plain.dat"));
}

// A second name shares a file's bytes: overwriting through the name in a track folder would
// zero the other one, which may be a document anywhere.
TEST_F(FilesTest, SecureErasingNeverOverwritesAFileThatAnotherNameShares) {
  MakeFile(W("report.docx"), std::string(300, 'D'));
  MakeFile(W("t\\own.tmp"), std::string(50, 'O'));
  ASSERT_TRUE(CreateHardLinkA(W("t\\linked.tmp").c_str(), W("report.docx").c_str(), nullptr));
  OverwrittenFiles seen;
  ScopedSecureErasing secure(true);
  RealEraser real;
  EXPECT_TRUE(real.EraseFile(W("t\\linked.tmp"), false));
  EXPECT_TRUE(real.lastNotOverwritten());
  EXPECT_FALSE(FileExists(W("t\\linked.tmp")));
  EXPECT_EQ(std::string(300, 'D'), ReadFileText(W("report.docx")));
  EXPECT_EQ(0u, seen.contents.count("linked.tmp"));
  EXPECT_TRUE(real.EraseFile(W("t\\own.tmp"), false));
  EXPECT_FALSE(real.lastNotOverwritten());
  EXPECT_EQ(std::string(50, '\0'), seen.contents["own.tmp"]);
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

TEST(PatternMatch, WindowsWildcardsOnTheLongNameOnly) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"a.tmp", "*.tmp", true},        {"x.TMP", "*.tmp", true},      {"notes.tmpl", "*.tmp", false},
      {"x.tmp~", "*.tmp", false},      {"data.tmp.bak", "*.tmp", false}, {"r.docx", "*.doc", false},
      {"README", "*.*", true},         {"a.b.c", "*.*", true},        {"readme", "readme.*", true},
      {"abc", "*.", true},             {"a.b", "*.", false},          {"ab.tmp", "?.tmp", false},
      {"abc", "a?c", true},            {"NOTE~XCL.TMP", "note~*.tmp", true}, {"notes.tmpl", "note~*.tmp", false},
      {"cookies.txt", "COOKIES.TXT", true}, {"cookies.txt.old", "cookies.txt", false}, {"", "*", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.matches, MatchesPattern(c.name, c.pattern)) << c.name << " ~ " << c.pattern;
}

TEST_F(FilesTest, PatternsNeverMatchAFileByItsShortName) {
  // Each of these has a short name (NOTES~1.TMP, R~1.DOC...) that the file system would match.
  for (const char* name : {"a.tmp", "notes.tmpl", "r.doc", "r.docx", "long name.tmp", "data.tmp.bak", "x.tmp~", "x.TMP"})
    MakeFile(W("sn\\") + name);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(W("sn\\notes.tmpl").c_str(), &fd);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  FindClose(h);
  const std::string shortName = fd.cAlternateFileName;
  ASSERT_FALSE(shortName.empty()) << "the file system gives notes.tmpl a short name";

  DeleteMatching(W("sn\\") + shortName);  // a short name alone matches nothing
  EXPECT_TRUE(FileExists(W("sn\\notes.tmpl")));
  DeleteMatching(W("sn\\*.tmp"));
  DeleteMatching(W("sn\\*.doc"));
  for (const char* gone : {"a.tmp", "r.doc", "long name.tmp", "x.TMP"}) EXPECT_FALSE(FileExists(W("sn\\") + gone)) << gone;
  for (const char* kept : {"notes.tmpl", "r.docx", "data.tmp.bak", "x.tmp~"}) EXPECT_TRUE(FileExists(W("sn\\") + kept)) << kept;

  // "*.*" takes names without a dot too; a sweep takes the long name it is given, nothing else.
  MakeFile(W("all\\README"));
  MakeFile(W("all\\x.y"));
  DeleteMatching(W("all\\*.*"));
  EXPECT_FALSE(FileExists(W("all\\README")));
  EXPECT_FALSE(FileExists(W("all\\x.y")));
  MakeFile(W("p\\cookies.txt.old"));
  MakeFile(W("p\\sub\\cookies.txt"));
  SweepTreeForFile(W("p"), "cookies.txt");
  EXPECT_TRUE(FileExists(W("p\\cookies.txt.old")));
  EXPECT_FALSE(FileExists(W("p\\sub\\cookies.txt")));
}

TEST_F(FilesTest, ANameTheCodePageCannotSpellIsReachedByItsExactName) {
  // "a<CJK>b.tmp" lists through the ANSI calls as "a?b.tmp", where "?" would take "a1b.tmp" too.
  MakeUnspellableFile(W("cp"));
  MakeFile(W("cp\\a1b.tmp"));
  MakeFile(W("cp\\sub\\a2b.log"));
  RecordingEraser preview;
  {
    ScopedEraser scope(preview);
    EmptyFolderTree(W("cp"));
  }
  for (const RecordingEraser::Entry& e : preview.entries) EXPECT_EQ(std::string::npos, e.target.find('?')) << e.target;
  const bool listedExactly = std::any_of(preview.entries.begin(), preview.entries.end(), [&](const RecordingEraser::Entry& e) {
    return e.target == W("cp\\a<U+4E2D>b.tmp");
  });
  EXPECT_TRUE(listedExactly);
  EmptyFolderTree(W("cp"));
  EXPECT_FALSE(FileExists(W("cp\\a1b.tmp")));
  EXPECT_FALSE(FileExists(W("cp\\sub")));
  EXPECT_EQ(0, FolderSize(W("cp")));  // the unspellable one went too, by its exact name
}

TEST_F(FilesTest, AReadOnlyFileReachedByAWalkStaysUnlessForcedAndIsRestoredWhenTheForceFails) {
  MakeFile(W("ro-tree\\deep\\ro.dat"), 10, FILE_ATTRIBUTE_READONLY);
  MakeFile(W("ro-tree\\plain.dat"));
  DeleteFoldersMatching(W("ro-*"), false);
  EXPECT_TRUE(FileExists(W("ro-tree\\deep\\ro.dat")));
  EXPECT_FALSE(FileExists(W("ro-tree\\plain.dat")));

  HANDLE held = CreateFileA(W("ro-tree\\deep\\ro.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  DeleteFoldersMatching(W("ro-*"), true);
  CloseHandle(held);
  ASSERT_TRUE(FileExists(W("ro-tree\\deep\\ro.dat")));
  EXPECT_TRUE(GetFileAttributesA(W("ro-tree\\deep\\ro.dat").c_str()) & FILE_ATTRIBUTE_READONLY);
  DeleteFoldersMatching(W("ro-*"), true);
  EXPECT_FALSE(FileExists(W("ro-tree")));
}

// The guard judges a folder by its long name whatever names it is given by; within a guard
// scope the names found are reused, and a folder made meanwhile is found as well.
TEST_F(FilesTest, FoldersGivenByShortNamesAreJudgedByTheirLongNamesInAndOutOfAGuardScope) {
  MakeFile(W("Long Folder Name\\Another Long One\\x.txt"));
  char shortPath[MAX_PATH] = {0};
  ASSERT_NE(0u, GetShortPathNameA(W("Long Folder Name\\Another Long One").c_str(), shortPath, MAX_PATH));
  const std::string given = shortPath, expected = CanonicalFolder(W("Long Folder Name\\Another Long One"));
  ASSERT_NE(std::string::npos, given.find('~')) << given;
  EXPECT_EQ(std::string::npos, expected.find('~')) << expected;
  EXPECT_EQ(expected, CanonicalFolder(given));  // outside any scope: the platform's lookup
  {
    GuardScope scope;
    for (int twice = 0; twice < 2; ++twice) {
      EXPECT_EQ(expected, CanonicalFolder(given)) << twice;
      EXPECT_EQ(expected, CanonicalFolder(given + "\\")) << twice;
      EXPECT_EQ(expected + "\\x.txt", CanonicalFolder(given + "\\X.TXT")) << twice;
    }
    // Not there yet: as given; made meanwhile: found by its long name.
    const std::string later = given.substr(0, given.rfind('\\')) + "\\A Later Folder";
    EXPECT_EQ(later, CanonicalFolder(later));
    ASSERT_TRUE(CreateDirectoryA(later.c_str(), nullptr));
    EXPECT_EQ(CanonicalFolder(W("Long Folder Name")) + "\\A Later Folder", CanonicalFolder(later));
  }
  // A protected folder named by its short name is refused.
  char programs[MAX_PATH] = {0}, shortPrograms[MAX_PATH] = {0};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programs)));
  ASSERT_NE(0u, GetShortPathNameA(programs, shortPrograms, MAX_PATH));
  EXPECT_NE(std::string(programs), std::string(shortPrograms));
  GuardScope scope;
  EXPECT_FALSE(FolderMayBeErased(shortPrograms));
  EXPECT_EQ(CanonicalFolder(programs), CanonicalFolder(shortPrograms));
}
