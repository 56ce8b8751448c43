// What the screens say and do as a user meets them: the options in effect, the totals right
// after a run, the about box's OK, the tray menu, the taskbar button, More Applications' list and
// the links that say what they hold.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include "access/Options.h"
#include "engine/CleanRun.h"
#include "engine/StoredSelection.h"
#include "settings/Additional.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/BackgroundRes.h"
#include "ui/IEWindows.h"
#include "ui/SubItemRes.h"
#include "ui/frmMainCode.h"
#include "ui/frmMainCodeRes.h"
#include "ui/frmcleannow.h"
#include "ui/frmcleannowRes.h"
#include "ui/frmtray.h"

namespace {

void Press(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

// True when Windows key + Z is taken (by the tray window): registering it once more fails.
bool HideKeyTaken() {
  if (RegisterHotKey(nullptr, kHideHotkey, MOD_WIN, 'Z')) {
    UnregisterHotKey(nullptr, kHideHotkey);
    return false;
  }
  return true;
}

// The run item of the custom items, as tswclean --items reads its gate.
bool CustomItemsSelected(const std::string& settings) {
  StoredSelection selection(settings);
  for (const RunItem& item : RunItems())
    if (ItemName(item) == "Custom Clean Items") return ItemSelected(item, selection, settings);
  ADD_FAILURE() << "no item Custom Clean Items";
  return false;
}

}  // namespace

class ScreensTest : public ProgramFolderTest {
 protected:
  IsolatedTrackFolders isolated;
  App app;
  MessageRecorder messages;
  void SetUp() override {
    ProgramFolderTest::SetUp();
    RemoveStartupEntry();
    ASSERT_TRUE(app.Main().Load());
    app.LoadTray();
    ASSERT_TRUE(app.TrayLoaded());
  }
  void TearDown() override {
    SetMenuHandler(nullptr);
    app.UnloadTray();
    app.CleanNow().Unload();
    app.Main().Unload();
    RemoveStartupEntry();
    ProgramFolderTest::TearDown();
  }
  HWND Main() { return app.Main().hwnd(); }
  void ClickMain(int id) {
    SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Main(), id)));
  }
  std::vector<int> OptionBoxes() {
    std::vector<int> ticked;
    WithModal("Clean Options", [&](HWND dlg) {
      for (int n = 1; n <= 8; ++n) ticked.push_back(IsDlgButtonChecked(dlg, IDC_OP_CHECK(n)) == BST_CHECKED ? 1 : 0);
    }, [&] { ClickMain(IDC_IMAGE(5)); });
    EXPECT_TRUE(ModalActionsRan());
    return ticked;
  }
};

// ---- Clean Options shows what is in effect.

TEST_F(ScreensTest, OptionsOnAFirstStartShowWhatARunWouldDoAndOkChangesNothingInEffect) {
  ASSERT_FALSE(FileExists(Settings()));
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0}), OptionBoxes());
  std::string minimizeCaption;
  WithModal("Clean Options", [&](HWND dlg) {
    minimizeCaption = Caption(GetDlgItem(dlg, IDC_OP_CHECK(7)));
    Press(dlg, IDC_OP_COMMAND1);  // OK, nothing changed
  }, [&] { ClickMain(IDC_IMAGE(5)); });
  EXPECT_EQ("Minimize to the tray (no taskbar button)", minimizeCaption);
  // Nothing came into effect: no start-up entry, no boss key, no custom items, no exit.
  EXPECT_FALSE(StartupEntryPresent());
  EXPECT_FALSE(HideKeyTaken());
  EXPECT_FALSE(app.Tray().BossKeyOn());
  EXPECT_FALSE(CustomItemsSelected(Settings()));
  EXPECT_FALSE(OptionOn(Settings(), Option::ExitAfterRun));
  EXPECT_FALSE(OptionOn(Settings(), Option::Securely));
  EXPECT_EQ("0", ReadIni(Settings(), "Additional", "Custom"));
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0}), OptionBoxes());
  EXPECT_TRUE(messages.seen.empty());
}

