// Search & Erase: the walk and its matching headless, the file-type list and its dialog, and
// the window driven as a user would.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

#include "access/RegKey.h"
#include "search/ExtentionHandller.h"
#include "search/FileHunt.h"
#include "search/FileHuntPrefs.h"
#include "settings/AppFolder.h"
#include "access/WidePath.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/frmLocate.h"
#include "ui/frmLocateRes.h"
#include "ui/frmMainCode.h"
#include "ui/frmMainCodeRes.h"

namespace {

class RecordingHunt : public HuntView {
 public:
  std::vector<std::string> lines, paths, folders;
  std::string summary;
  bool searching = false, stopAfterFirstFolder = false;
  void SetSearching(bool s) override { searching = s; }
  void ShowFolder(const std::string& f) override { folders.push_back(f); }
  void HandleMessages() override {}
  bool StopRequested() const override { return stopAfterFirstFolder && !folders.empty(); }
  void AddLine(const std::string& l, const std::string& p) override {
    lines.push_back(l);
    paths.push_back(p);
  }
  int TextWidth(const std::string& t) override { return static_cast<int>(t.size()); }
  void Finish(const std::string& s, int) override { summary = s; }
};

std::string Separator() {
  char s[8] = ".";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, s, sizeof s);
  return s;
}

}  // namespace

class HuntTest : public ProgramFolderTest {
 protected:
  TempFolder work{"tswhunt"};
  std::string W(const std::string& rel) const { return work.File(rel); }
};

TEST_F(HuntTest, PatternsMatchByCoreAndPositionInUpperCase) {
  for (const char* f : {"a.tmp", "B.TMP", "a.tmpx", ".tmp", "sub\\c.tmp", "sub\\thumbs.db", "sub\\deep\\THUMBS.DB",
                        "Recycled\\r.tmp", "notrecycled\\kept.tmp", "sub\\Win386.swp", "bak_notes.txt", "xtmpx.dat"})
    MakeFile(W(f), 500);
  RecordingHunt view;
  HuntResult r = FindFiles(work.path(), "*.tmp;;thumbs.db;*TMP*;bak*;*.swp;", true, view);
  ASSERT_TRUE(r.completed);
  // ".tmp" is no longer than the core of "*.tmp", but "*TMP*" still takes it.
  std::vector<std::string> expected = {W("a.tmp"), W("B.TMP"), W("a.tmpx"), W(".tmp"), W("bak_notes.txt"),
                                       W("xtmpx.dat"), W("notrecycled\\kept.tmp"), W("sub\\thumbs.db"), W("sub\\c.tmp")};
  std::vector<std::string> found = view.paths;
  std::sort(found.begin(), found.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, found);
  // The exact name is listed once, as the folder and the pattern, and counts one.
  EXPECT_NE(view.lines.end(), std::find(view.lines.begin(), view.lines.end(), W("sub\\") + "thumbs.db"));
  ASSERT_EQ(5u, r.patterns.size());
  EXPECT_EQ(4u, r.patterns[0].count);  // a.tmp, B.TMP, c.tmp, kept.tmp
  EXPECT_EQ(1u, r.patterns[1].count);
  EXPECT_EQ(3u, r.patterns[2].count);  // a.tmpx, xtmpx.dat, .tmp
  EXPECT_EQ(0u, r.patterns[4].count);  // win386.swp is never listed
  const size_t aTmp = std::find(view.paths.begin(), view.paths.end(), W("a.tmp")) - view.paths.begin();
  EXPECT_EQ(0u, view.lines.at(aTmp).find(W("a.tmp") + "   Size:500   LastModyfied:"));
  EXPECT_EQ("9  Files Found      .tmp - 4    thumbs.db - 1    TMP - 3    bak - 1    .swp - 0\r\nTotal size: 4kb",
            view.summary);
  EXPECT_EQ(4000u, r.totalBytes);

  RecordingHunt shallow;
  FindFiles(work.path() + "\\", "*.tmp", false, shallow);
  EXPECT_EQ(2u, shallow.paths.size());
  EXPECT_EQ(std::vector<std::string>{work.path() + "\\"}, shallow.folders);
}

