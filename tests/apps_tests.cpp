// The application items and the other-browser items against the prefix's registry and folders.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

#include "access/RegKey.h"
#include "engine/CustomItems.h"
#include "keeplists/ListFile.h"
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

class MoreAppsTest : public AppTracksTest {
 protected:
  void Tick(std::initializer_list<const char*> keys) {
    for (const char* k : keys) WriteIni(Settings(), "MOREAPPLICATIONS", k, "1");
  }
};

TEST_F(MoreAppsTest, EveryApplicationOnAnEmptyMachineCountsFiftyOneAndCreatesNothing) {
  const char* const keys[] = {"ACDSee5", "ACDsee4", "AcrobatReader4", "AcrobatReader5", "AOL", "CuteFTP",
                              "DivxPlayer", "FlashGet", "GetRight", "Hotbar", "ICQ", "KaZaA", "Morpheus",
                              "NetVampire", "MSNMessager", "PowerDVD", "QuickTime", "SWiSH", "ThePlayer",
                              "Winamp", "WinRar", "Aol70", "Yahoo!"};
  for (const char* k : keys) WriteIni(Settings(), "MOREAPPLICATIONS", k, "1");
  EXPECT_EQ(51, Run().regnum());
  for (const char* sub : {"Software\\ACD Systems", "Software\\Adobe", "Software\\DivXNetworks", "Software\\JetCar",
                          "Software\\Headlight", "Software\\Hotbar", "Software\\Morpheus", "Software\\DJJ Holdings",
                          "Software\\WinRAR"})
    EXPECT_EQ(-1, Entries(HKEY_CURRENT_USER, sub)) << sub;
  for (const char* folder : {"C:\\Program Files\\Yahoo!", "C:\\Program Files\\Hotbar", "C:\\America Online 6.0"})
    EXPECT_FALSE(FileExists(folder)) << folder;
  EXPECT_EQ((std::vector<std::string>{"Please Waiting ,Cleaning More Applications......", "Cleaning More Applications......OK"}),
            std::vector<std::string>(view.lines.begin() + 1, view.lines.begin() + 3));
}

TEST_F(MoreAppsTest, BlankingKeepsTheValuesOfAnExistingKeyAndDeletingTakesNamedValues) {
  for (const char* v : {"Favorites", "LastFolder", "Other"}) Put(HKEY_CURRENT_USER, "Software\\ACD Systems\\ACDSee", v, "C:\\pics");
  for (const char* v : {"File1", "File5", "File6"}) Put(HKEY_CURRENT_USER, "Software\\DivXNetworks\\ThePlaya", v, "movie.avi");
  Tick({"ACDsee4", "ThePlayer", "QuickTime"});
  EXPECT_EQ(7, Run().regnum());
  char buf[64];
  EXPECT_EQ(3, Entries(HKEY_CURRENT_USER, "Software\\ACD Systems\\ACDSee"));  // "Openfolder" is not created
  for (const char* v : {"Favorites", "LastFolder"}) {
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Software\\ACD Systems\\ACDSee", KEY_QUERY_VALUE));
    DWORD size = sizeof buf, type = 0;
    buf[0] = 'x';
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key.get(), v, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size)) << v;
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(1u, size) << v;  // the empty text with its NUL
    EXPECT_EQ('\0', buf[0]);
    // The prefix's own reg.exe shows an empty value, not whatever bytes lay behind it.
    const ProgramResult shown = RunProgram("reg.exe query \"HKCU\\Software\\ACD Systems\\ACDSee\" /v " + std::string(v), folder_->path());
    bool found = false;
    for (const std::string& line : Lines(shown.out)) {
      const size_t at = line.find("REG_SZ");
      if (line.find(v) == std::string::npos || at == std::string::npos) continue;
      found = true;
      EXPECT_EQ(std::string::npos, line.find_first_not_of(" \t", at + 6)) << "'" << line << "'";
    }
    EXPECT_TRUE(found) << shown.out;
  }
  DWORD size = sizeof buf;
  EXPECT_EQ(ERROR_SUCCESS, SHGetValueA(HKEY_CURRENT_USER, "Software\\ACD Systems\\ACDSee", "Other", nullptr, buf, &size));
  EXPECT_EQ(1, Entries(HKEY_CURRENT_USER, "Software\\DivXNetworks\\ThePlaya"));  // File6 is not on the list
  SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\ACD Systems");
  SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\DivXNetworks");
}

