// The sub-item dialogs, the More Applications dialog and the Custom Items page, driven as a user
// would: opened from the main window, answered through the prompt seams.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "engine/CustomItems.h"
#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/SubItemRes.h"
#include "ui/frmMainCode.h"
#include "ui/frmMainCodeRes.h"

namespace {

void Press(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
bool Ticked(HWND dlg, int n) { return IsDlgButtonChecked(dlg, IDC_SI_CHECK(n)) == BST_CHECKED; }

struct Expected {
  int opener;  // control of the main window that opens it
  const char* caption;
  const char* frame;
  const char* section;
  std::vector<std::pair<int, const char*>> boxes;  // Check<n>, caption
  std::vector<const char*> keys;                   // in the order of boxes
};

const std::vector<std::pair<int, const char*>> kBrowserBoxes = {
    {1, "Location bar history"}, {2, "Cookies"}, {3, "Cache"}, {4, "History files"}};
const std::vector<const char*> kBrowserKeys = {"Location", "Cookies", "Cache", "History"};

const Expected kDialogs[] = {
    {IDC_COMMAND(3), "Netscape Navigator", "Netscape Navigator", "NETSCAPE", kBrowserBoxes, kBrowserKeys},
    {IDC_COMMAND(1), "Opera", "Opera", "OPERA", kBrowserBoxes, kBrowserKeys},
    {IDC_COMMAND(2), "MSN Explorer", "MSN Exploer", "MSN", kBrowserBoxes, kBrowserKeys},
    {IDC_COMMAND(6), "MS Office", "MS Office", "OFFICE",
     {{1, "Microsoft Word"}, {2, "Microsoft Excel"}, {3, "Microsoft PowerPoint"}, {4, "Microsoft FrontPage"},
      {6, "Microsoft Access"}},
     {"word", "excel", "powerpoint", "frontpage", "access"}},
};

}  // namespace

class SubItemDialogTest : public ProgramFolderTest {
 protected:
  App app;
  MessageRecorder messages;
  std::vector<FolderRequest> folderRequests;
  std::string folderAnswer;
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ASSERT_TRUE(app.Main().Load());
    SetFolderHandler([this](const FolderRequest& r) {
      folderRequests.push_back(r);
      return folderAnswer;
    });
  }
  void TearDown() override {
    SetFolderHandler(nullptr);
    app.Main().Unload();
    ProgramFolderTest::TearDown();
  }
  HWND Main() { return app.Main().hwnd(); }
  void Click(int id) {
    HWND c = GetDlgItem(Main(), id);
    SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(c));
  }
  // Opens the dialog from the main window, acts on it, then presses OK when ok is set.
  void InDialog(const Expected& e, std::function<void(HWND)> act, bool ok) {
    WithModal(e.caption, [&](HWND dlg) {
      act(dlg);
      if (ok) Press(dlg, IDC_SI_COMMAND1);
    }, [&] { Click(e.opener); });
    ASSERT_TRUE(ModalActionsRan()) << e.caption;
  }
};

TEST_F(SubItemDialogTest, WithoutSettingsEveryDialogOpensUntickedAndOkStoresZeros) {
  for (const Expected& e : kDialogs) {
    InDialog(e, [&](HWND dlg) {
      EXPECT_EQ(e.frame, Caption(GetDlgItem(dlg, IDC_SI_FRAME1)));
      EXPECT_EQ("OK", Caption(GetDlgItem(dlg, IDC_SI_COMMAND1)));
      EXPECT_EQ("Select all of the above", Caption(GetDlgItem(dlg, IDC_SI_CHECK(5))));
      for (const auto& box : e.boxes) {
        EXPECT_EQ(box.second, Caption(GetDlgItem(dlg, IDC_SI_CHECK(box.first)))) << e.caption;
        EXPECT_FALSE(Ticked(dlg, box.first)) << e.caption << box.first;
      }
    }, true);
    for (const char* key : e.keys) EXPECT_EQ("0", ReadIni(Settings(), e.section, key)) << e.section << key;
  }
  EXPECT_EQ("C:\\Program Files\\Opera7", ReadIni(Settings(), "OPERA", "Path"));
  EXPECT_EQ("", ReadIni(Settings(), "NETSCAPE", "Path"));
}

