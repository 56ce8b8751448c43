// More Windows Tracks against the prefix's real registry and folders of the test: its dialog,
// its run item, Analyze and tswclean; and the parts of the Windows items on today's Windows.
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

#include "access/RegKey.h"
#include "access/SystemStores.h"
#include "engine/MoreWindows.h"
#include "engine/Preview.h"
#include "settings/Inifun.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/MoreWindowsRes.h"
#include "ui/frmMainCode.h"
#include "ui/frmMainCodeRes.h"

namespace {

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const char kUserAssist[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist";
const char* const kTrees[] = {"Software\\Microsoft\\Windows\\Shell", "Software\\Microsoft\\Windows\\ShellNoRoam",
                              "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell"};

void Put(const std::string& sub, const std::string& name, const std::string& value) {
  RegKey k;
  k.Create(HKEY_CURRENT_USER, sub);
  k.SetString(name, value);
}
void PutDword(const std::string& sub, const std::string& name, DWORD value) {
  RegKey k;
  k.Create(HKEY_CURRENT_USER, sub);
  RegSetValueExA(k.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}
bool KeyExists(const std::string& sub) { return KeyPresent(HKEY_CURRENT_USER, sub); }
std::vector<std::string> ValuesOf(const std::string& sub) {
  RegKey k;
  std::vector<std::string> names;
  if (k.Open(HKEY_CURRENT_USER, sub, KEY_READ) == ERROR_SUCCESS) names = k.ValueNames();
  std::sort(names.begin(), names.end());
  return names;
}
bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}
const char kStart[] = "Please Waiting ,Cleaning More Windows Tracks......";
const char kEnd[] = "Cleaning More Windows Tracks......OK";

}  // namespace

class MoreWindowsTest : public ProgramFolderTest {
 protected:
  TempFolder work{"tswwin"};
  std::string local = work.File("Local");
  RedirectedShellFolder localFolder{"Local AppData", local};
  RecordingView view;
  Ticks ticks;

