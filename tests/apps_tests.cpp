// The application items and the other-browser items against the prefix's registry and folders.
#include <windows.h>
#include <shlwapi.h>

#include "access/RegKey.h"
#include "settings/Inifun.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"

namespace {

const char kRealPreferences[] = "Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\";

void Put(HKEY root, const std::string& sub, const std::string& name = "v", const std::string& value = "x") {
  RegKey k;
  k.Create(root, sub);
  RegSetValueExA(k.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

// -1 when the key is missing, else its values and sub-keys.
int Entries(HKEY root, const std::string& sub) {
  RegKey k;
  if (k.Open(root, sub, KEY_READ) != ERROR_SUCCESS) return -1;
  DWORD values = 0, subkeys = 0;
  RegQueryInfoKeyA(k.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  return static_cast<int>(values + subkeys);
}

}  // namespace

class AppTracksTest : public ProgramFolderTest {
 protected:
  IsolatedTrackFolders isolated;
  RecordingView view;
  Ticks ticks;
  TempFolder work{"tswapps"};
  void TearDown() override {
    for (const char* k : {"Software\\Microsoft\\Office", "Software\\Google", "Software\\Microsoft\\MediaPlayer"})
      SHDeleteKeyA(HKEY_CURRENT_USER, k);
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "Software\\RealNetworks");
    ProgramFolderTest::TearDown();
  }
  CleanRun Run() {
    CleanRun run(view, ticks, Settings());
    run.Run();
    return run;
  }
};

TEST_F(AppTracksTest, OfficeEmptiesTheChosenProgramsInVersionOrderAndCountsSixAnyway) {
  Put(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\9.0\\Word\\Data", "Settings", "recent.doc");
  Put(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\9.0\\Excel\\Recent Files", "File1", "kept.xls");
  WriteIni(Settings(), "OFFICE", "word", "1");
  WriteIni(Settings(), "OFFICE", "excel", "yes");
  ticks.values[23] = 1;
  EXPECT_EQ(6, Run().regnum());
  for (const char* v : {"9.0", "8.0", "10.0"})
    EXPECT_EQ(0, Entries(HKEY_CURRENT_USER, std::string("Software\\Microsoft\\Office\\") + v + "\\Word\\Data")) << v;
  EXPECT_EQ(1, Entries(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\9.0\\Excel\\Recent Files"));
  EXPECT_EQ(-1, Entries(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\9.0\\Access\\Settings"));
  // The 6 is counted before the start line: the run view sees the lines only.
  EXPECT_EQ("Please Waiting ,Cleaning MS-Office Tracks......", view.lines.at(1));
}

TEST_F(AppTracksTest, RealPlayersEraseTheNineKeysBelowClassesRootOncePerItem) {
  for (int n = 1; n <= 8; ++n) Put(HKEY_CLASSES_ROOT, kRealPreferences + std::string("MostRecentClips") + std::to_string(n));
  Put(HKEY_CLASSES_ROOT, kRealPreferences + std::string("HistoryList"), "h1", "clip.rm");
  Put(HKEY_CURRENT_USER, kRealPreferences + std::string("HistoryList"), "h1", "clip.rm");
  ticks.values[22] = 1;
  EXPECT_EQ(9, Run().regnum());
  for (int n = 1; n <= 8; ++n)
    EXPECT_EQ(-1, Entries(HKEY_CLASSES_ROOT, kRealPreferences + std::string("MostRecentClips") + std::to_string(n)));
  EXPECT_EQ(0, Entries(HKEY_CLASSES_ROOT, kRealPreferences + std::string("HistoryList")));
  EXPECT_EQ(1, Entries(HKEY_CURRENT_USER, kRealPreferences + std::string("HistoryList")));  // not the user's key
  SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\RealNetworks");
  ticks.values[21] = 1;
  EXPECT_EQ(18, Run().regnum());
}

TEST_F(AppTracksTest, WinzipAndMediaPlayerListsStayPresentAndEmpty) {
  Put(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", "File0", "song.mp3");
  Put(HKEY_CURRENT_USER, "Software\\Nico Mak Computing\\WinZip\\filemenu", "filemenu1", "C:\\a.zip");
  ticks.values[19] = ticks.values[20] = 1;
  EXPECT_EQ(2, Run().regnum());
  EXPECT_EQ(0, Entries(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList"));
  EXPECT_EQ(0, Entries(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList"));
  EXPECT_EQ(0, Entries(HKEY_CURRENT_USER, "Software\\Nico Mak Computing\\WinZip\\filemenu"));
  SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Nico Mak Computing");
}

TEST_F(AppTracksTest, NetscapeMeasuresTheProfilesBeforeEachChosenSweep) {
  const std::string appData = work.File("AppData"), p = appData + "\\Mozilla\\Profiles\\default\\x1y2";
  // The shell rewrites Shell Folders from User Shell Folders whenever it is asked: set both.
  ScopedRegValue user(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                      "AppData", appData);
  ScopedRegValue folder(HKEY_CURRENT_USER, kShellFoldersKey, "AppData", appData);
  MakeFile(p + "\\localstore.rdf", 100);
  MakeFile(p + "\\cookies.txt", 200);
  MakeFile(p + "\\Cache\\0A1B.dat", 300);
  MakeFile(p + "\\history.dat", 400);
  MakeFile(p + "\\prefs.js", 50);
  for (const char* part : {"Location", "Cookies", "Cache", "History"}) WriteIni(Settings(), "NETSCAPE", part, "1");
  ticks.values[8] = 1;
  // 1050 before Location, 950 before Cookies, 750 before the cache, 450 before History.
  EXPECT_EQ(3200, Run().filesize());
  EXPECT_TRUE(FileExists(p + "\\prefs.js"));
  EXPECT_TRUE(FileExists(p + "\\Cache"));
  for (const char* gone : {"\\localstore.rdf", "\\cookies.txt", "\\Cache\\0A1B.dat", "\\history.dat"})
    EXPECT_FALSE(FileExists(p + gone)) << gone;

  WriteIni(Settings(), "NETSCAPE", "Cache", "0");
  for (const char* part : {"Location", "Cookies", "History"}) WriteIni(Settings(), "NETSCAPE", part, "");
  EXPECT_EQ(0, Run().filesize());
  EXPECT_EQ("Cleaning Netscape Navigator......OK", view.lines.at(2));
}

TEST_F(AppTracksTest, OperaErasesItsProfileFilesAndCountsFixedAmounts) {
  const std::string o = work.File("Opera7"), q = o + "\\profile";
  for (const char* f : {"\\opera.dir", "\\cookies4.dat", "\\cache4\\opr0001.tmp", "\\cache4\\sub\\keep.tmp",
                        "\\global.dat", "\\viewers.dat", "\\opera6.ini"})
    MakeFile(q + f, 10);
  WriteIni(Settings(), "opera", "path", o);
  WriteIni(Settings(), "OPERA", "Cookies", "1");
  ticks.values[24] = 1;
  EXPECT_EQ(0, Run().filesize());  // cookies are deleted but not counted
  EXPECT_FALSE(FileExists(q + "\\cookies4.dat"));
  EXPECT_TRUE(FileExists(q + "\\opera.dir"));

  for (const char* part : {"Location", "Cache", "History"}) WriteIni(Settings(), "Opera", part, "1");
  EXPECT_EQ(15000, Run().filesize());
  for (const char* gone : {"\\opera.dir", "\\cache4\\opr0001.tmp", "\\global.dat", "\\viewers.dat"})
    EXPECT_FALSE(FileExists(q + gone)) << gone;
  EXPECT_TRUE(FileExists(q + "\\cache4\\sub\\keep.tmp"));
  EXPECT_TRUE(FileExists(q + "\\opera6.ini"));
  EXPECT_EQ("Cleaning Opera......OK", view.lines.at(2));
}

TEST_F(AppTracksTest, OperaWithoutItsFolderSaysSoInPlaceOfItsEndLine) {
  for (const std::string& path : {work.File("NoOpera"), std::string()}) {
    WriteIni(Settings(), "opera", "path", path);
    WriteIni(Settings(), "opera", "Location", "1");
    ticks.values[24] = 1;
    EXPECT_EQ(0, Run().filesize()) << path;
    EXPECT_EQ((std::vector<std::string>{"Please waiting,Begin Cleaning", "Please Waiting ,Cleaning Opera......",
                                        "Can't found Opera Directory!"}),
              std::vector<std::string>(view.lines.begin(), view.lines.begin() + 3))
        << path;
  }
}

TEST_F(AppTracksTest, GoogleToolbarHistoryGoesAndCountsOneEvenWhenAbsent) {
  Put(HKEY_CURRENT_USER, "Software\\Google\\NavClient\\1.1\\History", "q", "search");
  ticks.values[25] = 1;
  EXPECT_EQ(1, Run().regnum());
  EXPECT_EQ(-1, Entries(HKEY_CURRENT_USER, "Software\\Google\\NavClient\\1.1\\History"));
  EXPECT_EQ(1, Run().regnum());
}