TEST_F(ScreensTest, OptionsReadEachValueAsTheCodeThatActsOnItReadsIt) {
  // "exit" and "Custom" are read by the run as the exact text 1; the others as the number 1.
  WriteFileText(Settings(),
                "[Additional]\r\nbosskey=1.0\r\nautoclean=1\r\nexit=1.0\r\nCustom=1\r\nsecurely=01\r\nmintotray=1\r\nclosebrowsers=1\r\n");
  EXPECT_EQ((std::vector<int>{1, 0, 1, 0, 1, 1, 1, 1}), OptionBoxes());
  EXPECT_FALSE(OptionOn(Settings(), Option::ExitAfterRun));  // as the run reads "1.0": no exit
  EXPECT_TRUE(CustomItemsSelected(Settings()));
  // The start-up box shows the Run key's entry, wherever it came from.
  ASSERT_TRUE(AddStartupEntry());
  EXPECT_EQ(1, OptionBoxes()[1]);
  WriteFileText(Settings(), "[Additional]\r\nexit=0\r\nCustom=yes\r\n");
  EXPECT_EQ((std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0}), OptionBoxes());
}

TEST_F(ScreensTest, OkStoresWhatTheUserTickedAndActsOnIt) {
  WithModal("Clean Options", [&](HWND dlg) {
    for (int n : {1, 2, 4, 5, 7, 8}) Press(dlg, IDC_OP_CHECK(n));
    Press(dlg, IDC_OP_COMMAND1);
  }, [&] { ClickMain(IDC_IMAGE(5)); });
  EXPECT_TRUE(HideKeyTaken());
  EXPECT_TRUE(StartupEntryPresent());
  EXPECT_TRUE(OptionOn(Settings(), Option::ExitAfterRun));
  EXPECT_TRUE(CustomItemsSelected(Settings()));
  EXPECT_TRUE(OptionOn(Settings(), Option::MinimizeToTray));
  EXPECT_EQ("1", ReadIni(Settings(), "Additional", "mintotray"));
  EXPECT_TRUE(OptionOn(Settings(), Option::CloseBrowsers));
  EXPECT_EQ("1", ReadIni(Settings(), "Additional", "closebrowsers"));
  EXPECT_EQ((std::vector<int>{1, 1, 0, 1, 1, 0, 1, 1}), OptionBoxes());
  WithModal("Clean Options", [&](HWND dlg) {
    Press(dlg, IDC_OP_CHECK(2));  // start with Windows: off again
    Press(dlg, IDC_OP_COMMAND1);
  }, [&] { ClickMain(IDC_IMAGE(5)); });
  EXPECT_FALSE(StartupEntryPresent());
  EXPECT_EQ("0", ReadIni(Settings(), "Additional", "startup"));
}

// ---- The taskbar button and the tray.