TEST_F(SubItemDialogTest, BoxesReadTheStrictRuleAndOkWritesThemInOrder) {
  WriteFileText(Settings(), "[netscape]\r\nlocation=1\r\ncookies=1.0\r\ncache=yes\r\nhistory=2\r\n");
  const Expected& netscape = kDialogs[0];
  InDialog(netscape, [&](HWND dlg) {
    EXPECT_TRUE(Ticked(dlg, 1));
    EXPECT_TRUE(Ticked(dlg, 2));
    EXPECT_FALSE(Ticked(dlg, 3));
    EXPECT_FALSE(Ticked(dlg, 4));
    Press(dlg, IDC_SI_CHECK(2));
    Press(dlg, IDC_SI_CHECK(4));
  }, true);
  EXPECT_EQ("1", ReadIni(Settings(), "NETSCAPE", "Location"));
  EXPECT_EQ("0", ReadIni(Settings(), "NETSCAPE", "Cookies"));
  EXPECT_EQ("0", ReadIni(Settings(), "NETSCAPE", "Cache"));
  EXPECT_EQ("1", ReadIni(Settings(), "NETSCAPE", "History"));
}

TEST_F(SubItemDialogTest, SelectAllFollowsOnlyItsOwnClicksAndStartsUnticked) {
  const Expected& office = kDialogs[3];
  InDialog(office, [&](HWND dlg) {
    Press(dlg, IDC_SI_CHECK(5));
    for (int n : {1, 2, 3, 4, 6}) EXPECT_TRUE(Ticked(dlg, n)) << n;
    Press(dlg, IDC_SI_CHECK(6));  // one box by hand: select-all stays as it is
    EXPECT_TRUE(Ticked(dlg, 5));
    Press(dlg, IDC_SI_CHECK(5));
    for (int n : {1, 2, 3, 4, 6}) EXPECT_FALSE(Ticked(dlg, n)) << n;
    for (int n : {1, 2, 3, 4, 6}) Press(dlg, IDC_SI_CHECK(n));
    EXPECT_FALSE(Ticked(dlg, 5));
  }, true);
  InDialog(office, [&](HWND dlg) {
    EXPECT_FALSE(Ticked(dlg, 5));
    EXPECT_TRUE(Ticked(dlg, 6));
  }, false);
  EXPECT_EQ("", ReadIni(Settings(), "OFFICE", "Select"));
}

TEST_F(SubItemDialogTest, OperaFolderComesFromThePickerAndOnlyOkStoresIt) {
  WriteIni(Settings(), "opera", "path", "D:\\Opera");
  WriteIni(Settings(), "opera", "cookies", "1");
  const Expected& opera = kDialogs[1];
  folderAnswer = "E:\\Apps\\Opera7";
  InDialog(opera, [&](HWND dlg) {
    EXPECT_EQ("Opera Directory", Caption(GetDlgItem(dlg, IDC_SI_LABEL1)));
    EXPECT_EQ("Change Directory", Caption(GetDlgItem(dlg, IDC_SI_COMMAND2)));
    EXPECT_EQ("D:\\Opera", Caption(GetDlgItem(dlg, IDC_SI_TEXT1)));
    Press(dlg, IDC_SI_COMMAND2);
    EXPECT_EQ("E:\\Apps\\Opera7", Caption(GetDlgItem(dlg, IDC_SI_TEXT1)));
    Press(dlg, IDC_SI_CHECK(1));
  }, false);  // closed with its close control
  EXPECT_EQ("D:\\Opera", ReadIni(Settings(), "OPERA", "Path"));
  EXPECT_EQ("", ReadIni(Settings(), "OPERA", "Location"));
  ASSERT_EQ(1u, folderRequests.size());
  EXPECT_EQ("Tracksweep", folderRequests[0].title);
  EXPECT_EQ(3u, folderRequests[0].flags);

  folderAnswer = "";  // cancelled: the folder stays
  InDialog(opera, [&](HWND dlg) { Press(dlg, IDC_SI_COMMAND2); }, true);
  EXPECT_EQ("D:\\Opera", ReadIni(Settings(), "OPERA", "Path"));
  EXPECT_EQ("1", ReadIni(Settings(), "OPERA", "Cookies"));
}

