// The windows under Wine's null display: main window, progress dialog, splash, about box.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>

#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/Frmsplash.h"
#include "ui/frmMainCode.h"
#include "ui/frmMainCodeRes.h"
#include "ui/frmabout.h"
#include "ui/frmaboutRes.h"
#include "access/WidePath.h"
#include "ui/frmAnalyze.h"
#include "ui/frmcleannow.h"
#include "ui/frmcleannowRes.h"

namespace {

const int kBoxes[] = {1, 2, 3, 4, 5, 6, 7, 8, 24, 27, 25, 10, 11, 12, 13, 14,
                      15, 16, 17, 26, 28, 29, 19, 20, 21, 22, 23};
struct OptionsPair {
  int check, command;
};
const OptionsPair kOptions[] = {{1, 7}, {4, 8}, {8, 3}, {24, 1}, {27, 2}, {23, 6}};

void Click(HWND dlg, int id) {
  HWND c = GetDlgItem(dlg, id);
  ASSERT_NE(nullptr, c) << id;
  char cls[32] = {0};
  GetClassNameA(c, cls, sizeof cls);
  if (lstrcmpiA(cls, "Button") == 0) SendMessageA(c, BM_CLICK, 0, 0);
  else SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(c));
}

}  // namespace

class MainWindowTest : public ProgramFolderTest {
 protected:
  IsolatedTrackFolders isolated;
  App app;
  MessageRecorder messages;
  frmMainCode& main() { return app.Main(); }
  HWND Item(int id) { return GetDlgItem(main().hwnd(), id); }
  int Box(int n) { return static_cast<int>(IsDlgButtonChecked(main().hwnd(), IDC_CHECK(n))); }
  bool Enabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
  bool Visible(int id) { return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
  void Load() { ASSERT_TRUE(main().Load()); }
  void TearDown() override {
    main().Unload();
    app.CleanNow().Unload();
    ProgramFolderTest::TearDown();
  }
};

TEST_F(MainWindowTest, NoSettingsFileTicksEverythingAndEnablesOptions) {
  Load();
  EXPECT_FALSE(IsWindowVisible(main().hwnd()));
  EXPECT_EQ("Tracksweep V3.20", Caption(main().hwnd()));
  for (int n : kBoxes) EXPECT_EQ(1, Box(n)) << "Check" << n;
  EXPECT_EQ(0, Box(9));
  EXPECT_EQ(0, Box(18));
  for (const OptionsPair& o : kOptions) EXPECT_TRUE(Enabled(IDC_COMMAND(o.command))) << o.command;
  EXPECT_EQ("", Caption(Item(IDC_LABEL(12))));
  EXPECT_EQ("Cleaned Registry Keys:  Released HD Space:MB", Caption(Item(IDC_LABEL(14))));
  EXPECT_TRUE(Visible(IDC_FRAME2));
  EXPECT_FALSE(Visible(IDC_FRAME7));
  EXPECT_FALSE(FileExists(Settings()));  // loading writes nothing
}

TEST_F(MainWindowTest, ControlsCarryTheirCaptions) {
  Load();
  struct {
    int id;
    const char* text;
  } captions[] = {
      {IDC_CHECK(7), "IE Downloaded program Files Directory"}, {IDC_CHECK(28), "Woadpad Recent Files"},
      {IDC_CHECK(17), "Windows Passwords(Only 9X/Me)"}, {IDC_CHECK(9), "Select all of the above"},
      {IDC_CHECK(18), "Select all of the above"}, {IDC_COMMAND(4), " Export"}, {IDC_COMMAND(5), "Import"},
      {IDC_COMMAND(6), "Options"}, {IDC_FRAME2, "Select the item(s) to erase"}, {IDC_FRAME4, "Browsers"},
      {IDC_FRAME5, "Windows"}, {IDC_FRAME6, "Applications"},
      {IDC_LABEL(4), "Search and  Erase"}, {IDC_LABEL(13), "EXIT"}, {IDC_LABEL(11), "Last Cleaned at:"},
      {IDC_LABEL(9), "Standard Items"}, {IDC_LABEL(7), "Help"},
      {IDC_LABEL(8), "Ensure your privacy by erasing kinds of tracks from your computer."},
  };
  for (const auto& c : captions) EXPECT_EQ(c.text, Caption(Item(c.id))) << c.id;
  EXPECT_EQ(0u, Caption(Item(IDC_LABEL(51))).find("Visit us at: "));
  // The two links lead with their names, then say what they hold.
  EXPECT_EQ("More Applications: 0 of 23 ticked", Caption(Item(IDC_LABEL31)));
  EXPECT_EQ(0u, Caption(Item(IDC_LABEL32)).find("More Browsers: "));
}

TEST_F(MainWindowTest, AllZeroUntickesEverythingAndDisablesOptions) {
  WriteFileText(Settings(),
                "[BROWSERS]\r\nlocation=0\r\nhistory=0\r\ncache=0\r\ncookies=0\r\nfavorites=0\r\n"
                "autocomplete=0\r\ndownloaded=0\r\nnetscape=0\r\nopera=0\r\nmsn=0\r\ngoogle=0\r\n"
                "[WINDOWS]\r\nrecent=0\r\nrun=0\r\nsearch=0\r\ntemp=0\r\nrecycle=0\r\nopen=0\r\n"
                "scandisk=0\r\npasswords=0\r\nclip=0\r\nwordpad=0\r\npaint=0\r\nlastclean=0\r\n"
                "regnum=0\r\nfilesize=0\r\n"
                "[APPLICATIONS]\r\nwinzip=0\r\nmedia=0\r\nrealplayer=0\r\nrealone=0\r\noffice=0\r\n");
  Load();
  for (int n : kBoxes) EXPECT_EQ(0, Box(n)) << "Check" << n;
  for (const OptionsPair& o : kOptions) EXPECT_FALSE(Enabled(IDC_COMMAND(o.command))) << o.command;
  EXPECT_EQ("", Caption(Item(IDC_LABEL(12))));
  EXPECT_EQ("", Caption(Item(IDC_LABEL(14))));
}

TEST_F(MainWindowTest, TwoIsUntickedAndSpacedOneIsTicked) {
  WriteFileText(Settings(),
                "[BROWSERS]\r\nlocation=2\r\ncookies= 1 \r\nnetscape=abc\r\nopera=-1\r\n"
                "[WINDOWS]\r\nrun=2\r\nlastclean=08/12/2026 09:30:00\r\nregnum=21\r\nfilesize=1.5\r\n"
                "[APPLICATIONS]\r\noffice=0\r\n");
  Load();
  EXPECT_EQ(0, Box(1));
  EXPECT_EQ(1, Box(4));
  EXPECT_EQ(1, Box(8));
  EXPECT_EQ(0, Box(24));
  EXPECT_EQ(0, Box(11));
  EXPECT_EQ(1, Box(12));
  EXPECT_EQ(0, Box(23));
  EXPECT_FALSE(Enabled(IDC_COMMAND(7)));
  EXPECT_TRUE(Enabled(IDC_COMMAND(8)));
  EXPECT_FALSE(Enabled(IDC_COMMAND(1)));
  EXPECT_FALSE(Enabled(IDC_COMMAND(6)));
  EXPECT_EQ("08/12/2026 09:30:00", Caption(Item(IDC_LABEL(12))));
  EXPECT_EQ("Cleaned Registry Keys: 21 Released HD Space:1.5MB", Caption(Item(IDC_LABEL(14))));
}

TEST_F(MainWindowTest, SelectAllReactsOnlyToItsOwnChanges) {
  WriteFileText(Settings(), "[BROWSERS]\r\nlocation=0\r\nhistory=0\r\nnetscape=0\r\n[WINDOWS]\r\nrun=0\r\n");
  Load();
  ASSERT_FALSE(Enabled(IDC_COMMAND(3)));
  Click(main().hwnd(), IDC_CHECK(9));
  EXPECT_EQ(1, Box(9));
  for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 24, 27, 25}) EXPECT_EQ(1, Box(n)) << n;
  EXPECT_TRUE(Enabled(IDC_COMMAND(3)));  // Netscape's Options follow the select-all tick
  EXPECT_TRUE(Enabled(IDC_COMMAND(7)));
  EXPECT_EQ(0, Box(11));                 // the Windows frame is untouched

  Click(main().hwnd(), IDC_CHECK(2));
  EXPECT_EQ(0, Box(2));
  EXPECT_EQ(1, Box(9));

  Click(main().hwnd(), IDC_CHECK(9));
  for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 24, 27, 25}) EXPECT_EQ(0, Box(n)) << n;
  EXPECT_FALSE(Enabled(IDC_COMMAND(3)));
  EXPECT_FALSE(Enabled(IDC_COMMAND(2)));
  EXPECT_EQ(1, Box(12));
  EXPECT_EQ(1, Box(23));

  Click(main().hwnd(), IDC_CHECK(18));
  Click(main().hwnd(), IDC_CHECK(18));
  for (int n : {10, 11, 12, 13, 14, 15, 16, 17, 26, 28, 29}) EXPECT_EQ(0, Box(n)) << n;
  EXPECT_EQ(1, Box(23));  // Applications have no select-all

  Click(main().hwnd(), IDC_CHECK(23));
  EXPECT_FALSE(Enabled(IDC_COMMAND(6)));
  Click(main().hwnd(), IDC_CHECK(27));
  EXPECT_TRUE(Enabled(IDC_COMMAND(2)));
}