  void SetUp() override {
    ProgramFolderTest::SetUp();
    CreateDirectoryA(local.c_str(), nullptr);
    Forget();
  }
  void TearDown() override {
    Forget();
    ProgramFolderTest::TearDown();
  }
  // The keys the tests make, gone before and after each.
  void Forget() {
    SHDeleteKeyA(HKEY_CURRENT_USER, kUserAssist);
    for (const char* tree : kTrees)
      for (const char* part : {"\\BagMRU", "\\Bags"}) SHDeleteKeyA(HKEY_CURRENT_USER, (std::string(tree) + part).c_str());
    for (const char* k : {"StreamMRU", "ComDlg32\\CIDSizeMRU", "Map Network Drive MRU", "SearchHistory"})
      SHDeleteKeyA(HKEY_CURRENT_USER, (std::string(kExplorer) + k).c_str());
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Search\\RecentApps");
  }
  void Tick(std::initializer_list<const char*> keys) {
    for (const char* k : keys) WriteIni(Settings(), kMoreWindowsSection, k, "1");
  }
  CleanRun Run() {
    CleanRun run(view, ticks, Settings());
    run.Run();
    return run;
  }
  PreviewItem Analyzed(const std::string& name) {
    for (const PreviewItem& item : CleanRun(view, ticks, Settings()).Analyze())
      if (item.name == name) return item;
    ADD_FAILURE() << "no " << name << " in the preview";
    return PreviewItem();
  }
  static size_t Count(const PreviewItem& item, const std::string& kind) {
    return static_cast<size_t>(std::count_if(item.entries.begin(), item.entries.end(), [&](const PreviewEntry& e) { return e.kind == kind; }));
  }
  // Shell bags as Explorer keeps them: the desktop in bag 1, two folders shown, all folders' view.
  void Bags(const std::string& tree) {
    const std::string mru = tree + "\\BagMRU", bags = tree + "\\Bags";
    PutDword(mru, "NodeSlot", 1);
    Put(mru, "NodeSlots", "\x02\x02\x02");
    Put(mru, "MRUListEx", "x");
    Put(mru, "0", "C:\\Users\\me\\Secret");
    Put(mru + "\\0", "0", "Plans");
    PutDword(mru + "\\0", "NodeSlot", 2);
    PutDword(mru + "\\0\\0", "NodeSlot", 3);
    Put(bags + "\\1\\Desktop", "IconLayouts", "icons where the user put them");
    Put(bags + "\\2\\Shell\\{5C4F28B5-F869-4E84-8E60-F11DB97C5CC7}", "Mode", "4");
    Put(bags + "\\3\\ComDlg", "Vid", "x");
    Put(bags + "\\AllFolders\\Shell", "FolderType", "Documents");
  }
};

TEST_F(MoreWindowsTest, TheItemRunsAfterMoreBrowsersOnlyWhileATraceIsTicked) {
  EXPECT_FALSE(AnyWindowsTraceChosen(Settings()));
  WriteIni(Settings(), kMoreWindowsSection, "DnsCache", "yes");  // only "1" ticks
  Run();
  EXPECT_FALSE(Has(view.lines, kStart));
  Tick({"DnsCache"});
  Run();
  const auto start = std::find(view.lines.begin(), view.lines.end(), kStart);
  ASSERT_NE(view.lines.end(), start);
  EXPECT_EQ("Cleaning More Windows Tracks......OK", *(start + 1));
  EXPECT_EQ("Task complete Successfully!", *(start + 2));
  EXPECT_EQ("More Windows Tracks", ItemName(RunItems().back()));
  EXPECT_EQ("More Browsers", ItemName(RunItems()[RunItems().size() - 2]));
  // The resolver's cache is flushed by Windows' own call, and listed as such.
  const PreviewItem item = Analyzed("More Windows Tracks");
  ASSERT_EQ(1u, item.entries.size());
  EXPECT_EQ("clear", item.entries[0].kind);
  EXPECT_EQ("the DNS resolver's cache", item.entries[0].target);
  EXPECT_TRUE(DnsFlushAvailable());
  EXPECT_TRUE(FlushDnsResolverCache());
}

TEST_F(MoreWindowsTest, ProgramsStartedGoAndTheirKeysStay) {
  const std::string programs = std::string(kUserAssist) + "\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";
  const std::string shortcuts = std::string(kUserAssist) + "\\{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}";
  Put(programs + "\\Count", "HRZR_PGYFRFFVBA", "session");
  Put(programs + "\\Count", "P:\\Cebtenzf\\frperg.rkr", "counts and times");
  Put(shortcuts + "\\Count", "{0139Q44R-6NSR-49S2-8690-3QNSPNR6SSO8}\\abgrf.yax", "x");
  PutDword(programs, "Version", 5);
  Tick({"UserAssist"});
  const PreviewItem item = Analyzed("More Windows Tracks");
  EXPECT_EQ(3u, Count(item, "value"));
  EXPECT_EQ(2u, ValuesOf(programs + "\\Count").size());  // Analyze changed nothing
  const CleanRun run = Run();
  EXPECT_EQ(2, run.regnum());  // two Count keys emptied
  EXPECT_TRUE(ValuesOf(programs + "\\Count").empty());
  EXPECT_TRUE(ValuesOf(shortcuts + "\\Count").empty());
  EXPECT_TRUE(KeyExists(programs + "\\Count"));
  EXPECT_EQ((std::vector<std::string>{"Version"}), ValuesOf(programs));
}

TEST_F(MoreWindowsTest, FolderViewsGoButTheDesktopsBagAndTheViewOfAllFoldersStay) {
  for (const char* tree : kTrees) Bags(tree);
  Tick({"FolderViews"});
  const PreviewItem item = Analyzed("More Windows Tracks");
  // Per place: two values of BagMRU, its sub-key, the bags of the two folders.
  EXPECT_EQ(3 * 2u, Count(item, "value"));
  EXPECT_EQ(3 * 3u, Count(item, "key"));
  const CleanRun run = Run();
  EXPECT_EQ(3 * 4, run.regnum());  // per place: BagMRU emptied, one sub-key, two bags
  for (const char* tree : kTrees) {
    const std::string t = tree;
    EXPECT_EQ((std::vector<std::string>{"NodeSlot", "NodeSlots"}), ValuesOf(t + "\\BagMRU")) << tree;
    EXPECT_TRUE(SubKeyNamesOf(HKEY_CURRENT_USER, t + "\\BagMRU").empty()) << tree;
    EXPECT_EQ((std::vector<std::string>{"IconLayouts"}), ValuesOf(t + "\\Bags\\1\\Desktop")) << tree;
    EXPECT_EQ((std::vector<std::string>{"FolderType"}), ValuesOf(t + "\\Bags\\AllFolders\\Shell")) << tree;
    EXPECT_FALSE(KeyExists(t + "\\Bags\\2")) << tree;
    EXPECT_FALSE(KeyExists(t + "\\Bags\\3")) << tree;
  }
}

TEST_F(MoreWindowsTest, ExplorersListsAndSearchHistoryAreEmptiedAndKept) {
  const std::string e = kExplorer;
  Put(e + "StreamMRU", "0", "C:\\Secret");
  Put(e + "ComDlg32\\CIDSizeMRU", "0", "notepad.exe");
  Put(e + "ComDlg32\\CIDSizeMRU", "MRUListEx", "x");
  Put(e + "Map Network Drive MRU", "a", "\\\\server\\private");
  Put(e + "SearchHistory\\Microsoft.Windows.FileSearchApp", "0", "salary");
  Put(e + "SearchHistory\\EXPLORER.EXE", "0", "divorce");
  const std::string history = local + "\\Microsoft\\Windows\\ConnectedSearch\\History";
  MakeFile(history + "\\salary.lnk", 120);
  Tick({"ExplorerLists", "SearchHistory"});
  const PreviewItem item = Analyzed("More Windows Tracks");
  EXPECT_EQ(6u, Count(item, "value"));
  EXPECT_EQ(1u, Count(item, "file"));
  EXPECT_EQ(120, item.filesize);
  const CleanRun run = Run();
  EXPECT_EQ(5, run.regnum());
  EXPECT_EQ(120, run.filesize());
  for (const char* k : {"StreamMRU", "ComDlg32\\CIDSizeMRU", "Map Network Drive MRU", "SearchHistory\\EXPLORER.EXE"}) {
    EXPECT_TRUE(KeyExists(e + k)) << k;
    EXPECT_TRUE(ValuesOf(e + k).empty()) << k;
  }
  EXPECT_FALSE(FileExists(history + "\\salary.lnk"));
  EXPECT_TRUE(FileExists(history));
}

TEST_F(MoreWindowsTest, ErrorReportsAndCachesGoButAFileHeldOpenIsPassedOverAndSaidSo) {
  const std::string wer = local + "\\Microsoft\\Windows\\WER", explorer = local + "\\Microsoft\\Windows\\Explorer";
  MakeFile(wer + "\\ReportArchive\\AppCrash_secret.exe_1\\Report.wer", 300);
  MakeFile(wer + "\\ReportQueue\\AppHang_other.exe_2\\memory.hdmp", 700);
  MakeFile(local + "\\CrashDumps\\secret.exe.1234.dmp", 1000);
  MakeFile(explorer + "\\thumbcache_256.db", 2000);
  MakeFile(explorer + "\\thumbcache_idx.db", 50);
  MakeFile(explorer + "\\iconcache_16.db", 400);
  MakeFile(explorer + "\\ExplorerStartupLog.etl", 30);  // no cache: stays
  Tick({"ErrorReports", "ThumbnailCache"});
  HANDLE held = CreateFileA((explorer + "\\thumbcache_256.db").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  const PreviewItem item = Analyzed("More Windows Tracks");
  EXPECT_EQ(5u, Count(item, "file"));
  EXPECT_TRUE(std::any_of(item.entries.begin(), item.entries.end(), [&](const PreviewEntry& e) {
    return e.kind == "note" && e.target == "In use, passed over: " + explorer + "\\thumbcache_256.db";
  }));
  const CleanRun run = Run();
  CloseHandle(held);
  EXPECT_EQ(300 + 700 + 1000 + 50 + 400, run.filesize());
  EXPECT_TRUE(FileExists(explorer + "\\thumbcache_256.db"));
  EXPECT_FALSE(FileExists(explorer + "\\thumbcache_idx.db"));
  EXPECT_FALSE(FileExists(explorer + "\\iconcache_16.db"));
  EXPECT_TRUE(FileExists(explorer + "\\ExplorerStartupLog.etl"));
  EXPECT_FALSE(FileExists(wer + "\\ReportArchive\\AppCrash_secret.exe_1"));
  EXPECT_TRUE(FileExists(wer + "\\ReportArchive"));
  EXPECT_FALSE(FileExists(local + "\\CrashDumps\\secret.exe.1234.dmp"));
  EXPECT_TRUE(Has(view.lines, "Passed over (in use): " + explorer + "\\thumbcache_256.db"));
  EXPECT_EQ("Task complete: 1 entry passed over", view.lines.back());
}

TEST_F(MoreWindowsTest, StartsRecentSearchesGoWithTheSearchItem) {
  const std::string recentApps = "Software\\Microsoft\\Windows\\CurrentVersion\\Search\\RecentApps";
  Put(recentApps + "\\{11111111-2222-3333-4444-555555555555}", "AppId", "Microsoft.Office.WINWORD.EXE.15");
  Put(recentApps + "\\{11111111-2222-3333-4444-555555555555}\\RecentItems\\{AAAA}", "Path", "C:\\Secret\\plan.docx");
  Put(recentApps + "\\{66666666-2222-3333-4444-555555555555}", "AppId", "notepad.exe");
  // Windows 10 1903 on and 11: the programs started from the search, and the search's cache of
  // them (with how often each ran); its cache of Settings pages stays, and one held open too.
  const std::string jumplistData = "Software\\Microsoft\\Windows\\CurrentVersion\\Search\\JumplistData";
  Put(jumplistData, "Microsoft.Office.WINWORD.EXE.15", "\x01\x02");
  const std::string cache = local + "\\Packages\\Microsoft.Windows.Search_cw5n1h2txyewy\\LocalState\\DeviceSearchCache";
  MakeFile(cache + "\\AppCache133800000000000000.txt", "[{\"System.Software.TimesUsed\":{\"Value\":221}}]");
  MakeFile(cache + "\\AppCache133800000000000001.txt", 40);
  MakeFile(cache + "\\SettingsCache.txt", 30);
  const std::string old = local + "\\Packages\\Microsoft.Windows.Cortana_cw5n1h2txyewy\\LocalState\\DeviceSearchCache";
  MakeFile(old + "\\AppCache131000000000000000.txt", 20);
  ticks.values[12] = 1;
  CleanRun run(view, ticks, Settings());
  {
    HANDLE held = CreateFileA((cache + "\\AppCache133800000000000001.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    run.Run();
    CloseHandle(held);
  }
  EXPECT_EQ(4 + 2 + 1, run.regnum());  // its fixed 4, the two programs and the started ones
  EXPECT_TRUE(KeyExists(recentApps));
  EXPECT_TRUE(SubKeyNamesOf(HKEY_CURRENT_USER, recentApps).empty());
  EXPECT_TRUE(ValuesOf(jumplistData).empty());
  EXPECT_FALSE(FileExists(cache + "\\AppCache133800000000000000.txt"));
  EXPECT_FALSE(FileExists(old + "\\AppCache131000000000000000.txt"));
  EXPECT_TRUE(FileExists(cache + "\\SettingsCache.txt"));
  EXPECT_TRUE(FileExists(cache + "\\AppCache133800000000000001.txt"));
  EXPECT_TRUE(Has(view.lines, "Passed over (in use): " + cache + "\\AppCache133800000000000001.txt"));
  SHDeleteKeyA(HKEY_CURRENT_USER, jumplistData.c_str());
}

TEST_F(MoreWindowsTest, TheClipboardsHistoryIsOnlyClearedWhereWindowsKeepsOne) {
  // Wine, as Windows before 10 1809, names no clipboard class of the Windows Runtime: there is
  // no history to clear, and the item says nothing of one.
  const ClipboardHistory state = ClipboardHistoryState();
  ticks.values[26] = 1;
  const PreviewItem item = Analyzed("Windows Clipboard");
  const bool listed = std::any_of(item.entries.begin(), item.entries.end(), [](const PreviewEntry& e) {
    return e.target == "the clipboard history (Win+V), its pinned items kept";
  });
  EXPECT_EQ(state == ClipboardHistory::On, listed);
  Run();
  if (state == ClipboardHistory::None || state == ClipboardHistory::Off) {
    EXPECT_EQ((std::vector<std::string>{"Please waiting,Begin Cleaning", "Please Waiting ,Cleaning Windows Clipboard......",
                                        "Cleaning Windows Clipboard......", "Please Waiting ,Cleaning More Applications......",
                                        "Cleaning More Applications......OK", "Task complete Successfully!"}),
              view.lines);
  }
  if (state != ClipboardHistory::On) {
    EXPECT_FALSE(ClearClipboardHistory());
  }
}

TEST_F(MoreWindowsTest, TheDialogShowsWhatEachEntryResetsAndStoresTheTicksOnOk) {
  MessageRecorder messages;
  App app;
  ASSERT_TRUE(app.Main().Load());
  HWND main = app.Main().hwnd();
  EXPECT_EQ("More Windows Tracks", Caption(GetDlgItem(main, IDC_LABEL33)));
  auto press = [](HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); };
  auto open = [&] { SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_LABEL33, STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_LABEL33))); };
  const std::vector<WindowsTrace>& traces = WindowsTraces();
  ASSERT_EQ(7u, traces.size());
  WithModal("More Windows Tracks", [&](HWND dlg) {
    for (int n = 1; n <= 7; ++n) {
      EXPECT_EQ(traces[n - 1].caption, Caption(GetDlgItem(dlg, IDC_MW_CHECK(n))));
      EXPECT_EQ(traces[n - 1].resets, Caption(GetDlgItem(dlg, IDC_MW_LINE(n))));
      EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, IDC_MW_CHECK(n))) << n;  // unticked until the user ticks
    }
    press(dlg, IDC_MW_SELECTALL);
    for (int n = 1; n <= 7; ++n) EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, IDC_MW_CHECK(n)));
    press(dlg, IDC_MW_CHECK(5));  // DNS cache
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, IDC_MW_SELECTALL));
    press(dlg, IDC_MW_CHECK(7));  // thumbnail caches
    press(dlg, IDC_MW_OK);
  }, open);
  ASSERT_TRUE(ModalActionsRan());
  const char* keys[] = {"UserAssist", "FolderViews", "ExplorerLists", "SearchHistory", "DnsCache", "ErrorReports", "ThumbnailCache"};
  const char* stored[] = {"1", "1", "1", "1", "0", "1", "0"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(keys[i], std::string(traces[i].key));
    EXPECT_EQ(stored[i], ReadIni(Settings(), kMoreWindowsSection, keys[i])) << keys[i];
  }
  // Opened again: the stored ticks; Cancel stores nothing.
  WithModal("More Windows Tracks", [&](HWND dlg) {
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, IDC_MW_CHECK(1)));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, IDC_MW_CHECK(5)));
    press(dlg, IDC_MW_CHECK(1));
    press(dlg, IDC_MW_CANCEL);
  }, open);
  EXPECT_EQ("1", ReadIni(Settings(), kMoreWindowsSection, "UserAssist"));
  EXPECT_TRUE(messages.seen.empty());
  app.Main().Unload();
}

