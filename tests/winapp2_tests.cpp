// Application definitions from a file: parsing, detection, and erasing through the seam with the
// folder guard and the exclusions in force.
#include <windows.h>
#include <shlwapi.h>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/RegKey.h"
#include "engine/Preview.h"
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
  DefinitionVars vars{{"test", {work.path()}}, {"appdata", {work.File("AppData")}}, {"empty", {""}}};
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
      "SpecialDetect=DET_CHROME\r\nFileKey2=%TswUnknown%\\x|*.*\r\nFileKey3=%Empty%\\x|*.*\r\nFileKey5=%Test%|*.*|SOMETIMES\r\n"
      "FileKey6=%Test\\x|*.*\r\nRegKey3=HKXX\\Software\r\nnonsense\r\n[Player]\r\nSection=Media\r\nLangSecRef=3023\r\n"
      "[Store app]\r\nLangSecRef=3031\r\n[Odd]\r\nLangSecRef=9999\r\n";
  DefinitionSet set = ParseDefinitions(text, vars);
  ASSERT_EQ(4u, set.entries.size());
  const AppDefinition& v = set.entries[0];
  EXPECT_EQ("Viewer *", v.name);
  EXPECT_EQ("Utilities", v.group);
  EXPECT_TRUE(v.defaultOn);
  EXPECT_EQ("Also erases your saved layouts.", v.warning);
  // Two Detect lines, the HKLM one in both views of 64-bit Windows, and DET_CHROME's key.
  ASSERT_EQ(HasTwoRegistryViews() ? 4u : 3u, v.detectKeys.size());
  EXPECT_EQ(HKEY_LOCAL_MACHINE, v.detectKeys[1].root);
  EXPECT_EQ("Software\\Google\\Chrome", v.detectKeys.back().subKey);
  EXPECT_EQ(work.File("AppData") + "\\Viewer\\*\\viewer.exe", v.detectFiles.at(0));
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
  EXPECT_EQ("", v.unusable);
  EXPECT_EQ("Media", set.entries[1].group);  // Section wins over LangSecRef
  EXPECT_FALSE(set.entries[1].defaultOn);
  EXPECT_EQ("Windows Store", set.entries[2].group);
  EXPECT_EQ("Other", set.entries[3].group);
  // stray=line, the unknown and the empty variable, SOMETIMES, "%Test" without its pair, HKXX,
  // nonsense; of which five are broken in form.
  EXPECT_EQ(7u, set.skipped);
  EXPECT_EQ(5u, set.malformed);
}

