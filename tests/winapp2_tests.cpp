// Application definitions from a file: parsing, detection, and erasing through the seam with the
// folder guard and the exclusions in force.
#include <windows.h>
#include <shlwapi.h>

#include "access/Eraser.h"
#include "access/RegKey.h"
#include "engine/Winapp2.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"

namespace {
const char kTestKey[] = "Software\\TswWinapp2Test";

bool KeyExists(const std::string& sub) {
  RegKey k;
  return k.Open(HKEY_CURRENT_USER, sub, KEY_READ) == ERROR_SUCCESS;
}
}  // namespace

class Winapp2Test : public ProgramFolderTest {
 protected:
  TempFolder work{"tswdefs"};
  std::map<std::string, std::string> vars{{"test", work.path()}, {"appdata", work.File("AppData")}, {"empty", ""}};
  void TearDown() override {
    SHDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
    ProgramFolderTest::TearDown();
  }
};

TEST_F(Winapp2Test, ReadsEveryKindOfKeyAndSkipsWhatItDoesNotKnow) {
  const std::string text =
      "; a remark\r\nstray=line\r\n[Viewer *]\r\nLangSecRef=3024\r\nDetect=HKCU\\Software\\Viewer\r\n"
      "Detect3=HKLM\\Software\\Viewer\r\nDetectFile=%AppData%\\Viewer\\*\\viewer.exe\r\nDefault=True\r\n"
      "Warning=Also erases your saved layouts.\r\nFileKey1=%Test%\\Cache|*.tmp;*.dat|RECURSE\r\n"
      "FileKey4=%AppData%\\Viewer|recent.lst|REMOVESELF\r\nRegKey1=HKCU\\Software\\Viewer\\MRU\r\n"
      "RegKey2=HKCU\\Software\\Viewer|LastFile\r\nExcludeKey1=FILE|%Test%\\Cache\\|keep.tmp\r\n"
      "ExcludeKey2=PATH|%Test%\\Cache\\Saved\\|*.*\r\nExcludeKey3=REG|HKCU\\Software\\Viewer\\MRU\\Pinned\r\n"
      "SpecialDetect=DET_CHROME\r\nFileKey2=%Unknown%\\x|*.*\r\nFileKey3=%Empty%\\x|*.*\r\nFileKey5=%Test%|*.*|SOMETIMES\r\n"
      "RegKey3=HKXX\\Software\r\nnonsense\r\n[Player]\r\nSection=Media\r\n";
  DefinitionSet set = ParseDefinitions(text, vars);
  ASSERT_EQ(2u, set.entries.size());
  const AppDefinition& v = set.entries[0];
  EXPECT_EQ("Viewer *", v.name);
  EXPECT_EQ("Utilities", v.group);
  EXPECT_TRUE(v.defaultOn);
  EXPECT_EQ("Also erases your saved layouts.", v.warning);
  ASSERT_EQ(2u, v.detectKeys.size());
  EXPECT_EQ(HKEY_LOCAL_MACHINE, v.detectKeys[1].root);
  EXPECT_EQ(std::vector<std::string>{work.File("AppData") + "\\Viewer\\*\\viewer.exe"}, v.detectFiles);
  ASSERT_EQ(2u, v.fileKeys.size());
  EXPECT_EQ(work.File("Cache"), v.fileKeys[0].folder);
  EXPECT_EQ((std::vector<std::string>{"*.tmp", "*.dat"}), v.fileKeys[0].patterns);
  EXPECT_TRUE(v.fileKeys[0].recurse);
  EXPECT_FALSE(v.fileKeys[0].removeSelf);
  EXPECT_TRUE(v.fileKeys[1].removeSelf);
  ASSERT_EQ(2u, v.regKeys.size());
  EXPECT_EQ("Software\\Viewer\\MRU", v.regKeys[0].subKey);
  EXPECT_TRUE(v.regKeys[1].hasValue);
  EXPECT_EQ("LastFile", v.regKeys[1].value);
  ASSERT_EQ(3u, v.excludes.size());
  EXPECT_EQ(DefinitionExclude::Path, v.excludes[1].kind);
  EXPECT_EQ(DefinitionExclude::Reg, v.excludes[2].kind);
  EXPECT_EQ("Media", set.entries[1].group);
  EXPECT_FALSE(set.entries[1].defaultOn);
  // stray=line, SpecialDetect, the unknown and the empty variable, SOMETIMES, HKXX, nonsense.
  EXPECT_EQ(7u, set.skipped);
}