TEST_F(MainWindowTest, CloseStoresTheTicksInOrderAndUnloads) {
  WriteFileText(Settings(), "[WINDOWS]\r\nlastclean=yesterday\r\n");
  Load();
  Click(main().hwnd(), IDC_CHECK(2));
  Click(main().hwnd(), IDC_CHECK(29));
  Click(main().hwnd(), IDC_CHECK(19));
  SendMessageA(main().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(main().IsLoaded());
  std::string expected =
      "[WINDOWS]\r\nlastclean=yesterday\r\nrecent=1\r\nrun=1\r\nsearch=1\r\ntemp=1\r\nrecycle=1\r\n"
      "open=1\r\nscandisk=1\r\npasswords=1\r\nclip=1\r\nwordpad=1\r\npaint=0\r\n"
      "[BROWSERS]\r\nlocation=1\r\nhistory=0\r\ncache=1\r\ncookies=1\r\nfavorites=1\r\nautocomplete=1\r\n"
      "downloaded=1\r\nnetscape=1\r\nopera=1\r\nmsn=1\r\ngoogle=1\r\n"
      "[APPLICATIONS]\r\nwinzip=0\r\nmedia=1\r\nrealplayer=1\r\nrealone=1\r\noffice=1\r\n";
  std::string text = ReadFileText(Settings());
  // Wine puts a blank line between sections; compare without them.
  std::string compact;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 4, "\r\n\r\n") == 0) continue;
    compact += text[i];
  }
  EXPECT_EQ(expected, compact);
}

TEST_F(MainWindowTest, ExitImageStoresTicksAndClosesTheOtherWindows) {
  Load();
  Click(main().hwnd(), IDC_IMAGE(3));
  ASSERT_TRUE(app.CleanNow().IsLoaded());
  Click(main().hwnd(), IDC_CHECK(5));
  Click(main().hwnd(), IDC_IMAGE(9));
  EXPECT_FALSE(main().IsLoaded());
  EXPECT_FALSE(app.CleanNow().IsLoaded());
  EXPECT_EQ("0", ReadIni(Settings(), "BROWSERS", "favorites"));
  EXPECT_EQ("1", ReadIni(Settings(), "APPLICATIONS", "office"));
}