TEST_F(Winapp2Test, ReadsTheRealFile) {
  const std::string real = ReadFileText("C:\\tsw-data\\Winapp2.ini");
  ASSERT_GT(real.size(), 1000000u) << "the harness copies tests/data/winapp2/Winapp2.ini to C:\\tsw-data";
  const DefinitionSet set = ParseDefinitions(real, DefinitionVariables());
  EXPECT_EQ(4067u, set.entries.size());
  // Eight lines of the file are broken: a "%" without its pair (seven) or a FileKey without "|".
  EXPECT_EQ(8u, set.malformed);
  auto find = [&](const std::string& name) -> const AppDefinition& {
    for (const AppDefinition& e : set.entries)
      if (e.name == name) return e;
    static const AppDefinition none;
    ADD_FAILURE() << name << " not found";
    return none;
  };
  EXPECT_EQ(20u, find("Google Chrome Caches *").fileKeys.size());
  EXPECT_EQ("Google Chrome", find("Google Chrome Caches *").group);
  EXPECT_EQ("Games", find("Farming Simulator Old AutoSaves *").group);
  const AppDefinition& spotify = find("Spotify *");
  EXPECT_EQ("Spotify", spotify.group);
  ASSERT_EQ(1u, spotify.excludes.size());
  EXPECT_EQ(DefinitionExclude::Path, spotify.excludes[0].kind);
  EXPECT_EQ("", spotify.unusable);
  // %ProgramData% is a variable of the format: its entries load with their files.
  size_t programData = 0;
  const std::string programDataFolder = DefinitionVariables().at("programdata").at(0);
  for (const AppDefinition& e : set.entries)
    for (const DefinitionFiles& f : e.fileKeys)
      if (IsSameOrInside(f.folder, programDataFolder)) ++programData;
  EXPECT_GT(programData, 400u);
  EXPECT_EQ(0u, set.Unusable());  // every ExcludeKey of the file is understood
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
  DefinitionVars system = DefinitionVariables();
  system["empty"] = {""};
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

TEST_F(Winapp2Test, ExclusionsWinInEveryFormTheFormatHas) {
  for (const char* f : {"Profiles\\one\\x.dat", "Profiles\\one\\keep.dat", "Profiles\\two\\keep.dat", "Profiles\\two\\y.dat",
                        "Cache\\a.tmp", "Cache\\keep.tmp", "Cache\\Saved\\deep\\b.tmp", "Cache\\Saved\\c.log",
                        "Cache\\Pinned\\d.tmp", "Cache\\Pinned\\sub\\e.tmp", "Cache\\Other\\f.tmp"})
    MakeFile(work.File(f), 10);
  for (const char* sub : {"\\MRU\\Pinned\\Deep", "\\MRU\\Recent", "\\Settings"}) {
    RegKey k;
    k.Create(HKEY_CURRENT_USER, kTestKey + std::string(sub));
  }
  const std::string mru = std::string(kTestKey) + "\\MRU";
  SHSetValueA(HKEY_CURRENT_USER, mru.c_str(), "File1", REG_SZ, "x", 2);
  SHSetValueA(HKEY_CURRENT_USER, (mru + "\\Pinned").c_str(), "Fav", REG_SZ, "x", 2);
  SHSetValueA(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\Settings").c_str(), "Last", REG_SZ, "x", 2);
  const std::string k = std::string("HKCU\\") + kTestKey;
  const std::string text =
      "[Rules *]\r\nFileKey1=%Test%\\Profiles\\*|*.dat\r\nFileKey2=%Test%\\Cache|*.tmp;*.log|RECURSE\r\n"
      "ExcludeKey1=FILE|%Test%\\Prof*\\*\\|keep.dat\r\n"     // a folder with wildcards, in two profiles
      "ExcludeKey2=PATH|%Test%\\Cache\\Saved\\|*.tmp\r\n"    // covers the sub-folders too
      "ExcludeKey3=PATH|%Test%\\Cache\\Pinned\r\n"          // no pattern: everything below
      "ExcludeKey4=FILE|%Test%\\Cache\\keep.tmp\r\n"        // one file named whole
      "RegKey1=" + k + "\\MRU\r\nExcludeKey5=REG|" + k + "\\MRU\\Pinned\r\n"  // below a parent RegKey
      "RegKey2=" + k + "\\Settings|Last\r\nExcludeKey6=REG|" + k + "\\Settings\r\n";  // a key|value inside it
  const AppDefinition entry = ParseDefinitions(text, vars).entries.at(0);
  ASSERT_EQ("", entry.unusable);
  const DefinitionResult r = EraseDefinition(entry);
  for (const char* gone : {"Profiles\\one\\x.dat", "Profiles\\two\\y.dat", "Cache\\a.tmp", "Cache\\Saved\\c.log", "Cache\\Other\\f.tmp"})
    EXPECT_FALSE(FileExists(work.File(gone))) << gone;
  for (const char* kept : {"Profiles\\one\\keep.dat", "Profiles\\two\\keep.dat", "Cache\\keep.tmp", "Cache\\Saved\\deep\\b.tmp",
                           "Cache\\Pinned\\d.tmp", "Cache\\Pinned\\sub\\e.tmp"})
    EXPECT_TRUE(FileExists(work.File(kept))) << kept;
  EXPECT_EQ(50, r.bytes);
  EXPECT_TRUE(KeyExists(mru + "\\Pinned\\Deep"));
  DWORD size = 0;
  EXPECT_EQ(ERROR_SUCCESS, SHGetValueA(HKEY_CURRENT_USER, (mru + "\\Pinned").c_str(), "Fav", nullptr, nullptr, &size));
  EXPECT_FALSE(KeyExists(mru + "\\Recent"));
  EXPECT_NE(ERROR_SUCCESS, SHGetValueA(HKEY_CURRENT_USER, mru.c_str(), "File1", nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_SUCCESS, SHGetValueA(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\Settings").c_str(), "Last", nullptr, nullptr, &size));
  EXPECT_EQ(1, r.keys);  // MRU, in part
}

TEST_F(Winapp2Test, AnExclusionThatCannotBeReadDisablesItsEntry) {
  MakeFile(work.File("Cache\\a.tmp"), 10);
  for (const char* bad : {"FILE|%TswNoSuchVariable%\\x\\|keep.tmp", "PATH", "DISK|C:\\x\\|*", "FILE|%Test%\\Cache\\|a|b",
                          "REG|HKXX\\Software", "REG|HKCU\\Software\\Tsw*", "REG|HKCU\\Software\\TswApp|Last?"}) {
    const AppDefinition entry =
        ParseDefinitions("[Careful *]\r\nFileKey1=%Test%\\Cache|*.tmp\r\nExcludeKey1=" + std::string(bad) + "\r\n", vars).entries.at(0);
    EXPECT_NE("", entry.unusable) << bad;
    EXPECT_FALSE(DefinitionDetected(entry)) << bad;
    EXPECT_EQ(0, EraseDefinition(entry).bytes) << bad;
  }
  EXPECT_TRUE(FileExists(work.File("Cache\\a.tmp")));
}

// A wildcard in the folder part reaches folders that no one named: the user's own files are
// never emptied through it, while narrow patterns there still work.
TEST_F(Winapp2Test, AWildcardFolderNeverEmptiesTheUsersOwnFolders) {
  const std::string profile = work.File("Profile"), docs = work.File("Profile\\Documents");
  for (const char* f : {"Documents\\letter.doc", "Documents\\Taxes\\2025.pdf", "Downloads\\setup.exe", "Downloads\\install.log",
                        "OneDrive\\thesis.docx", "Cache\\old.log", "Cache\\x.tmp"})
    MakeFile(profile + "\\" + f, 10);
  MakeFile("D:\\tswdata\\keep.txt");
  MakeFile("D:\\tswapp-backup\\old.bak");  // a folder of its own, named by its beginning
  RedirectedShellFolder personal("Personal", docs);
  const std::string oldProfile = [] {
    char buf[MAX_PATH] = {0};
    GetEnvironmentVariableA("USERPROFILE", buf, MAX_PATH);
    return std::string(buf);
  }();
  SetEnvironmentVariableA("USERPROFILE", profile.c_str());
  DefinitionVars v = vars;
  v["userprofile"] = {profile};
  v["documents"] = {docs};
  v["systemdrive"] = {"D:"};
  const AppDefinition entry = ParseDefinitions(
      "[Wide *]\r\nFileKey1=%UserProfile%\\*|*.*|RECURSE\r\nFileKey2=%Documents%\\*|*.*|RECURSE\r\n"
      "FileKey3=%SystemDrive%\\*|*.*|RECURSE\r\nFileKey4=%UserProfile%\\*|*.log;*|RECURSE\r\n"
      "FileKey5=%SystemDrive%\\tswapp-*|*|RECURSE\r\n", v).entries.at(0);
  RecordingView view;
  CarryingEraser carrying;
  double bytes = 0;
  {
    ScopedEraser scope(carrying);
    bytes = EraseDefinition(entry).bytes;
  }
  SetEnvironmentVariableA("USERPROFILE", oldProfile.c_str());
  // Only the narrow pattern went through the wildcard, and the folder named by its beginning.
  EXPECT_EQ(30, bytes);
  EXPECT_FALSE(FileExists("D:\\tswapp-backup\\old.bak"));
  EXPECT_FALSE(FileExists(profile + "\\Downloads\\install.log"));
  EXPECT_FALSE(FileExists(profile + "\\Cache\\old.log"));
  for (const char* f : {"Documents\\letter.doc", "Documents\\Taxes\\2025.pdf", "Downloads\\setup.exe", "OneDrive\\thesis.docx",
                        "Cache\\x.tmp"})
    EXPECT_TRUE(FileExists(profile + "\\" + f)) << f;
  EXPECT_TRUE(FileExists("D:\\tswdata\\keep.txt"));
  // What the guard refused is said, not passed over in silence.
  const bool refused = std::any_of(carrying.outcomes.begin(), carrying.outcomes.end(), [&](const EntryOutcome& o) {
    return o.target == profile + "\\Downloads" && o.why == "refused by the folder guard";
  });
  EXPECT_TRUE(refused);
  RemoveTree("D:\\tswdata");
  RemoveTree("D:\\tswapp-backup");
}

// A known folder the user moved out of the profile, below a folder a wildcard reaches: the
// match-all walk leaves it whole, a narrow pattern still reaches into it.
TEST_F(Winapp2Test, AKnownFolderMovedBelowAWildcardFolderStaysWhole) {
  const std::string data = "D:\\tswknown", downloads = data + "\\Downloads";
  struct Gone {
    std::string folder;
    ~Gone() { RemoveTree(folder); }
  } gone{data};
  for (const char* f : {"Downloads\\setup.exe", "Downloads\\Old\\photo.jpg", "Downloads\\notes.log", "old.tmp",
                        "Logs\\x.dat"})
    MakeFile(data + "\\" + f, 10);
  RedirectedShellFolder moved("{374DE290-123F-4565-9164-39C4925E467B}", downloads);  // Downloads
  ASSERT_EQ(std::vector<std::string>{downloads}, UserFoldersBelow(data)) << "the shell reads the moved Downloads";
  const AppDefinition entry = ParseDefinitions("[Data *]\r\nFileKey1=D:\\tswknow*|*.*|REMOVESELF\r\n"
                                               "FileKey2=D:\\tswknow*|*.log|RECURSE\r\n",
                                               vars)
                                  .entries.at(0);
  CarryingEraser carrying;
  double bytes = 0;
  {
    ScopedEraser scope(carrying);
    bytes = EraseDefinition(entry).bytes;
  }
  EXPECT_EQ(30, bytes);  // old.tmp, Logs\x.dat and, by its narrow pattern, notes.log
  EXPECT_FALSE(FileExists(data + "\\old.tmp"));
  EXPECT_FALSE(FileExists(data + "\\Logs"));
  EXPECT_FALSE(FileExists(downloads + "\\notes.log"));
  EXPECT_TRUE(FileExists(downloads + "\\setup.exe"));
  EXPECT_TRUE(FileExists(downloads + "\\Old\\photo.jpg"));
  const bool refused = std::any_of(carrying.outcomes.begin(), carrying.outcomes.end(), [&](const EntryOutcome& o) {
    return o.target == downloads && o.why == "refused by the folder guard";
  });
  EXPECT_TRUE(refused);
}

TEST_F(Winapp2Test, TheFormatsVariablesAndTheEnvironment) {
  const DefinitionVars system = DefinitionVariables();
  for (const char* name : {"appdata", "commonappdata", "commonprogramfiles", "documents", "localappdata", "locallowappdata",
                           "music", "pictures", "programdata", "programfiles", "systemdrive", "userprofile", "video", "windir"})
    EXPECT_FALSE(system.count(name) == 0 || system.at(name).empty() || system.at(name)[0].empty()) << name;
  // Both Program Files folders where Windows has two; one where it has one.
  EXPECT_EQ(HasTwoRegistryViews() ? 2u : 1u, system.at("programfiles").size());
  const std::string programData = system.at("programdata").at(0) + "\\TswTest16";
  std::vector<std::string> programFiles;
  for (const std::string& f : system.at("programfiles")) programFiles.push_back(f + "\\TswTest16");
  MakeFile(programData + "\\a.log", 10);
  for (const std::string& f : programFiles) MakeFile(f + "\\b.log", 20);
  SetEnvironmentVariableA("TSWTEST16", work.path().c_str());
  MakeFile(work.File("env\\c.log"), 40);
  const AppDefinition entry = ParseDefinitions(
      "[Vars *]\r\nFileKey1=%ProgramData%\\TswTest16|*.log\r\nFileKey2=%ProgramFiles%\\TswTest16|*.log\r\n"
      "FileKey3=%TswTest16%\\env|*.log\r\n", system).entries.at(0);
  EXPECT_EQ(10 + 20.0 * programFiles.size() + 40, EraseDefinition(entry).bytes);
  EXPECT_FALSE(FileExists(programData + "\\a.log"));
  for (const std::string& f : programFiles) EXPECT_FALSE(FileExists(f + "\\b.log")) << f;
  RemoveTree(programData);
  for (const std::string& f : programFiles) RemoveTree(f);
  SetEnvironmentVariableA("TSWTEST16", nullptr);
}

TEST_F(Winapp2Test, DetectionAsTheFormatDefinesIt) {
  const unsigned v = WindowsVersion();
  ASSERT_GE(v, 500u);
  auto version = [](unsigned n) { return std::to_string(n / 100) + "." + std::to_string(n % 100); };
  auto detected = [&](const std::string& lines) {
    return DefinitionDetected(ParseDefinitions("[E *]\r\n" + lines + "FileKey1=%Test%|*.tmp\r\n", vars).entries.at(0));
  };
  EXPECT_TRUE(detected(""));  // no detection: offered
  EXPECT_TRUE(detected("SpecialDetect=DET_WINDOWS\r\n"));
  EXPECT_FALSE(detected("SpecialDetect=DET_SOMETHING_NEW\r\n"));
  EXPECT_TRUE(detected("DetectOS=" + version(v) + "|\r\n"));
  EXPECT_TRUE(detected("DetectOS=|" + version(v) + "\r\n"));
  EXPECT_TRUE(detected("DetectOS=" + version(v) + "\r\n"));
  EXPECT_FALSE(detected("DetectOS=|" + version(v - 1) + "\r\n"));
  EXPECT_FALSE(detected("DetectOS=" + version(v + 1) + "|\r\n"));
  EXPECT_FALSE(detected("DetectFile=%Test\\nothing\r\n"));  // a detection that cannot be read finds nothing
  // A key that only one registry view holds is found.
  HKEY made = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\TswTest16", 0, nullptr, 0,
                                           KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &made, nullptr));
  RegCloseKey(made);
  RegKey k;
  EXPECT_TRUE(detected("Detect=HKLM\\Software\\TswTest16\r\n"));
  EXPECT_FALSE(detected("Detect=HKLM\\Software\\TswTest16None\r\n"));
  // And erased in each view that has it.
  const AppDefinition entry = ParseDefinitions("[E *]\r\nRegKey1=HKLM\\Software\\TswTest16\r\n", vars).entries.at(0);
  EXPECT_EQ(1, EraseDefinition(entry).keys);
  for (REGSAM view : {static_cast<REGSAM>(KEY_WOW64_64KEY), static_cast<REGSAM>(KEY_WOW64_32KEY)})
    EXPECT_NE(ERROR_SUCCESS, k.Open(HKEY_LOCAL_MACHINE, "Software\\TswTest16", KEY_READ | view)) << view;
}

TEST_F(Winapp2Test, WhatTheUserSeesTickedIsWhatRuns) {
  for (const char* f : {"a\\x.tmp", "b\\x.tmp", "c\\x.tmp", "d\\x.tmp"}) MakeFile(work.File(f), 10);
  WriteFileText(ProgramFile("winapp2.ini"),
                "[Default *]\r\nDefault=True\r\nFileKey1=" + work.File("a") + "|*.tmp\r\n"
                "[Default but warned *]\r\nDefault=True\r\nWarning=Careful.\r\nFileKey1=" + work.File("b") + "|*.tmp\r\n"
                "[Default unticked *]\r\nDefault=True\r\nFileKey1=" + work.File("c") + "|*.tmp\r\n"
                "[Plain *]\r\nFileKey1=" + work.File("d") + "|*.tmp\r\n");
  WriteIni(Settings(), "WINAPP2", "Default unticked *", "0");
  const std::map<std::string, std::string> stored = StoredDefinitionChoices(Settings());
  const DefinitionSet set = LoadDefinitions();
  ASSERT_EQ(4u, set.entries.size());
  EXPECT_TRUE(DefinitionChosen(set.entries[0], stored));
  EXPECT_FALSE(DefinitionChosen(set.entries[1], stored));
  EXPECT_FALSE(DefinitionChosen(set.entries[2], stored));
  EXPECT_FALSE(DefinitionChosen(set.entries[3], stored));
  RecordingView view;
  Ticks ticks;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_FALSE(FileExists(work.File("a\\x.tmp")));  // default-ticked, no choice stored: erased
  for (const char* kept : {"b\\x.tmp", "c\\x.tmp", "d\\x.tmp"}) EXPECT_TRUE(FileExists(work.File(kept))) << kept;
}

TEST_F(Winapp2Test, ReadsUtf8WithItsMarkAndLineFeedsOnly) {
  // "Bokor" + e acute, as UTF-8 in the file and as the ANSI code page spells it on disk.
  const std::string ansiFolder = work.File("Bokor\xE9la");
  MakeFile(ansiFolder + "\\x.log", 10);
  const std::string text = "\xEF\xBB\xBF[Accented *]\nFileKey1=%Test%\\Bokor\xC3\xA9la|*.log\n"
                           "[Unspellable *]\nFileKey1=%Test%\\\xE4\xB8\xAD|*.log\n[After *]\nSection=Last\n";
  const DefinitionSet set = ParseDefinitions(text, vars);
  ASSERT_EQ(3u, set.entries.size());
  EXPECT_EQ("Accented *", set.entries[0].name);
  EXPECT_EQ(10, EraseDefinition(set.entries[0]).bytes);
  EXPECT_FALSE(FileExists(ansiFolder + "\\x.log"));
  EXPECT_NE("", set.entries[1].unusable);  // a path this Windows cannot spell: not offered
  EXPECT_FALSE(DefinitionDetected(set.entries[1]));
  EXPECT_EQ("Last", set.entries[2].group);
}

// Three entries of the real file whose exclusions name folders with wildcards, seeded as they
// describe, with their folders moved into the test's own.
TEST_F(Winapp2Test, RealEntriesKeepWhatTheyExclude) {
  const std::string real = ReadFileText("C:\\tsw-data\\Winapp2.ini");
  ASSERT_FALSE(real.empty());
  DefinitionVars moved = DefinitionVariables();
  moved["localappdata"] = {work.File("Local")};
  moved["appdata"] = {work.File("Roaming")};
  moved["userprofile"] = {work.File("Profile")};
  const DefinitionSet set = ParseDefinitions(real, moved);
  auto erase = [&](const std::string& name) {
    for (const AppDefinition& e : set.entries)
      if (e.name == name) return EraseDefinition(e).bytes;
    ADD_FAILURE() << name;
    return -1.0;
  };
  MakeFile(work.File("Local\\Spotify\\Storage\\ab\\cd\\cached.file"), 10);
  MakeFile(work.File("Local\\Spotify\\Storage\\ef\\index.dat"), 10);
  MakeFile(work.File("Local\\Spotify\\Browser\\cache.bin"), 10);
  MakeFile(work.File("Roaming\\Spotify\\spotify.log"), 10);
  EXPECT_EQ(20, erase("Spotify *"));
  EXPECT_TRUE(FileExists(work.File("Local\\Spotify\\Storage\\ab\\cd\\cached.file")));
  EXPECT_TRUE(FileExists(work.File("Local\\Spotify\\Storage\\ef\\index.dat")));
  EXPECT_FALSE(FileExists(work.File("Local\\Spotify\\Browser")));

  MakeFile(work.File("Profile\\Pictures\\PhotoDirector\\2026\\Trip\\trip.phd"), 10);
  MakeFile(work.File("Profile\\Pictures\\PhotoDirector\\2026\\Trip\\thumb.cache"), 10);
  EXPECT_EQ(10, erase("CyberLink PhotoDirector *"));
  EXPECT_TRUE(FileExists(work.File("Profile\\Pictures\\PhotoDirector\\2026\\Trip\\trip.phd")));

  const std::string games = "Profile\\Documents\\My Games\\FarmingSimulator2025\\";
  MakeFile(work.File(games + "savegame1\\careerSavegame.xml"), 10);
  MakeFile(work.File(games + "savegameBackup\\backup.zip"), 10);
  MakeFile(work.File(games + "savegame7\\old.xml"), 10);
  CreateDirectoryA(work.File(games + "savegame2").c_str(), nullptr);
  EXPECT_EQ(10, erase("Farming Simulator Old AutoSaves *"));
  EXPECT_TRUE(FileExists(work.File(games + "savegame1\\careerSavegame.xml")));
  EXPECT_TRUE(FileExists(work.File(games + "savegameBackup\\backup.zip")));
  EXPECT_FALSE(FileExists(work.File(games + "savegame7")));
  EXPECT_FALSE(FileExists(work.File(games + "savegame2")));
}