TEST_F(Winapp2Test, ErasesFilesAndKeysWithItsExclusionsAndCountsThem) {
  MakeFile(work.File("Cache\\a.tmp"), 100);
  MakeFile(work.File("Cache\\keep.tmp"), 100);
  MakeFile(work.File("Cache\\other.log"), 100);
  MakeFile(work.File("Cache\\deep\\b.dat"), 50);
  MakeFile(work.File("Cache\\Saved\\c.tmp"), 70);
  MakeFile(work.File("Profile\\one\\recent.lst"), 10);
  MakeFile(work.File("Profile\\two\\recent.lst"), 10);
  for (const char* sub : {"\\MRU", "\\MRU\\Pinned", "\\History"}) {
    RegKey k;
    k.Create(HKEY_CURRENT_USER, kTestKey + std::string(sub));
  }
  SHSetValueA(HKEY_CURRENT_USER, kTestKey, "LastFile", REG_SZ, "x", 2);
  SHSetValueA(HKEY_CURRENT_USER, kTestKey, "Keep", REG_SZ, "x", 2);
  const std::string text = std::string("[Tool *]\r\nFileKey1=%Test%\\Cache|*.tmp;*.dat|RECURSE\r\n") +
                           "FileKey2=%Test%\\Profile\\*|recent.lst|REMOVESELF\r\n" +
                           "ExcludeKey1=FILE|%Test%\\Cache\\|keep.tmp\r\nExcludeKey2=PATH|%Test%\\Cache\\Saved\\|*.*\r\n" +
                           "ExcludeKey3=REG|HKCU\\" + kTestKey + "\\MRU\\Pinned\r\n" +
                           "RegKey1=HKCU\\" + kTestKey + "\\History\r\nRegKey2=HKCU\\" + kTestKey + "|LastFile\r\n" +
                           "RegKey3=HKCU\\" + kTestKey + "\\MRU\r\nRegKey4=HKCU\\" + kTestKey + "|Missing\r\n";
  const AppDefinition entry = ParseDefinitions(text, vars).entries.at(0);
  ASSERT_TRUE(DefinitionDetected(entry));  // no detection: it applies
  const DefinitionResult r = EraseDefinition(entry);
  EXPECT_EQ(170, r.bytes);  // a.tmp, b.dat and the two recent.lst
  EXPECT_EQ(2, r.keys);     // History and LastFile; MRU holds an excluded key, Missing is not there
  EXPECT_FALSE(FileExists(work.File("Cache\\a.tmp")));
  EXPECT_FALSE(FileExists(work.File("Cache\\deep\\b.dat")));
  EXPECT_TRUE(FileExists(work.File("Cache\\deep")));  // RECURSE alone keeps the folders
  EXPECT_TRUE(FileExists(work.File("Cache\\keep.tmp")));
  EXPECT_TRUE(FileExists(work.File("Cache\\other.log")));
  EXPECT_TRUE(FileExists(work.File("Cache\\Saved\\c.tmp")));
  EXPECT_FALSE(FileExists(work.File("Profile\\one")));  // REMOVESELF: the emptied folders go
  EXPECT_TRUE(FileExists(work.File("Profile")));
  EXPECT_FALSE(KeyExists(kTestKey + std::string("\\History")));
  EXPECT_TRUE(KeyExists(kTestKey + std::string("\\MRU\\Pinned")));
  DWORD size = 0;
  EXPECT_NE(ERROR_SUCCESS, SHGetValueA(HKEY_CURRENT_USER, kTestKey, "LastFile", nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_SUCCESS, SHGetValueA(HKEY_CURRENT_USER, kTestKey, "Keep", nullptr, nullptr, &size));
}

TEST_F(Winapp2Test, TheRunErasesTickedDetectedEntriesOnly) {
  MakeFile(work.File("a\\x.tmp"), 10);
  MakeFile(work.File("b\\x.tmp"), 20);
  MakeFile(work.File("c\\x.tmp"), 40);
  MakeFile(work.File("Installed\\app.exe"), 1);
  WriteFileText(ProgramFile("winapp2.ini"),
                "[Present *]\r\nDetectFile=" + work.File("Inst*\\app.exe") + "\r\nFileKey1=" + work.File("a") +
                    "|*.tmp\r\n[Absent *]\r\nDetect=HKCU\\Software\\TswNoSuchProgram\r\nFileKey1=" + work.File("b") +
                    "|*.tmp\r\n[Unticked *]\r\nFileKey1=" + work.File("c") + "|*.tmp\r\n");
  WriteIni(Settings(), "WINAPP2", "Present *", "1");
  WriteIni(Settings(), "WINAPP2", "Absent *", "1");
  WriteIni(Settings(), "WINAPP2", "Unticked *", "0");
  RecordingView view;
  Ticks ticks;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(10, run.filesize());
  EXPECT_FALSE(FileExists(work.File("a\\x.tmp")));
  EXPECT_TRUE(FileExists(work.File("b\\x.tmp")));
  EXPECT_TRUE(FileExists(work.File("c\\x.tmp")));
}

TEST_F(Winapp2Test, HostileDefinitionsEraseNothing) {
  char windows[MAX_PATH] = {0};
  GetWindowsDirectoryA(windows, MAX_PATH);
  MakeFile("C:\\tsw-hostile-sentinel.txt");
  const std::string text =
      "[Hostile *]\r\nFileKey1=%WinDir%|*.*\r\nFileKey2=C:\\|*.*|RECURSE\r\nFileKey3=%UserProfile%|*.*|REMOVESELF\r\n"
      "FileKey4=%Empty%\\|*.*|RECURSE\r\nFileKey5=%ProgramFiles%|*.*|RECURSE\r\nFileKey6=%Documents%|*.doc\r\n"
      "FileKey7=C:\\tsw-links\\to-outside|*.*|REMOVESELF\r\n";
  std::map<std::string, std::string> system = DefinitionVariables();
  system["empty"] = "";
  const AppDefinition entry = ParseDefinitions(text, system).entries.at(0);
  RecordingEraser preview;
  {
    ScopedEraser scope(preview);
    EXPECT_EQ(0, EraseDefinition(entry).bytes);
  }
  EXPECT_TRUE(preview.entries.empty()) << preview.entries.size() << " " << (preview.entries.empty() ? "" : preview.entries[0].target);
  EXPECT_TRUE(FileExists("C:\\tsw-hostile-sentinel.txt"));
  EXPECT_TRUE(FileExists(std::string(windows) + "\\win.ini"));
  EXPECT_TRUE(FileExists("C:\\tsw-links\\to-outside\\precious.txt"));
  DeleteFileA("C:\\tsw-hostile-sentinel.txt");
}