TEST_F(ScreensTest, MinimizeKeepsTheTaskbarButtonUnlessTheTrayAloneIsChosen) {
  app.Main().Show();
  SendMessageA(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(Main()));
  EXPECT_TRUE(IsWindowVisible(Main()));  // a minimized window keeps its taskbar button
  EXPECT_FALSE(GetWindowLongA(Main(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  app.Main().Show();
  EXPECT_FALSE(IsIconic(Main()));

  WriteIni(Settings(), "Additional", "mintotray", "1");
  SendMessageA(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(Main()));  // the tray icon alone
  SendMessageA(app.Tray().hwnd(), WM_MOUSEMOVE, 0, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_FALSE(IsIconic(Main()));
}

TEST_F(ScreensTest, TheTrayMenuShowsRestoreInBoldAndActsOnTheChoice) {
  MenuRequest seen{};
  SetMenuHandler([&](const MenuRequest& r) {
    seen = r;
    return IDM_TRAY_RESTORE;
  });
  ASSERT_FALSE(IsWindowVisible(Main()));
  SendMessageA(app.Tray().hwnd(), WM_MOUSEMOVE, 0, WM_RBUTTONUP);
  EXPECT_EQ(IDM_TRAY_RESTORE, seen.defaultCommand);
  std::vector<std::string> named;
  for (const std::string& item : seen.items)
    if (!item.empty()) named.push_back(item);
  EXPECT_EQ((std::vector<std::string>{"Help", "Option", "Restore", "Clean Now", "Exit"}), named);
  EXPECT_TRUE(IsWindowVisible(Main()));  // the choice was carried out
}

// ---- The main window after a run, and the about box.

TEST_F(ScreensTest, TheTotalsShowAsSoonAsTheRunEnds) {
  WriteFileText(Settings(), "[WINDOWS]\r\nregnum=99\r\nfilesize=12.5\r\n");
  app.Main().Unload();
  ASSERT_TRUE(app.Main().Load());
  EXPECT_EQ("Cleaned Registry Keys: 99 Released HD Space:12.5MB", Caption(GetDlgItem(Main(), IDC_LABEL(14))));
  EXPECT_EQ("", Caption(GetDlgItem(Main(), IDC_LABEL(12))));
  for (int box : {9, 9, 18, 18, 19, 20, 21, 22}) ClickMain(IDC_CHECK(box));  // MS-Office alone
  ClickMain(IDC_IMAGE(3));
  ASSERT_TRUE(app.CleanNow().IsLoaded());
  messages.Answer(IDYES);
  Press(app.CleanNow().hwnd(), IDC_CN_COMMAND1);
  // No new start: the labels already say what the run stored.
  const std::string regnum = ReadIni(Settings(), "WINDOWS", "regnum");
  EXPECT_NE("99", regnum);
  EXPECT_EQ("Cleaned Registry Keys: " + regnum + " Released HD Space:" + ReadIni(Settings(), "WINDOWS", "filesize") + "MB",
            Caption(GetDlgItem(Main(), IDC_LABEL(14))));
  EXPECT_EQ(ReadIni(Settings(), "WINDOWS", "lastclean"), Caption(GetDlgItem(Main(), IDC_LABEL(12))));
  EXPECT_NE("", Caption(GetDlgItem(Main(), IDC_LABEL(12))));
}

TEST_F(ScreensTest, TheAboutBoxClosesWithItsOkButtonAndWithEnter) {
  std::string ok;
  bool closed = false;
  WithModal("About", [&](HWND about) {
    ok = Caption(GetDlgItem(about, IDOK));
    Press(about, IDOK);
    closed = !IsWindowVisible(about);  // ended: hidden at once, destroyed when its loop returns
  }, [&] { ClickMain(IDC_IMAGE(6)); });
  EXPECT_TRUE(ModalActionsRan());
  EXPECT_EQ("OK", ok);
  EXPECT_TRUE(closed);
  WithModal("About", [&](HWND about) {
    PressKey(about, GetDlgItem(about, IDOK), VK_RETURN);
    closed = !IsWindowVisible(about);
  }, [&] { ClickMain(IDC_IMAGE(6)); });
  EXPECT_TRUE(closed);
  EXPECT_TRUE(app.Main().IsLoaded());
}

// ---- More Applications: whole names, two columns with their headers, where winapp2.ini goes.

TEST_F(ScreensTest, MoreApplicationsShowsItsColumnsWholeAndSaysWhereAWinapp2Goes) {
  std::string status;
  int columns = 0, widths = 0, client = 0;
  std::vector<std::string> headers;
  WithModal("More Applications", [&](HWND dlg) {
    status = Caption(GetDlgItem(dlg, IDC_SI_DEFCOUNT));
    HWND list = GetDlgItem(dlg, IDC_SI_DEFLIST);
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int c = 0; c < columns; ++c) {
      widths += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
      char text[64] = {0};
      HDITEMA item = {};
      item.mask = HDI_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&item));
      headers.push_back(text);
    }
    RECT r;
    GetClientRect(list, &r);
    client = r.right - r.left;
  }, [&] { ClickMain(IDC_LABEL31); });
  ASSERT_TRUE(ModalActionsRan());
  EXPECT_EQ(0u, status.find("No winapp2.ini yet: that file is the shared list of cleaning rules")) << status;
  EXPECT_NE(std::string::npos, status.find("Put one into " + ProgramFolder() + " ")) << status;
  EXPECT_EQ((std::vector<std::string>{"Application", "Group"}), headers);
  EXPECT_EQ(client, widths);  // the columns fill the list: no empty one without a header
}

TEST_F(ScreensTest, TheMoreApplicationsLinkSaysWhatItHoldsAndFollowsTheDialog) {
  WriteFileText(Settings(), "[MOREAPPLICATIONS]\r\nWinamp=1\r\nAOL=01\r\n");
  app.Main().Unload();
  ASSERT_TRUE(app.Main().Load());
  EXPECT_EQ("More Applications: 1 of 23 ticked", Caption(GetDlgItem(Main(), IDC_LABEL31)));
  WithModal("More Applications", [&](HWND dlg) {
    for (int n : {1, 2, 3}) Press(dlg, IDC_SI_CHECK(n));
    Press(dlg, IDC_SI_COMMAND1);
  }, [&] { ClickMain(IDC_LABEL31); });
  // AOL's "01", which the dialog shows ticked and OK stores as "1", counts from now on too.
  EXPECT_EQ("More Applications: 5 of 23 ticked", Caption(GetDlgItem(Main(), IDC_LABEL31)));
  // Closed without OK: nothing changed, and the link says so.
  WithModal("More Applications", [&](HWND dlg) { Press(dlg, IDC_SI_CHECK(4)); }, [&] { ClickMain(IDC_LABEL31); });
  EXPECT_EQ("More Applications: 5 of 23 ticked", Caption(GetDlgItem(Main(), IDC_LABEL31)));
}