TEST_F(MainWindowTest, MinimizeStoresNothingAndKeepsTheWindow) {
  Load();
  main().Show();
  SendMessageA(main().hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(main().IsLoaded());
  EXPECT_TRUE(IsIconic(main().hwnd()));
  EXPECT_FALSE(FileExists(Settings()));
}

TEST_F(MainWindowTest, NavigationSwitchesPagesAndHighlights) {
  Load();
  Click(main().hwnd(), IDC_IMAGE(2));
  EXPECT_FALSE(Visible(IDC_FRAME2));
  EXPECT_FALSE(Visible(IDC_CHECK(1)));
  EXPECT_FALSE(Visible(IDC_COMMAND(4)));
  EXPECT_TRUE(Visible(IDC_FRAME7));
  EXPECT_EQ("Custom Erase items", Caption(Item(IDC_LABEL(9))));
  EXPECT_EQ("Custom File and Folder Item Editor.", Caption(Item(IDC_LABEL(8))));
  EXPECT_TRUE(Visible(IDC_LABEL(12)));  // not part of either page
  Click(main().hwnd(), IDC_IMAGE(1));
  EXPECT_TRUE(Visible(IDC_FRAME2));
  EXPECT_TRUE(Visible(IDC_CHECK(29)));
  EXPECT_FALSE(Visible(IDC_FRAME7));
  EXPECT_EQ("Standard Items", Caption(Item(IDC_LABEL(9))));

  EXPECT_EQ(0, main().HoveredImage());
  SendMessageA(main().hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Item(IDC_IMAGE(4))), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(4, main().HoveredImage());
  SendMessageA(main().hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Item(IDC_IMAGE(9))), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(9, main().HoveredImage());
  SendMessageA(main().hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Item(IDC_PICTURE1)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(0, main().HoveredImage());
}

class ProgressDialogTest : public MainWindowTest {
 protected:
  HWND Dlg() { return app.CleanNow().hwnd(); }
  HWND DlgItem(int id) { return GetDlgItem(Dlg(), id); }
  void OpenFromMain() {
    Load();
    Click(main().hwnd(), IDC_IMAGE(3));
    ASSERT_TRUE(app.CleanNow().IsLoaded());
  }
};

TEST_F(ProgressDialogTest, OpeningStartsNothing) {
  OpenFromMain();
  EXPECT_TRUE(IsWindowVisible(Dlg()));
  EXPECT_EQ("Tracksweep", Caption(Dlg()));
  EXPECT_EQ("Clean Now", Caption(DlgItem(IDC_CN_COMMAND1)));
  EXPECT_EQ("Cancel", Caption(DlgItem(IDC_CN_COMMAND2)));
  EXPECT_EQ("Status", Caption(DlgItem(IDC_CN_FRAME1)));
  EXPECT_EQ(0u, Caption(DlgItem(IDC_CN_LABEL1)).find("Tt's highly recommended"));
  EXPECT_EQ(0, SendMessageA(DlgItem(IDC_CN_LIST1), LB_GETCOUNT, 0, 0));
  EXPECT_EQ(100, SendMessageA(DlgItem(IDC_CN_PROGRESS), PBM_GETRANGE, FALSE, 0));
  EXPECT_FALSE(FileExists(Settings()));
}

TEST_F(ProgressDialogTest, CleanNowRunsWithTheWindowsTicksAndStoresTotals) {
  WriteFileText(Settings(), "[WINDOWS]\r\nregnum=99\r\n");
  OpenFromMain();
  Click(main().hwnd(), IDC_CHECK(9));
  Click(main().hwnd(), IDC_CHECK(9));  // every browser item off
  Click(main().hwnd(), IDC_CHECK(18));
  Click(main().hwnd(), IDC_CHECK(18));  // every Windows item off
  for (int n : {19, 20, 21, 22}) Click(main().hwnd(), IDC_CHECK(n));
  ASSERT_EQ(1, Box(23));
  messages.Answer(IDYES);  // the question Clean Now asks first
  Click(Dlg(), IDC_CN_COMMAND1);

  std::vector<std::string> expected = {
      "Please waiting,Begin Cleaning", "Please Waiting ,Cleaning MS-Office Tracks......",
      "Cleaning MS-Office Tracks......OK", "Please Waiting ,Cleaning More Applications......",
      "Cleaning More Applications......OK", "Task complete Successfully!"};
  EXPECT_EQ(expected, ListLines(DlgItem(IDC_CN_LIST1)));
  EXPECT_EQ(5, SendMessageA(DlgItem(IDC_CN_LIST1), LB_GETCURSEL, 0, 0));
  EXPECT_EQ(100, SendMessageA(DlgItem(IDC_CN_PROGRESS), PBM_GETPOS, 0, 0));
  ASSERT_EQ(2u, messages.seen.size());
  // Asked once before anything went, naming how much, No the default; MS-Office's entry counts
  // six keys whatever is there.
  EXPECT_EQ("Erase 1 entry, 0 bytes, plus 6 registry keys counted?", messages.seen[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), messages.seen[0].flags);
  EXPECT_EQ("Task Complete", messages.seen[1].title);
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 6 Released HD Space:.MB", messages.seen[1].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), messages.seen[1].flags);
  EXPECT_EQ("6", ReadIni(Settings(), "WINDOWS", "regnum"));
  EXPECT_EQ(".", ReadIni(Settings(), "WINDOWS", "filesize"));
  EXPECT_NE("", ReadIni(Settings(), "WINDOWS", "lastclean"));
  EXPECT_EQ("Status", Caption(DlgItem(IDC_CN_FRAME1)));
  EXPECT_TRUE(IsWindowEnabled(DlgItem(IDC_CN_COMMAND1)));
  EXPECT_FALSE(Dialog::BusyPointer());
  // Clean Now writes nothing of the ticks themselves.
  EXPECT_EQ("", ReadIni(Settings(), "APPLICATIONS", "winzip"));
}

TEST_F(ProgressDialogTest, TheSummaryHoldsTheWholeProgramUntilItIsClosed) {
  OpenFromMain();
  main().Show();
  ASSERT_TRUE(IsWindowEnabled(main().hwnd()));
  bool mainEnabled = true, dialogAlive = false;
  SetMessageHandler([&](const MessageRequest& r) {
    if ((r.flags & MB_TYPEMASK) == MB_YESNO) return IDYES;  // the question before the run
    mainEnabled = IsWindowEnabled(main().hwnd()) != FALSE;
    dialogAlive = r.owner == Dlg() && app.CleanNow().IsLoaded();
    return IDOK;
  });
  Click(Dlg(), IDC_CN_COMMAND1);
  SetMessageHandler(nullptr);
  EXPECT_TRUE(dialogAlive);
  EXPECT_FALSE(mainEnabled);  // no EXIT behind the message
  EXPECT_TRUE(IsWindowEnabled(main().hwnd()));
  EXPECT_TRUE(IsWindowEnabled(Dlg()));
}

TEST_F(ProgressDialogTest, AnalyzeShowsWhatWouldGoAndErasesNothing) {
  const std::string temp = isolated.root().File("Temp") + "\\analyzed.tmp";
  MakeFile(temp, 1234);
  OpenFromMain();
  std::string total, copied;
  int rows = 0;
  WithModal("Analyze", [&](HWND dlg) {
    rows = static_cast<int>(SendMessageA(GetDlgItem(dlg, IDC_AN_LIST), LVM_GETITEMCOUNT, 0, 0));
    total = Caption(GetDlgItem(dlg, IDC_AN_TOTAL));
    SendMessageA(GetDlgItem(dlg, IDC_AN_COPY), BM_CLICK, 0, 0);
    if (OpenClipboard(nullptr)) {
      HANDLE data = GetClipboardData(CF_TEXT);
      if (data) copied = static_cast<const char*>(GlobalLock(data));
      if (data) GlobalUnlock(data);
      CloseClipboard();
    }
  }, [&] { Click(Dlg(), IDC_CN_ANALYZE); });
  EXPECT_TRUE(ModalActionsRan());
  EXPECT_GT(rows, 29);  // every item ticked: at least a line each
  EXPECT_NE(std::string::npos, total.find("Nothing has been erased"));
  EXPECT_NE(std::string::npos, copied.find("Windows Temp\tfile\t" + temp + "\t1234\n"));
  EXPECT_TRUE(FileExists(temp));
  EXPECT_EQ("", ReadIni(Settings(), "WINDOWS", "lastclean"));
  EXPECT_TRUE(messages.seen.empty());
}

TEST_F(ProgressDialogTest, ExitAfterCleaningEndsTheProgramAndStoresTheTicks) {
  WriteFileText(Settings(), "[Additional]\r\nexit=1\r\n[WINDOWS]\r\nregnum=7\r\nfilesize=2.\r\n");
  OpenFromMain();
  Click(main().hwnd(), IDC_CHECK(4));
  messages.Answer(IDYES);
  Click(Dlg(), IDC_CN_COMMAND1);
  EXPECT_FALSE(app.CleanNow().IsLoaded());
  EXPECT_FALSE(main().IsLoaded());
  ASSERT_EQ(1u, messages.seen.size());  // the question, and no summary
  EXPECT_EQ(static_cast<UINT>(MB_YESNO), messages.seen[0].flags & MB_TYPEMASK);
  EXPECT_EQ("7", ReadIni(Settings(), "WINDOWS", "regnum"));
  EXPECT_EQ("2.", ReadIni(Settings(), "WINDOWS", "filesize"));
  EXPECT_EQ("0", ReadIni(Settings(), "BROWSERS", "cookies"));
  EXPECT_EQ("1", ReadIni(Settings(), "BROWSERS", "location"));
  EXPECT_NE("", ReadIni(Settings(), "WINDOWS", "lastclean"));
}

TEST_F(ProgressDialogTest, CancelClosesTheDialogAndShowsTheMainWindow) {
  OpenFromMain();
  ASSERT_FALSE(IsWindowVisible(main().hwnd()));
  Click(Dlg(), IDC_CN_COMMAND2);
  EXPECT_FALSE(app.CleanNow().IsLoaded());
  EXPECT_TRUE(IsWindowVisible(main().hwnd()));
}

TEST_F(MainWindowTest, SplashLoadsTheMainWindowHiddenThenShowsIt) {
  WriteFileText(Settings(), "[BROWSERS]\r\nhistory=0\r\n");
  app.Start();
  ASSERT_TRUE(app.Splash().IsLoaded());
  ASSERT_TRUE(main().IsLoaded());
  EXPECT_FALSE(IsWindowVisible(main().hwnd()));
  EXPECT_EQ(0, Box(2));  // ticks are read before the splash is drawn
  EXPECT_EQ("Thank you for using Tracksweep 3.20.", Caption(GetDlgItem(app.Splash().hwnd(), 3011)));
  EXPECT_TRUE(PumpUntil([&] { return !app.Splash().IsLoaded(); }, 10000));
  EXPECT_TRUE(IsWindowVisible(main().hwnd()));
}

TEST_F(MainWindowTest, AboutBoxIsModalAndClosesWithItsCloseControl) {
  Load();
  std::string label3;
  WithModal("About", [&](HWND about) { label3 = Caption(GetDlgItem(about, IDC_AB_LABEL3)); },
            [&] { Click(main().hwnd(), IDC_IMAGE(6)); });
  EXPECT_TRUE(ModalActionsRan());
  EXPECT_EQ(0u, label3.find("Tracksweep 3.20 is designed to protect your privacy by cleaning up all the unwanted istory data"));
  EXPECT_FALSE(app.About().IsLoaded());
  EXPECT_TRUE(main().IsLoaded());
}

TEST_F(MainWindowTest, ProgramEndsWhenItsLastWindowIsGone) {
  Dialog::QuitWhenLastWindowCloses(true);
  Load();
  Click(main().hwnd(), IDC_IMAGE(3));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  app.CleanNow().Unload();  // the main window is still there
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  Click(main().hwnd(), IDC_IMAGE(9));
  EXPECT_EQ(0, Dialog::LiveWindowCount());
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  Dialog::QuitWhenLastWindowCloses(false);
}

namespace {
// The row of the Analyze list whose target column reads text, or -1.
int RowOf(HWND list, const std::string& text) {
  const std::vector<std::string> targets = ListViewColumn(list, 2);
  const auto at = std::find(targets.begin(), targets.end(), text);
  return at == targets.end() ? -1 : static_cast<int>(at - targets.begin());
}
}  // namespace

// A name the code page cannot spell shows in the Analyze list as it is, not as a look-alike.
TEST_F(ProgressDialogTest, AnalyzeShowsANameTheCodePageCannotSpellAsItIs) {
  const std::wstring name = L"\xFF0E\xFF0E\xFF3C" L"victim.tmp";
  const std::wstring path = WidePath(isolated.root().File("Temp")) + L"\\" + name;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  CloseHandle(h);
  OpenFromMain();
  for (int box : {9, 9, 18, 18, 19, 20, 21, 22, 23}) Click(main().hwnd(), IDC_CHECK(box));  // every item off
  Click(main().hwnd(), IDC_CHECK(13));  // but Windows Temp
  std::vector<std::wstring> targets;
  WithModal("Analyze", [&](HWND dlg) {
    HWND rows = GetDlgItem(dlg, IDC_AN_LIST);
    const int count = static_cast<int>(SendMessageA(rows, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[1024] = {0};
      LVITEMW it = {};
      it.iSubItem = 2;
      it.pszText = text;
      it.cchTextMax = 1024;
      SendMessageW(rows, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
      targets.push_back(text);
    }
  }, [&] { Click(Dlg(), IDC_CN_ANALYZE); });
  EXPECT_TRUE(ModalActionsRan());
  EXPECT_NE(std::find(targets.begin(), targets.end(), path), targets.end());
  DeleteFileW(path.c_str());
}

TEST_F(ProgressDialogTest, CleanTheseErasesWhatStaysTickedAndReportsInTheStatusList) {
  const std::string temp = isolated.root().File("Temp");
  MakeFile(temp + "\\gone.tmp", 1000);
  MakeFile(temp + "\\kept.tmp", 2000);
  const std::string list = isolated.root().File("preview.txt");
  SetFileHandler([&](const FileRequest& r) { return r.save ? list : std::string(); });
  OpenFromMain();
  for (int box : {9, 9, 18, 18, 19, 20, 21, 22, 23}) Click(main().hwnd(), IDC_CHECK(box));  // every item off
  Click(main().hwnd(), IDC_CHECK(13));  // but Windows Temp
  std::string total;
  WithModal("Analyze", [&](HWND dlg) {
    HWND rows = GetDlgItem(dlg, IDC_AN_LIST);
    EXPECT_EQ("Clean these...", Caption(GetDlgItem(dlg, IDC_AN_CLEAN)));
    EXPECT_EQ("Cancel", Caption(GetDlgItem(dlg, IDC_AN_CLOSE)));
    messages.Answer(IDYES);
    const int kept = RowOf(rows, temp + "\\kept.tmp");
    ASSERT_GE(kept, 0);
    EXPECT_TRUE(ListView_GetCheckState(rows, kept));
    ListView_SetCheckState(rows, kept, FALSE);  // as a click on its box does
    total = Caption(GetDlgItem(dlg, IDC_AN_TOTAL));
    SendMessageA(GetDlgItem(dlg, IDC_AN_SAVE), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(dlg, IDC_AN_CLEAN), BM_CLICK, 0, 0);
  }, [&] { Click(Dlg(), IDC_CN_ANALYZE); });
  SetFileHandler(nullptr);
  ASSERT_TRUE(ModalActionsRan());
  EXPECT_NE(std::string::npos, total.find("Ticked: ")) << total;
  EXPECT_FALSE(FileExists(temp + "\\gone.tmp"));
  EXPECT_TRUE(FileExists(temp + "\\kept.tmp"));
  EXPECT_NE(std::string::npos, ReadFileText(list).find("Windows Temp\tfile\t" + temp + "\\kept.tmp\t2000\t0"));
  const std::vector<std::string> lines = ListLines(DlgItem(IDC_CN_LIST1));
  EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "Cleaning Windows Temp.......OK"));
  EXPECT_EQ("Task complete Successfully!", lines.back());
  ASSERT_EQ(2u, messages.seen.size());
  EXPECT_EQ("Erase 1 entry, 1,000 bytes?", messages.seen[0].text);  // asked once, naming how much
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:.MB", messages.seen[1].text);
  EXPECT_NE("", ReadIni(Settings(), "WINDOWS", "lastclean"));
}

TEST_F(ProgressDialogTest, KeepThisPutsATypedAddressOnTheKeepListAndUnticksIt) {
  const char kTyped[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
  SHDeleteKeyA(HKEY_CURRENT_USER, kTyped);
  SHSetValueA(HKEY_CURRENT_USER, kTyped, "url1", REG_SZ, "http://keep.example/", 21);
  SHSetValueA(HKEY_CURRENT_USER, kTyped, "url2", REG_SZ, "http://gone.example/", 21);
  OpenFromMain();
  for (int box : {9, 9, 18, 18, 19, 20, 21, 22, 23}) Click(main().hwnd(), IDC_CHECK(box));
  Click(main().hwnd(), IDC_CHECK(1));  // IE Location Bar History
  bool kept = false, unticked = false;
  WithModal("Analyze", [&](HWND dlg) {
    HWND rows = GetDlgItem(dlg, IDC_AN_LIST);
    const int row = RowOf(rows, "http://keep.example/");
    ASSERT_GE(row, 0);
    // The window's context menu calls this for the entry it was opened on.
    kept = reinterpret_cast<frmAnalyze*>(GetWindowLongPtrA(dlg, DWLP_USER))->KeepEntry(row);
    unticked = !ListView_GetCheckState(rows, row);
    messages.Answer(IDYES);
    SendMessageA(GetDlgItem(dlg, IDC_AN_CLEAN), BM_CLICK, 0, 0);
  }, [&] { Click(Dlg(), IDC_CN_ANALYZE); });
  EXPECT_TRUE(kept);
  EXPECT_TRUE(unticked);
  EXPECT_EQ("http://keep.example/\r\n", ReadFileText(ProgramFile("keepurl.dat")));
  char value[64] = {0};
  DWORD size = sizeof value;
  EXPECT_EQ(ERROR_SUCCESS, SHGetValueA(HKEY_CURRENT_USER, kTyped, "url1", nullptr, value, &size));
  EXPECT_EQ("http://keep.example/", std::string(value));
  EXPECT_NE(ERROR_SUCCESS, SHGetValueA(HKEY_CURRENT_USER, kTyped, "url2", nullptr, nullptr, nullptr));
  SHDeleteKeyA(HKEY_CURRENT_USER, kTyped);
}

// ---- Analyze as a user meets it: keys delivered as Windows delivers them.

namespace {
const char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
void Select(HWND rows, int row) {
  ListView_SetItemState(rows, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(rows, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}
int StateImage(HWND rows, int row) {
  return static_cast<int>((SendMessageA(rows, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) >> 12) & 0xF);
}
}  // namespace

class AnalyzeWindowTest : public ProgressDialogTest {
 protected:
  void OnlyItem(int box) {
    OpenFromMain();
    for (int b : {9, 9, 18, 18, 19, 20, 21, 22, 23}) Click(main().hwnd(), IDC_CHECK(b));  // every item off
    Click(main().hwnd(), IDC_CHECK(box));
  }
  void InAnalyze(std::function<void(HWND dlg, HWND rows)> act) {
    WithModal("Analyze", [&](HWND dlg) { act(dlg, GetDlgItem(dlg, IDC_AN_LIST)); }, [&] { Click(Dlg(), IDC_CN_ANALYZE); });
    EXPECT_TRUE(ModalActionsRan());
  }
  void TearDown() override {
    SetMenuHandler(nullptr);
    SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
    ProgressDialogTest::TearDown();
  }
};

TEST_F(AnalyzeWindowTest, EnterNeverErasesAndCleanTheseAsksOnceNamingHowMuch) {
  const std::string temp = isolated.root().File("Temp");
  MakeFile(temp + "\\a.tmp", 3 * 1024 * 1024 / 2);
  OnlyItem(13);
  // Enter in the progress dialog opens the preview, never a run.
  bool previewed = false;
  WithModal("Analyze", [&](HWND) { previewed = true; }, [&] { PressKey(Dlg(), DlgItem(IDC_CN_LIST1), VK_RETURN); });
  EXPECT_TRUE(previewed);
  EXPECT_TRUE(FileExists(temp + "\\a.tmp"));
  bool open = false;
  InAnalyze([&](HWND dlg, HWND rows) {
    PressKey(dlg, rows, VK_RETURN);
    open = IsWindow(dlg) != FALSE;
    messages.Answer(IDNO);
    SendMessageA(GetDlgItem(dlg, IDC_AN_CLEAN), BM_CLICK, 0, 0);
    open = open && IsWindow(dlg);
  });
  EXPECT_TRUE(open);
  EXPECT_TRUE(FileExists(temp + "\\a.tmp"));
  ASSERT_EQ(1u, messages.seen.size());
  EXPECT_EQ("Erase 1 entry, 1.5 MB?", messages.seen[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_YESNO), messages.seen[0].flags & MB_TYPEMASK);
  EXPECT_EQ("", ReadIni(Settings(), "WINDOWS", "lastclean"));
}

TEST_F(AnalyzeWindowTest, KeepThisFromTheContextMenuKeyShiftF10AndItsButton) {
  SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
  const char* urls[] = {"http://one.example/", "http://two.example/", "http://three.example/", "http://gone.example/"};
  for (int i = 0; i < 4; ++i)
    SHSetValueA(HKEY_CURRENT_USER, kTypedUrls, ("url" + std::to_string(i + 1)).c_str(), REG_SZ, urls[i],
                static_cast<DWORD>(strlen(urls[i]) + 1));
  OnlyItem(1);  // IE Location Bar History
  std::vector<std::string> menus;
  SetMenuHandler([&](const MenuRequest& r) {
    menus.push_back(r.items.at(0));
    return r.enabled.at(0) ? r.commands.at(0) : 0;
  });
  std::vector<int> unticked;
  InAnalyze([&](HWND dlg, HWND rows) {
    Select(rows, RowOf(rows, urls[0]));
    PressKey(dlg, rows, VK_APPS);
    Select(rows, RowOf(rows, urls[1]));
    PressKey(dlg, rows, VK_F10, true);
    Select(rows, RowOf(rows, urls[2]));
    PressKey(dlg, GetDlgItem(dlg, IDC_AN_KEEP), VK_SPACE);
    for (int i = 0; i < 4; ++i) unticked.push_back(ListView_GetCheckState(rows, RowOf(rows, urls[i])) ? 0 : 1);
  });
  EXPECT_EQ((std::vector<std::string>{"&Keep this", "&Keep this"}), menus);
  EXPECT_EQ((std::vector<int>{1, 1, 1, 0}), unticked);
  EXPECT_EQ("http://one.example/\r\nhttp://two.example/\r\nhttp://three.example/\r\n", ReadFileText(ProgramFile("keepurl.dat")));
}

TEST_F(AnalyzeWindowTest, KeepThisKeepsASitesDataOnTheSiteKeepList) {
  // A Chromium profile below application data of the test's own.
  TempFolder apps("tswsitedata");
  RedirectedShellFolder localFolder("Local AppData", apps.path());
  const std::string profile = apps.File("Google\\Chrome\\User Data\\Default");
  MakeFile(profile + "\\Preferences", "{}");
  for (const char* site : {"a.example", "b.example"})
    MakeFile(profile + "\\IndexedDB\\https_" + site + "_0.indexeddb.leveldb\\000003.log", 100);
  WriteIni(Settings(), "MOREBROWSERS", "Google Chrome Site data", "1");
  SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
  OnlyItem(1);
  const std::string target = profile + "\\IndexedDB: site data of a.example";
  bool unticked = false, other = false;
  InAnalyze([&](HWND dlg, HWND rows) {
    const int row = RowOf(rows, target);
    ASSERT_GE(row, 0);
    Select(rows, row);
    PressKey(dlg, GetDlgItem(dlg, IDC_AN_KEEP), VK_SPACE);
    unticked = !ListView_GetCheckState(rows, row);
    other = ListView_GetCheckState(rows, RowOf(rows, profile + "\\IndexedDB: site data of b.example")) != FALSE;
  });
  EXPECT_TRUE(unticked);
  EXPECT_TRUE(other);
  EXPECT_EQ("a.example\r\n", ReadFileText(ProgramFile("keepsite.dat")));
}

TEST_F(AnalyzeWindowTest, WhatAKeepListKeepsShowsGreyedWithItsListAndHeadingsShowPartTicks) {
  SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrls, "url1", REG_SZ, "http://kept.example/", 21);
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrls, "url2", REG_SZ, "http://a.example/", 18);
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrls, "url3", REG_SZ, "http://b.example/", 18);
  WriteFileText(ProgramFile("keepurl.dat"), "http://kept.example/\r\n");
  OnlyItem(1);
  std::string kind, details, heading;
  int keptImage = 0, headingAll = 0, headingPart = 0, headingNone = 0;
  InAnalyze([&](HWND dlg, HWND rows) {
    const int kept = RowOf(rows, "http://kept.example/");
    ASSERT_GE(kept, 0);
    kind = ListViewColumn(rows, 1).at(static_cast<size_t>(kept));
    ListView_SetCheckState(rows, kept, TRUE);  // a click on its box: it stays kept
    keptImage = StateImage(rows, kept);
    Select(rows, kept);
    details = Caption(GetDlgItem(dlg, IDC_AN_DETAILS));
    heading = ListViewColumn(rows, 2).at(0);
    headingAll = StateImage(rows, 0);
    ListView_SetCheckState(rows, RowOf(rows, "http://a.example/"), FALSE);
    headingPart = StateImage(rows, 0);
    ListView_SetCheckState(rows, RowOf(rows, "http://b.example/"), FALSE);
    headingNone = StateImage(rows, 0);
  });
  EXPECT_EQ("kept", kind);
  EXPECT_EQ(1, keptImage);
  EXPECT_EQ("kept: http://kept.example/ (kept by the URL keep list, so it stays)", details);
  EXPECT_EQ("3 entries", heading);  // two addresses and the one kept
  EXPECT_EQ(2, headingAll);
  EXPECT_EQ(3, headingPart);
  EXPECT_EQ(1, headingNone);
}

TEST_F(AnalyzeWindowTest, TheWindowKeepsTheSizeTheUserGaveItAndLaysItselfOut) {
  OnlyItem(13);
  InAnalyze([&](HWND dlg, HWND) { SetWindowPos(dlg, nullptr, 0, 0, 900, 640, SWP_NOMOVE | SWP_NOZORDER); });
  EXPECT_EQ("900", ReadIni(Settings(), "Analyze", "width"));
  EXPECT_EQ("640", ReadIni(Settings(), "Analyze", "height"));
  RECT window = {}, list = {}, cancel = {};
  InAnalyze([&](HWND dlg, HWND rows) {
    GetWindowRect(dlg, &window);
    GetWindowRect(rows, &list);
    GetWindowRect(GetDlgItem(dlg, IDC_AN_CLOSE), &cancel);
  });
  EXPECT_EQ(900, window.right - window.left);
  EXPECT_EQ(640, window.bottom - window.top);
  EXPECT_GT(list.right - list.left, 700);   // the list takes the room
  EXPECT_LT(window.right - cancel.right, 40);  // Cancel stays at the right edge
}

TEST_F(AnalyzeWindowTest, AfterCleanTheseTheRunsWindowShowsWhatWentAndWhatStayedAndWhy) {
  const std::string temp = isolated.root().File("Temp");
  MakeFile(temp + "\\gone.tmp", 100);
  MakeFile(temp + "\\changed.tmp", 100);
  OnlyItem(13);
  InAnalyze([&](HWND dlg, HWND) {
    MakeFile(temp + "\\changed.tmp", 300);  // written again after the preview
    messages.Answer(IDYES);
    SendMessageA(GetDlgItem(dlg, IDC_AN_CLEAN), BM_CLICK, 0, 0);
  });
  ASSERT_TRUE(IsWindowEnabled(DlgItem(IDC_CN_DETAILS)));
  std::vector<std::string> what, targets;
  WithModal("What the run did", [&](HWND dlg) {
    what = ListViewColumn(GetDlgItem(dlg, IDC_RD_LIST), 1);
    targets = ListViewColumn(GetDlgItem(dlg, IDC_RD_LIST), 3);
  }, [&] { Click(Dlg(), IDC_CN_DETAILS); });
  ASSERT_EQ(2u, what.size());
  EXPECT_EQ("stayed: changed since the preview", what[0]);
  EXPECT_EQ(temp + "\\changed.tmp", targets[0]);
  EXPECT_EQ("went", what[1]);
  EXPECT_EQ(temp + "\\gone.tmp", targets[1]);
}

// ---- Clean Now asks first, as "Clean these" does.

TEST_F(AnalyzeWindowTest, CleanNowAnsweredNoErasesNothing) {
  const std::string temp = isolated.root().File("Temp");
  MakeFile(temp + "\\a.tmp", 2048);
  OnlyItem(13);
  messages.Answer(IDNO);
  Click(Dlg(), IDC_CN_COMMAND1);
  EXPECT_TRUE(FileExists(temp + "\\a.tmp"));
  ASSERT_EQ(1u, messages.seen.size());  // the question alone: no run, no summary
  EXPECT_EQ("Erase 1 entry, 2.0 KB?", messages.seen[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), messages.seen[0].flags);
  EXPECT_EQ(0, SendMessageA(DlgItem(IDC_CN_LIST1), LB_GETCOUNT, 0, 0));
  EXPECT_EQ("", ReadIni(Settings(), "WINDOWS", "lastclean"));
  EXPECT_FALSE(IsWindowEnabled(DlgItem(IDC_CN_DETAILS)));
}

TEST_F(AnalyzeWindowTest, CleanNowNamesHowManyWithItsThousandsGrouped) {
  const std::string temp = isolated.root().File("Temp");
  for (int i = 0; i < 1204; ++i) MakeFile(temp + "\\f" + std::to_string(i) + ".tmp", 1);
  OnlyItem(13);
  messages.Answer(IDYES);
  Click(Dlg(), IDC_CN_COMMAND1);
  ASSERT_EQ(2u, messages.seen.size());
  EXPECT_EQ("Erase 1,204 entries, 1.2 KB?", messages.seen[0].text);
  EXPECT_FALSE(FileExists(temp + "\\f0.tmp"));
  EXPECT_FALSE(FileExists(temp + "\\f1203.tmp"));
}

TEST_F(AnalyzeWindowTest, TheDetailsLineShowsAWholeLongTarget) {
  const std::string url = "http://" + std::string(263, 'x') + ".example/";  // 280 characters
  SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrls, "url1", REG_SZ, url.c_str(), static_cast<DWORD>(url.size() + 1));
  OnlyItem(1);
  std::string details;
  int lines = 0;
  POINT last = {-1, -1};
  RECT box = {};
  InAnalyze([&](HWND dlg, HWND rows) {
    Select(rows, RowOf(rows, url));
    HWND line = GetDlgItem(dlg, IDC_AN_DETAILS);
    details = Caption(line);
    lines = static_cast<int>(SendMessageA(line, EM_GETLINECOUNT, 0, 0));
    const LRESULT at = SendMessageA(line, EM_POSFROMCHAR, details.size() - 1, 0);
    last = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    GetClientRect(line, &box);
  });
  EXPECT_EQ("typed address: " + url, details);
  // Wrapped over lines, its last character inside the line's box: nothing cut off.
  EXPECT_GE(lines, 2);
  EXPECT_GT(last.y, 0);
  EXPECT_LT(last.y, box.bottom);
  EXPECT_LT(last.x, box.right);
}

TEST_F(AnalyzeWindowTest, FixedAmountsShowAsCountedApartFromMeasuredSizes) {
  OnlyItem(2);  // IE Internet History Files counts 15 keys and 500,000 bytes whatever is there
  std::string heading, total, fixed;
  InAnalyze([&](HWND dlg, HWND rows) {
    heading = ListViewColumn(rows, 3).at(0);
    fixed = ListViewColumn(rows, 3).at(static_cast<size_t>(RowOf(rows, "counts 15 registry keys")));
    total = Caption(GetDlgItem(dlg, IDC_AN_TOTAL));
    messages.Answer(IDNO);
    SendMessageA(GetDlgItem(dlg, IDC_AN_CLEAN), BM_CLICK, 0, 0);
  });
  EXPECT_EQ("488.3 KB counted", fixed);
  EXPECT_EQ(", plus 488.3 KB counted", heading.substr(heading.find(',')));
  EXPECT_NE(std::string::npos, total.find(", plus 15 registry keys, 488.3 KB counted. Nothing has been erased.")) << total;
  ASSERT_EQ(1u, messages.seen.size());
  EXPECT_NE(std::string::npos, messages.seen[0].text.find(", plus 15 registry keys, 488.3 KB counted?")) << messages.seen[0].text;
  EXPECT_EQ(std::string::npos, messages.seen[0].text.find("489")) << messages.seen[0].text;  // never added to the bytes measured
}