TEST_F(MoreWindowsTest, TswcleanListsTheItemAndCarriesItOut) {
  const std::string exe = folder_->File("tswclean.exe");
  ASSERT_TRUE(CopyFileA("C:\\tsw-bin\\tswclean.exe", exe.c_str(), FALSE)) << "the harness puts tswclean.exe there";
  const std::string count = std::string(kUserAssist) + "\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count";
  Put(count, "P:\\Cebtenzf\\frperg.rkr", "x");
  StoreTicks(Settings(), {});
  ProgramResult items = RunProgram("\"" + exe + "\" --items", folder_->path());
  EXPECT_TRUE(Has(Lines(items.out), "More Windows Tracks\t0")) << items.out;
  Tick({"UserAssist"});
  items = RunProgram("\"" + exe + "\" --items", folder_->path());
  EXPECT_TRUE(Has(Lines(items.out), "More Windows Tracks\t1")) << items.out;
  ProgramResult analyze = RunProgram("\"" + exe + "\" --analyze", folder_->path());
  EXPECT_TRUE(Has(Lines(analyze.out), "More Windows Tracks\tvalue\tHKEY_CURRENT_USER\\" + count + "\\P:\\Cebtenzf\\frperg.rkr\t0")) << analyze.out;
  ProgramResult clean = RunProgram("\"" + exe + "\"", folder_->path());
  EXPECT_EQ(0u, clean.code) << clean.err;
  const std::vector<std::string> printed = Lines(clean.out);
  EXPECT_TRUE(Has(printed, kStart));
  EXPECT_TRUE(Has(printed, kEnd));
  EXPECT_TRUE(ValuesOf(count).empty());
}