TEST_F(SubItemDialogTest, MoreApplicationsListsItsTwentyThreeBoxesAndStoresThemAll) {
  const char* const captions[] = {
      "ACDSee 5.0 Recent", "ACDsee 4.0 Recent", "Acrobat Reader 4.0 file list", "Acrobat Reader 5 Recent Files",
      "America Online 6.0 Temp Files", "CuteFTP4.0  History Data", "Divx Player Playlist", "Flash Get Recent",
      "GetRight 4.x Recent", "Hotbar3.0 History Data", "ICQ 2000B Cache", "KaZaA Download Files",
      "Morpheus History Data", "MSN Messager Reveived files", "Net Vampire 3.x Recent", "PowerDVD PlayList",
      "QuickTime Playlist", "SWiSH 2.0 Recent", "The Playe  Playlist", "Winamp Recent", "WinRar 2.x Recent",
      "AOL 7.0 Chat Log", "Yahoo! Message History Files"};
  WriteFileText(Settings(), "[moreapplications]\r\nacdSEE4=1\r\nWinamp=01\r\nAOL=yes\r\n");
  const Expected more{IDC_LABEL31, "More Applications", "Select the item(s) to clean", "MOREAPPLICATIONS", {}, {}};
  InDialog(more, [&](HWND dlg) {
    EXPECT_EQ(more.frame, Caption(GetDlgItem(dlg, IDC_SI_FRAME1)));
    for (int n = 1; n <= 23; ++n) EXPECT_EQ(captions[n - 1], Caption(GetDlgItem(dlg, IDC_SI_CHECK(n)))) << n;
    EXPECT_TRUE(Ticked(dlg, 2));
    EXPECT_TRUE(Ticked(dlg, 20));
    EXPECT_FALSE(Ticked(dlg, 5));
    for (int n : {2, 20}) Press(dlg, IDC_SI_CHECK(n));
    Press(dlg, IDC_SI_CHECK(14));
  }, true);
  EXPECT_EQ("1", ReadIni(Settings(), "MOREAPPLICATIONS", "MSNMessager"));
  EXPECT_EQ("0", ReadIni(Settings(), "MOREAPPLICATIONS", "NetVampire"));
  EXPECT_EQ("0", ReadIni(Settings(), "MOREAPPLICATIONS", "ACDsee4"));
  // Twenty-three keys written, in the table's order (Check15's key before Check14's).
  const std::string text = ReadFileText(Settings());
  EXPECT_LT(text.find("NetVampire=0"), text.find("MSNMessager=1"));
  EXPECT_NE(std::string::npos, text.find("Yahoo!=0"));
}