TEST_F(HuntTest, ALongCoreFailsOnlyItsOwnPatternAndNoStringFindsNothing) {
  MakeFile(W("a.tmp"), 10);
  RecordingHunt view;
  FindFiles(work.path(), "*.averyveryverylongextension;*.tmp", true, view);
  EXPECT_EQ(std::vector<std::string>{W("a.tmp")}, view.paths);
  RecordingHunt none;
  HuntResult r = FindFiles(work.path(), "", true, none);
  EXPECT_FALSE(r.completed);
  EXPECT_TRUE(none.searching);  // the caller resets the button
  EXPECT_TRUE(none.folders.empty());
}

TEST_F(HuntTest, AStopEndsTheWalkWithoutSummary) {
  MakeFile(W("one\\a.tmp"));
  MakeFile(W("two\\b.tmp"));
  RecordingHunt view;
  view.stopAfterFirstFolder = true;
  EXPECT_FALSE(FindFiles(work.path(), "*.tmp", true, view).completed);
  EXPECT_EQ(1u, view.folders.size());
  EXPECT_EQ("", view.summary);
}

TEST_F(HuntTest, TotalsGoPastFourGigabytes) {
  // A sparse file: three gigabytes that take no room on the disk.
  HANDLE h = CreateFileA(W("big.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  LARGE_INTEGER end;
  end.QuadPart = 3000000000LL;
  SetFilePointerEx(h, end, nullptr, FILE_BEGIN);
  SetEndOfFile(h);
  CloseHandle(h);
  MakeFile(W("small.tmp"), 1500);
  RecordingHunt view;
  HuntResult r = FindFiles(work.path(), "*.tmp", false, view);
  EXPECT_EQ(3000001500ULL, r.totalBytes);
  EXPECT_NE(std::string::npos, view.summary.find("Total size: 3000001" + Separator() + "5kb"));
  const size_t big = std::find(view.paths.begin(), view.paths.end(), W("big.tmp")) - view.paths.begin();
  EXPECT_NE(std::string::npos, view.lines.at(big).find("   Size:3000000000   "));
}

TEST(HuntText, KilobytesNeedNoGroupingAndGoPastFourGigabytes) {
  EXPECT_EQ("1" + Separator() + "5", KilobytesText(1500));
  EXPECT_EQ("0", KilobytesText(0));
  EXPECT_EQ("0" + Separator() + "999", KilobytesText(999));
  EXPECT_EQ("5000000" + Separator() + "001", KilobytesText(5000000001ULL));
}

TEST_F(HuntTest, TheTypeListKeepsRemarksAndIsReplacedWhole) {
  EXPECT_EQ("*.tmp;*.gid;*.swp;*.chk", GetSearchString());  // a missing list gets the defaults
  EXPECT_EQ("*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n", ReadFileText(ExtFile()));
  for (const char* bad : {"", "*.", "tmp", ".tmp", "**.x"}) EXPECT_FALSE(IsValidType(bad)) << bad;
  EXPECT_TRUE(IsValidType("*.x"));
  WriteFileText(ExtFile(), "remark\r\n*.log\r\n\r\n*.bak\r\n*.log\r\n");
  WriteFileText(ExtFile() + ".new", "*.stale\r\n");  // left by an interruption
  ASSERT_TRUE(RemoveType("*.log"));
  EXPECT_EQ("remark\r\n\r\n*.bak\r\n", ReadFileText(ExtFile()));
  EXPECT_FALSE(FileExists(ExtFile() + ".new"));
  EXPECT_EQ("*.bak", GetSearchString());
  WriteFileText(ExtFile(), "remark only\r\n");
  EXPECT_EQ("", GetSearchString());
}

TEST_F(HuntTest, RecycleFileMovesOneFileToTheBin) {
  SHEmptyRecycleBinA(nullptr, "", SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
  MakeFile(W("binned.tmp"), 700);
  MakeFile(W("binned.tmpx"), 10);
  RecycleFile(W("binned.tmp"));
  EXPECT_FALSE(FileExists(W("binned.tmp")));
  EXPECT_TRUE(FileExists(W("binned.tmpx")));
  SHQUERYRBINFO bin = {sizeof bin, 0, 0};
  ASSERT_EQ(S_OK, SHQueryRecycleBinA("", &bin));
  EXPECT_EQ(1, bin.i64NumItems);
  EXPECT_EQ(700, bin.i64Size);
  SHEmptyRecycleBinA(nullptr, "", SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

TEST_F(HuntTest, TheTypeListKeepsLinesAsStoredAndNeverGluesTwoTypes) {
  WriteFileText(ExtFile(), "*.a  \r\n*.log\r\n*.b");  // the last line has no end
  ASSERT_TRUE(AppendType("*.c"));
  EXPECT_EQ("*.a  \r\n*.log\r\n*.b\r\n*.c\r\n", ReadFileText(ExtFile()));
  ASSERT_TRUE(RemoveType("*.log"));
  EXPECT_EQ("*.a  \r\n*.b\r\n*.c\r\n", ReadFileText(ExtFile()));
  ASSERT_TRUE(RemoveType("*.a"));  // the list shows it without its blanks
  EXPECT_EQ("*.b\r\n*.c\r\n", ReadFileText(ExtFile()));
  // A list that cannot be replaced stays as it was, with nothing left beside it.
  HANDLE held = CreateFileA(ExtFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_FALSE(RemoveType("*.b"));
  CloseHandle(held);
  EXPECT_FALSE(FileExists(ExtFile() + ".new"));
  EXPECT_EQ("*.b\r\n*.c\r\n", ReadFileText(ExtFile()));
}

TEST_F(HuntTest, ASearchStringOfSeparatorsOnlyEndsLikeAnEmptyWalk) {
  MakeFile(W("a.tmp"));
  RecordingHunt view;
  HuntResult r = FindFiles(work.path(), ";", true, view);
  EXPECT_TRUE(r.completed);
  EXPECT_TRUE(view.lines.empty());
  EXPECT_EQ("0  Files Found  \r\nTotal size: 0kb", view.summary);
}

TEST_F(HuntTest, DeletionNeverPassesAWildcardOnAndPassesOverWhatIsGone) {
  MakeFile(W("a1b.tmp"));
  MakeFile(W("twice.tmp"));
  const HuntDeletion d = DeleteFoundFiles({W("a?b.tmp"), W("twice.tmp"), W("twice.tmp"), W("gone.tmp"), W("*.tmp")}, false);
  EXPECT_TRUE(FileExists(W("a1b.tmp")));
  EXPECT_FALSE(FileExists(W("twice.tmp")));
  EXPECT_EQ(1u, d.deleted);
  EXPECT_EQ(2u, d.unsafeNames);
  EXPECT_EQ("2 file(s) not deleted: their names hold characters that cannot be passed on safely.", DeletionNote(d));
}

class SearchWindowTest : public HuntTest {
 protected:
  App app;
  MessageRecorder messages{IDYES};
  void SetUp() override {
    HuntTest::SetUp();
    ASSERT_TRUE(app.Main().Load());
  }
  void TearDown() override {
    app.Main().Unload();
    SHDeleteKeyA(HKEY_CURRENT_USER, kFileHuntPrefsKey);
    HuntTest::TearDown();
  }
  // Opens Search & Erase, runs actions on it, and closes it.
  void InWindow(std::function<void(frmLocate&, HWND)> act) {
    frmLocate locate(app);
    WithModal("Search & Erase", [&](HWND dlg) { act(locate, dlg); }, [&] { locate.ShowModal(app.Main().hwnd()); });
    ASSERT_TRUE(ModalActionsRan());
  }
  static void Press(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
};

TEST_F(SearchWindowTest, TheMainWindowOpensItAndItsMenusAreThere) {
  HWND main = app.Main().hwnd();
  std::vector<std::string> menus;
  WithModal("Search & Erase", [&](HWND dlg) {
    HMENU bar = GetMenu(dlg);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
      char text[64] = {0};
      GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      menus.push_back(text);
    }
    char item[64] = {0};
    GetMenuStringA(bar, IDM_LO_RESETALL, item, sizeof item, MF_BYCOMMAND);
    menus.push_back(item);
  }, [&] { SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_IMAGE(4), STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_IMAGE(4)))); });
  EXPECT_TRUE(ModalActionsRan());
  EXPECT_EQ((std::vector<std::string>{"&File", "&Options", "&Help", "&Reset All"}), menus);
}

TEST_F(SearchWindowTest, OpensWithItsDefaultsAndListsEveryFindSelected) {
  MakeFile(W("a.tmp"), 1000);
  MakeFile(W("sub\\b.chk"), 500);
  MakeFile(W("c.txt"));
  InWindow([&](frmLocate& w, HWND dlg) {
    EXPECT_EQ("Find Files", Caption(GetDlgItem(dlg, IDC_LO_ACTION0)));
    EXPECT_EQ("Exit", Caption(GetDlgItem(dlg, IDC_LO_ACTION1)));
    EXPECT_EQ("*.tmp;*.gid;*.swp;*.chk", Caption(GetDlgItem(dlg, IDC_LO_TEXT1)));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, IDC_LO_CHECK1));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, IDC_LO_DELTYPE));
    EXPECT_EQ("Include Sub Directories", Caption(GetDlgItem(dlg, IDC_LO_CHECK1)));
    EXPECT_EQ(ProgramFolder() + "\\", GetSetting("StartUp", "AppPath", ""));
    w.ChangeFolder(work.path());
    HWND list = GetDlgItem(dlg, IDC_LO_LIST1);
    EXPECT_EQ(2, SendMessageA(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(2, SendMessageA(list, LB_GETSELCOUNT, 0, 0));
    EXPECT_EQ("2  Files Found      .tmp - 1    .gid - 0    .swp - 0    .chk - 1\r\nTotal size: 1" + Separator() + "5kb",
              Caption(GetDlgItem(dlg, IDC_LO_STATUS)));
    EXPECT_EQ(work.path() + "\\", GetSetting("StartUp", "AppPath", ""));
  });
}

TEST_F(SearchWindowTest, DeleteTakesTheSelectedPathsAndSearchesTheFolderAloneAgain) {
  MakeFile(W("My  Files\\a.tmp"));
  MakeFile(W("My"));  // what the text before two blanks would name
  MakeFile(W("b.tmp"));
  MakeFile(W("sub\\c.tmp"));
  InWindow([&](frmLocate& w, HWND dlg) {
    w.ChangeFolder(work.path());
    HWND list = GetDlgItem(dlg, IDC_LO_LIST1);
    ASSERT_EQ(3, SendMessageA(list, LB_GETCOUNT, 0, 0));
    Press(dlg, IDC_LO_UNSELECTALL);
    Press(dlg, IDC_LO_DELETE);  // nothing selected: nothing goes
    EXPECT_TRUE(FileExists(W("b.tmp")));
    ASSERT_EQ(1u, messages.seen.size());
    EXPECT_EQ("Note", messages.seen[0].title);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, IDC_LO_CHECK1));
    EXPECT_EQ(1, SendMessageA(list, LB_GETCOUNT, 0, 0));  // the folder alone now

    Press(dlg, IDC_LO_CHECK1);
    w.FindPressed();
    const std::vector<std::string> paths = w.LinePaths();
    const auto at = std::find(paths.begin(), paths.end(), W("My  Files\\a.tmp")) - paths.begin();
    Press(dlg, IDC_LO_UNSELECTALL);
    SendMessageA(list, LB_SETSEL, TRUE, at);
    Press(dlg, IDC_LO_DELTYPE);  // permanently
    Press(dlg, IDC_LO_DELETE);
    EXPECT_EQ(1u, messages.seen.size());  // answered Yes once: not asked again
    EXPECT_EQ("0", GetSetting("StartUp", "Recycele", ""));
  });
  EXPECT_FALSE(FileExists(W("My  Files\\a.tmp")));
  EXPECT_TRUE(FileExists(W("My")));
  EXPECT_TRUE(FileExists(W("b.tmp")));
  EXPECT_TRUE(FileExists(W("sub\\c.tmp")));
  EXPECT_EQ("0", GetSetting("General", "Prompt", ""));
}