TEST_F(MoreAppsTest, YahooEmptiesItsCacheOnWhicheverDriveHoldsIt) {
  ASSERT_TRUE(FileExists("E:\\")) << "the harness gives the tests an e: drive";
  const std::string cache = "E:\\Program Files\\Yahoo!\\Messenger\\IMVCache";
  MakeFile(cache + "\\friend\\pic.jpg", 100);
  MakeFile(cache + "\\top.dat", 100);
  Tick({"Yahoo!"});
  EXPECT_EQ(3, Run().regnum());
  EXPECT_TRUE(FileExists(cache));
  EXPECT_FALSE(FileExists(cache + "\\friend"));
  EXPECT_FALSE(FileExists(cache + "\\top.dat"));
  EXPECT_EQ(0, Run().filesize());  // the block counts keys only
}

TEST_F(MoreAppsTest, ReceivedFilesGoFromTheDocumentsFolderOnly) {
  char documents[MAX_PATH] = {0};
  ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, documents));
  const std::string received = std::string(documents) + "\\My Received Files";
  MakeFile(received + "\\photo.jpg");
  MakeFile(received + "\\sub\\kept.doc");
  MakeFile(std::string(documents) + "\\tsw-letter.doc");
  Tick({"MSNMessager"});
  Run();
  EXPECT_FALSE(FileExists(received + "\\photo.jpg"));
  EXPECT_TRUE(FileExists(received + "\\sub\\kept.doc"));
  EXPECT_TRUE(FileExists(std::string(documents) + "\\tsw-letter.doc"));
  RemoveTree(received);
  DeleteFileA((std::string(documents) + "\\tsw-letter.doc").c_str());
}

TEST_F(MoreAppsTest, CustomItemsMatchTheLongNameOnly) {
  const std::string f = work.File("sn");
  for (const char* name : {"a.tmp", "notes.tmpl", "r.doc", "r.docx", "long name.tmp", "data.tmp.bak"}) MakeFile(f + "\\" + name, 10);
  MakeFile("D:\\tsw-root-15.tswlog", 7);
  MakeFile("D:\\tsw-root-15.tswlogx", 7);
  // The last entry is stored with blanks around it, as older versions kept what was typed.
  WriteListFile(CustomItemsFile(), {f + "\\*.tmp", f + "\\*.doc", "  D:\\*.tswlog  "});
  WriteIni(Settings(), "Additional", "Custom", "1");
  EXPECT_EQ(37, Run().filesize());
  std::vector<std::string> left;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((f + "\\*").c_str(), &fd);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) left.push_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(left.begin(), left.end());
  EXPECT_EQ((std::vector<std::string>{"data.tmp.bak", "notes.tmpl", "r.docx"}), left);
  EXPECT_FALSE(FileExists("D:\\tsw-root-15.tswlog"));
  EXPECT_TRUE(FileExists("D:\\tsw-root-15.tswlogx"));
  DeleteFileA("D:\\tsw-root-15.tswlogx");
}