TEST_F(SubItemDialogTest, DetectedDefinitionsAreListedByGroupAndTheirTicksStored) {
  WriteFileText(ProgramFile("winapp2.ini"),
                "[Zeta Viewer With A Rather Long Name For Its Recent Files *]\r\nSection=Utilities\r\nDefault=True\r\nFileKey1=C:\\nowhere|*.tmp\r\n"
                "[Alpha Browser *]\r\nLangSecRef=3022\r\nWarning=Also erases saved passwords.\r\nFileKey1=C:\\x|*.tmp\r\n"
                "[Not Here *]\r\nDetect=HKCU\\Software\\TswNoSuchProgram\r\nFileKey1=C:\\x|*.tmp\r\n"
                "[Broken *]\r\nExcludeKey1=FILE|%TswNoSuchVariable%\\x|*.tmp\r\nFileKey1=C:\\x|*.tmp\r\n");
  const Expected more{IDC_LABEL31, "More Applications", "Select the item(s) to clean", "MOREAPPLICATIONS", {}, {}};
  // The main window's link counts them as a run would choose: the default of Zeta Viewer.
  app.Main().ShowMoreLinks();
  EXPECT_EQ("More Applications: 2 detected, 1 ticked", Caption(GetDlgItem(Main(), IDC_LABEL31)));
  std::vector<std::string> names;
  bool zetaTicked = false;
  InDialog(more, [&](HWND dlg) {
    HWND list = GetDlgItem(dlg, IDC_SI_DEFLIST);
    names = ListViewColumn(list, 0);
    // Each name whole in its column, beside its check box.
    const int column = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    for (const std::string& name : names)
      EXPECT_LT(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(name.c_str())) + 40, column) << name;
    const int count = static_cast<int>(names.size());
    zetaTicked = count == 2 && ListView_GetCheckState(list, 1);
    EXPECT_EQ("4 entries in winapp2.ini, 2 detected here, 1 could not be used (see help)",
              Caption(GetDlgItem(dlg, IDC_SI_DEFCOUNT)));
    ListView_SetCheckState(list, 0, TRUE);  // Alpha Browser, with its warning
  }, true);
  EXPECT_EQ((std::vector<std::string>{"Alpha Browser *", "Zeta Viewer With A Rather Long Name For Its Recent Files *"}), names);  // Internet before Utilities
  EXPECT_TRUE(zetaTicked);  // its default
  ASSERT_EQ(1u, messages.seen.size());
  EXPECT_NE(std::string::npos, messages.seen[0].text.find("Also erases saved passwords."));
  EXPECT_EQ("1", ReadIni(Settings(), "WINAPP2", "Alpha Browser *"));
  EXPECT_EQ("1", ReadIni(Settings(), "WINAPP2", "Zeta Viewer With A Rather Long Name For Its Recent Files *"));
  EXPECT_EQ("", ReadIni(Settings(), "WINAPP2", "Not Here *"));
  EXPECT_EQ("More Applications: 2 detected, 2 ticked", Caption(GetDlgItem(Main(), IDC_LABEL31)));  // after OK
}

class CustomPageTest : public SubItemDialogTest {
 protected:
  TempFolder work{"tswcustom"};
  void SetUp() override {
    SubItemDialogTest::SetUp();
    Click(IDC_IMAGE(2));
  }
  void Add(const std::string& folder, const std::string& pattern) {
    SetDlgItemTextA(Main(), IDC_TEXT102, folder.c_str());
    SetDlgItemTextA(Main(), IDC_TEXT103, pattern.c_str());
    Click(IDC_COMMAND101);
  }
  std::vector<std::string> Shown() { return ListLines(GetDlgItem(Main(), IDC_CUSTOM_LIST1)); }
};

TEST_F(CustomPageTest, AddAppendsEvenADuplicateAndRemoveRewritesTheFile) {
  EXPECT_EQ("Select Folder and Files That will Be Erased", Caption(GetDlgItem(Main(), IDC_FRAME7)));
  EXPECT_EQ("*.tmp", Caption(GetDlgItem(Main(), IDC_TEXT103)));
  EXPECT_EQ("(Such as *.chk)", Caption(GetDlgItem(Main(), IDC_LABEL10)));
  Add(work.path(), "*.tmp");
  Add(work.path(), "*.tmp   ");
  const std::string entry = work.path() + "\\*.tmp";
  EXPECT_EQ(entry + "\r\n" + entry + "\r\n", ReadFileText(CustomItemsFile()));
  EXPECT_EQ((std::vector<std::string>{entry, entry}), Shown());
  SendMessageA(GetDlgItem(Main(), IDC_CUSTOM_LIST1), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Click(IDC_COMMAND102);  // nothing selected: nothing changes
  EXPECT_EQ(2u, Shown().size());
  for (int i = 0; i < 2; ++i) {
    SendMessageA(GetDlgItem(Main(), IDC_CUSTOM_LIST1), LB_SETCURSEL, 0, 0);
    Click(IDC_COMMAND102);
  }
  EXPECT_TRUE(FileExists(CustomItemsFile()));
  EXPECT_EQ("", ReadFileText(CustomItemsFile()));
  EXPECT_TRUE(messages.seen.empty());
}

TEST_F(CustomPageTest, EmptyOrRefusedEntriesAreNotAdded) {
  Add("", "*.tmp");
  Add(work.path(), "");
  ASSERT_EQ(2u, messages.seen.size());
  EXPECT_EQ("Please fill in all data.", messages.seen[0].text);
  EXPECT_EQ("Tracksweep", messages.seen[0].title);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), messages.seen[0].flags);
  char windows[MAX_PATH] = {0};
  GetWindowsDirectoryA(windows, MAX_PATH);
  for (const std::string& folder : {std::string("C:"), std::string("C:\\"), std::string(windows), std::string("temp")})
    Add(folder, "*.*");
  Add(".", "*.tmp");
  ASSERT_EQ(7u, messages.seen.size());
  EXPECT_EQ(0u, messages.seen[2].text.find("This item is not added: C:\\*.*"));
  EXPECT_NE(std::string::npos, messages.seen[5].text.find("full path"));
  EXPECT_TRUE(Shown().empty());
  EXPECT_FALSE(FileExists(CustomItemsFile()));
}