TEST_F(SearchWindowTest, AFileThatCannotBeDeletedIsNamedWithTheReason) {
  MakeFile(W("held.tmp"));
  MakeFile(W("free.tmp"));
  // Another program has it open and lets nobody delete it.
  HANDLE held = CreateFileA(W("held.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  std::string status;
  InWindow([&](frmLocate& w, HWND dlg) {
    w.ChangeFolder(work.path());
    ASSERT_EQ(2, SendMessageA(GetDlgItem(dlg, IDC_LO_LIST1), LB_GETSELCOUNT, 0, 0));
    Press(dlg, IDC_LO_DELTYPE);  // permanently
    Press(dlg, IDC_LO_DELETE);
    status = Caption(GetDlgItem(dlg, IDC_LO_STATUS));
  });
  CloseHandle(held);
  EXPECT_FALSE(FileExists(W("free.tmp")));
  EXPECT_TRUE(FileExists(W("held.tmp")));
  EXPECT_NE(std::string::npos, status.find("\r\n1 file(s) could not be deleted: " + W("held.tmp") + " (in use).")) << status;
}

TEST_F(HuntTest, TheDeletionNoteNamesTheFirstFewRefusedFilesAndCountsTheRest) {
  HuntDeletion d;
  for (const char* name : {"a", "b", "c", "d", "e"}) d.failed.push_back({std::string("C:\\t\\") + name, "access denied"});
  d.notTakenByBin = 1;
  EXPECT_EQ("1 file(s) not deleted: the Recycle Bin cannot take them. 5 file(s) could not be deleted: "
            "C:\\t\\a (access denied), C:\\t\\b (access denied), C:\\t\\c (access denied) and 2 more.",
            DeletionNote(d));
}

// "．．＼victim.tmp" is listed by the ANSI calls as "..\victim.tmp", a file outside the folder.
TEST_F(SearchWindowTest, ALookAlikeNameIsShownAndDeletedAsItselfAndNothingElse) {
  MakeFile(W("victim.tmp"), "beside the folder searched");
  MakeFile(W("in\\plain.txt"));
  const std::wstring name = L"\xFF0E\xFF0E\xFF3C" L"victim.tmp";
  const std::wstring path = WidePath(W("in")) + L"\\" + name;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  CloseHandle(h);
  std::wstring shown;
  InWindow([&](frmLocate& w, HWND dlg) {
    w.ChangeFolder(W("in"));
    HWND list = GetDlgItem(dlg, IDC_LO_LIST1);
    ASSERT_EQ(1, SendMessageA(list, LB_GETCOUNT, 0, 0));
    wchar_t text[1024] = {0};
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    shown = text;
    Press(dlg, IDC_LO_DELTYPE);  // permanently
    Press(dlg, IDC_LO_DELETE);
  });
  EXPECT_EQ(0u, shown.find(path + L"   Size:0")) << NarrowName(shown);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
  EXPECT_EQ("beside the folder searched", ReadFileText(W("victim.tmp")));
  EXPECT_TRUE(FileExists(W("in\\plain.txt")));
}

TEST_F(SearchWindowTest, AFindDuringASearchStopsItFirstAndRunsAlone) {
  for (const char* f : {"one\\a.tmp", "two\\b.tmp", "three\\c.tmp"}) MakeFile(W(f));
  InWindow([&](frmLocate& w, HWND dlg) {
    // Handled while the folder's own search lets the window work.
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_LO_ACTION0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDC_LO_ACTION0)));
    w.ChangeFolder(work.path());
    HWND list = GetDlgItem(dlg, IDC_LO_LIST1);
    EXPECT_EQ(3, SendMessageA(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(3u, w.LinePaths().size());
    EXPECT_EQ(3, SendMessageA(list, LB_GETSELCOUNT, 0, 0));
    EXPECT_EQ(0u, Caption(GetDlgItem(dlg, IDC_LO_STATUS)).find("3  Files Found"));
  });
}

TEST_F(SearchWindowTest, ResetAllAsksOnlyAfterTwoUsesAndRestoresEveryValue) {
  SaveSetting("General", "Uses", "3");
  WriteFileText(ExtFile(), "*.mine\r\n");
  messages.seen.clear();
  InWindow([&](frmLocate& w, HWND dlg) {
    SendMessageA(dlg, WM_COMMAND, IDM_LO_RESETALL, 0);  // answered Yes
    SaveSetting("General", "Uses", "2");
    SendMessageA(dlg, WM_COMMAND, IDC_LO_CHECK1, 0);
    SendMessageA(dlg, WM_COMMAND, IDM_LO_RESETALL, 0);  // not asked
  });
  ASSERT_EQ(1u, messages.seen.size());
  EXPECT_EQ("Are you sure?", messages.seen[0].title);
  EXPECT_EQ("*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n", ReadFileText(ExtFile()));
  for (const char* key : {"Recycele", "SubFolders", "Log"}) EXPECT_EQ("1", GetSetting("StartUp", key, "")) << key;
  for (const char* key : {"Tips", "TipNumber", "Prompt"}) EXPECT_EQ("1", GetSetting("General", key, "")) << key;
  EXPECT_EQ("c:\\windows\\temp\\;C:\\WINDOWS\\Temporary Internet Files\\;", GetSetting("General", "DeleteDirs", ""));
  EXPECT_EQ("80", GetSetting("General", "MaxLogSize", ""));
}

TEST_F(SearchWindowTest, TheTypeDialogEditsTheListAndTheSearchString) {
  InWindow([&](frmLocate&, HWND locate) {
    WithModal("Options", [&](HWND dlg) {
      EXPECT_EQ("Extention List:", Caption(GetDlgItem(dlg, IDC_EX_FRAME1)));
      EXPECT_EQ("*.", Caption(GetDlgItem(dlg, IDC_EX_TXTADD)));
      SetDlgItemTextA(dlg, IDC_EX_TXTADD, "  *.log  ");
      Press(dlg, IDC_EX_ADD);
      SetDlgItemTextA(dlg, IDC_EX_TXTADD, "*.log");
      Press(dlg, IDC_EX_ADD);
      EXPECT_EQ("*.tmp;*.gid;*.swp;*.chk;*.log;*.log", Caption(GetDlgItem(locate, IDC_LO_TEXT1)));
      SetDlgItemTextA(dlg, IDC_EX_TXTADD, "log");
      Press(dlg, IDC_EX_ADD);
      SendMessageA(GetDlgItem(dlg, IDC_EX_LIST), LB_SETCURSEL, 4, 0);
      Press(dlg, IDC_EX_REMOVE);
      EXPECT_EQ("*.tmp;*.gid;*.swp;*.chk", Caption(GetDlgItem(locate, IDC_LO_TEXT1)));
      Press(dlg, IDC_EX_DEFAULT);
    }, [&] { Press(locate, IDC_LO_OPTION); });
  });
  ASSERT_EQ(2u, messages.seen.size());
  EXPECT_EQ("Error", messages.seen[0].title);
  EXPECT_EQ("Please fill a legal extention name and try again!", messages.seen[0].text);
  EXPECT_EQ("Warnning:", messages.seen[1].title);
  EXPECT_EQ("*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n", ReadFileText(ExtFile()));
  EXPECT_EQ("80", GetSetting("General", "MaxLogSize", ""));
}

namespace {
void EmptyBin() { SHEmptyRecycleBinA(nullptr, "", SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND); }
long long ItemsInBin() {
  SHQUERYRBINFO bin = {sizeof bin, 0, 0};
  SHQueryRecycleBinA("", &bin);
  return bin.i64NumItems;
}
// The per-volume Recycle Bin settings of drive C:, as Windows Vista and later keep them.
std::string BinKeyOfC() {
  char volume[MAX_PATH] = {0};
  GetVolumeNameForVolumeMountPointA("C:\\", volume, sizeof volume);
  const std::string v = volume;
  const size_t open = v.find('{'), close = v.find('}');
  if (open == std::string::npos || close == std::string::npos) return "";
  return "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\" + v.substr(open, close - open + 1);
}
}  // namespace

TEST_F(SearchWindowTest, ToTheBinGoesExactlyTheListedFileAndNothingTheBinWouldNotKeep) {
  EmptyBin();
  // "a<CJK>b.tmp" is listed as "a?b.tmp": sent on as such, the shell would take a1b.tmp too.
  MakeUnspellableFile(work.path());
  MakeFile(W("a1b.tmp"));
  InWindow([&](frmLocate& w, HWND dlg) {
    w.ChangeFolder(work.path());
    HWND list = GetDlgItem(dlg, IDC_LO_LIST1);
    ASSERT_EQ(2, SendMessageA(list, LB_GETCOUNT, 0, 0));
    Press(dlg, IDC_LO_UNSELECTALL);
    for (LRESULT i = 0; i < 2; ++i)
      if (ListBoxLine(list, i).find("a?b.tmp") != std::string::npos) SendMessageA(list, LB_SETSEL, TRUE, i);
    ASSERT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, IDC_LO_DELTYPE));
    Press(dlg, IDC_LO_DELETE);
    EXPECT_EQ(1, SendMessageA(list, LB_GETCOUNT, 0, 0));
  });
  EXPECT_TRUE(FileExists(W("a1b.tmp")));
  EXPECT_EQ(1, ItemsInBin());
  EmptyBin();

  // A bin too small for the file: it stays where it is, and the status says why.
  const std::string binKey = BinKeyOfC();
  ASSERT_FALSE(binKey.empty());
  RegKey created;
  ASSERT_EQ(ERROR_SUCCESS, created.Create(HKEY_CURRENT_USER, binKey));
  DWORD zero = 0;
  RegSetValueExA(created.get(), "MaxCapacity", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
  std::string status;
  InWindow([&](frmLocate& w, HWND dlg) {
    w.ChangeFolder(work.path());
    Press(dlg, IDC_LO_DELETE);
    status = Caption(GetDlgItem(dlg, IDC_LO_STATUS));
  });
  created.Close();
  SHDeleteKeyA(HKEY_CURRENT_USER, binKey.c_str());
  EXPECT_TRUE(FileExists(W("a1b.tmp")));
  EXPECT_EQ(0, ItemsInBin());
  EXPECT_NE(std::string::npos, status.find("1 file(s) not deleted: the Recycle Bin cannot take them.")) << status;
}

TEST_F(SearchWindowTest, SeparatorsOnlyGiveTheEmptySummaryAndExit) {
  MakeFile(W("a.tmp"));
  InWindow([&](frmLocate& w, HWND dlg) {
    w.ChangeFolder(work.path());
    SetDlgItemTextA(dlg, IDC_LO_TEXT1, ";");
    w.FindPressed();
    EXPECT_EQ("0  Files Found  \r\nTotal size: 0kb", Caption(GetDlgItem(dlg, IDC_LO_STATUS)));
    EXPECT_EQ("Exit", Caption(GetDlgItem(dlg, IDC_LO_ACTION1)));
  });
}