TEST_F(MoreAppsTest, CustomItemsEraseInTheirOwnFolderAndCountWhatWent) {
  const std::string f = work.File("custom");
  MakeFile(f + "\\a.tmp", 300);
  MakeFile(f + "\\b.tmp", 200, FILE_ATTRIBUTE_READONLY);
  MakeFile(f + "\\keep.txt", 50);
  MakeFile(f + "\\sub\\c.tmp", 70);
  MakeFile("D:\\tsw-root.chk", 40);
  char windows[MAX_PATH] = {0};
  GetWindowsDirectoryA(windows, MAX_PATH);
  // The last two lines come from an older list: the guard refuses them.
  WriteListFile(CustomItemsFile(), {f + "\\*.tmp  ", f, "D:\\\\*.chk", std::string(windows) + "\\*.*", "*.tmp"});
  WriteIni(Settings(), "Additional", "Custom", "1");
  EXPECT_EQ(340, Run().filesize());  // a.tmp and the root's fragment, not the folder's size
  EXPECT_FALSE(FileExists(f + "\\a.tmp"));
  EXPECT_TRUE(FileExists(f + "\\b.tmp"));
  EXPECT_TRUE(FileExists(f + "\\keep.txt"));
  EXPECT_TRUE(FileExists(f + "\\sub\\c.tmp"));
  EXPECT_FALSE(FileExists("D:\\tsw-root.chk"));
  EXPECT_TRUE(FileExists(std::string(windows) + "\\win.ini"));
  EXPECT_EQ("Cleaning Custom Clean Items......OK", view.lines.at(view.lines.size() - 2));
  SetFileAttributesA((f + "\\b.tmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(AppTracksTest, TodaysOfficeListsAreEmptiedPerAccountAndNothingIsCreated) {
  const std::string word16 = "Software\\Microsoft\\Office\\16.0\\Word", excel14 = "Software\\Microsoft\\Office\\14.0\\Excel";
  Put(HKEY_CURRENT_USER, word16 + "\\File MRU", "Item 1", "[F00000000][T01D]*C:\\secret.docx");
  Put(HKEY_CURRENT_USER, word16 + "\\Place MRU", "Item 1", "C:\\Private\\");
  Put(HKEY_CURRENT_USER, word16 + "\\User MRU\\ADAL_1234\\File MRU", "Item 1", "https://d.docs/secret.docx");
  Put(HKEY_CURRENT_USER, word16 + "\\User MRU\\LiveId_5678\\Place MRU", "Item 1", "https://d.docs/");
  Put(HKEY_CURRENT_USER, word16 + "\\Options", "Kept", "1");
  Put(HKEY_CURRENT_USER, excel14 + "\\File MRU", "Item 1", "C:\\budget.xlsx");
  WriteIni(Settings(), "OFFICE", "word", "1");
  ticks.values[23] = 1;
  EXPECT_EQ(6 + 4, Run().regnum());
  for (const char* k : {"\\File MRU", "\\Place MRU", "\\User MRU\\ADAL_1234\\File MRU", "\\User MRU\\LiveId_5678\\Place MRU"})
    EXPECT_EQ(0, Entries(HKEY_CURRENT_USER, word16 + k)) << k;
  EXPECT_EQ(1, Entries(HKEY_CURRENT_USER, word16 + "\\Options"));
  EXPECT_EQ(1, Entries(HKEY_CURRENT_USER, excel14 + "\\File MRU"));  // Excel was not chosen
  EXPECT_EQ(-1, Entries(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\15.0"));  // no such version: not created
  EXPECT_EQ(-1, Entries(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\11.0"));
}

TEST_F(AppTracksTest, TodaysWinzipListIsEmptiedWithItsSubKeys) {
  Put(HKEY_CURRENT_USER, "Software\\Nico Mak Computing\\WinZip\\mru\\archives", "0", "C:\\secret.zip");
  Put(HKEY_CURRENT_USER, "Software\\Nico Mak Computing\\WinZip\\mru", "x", "y");
  ticks.values[19] = 1;
  EXPECT_EQ(1 + 2, Run().regnum());
  EXPECT_EQ(1, Entries(HKEY_CURRENT_USER, "Software\\Nico Mak Computing\\WinZip\\mru"));  // its sub-key, kept
  EXPECT_EQ(0, Entries(HKEY_CURRENT_USER, "Software\\Nico Mak Computing\\WinZip\\mru\\archives"));
  SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Nico Mak Computing");
}