TEST_F(CustomPageTest, BrowseFillsTheFolderAndADriveRootKeepsItsTwoBackslashes) {
  folderAnswer = "D:\\";
  Click(IDC_COMMAND105);
  ASSERT_EQ(1u, folderRequests.size());
  EXPECT_EQ(3u, folderRequests[0].flags);
  SetDlgItemTextA(Main(), IDC_TEXT103, "*.chk");
  Click(IDC_COMMAND101);
  EXPECT_EQ("D:\\\\*.chk\r\n", ReadFileText(CustomItemsFile()));
  folderAnswer = "";
  Click(IDC_COMMAND105);
  EXPECT_EQ("D:\\", Caption(GetDlgItem(Main(), IDC_TEXT102)));
}

TEST_F(CustomPageTest, TheListIsReadWhenThePageOpens) {
  WriteFileText(CustomItemsFile(), "C:\\a\\*.tmp  \r\nC:\\b\\*.log\r\n");
  Click(IDC_IMAGE(1));
  Click(IDC_IMAGE(2));
  EXPECT_EQ((std::vector<std::string>{"C:\\a\\*.tmp", "C:\\b\\*.log"}), Shown());
}

TEST_F(CustomPageTest, ANamedPatternInADriveRootOrTheDesktopIsAddedOnlyAfterAWarning) {
  char desktop[MAX_PATH] = {0};
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, TRUE));
  messages.Answer(IDNO);
  Add("D:\\", "*.tmp");
  ASSERT_EQ(1u, messages.seen.size());
  EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION), messages.seen[0].flags);
  EXPECT_NE(std::string::npos, messages.seen[0].text.find("D:\\")) << messages.seen[0].text;
  EXPECT_FALSE(FileExists(CustomItemsFile()));  // No: nothing added
  messages.Answer(IDYES);
  Add("D:\\", "*.tmp");
  Add(std::string("  ") + desktop + " ", " *.log ");  // blanks around either part are dropped
  ASSERT_EQ(3u, messages.seen.size());
  EXPECT_NE(std::string::npos, messages.seen[2].text.find(desktop)) << messages.seen[2].text;
  EXPECT_EQ("D:\\\\*.tmp\r\n" + std::string(desktop) + "\\*.log\r\n", ReadFileText(CustomItemsFile()));
  // Match-all patterns there, and the system folder, stay refused without a question.
  char system[MAX_PATH] = {0};
  GetSystemDirectoryA(system, MAX_PATH);
  Add("D:\\", "*.*");
  Add(desktop, "*");
  Add(system, "*.log");
  ASSERT_EQ(6u, messages.seen.size());
  for (size_t i = 3; i < 6; ++i) EXPECT_EQ(0u, messages.seen[i].text.find("This item is not added")) << i;
  EXPECT_EQ(2u, Shown().size());
}

TEST_F(CustomPageTest, AddAndRemoveComeBackOnceAnUnreadableListIsGone) {
  WriteFileText(CustomItemsFile(), "C:\\a\\*.tmp\r\n");
  {
    HANDLE lock = CreateFileA(CustomItemsFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Click(IDC_IMAGE(1));
    Click(IDC_IMAGE(2));
    CloseHandle(lock);
  }
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Main(), IDC_COMMAND101)));
  DeleteFileA(CustomItemsFile().c_str());
  Click(IDC_IMAGE(1));
  Click(IDC_IMAGE(2));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Main(), IDC_COMMAND101)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Main(), IDC_COMMAND102)));
}
