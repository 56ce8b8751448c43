// Clean Options, the tray window and the boss key, driven as a user would.
#include <windows.h>
#include <shlwapi.h>

#include "access/Options.h"
#include "access/RegKey.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/BackgroundRes.h"
#include "ui/IEWindows.h"
#include "ui/SkinModule.h"
#include "ui/frmMainCode.h"
#include "ui/frmcleannow.h"
#include "ui/frmMainCodeRes.h"
#include "ui/frmtray.h"

namespace {

const char kIEMain[] = "Software\\Microsoft\\Internet Explorer\\Main";

void Press(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

std::string Value(HKEY root, const std::string& sub, const char* name) {
  char buf[1024] = {0};
  DWORD size = sizeof buf;
  if (SHGetValueA(root, sub.c_str(), name, nullptr, buf, &size) != ERROR_SUCCESS) return "(none)";
  return buf;
}

// The size a string value is stored with, as RegQueryValueExA reports it.
size_t StoredSize(HKEY root, const std::string& sub, const char* name) {
  RegKey key;
  DWORD size = 0;
  if (key.Open(root, sub, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
      RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return 0;
  return size;
}

// True when Windows key + Z is taken (by the tray window): registering it once more fails.
bool HideKeyTaken() {
  if (RegisterHotKey(nullptr, kHideHotkey, MOD_WIN, 'Z')) {
    UnregisterHotKey(nullptr, kHideHotkey);
    return false;
  }
  return true;
}

}  // namespace

class BackgroundTest : public ProgramFolderTest {
 protected:
  App app;
  MessageRecorder messages;
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ASSERT_TRUE(app.Main().Load());
    app.LoadTray();
    ASSERT_TRUE(app.TrayLoaded());
  }
  void TearDown() override {
    app.UnloadTray();
    app.Main().Unload();
    SHDeleteValueA(HKEY_CURRENT_USER, kCurrentUserRunKey, "Tracksweep");
    ProgramFolderTest::TearDown();
  }
  HWND Tray() { return app.Tray().hwnd(); }
  void InOptions(std::function<void(HWND)> act) {
    WithModal("Clean Options", act, [&] {
      HWND main = app.Main().hwnd();
      SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_IMAGE(5), STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_IMAGE(5))));
    });
    ASSERT_TRUE(ModalActionsRan());
  }
};

TEST_F(BackgroundTest, OptionsWithoutSettingsShowEveryOptionOffAndStoreOnlyWhatIsTicked) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) SHSetValueA(root, kIEMain, "Start Page", REG_SZ, "Error", 6);
  RegKey users;
  users.Create(HKEY_USERS, std::string(".DEFAULT\\") + kIEMain);
  SHDeleteValueA(HKEY_USERS, (std::string(".DEFAULT\\") + kIEMain).c_str(), "Start Page");
  SHDeleteValueA(HKEY_CURRENT_USER, kIEMain, "Window Title");
  RemoveStartupEntry();
  InOptions([&](HWND dlg) {
    EXPECT_EQ("", Caption(GetDlgItem(dlg, IDC_OP_TEXT1)));  // "Error" shows empty
    // What is in effect: no option is on until the user turns it on.
    for (int n = 1; n <= 7; ++n) EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, IDC_OP_CHECK(n))) << n;
    EXPECT_EQ("Enable Securely Cleaning", Caption(GetDlgItem(dlg, IDC_OP_CHECK(6))));
    Press(dlg, IDC_OP_CHECK(2));  // Load Tracksweep on Windows Start Up: on
    Press(dlg, IDC_OP_CHECK(4));  // Exit after cleaning: on
    Press(dlg, IDC_OP_COMMAND1);
  });
  // The home-page boxes were left alone: nothing is written for them.
  EXPECT_EQ("Error", Value(HKEY_CURRENT_USER, kIEMain, "Start Page"));
  EXPECT_EQ("(none)", Value(HKEY_CURRENT_USER, kIEMain, "Window Title"));
  EXPECT_EQ("(none)", Value(HKEY_USERS, std::string(".DEFAULT\\") + kIEMain, "Start Page"));
  EXPECT_EQ("0", ReadIni(Settings(), "Additional", "bosskey"));
  EXPECT_EQ("1", ReadIni(Settings(), "Additional", "startup"));
  EXPECT_EQ("1", ReadIni(Settings(), "Additional", "exit"));
  EXPECT_EQ("0", ReadIni(Settings(), "Additional", "securely"));
  const std::string run = "\"" + ProgramFolder() + "\\Tsw.exe\"";
  EXPECT_EQ(run, Value(HKEY_CURRENT_USER, kCurrentUserRunKey, "Tracksweep"));
  EXPECT_EQ(run.size() + 1, StoredSize(HKEY_CURRENT_USER, kCurrentUserRunKey, "Tracksweep"));  // with its NUL
  EXPECT_FALSE(HideKeyTaken());
  EXPECT_TRUE(messages.seen.empty());
}

TEST_F(BackgroundTest, OnlyAHomePageBoxTheUserChangedIsWritten) {
  const std::string longPage = "http://home.example/" + std::string(300, 'p');
  ScopedRegValue page(HKEY_CURRENT_USER, kIEMain, "Start Page", longPage);
  ScopedRegValue title(HKEY_CURRENT_USER, kIEMain, "Window Title", "My browser");
  InOptions([&](HWND dlg) {
    EXPECT_EQ(longPage, Caption(GetDlgItem(dlg, IDC_OP_TEXT1)));  // shown whole
    Press(dlg, IDC_OP_CHECK(4));
    Press(dlg, IDC_OP_COMMAND1);
  });
  EXPECT_EQ(longPage, Value(HKEY_CURRENT_USER, kIEMain, "Start Page"));
  EXPECT_EQ("My browser", Value(HKEY_CURRENT_USER, kIEMain, "Window Title"));
  EXPECT_EQ("(none)", Value(HKEY_USERS, std::string(".DEFAULT\\") + kIEMain, "Window Title"));
  // Emptied by the user: a single blank, in all three keys, with its NUL.
  InOptions([&](HWND dlg) {
    SetDlgItemTextA(dlg, IDC_OP_TEXT2, "");
    Press(dlg, IDC_OP_COMMAND1);
  });
  EXPECT_EQ(longPage, Value(HKEY_CURRENT_USER, kIEMain, "Start Page"));
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_USERS}) {
    const std::string sub = root == HKEY_USERS ? std::string(".DEFAULT\\") + kIEMain : kIEMain;
    EXPECT_EQ(" ", Value(root, sub, "Window Title"));
    EXPECT_EQ(2u, StoredSize(root, sub, "Window Title"));
  }
  SHDeleteValueA(HKEY_USERS, (std::string(".DEFAULT\\") + kIEMain).c_str(), "Window Title");
  SHDeleteValueA(HKEY_LOCAL_MACHINE, kIEMain, "Window Title");
}

TEST_F(BackgroundTest, TheBossKeyIsSwitchedOnlyWhenTheBoxChangesAndCancelWritesNothing) {
  WriteFileText(Settings(), "[Additional]\r\nbosskey=0\r\nstartup=0\r\n");
  InOptions([&](HWND dlg) { Press(dlg, IDC_OP_COMMAND2); });
  EXPECT_EQ("[Additional]\r\nbosskey=0\r\nstartup=0\r\n", ReadFileText(Settings()));
  EXPECT_FALSE(HideKeyTaken());
  InOptions([&](HWND dlg) {
    Press(dlg, IDC_OP_CHECK(1));
    Press(dlg, IDC_OP_COMMAND1);
  });
  EXPECT_TRUE(HideKeyTaken());
  EXPECT_TRUE(app.Tray().BossKeyOn());
  InOptions([&](HWND dlg) { Press(dlg, IDC_OP_COMMAND1); });  // unchanged: nothing registered again
  EXPECT_TRUE(app.Tray().BossKeyOn());
  InOptions([&](HWND dlg) {
    Press(dlg, IDC_OP_CHECK(1));
    Press(dlg, IDC_OP_COMMAND1);
  });
  EXPECT_FALSE(HideKeyTaken());
  EXPECT_EQ("0", ReadIni(Settings(), "Additional", "bosskey"));
  EXPECT_EQ("(none)", Value(HKEY_CURRENT_USER, kCurrentUserRunKey, "Tracksweep"));
}

TEST_F(BackgroundTest, TheIconRestoresOnButtonUpAndExitEndsEverything) {
  ASSERT_FALSE(IsWindowVisible(app.Main().hwnd()));
  EXPECT_EQ("systray", Caption(Tray()));
  SendMessageA(Tray(), WM_MOUSEMOVE, 0, WM_LBUTTONDOWN);
  EXPECT_FALSE(IsWindowVisible(app.Main().hwnd()));
  SendMessageA(Tray(), WM_MOUSEMOVE, 0, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(app.Main().hwnd()));

  WriteIni(Settings(), "Additional", "bosskey", "1");
  app.UnloadTray();
  app.LoadTray();  // the boss key comes on with the tray when the setting says so
  ASSERT_TRUE(HideKeyTaken());
  HWND tray = Tray();
  SendMessageA(GetDlgItem(app.Main().hwnd(), IDC_CHECK(2)), BM_CLICK, 0, 0);
  SendMessageA(tray, WM_COMMAND, IDM_TRAY_EXIT, 0);
  EXPECT_FALSE(app.TrayLoaded());
  EXPECT_FALSE(app.Main().IsLoaded());
  EXPECT_FALSE(HideKeyTaken());
  EXPECT_EQ("0", ReadIni(Settings(), "BROWSERS", "history"));  // the close handler stored the ticks
}

class BossKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* cls : {"IEFrame", "CabinetWClass", "ExploreWClass"}) {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = cls;
      RegisterClassA(&wc);
    }
    ie = Make("IEFrame", SW_SHOWMAXIMIZED);
    folder = Make("CabinetWClass", SW_SHOWNORMAL);
    tree = Make("ExploreWClass", SW_SHOWNORMAL);
  }
  void TearDown() override {
    for (HWND h : {ie, folder, tree}) DestroyWindow(h);
  }
  static HWND Make(const char* cls, int show) {
    HWND h = CreateWindowExA(0, cls, cls, WS_OVERLAPPEDWINDOW, 40, 40, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(h, show);
    return h;
  }
  HWND ie = nullptr, folder = nullptr, tree = nullptr;
};

TEST_F(BossKeyTest, HidesBothClassesAndShowsThemAsTheyWere) {
  ASSERT_TRUE(IsZoomed(ie));
  ShowIEWindows();  // before any hide: nothing
  OnBossHotkey(kHideHotkey, MAKELPARAM(MOD_WIN, 'Z'));
  EXPECT_FALSE(IsWindowVisible(ie));
  EXPECT_FALSE(IsWindowVisible(folder));
  EXPECT_TRUE(IsWindowVisible(tree));
  OnBossHotkey(kShowHotkey, MAKELPARAM(MOD_WIN, 'Z'));  // wrong modifiers: nothing
  EXPECT_FALSE(IsWindowVisible(ie));
  HideIEWindows();  // a second hide starts a new list with the same windows
  OnBossHotkey(kShowHotkey, MAKELPARAM(MOD_WIN | MOD_SHIFT, 'Z'));
  EXPECT_TRUE(IsWindowVisible(ie));
  EXPECT_TRUE(IsWindowVisible(folder));
  EXPECT_TRUE(IsZoomed(ie));  // back as it was: maximised
  EXPECT_EQ("IEFrame", GetWindowClass(ie));
}

TEST(SkinLayout, PlacesTheFrameOfA400By300Window) {
  auto at = [](const char* name) {
    for (const SkinPlace& p : SkinLayout(400, 300))
      if (std::string(p.name) == name) return p;
    return SkinPlace{name, -1, -1, -1, -1};
  };
  EXPECT_EQ(378, at("imgTitleClose").left);
  EXPECT_EQ(8, at("imgTitleClose").top);
  EXPECT_EQ(19, at("imgWindowBottom").left);
  EXPECT_EQ(270, at("imgWindowBottom").top);
  EXPECT_EQ(362, at("imgWindowBottom").width);
  EXPECT_EQ(240, at("imgWindowLeft").height);
  EXPECT_EQ(262, at("imgWindowRight").height);
  EXPECT_EQ(327, at("imgTitleHelp").left);
  EXPECT_EQ(-1, at("imgTitleMaximize").left);  // not placed
}

class SkinTest : public ProgramFolderTest {
 protected:
  static SIZE Size(const SkinFrame& skin, const char* part) { return skin.PictureSize(SkinPartIndex(part)); }
};

TEST_F(SkinTest, SkinFilesReplaceTheBuiltInPicturesOnlyWhereTheyRead) {
  SkinFrame skin;
  skin.LoadSkinImages();  // no Skinz folder: the program's own pictures
  EXPECT_EQ(15, Size(skin, "imgTitleClose").cx);
  EXPECT_EQ(30, Size(skin, "imgTitleMain").cy);
  EXPECT_EQ(15, Size(skin, "imgTitleMaxRestore").cx);  // imgTitleMaximize's picture

  const std::string folder = ProgramFolder() + "\\Skinz\\Blue";
  // A one-pixel picture, and a file that is no picture at all.
  MakeFile(folder + "\\imgTitleClose.gif",
           std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
                       "D\x01\x00;", 35));
  MakeFile(folder + "\\imgTitleHelp.gif", "not a picture");
  skin.LoadSkinImages();
  EXPECT_EQ(1, Size(skin, "imgTitleClose").cx);
  EXPECT_EQ(15, Size(skin, "imgTitleHelp").cx);

  ScopedRegValue other(HKEY_CURRENT_USER, "Software\\Tracksweep\\Tracksweep\\Options", "Current Skin", "Green");
  EXPECT_EQ(ProgramFolder() + "\\Skinz\\Green\\imgTitleClose.gif", SkinFile("imgTitleClose"));
  skin.LoadSkinImages();
  EXPECT_EQ(15, Size(skin, "imgTitleClose").cx);  // no Green folder: the built-in picture
}

TEST_F(BackgroundTest, TheMainWindowHasItsOwnRoundedFrameAndCaptionImages) {
  HWND main = app.Main().hwnd();
  EXPECT_FALSE(GetWindowLongA(main, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ("Tracksweep V3.20", Caption(main));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(ERROR, GetWindowRgn(main, region));
  RECT window, box;
  GetWindowRect(main, &window);
  EXPECT_FALSE(PtInRegion(region, 0, 0));  // the corner is cut off
  DeleteObject(region);
  HWND close = GetDlgItem(main, IDC_SKIN(SkinPartIndex("imgTitleClose")));
  GetWindowRect(close, &box);
  EXPECT_EQ(window.right - window.left - 22, box.left - window.left);
  EXPECT_EQ(8, box.top - window.top);
  // The Standard Items page sits inside the frame, below the title bar.
  GetWindowRect(GetDlgItem(main, IDC_IMAGE(1)), &box);
  EXPECT_GE(box.top - window.top, 30);

  {
    app.Main().Show();
    HWND minimize = GetDlgItem(main, IDC_SKIN(SkinPartIndex("imgTitleMinimize")));
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_SKIN(SkinPartIndex("imgTitleMinimize")), STN_CLICKED),
                 reinterpret_cast<LPARAM>(minimize));
    EXPECT_TRUE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(main));  // on the taskbar; the tray alone only when the user chose it
  }
  SendMessageA(GetDlgItem(main, IDC_CHECK(3)), BM_CLICK, 0, 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_SKIN(SkinPartIndex("imgTitleClose")), STN_CLICKED),
               reinterpret_cast<LPARAM>(close));
  EXPECT_FALSE(app.Main().IsLoaded());
  EXPECT_EQ("0", ReadIni(Settings(), "BROWSERS", "cache"));
}

namespace {

struct OtherWindows {
  DWORD process = 0;
  HWND browser = nullptr, folder = nullptr, hidden = nullptr;
};

BOOL CALLBACK FindOther(HWND h, LPARAM p) {
  OtherWindows& w = *reinterpret_cast<OtherWindows*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != w.process) return TRUE;
  const std::string title = Caption(h);
  if (title == "tsw-boss-browser") w.browser = h;
  if (title == "tsw-boss-folder") w.folder = h;
  if (title == "tsw-boss-hidden") w.hidden = h;
  return TRUE;
}

}  // namespace

// The boss key as the user meets it: the hotkey message reaches the tray window, and the
// windows belong to another program.
TEST_F(BackgroundTest, TheBossKeyHidesAnotherProgramsWindowsAndNeverStrandsThem) {
  const std::string eventName = "TswBossDone" + std::to_string(GetCurrentProcessId());
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
  ASSERT_NE(nullptr, done);
  TempFolder out("tswboss");
  ChildProgram other("C:\\tsw-bin\\bosswindows.exe " + eventName, out.path());
  ASSERT_TRUE(other.started()) << "the harness puts bosswindows.exe in C:\\tsw-bin";
  OtherWindows w;
  w.process = other.id();
  ASSERT_TRUE(PumpUntil([&] {
    EnumWindows(FindOther, reinterpret_cast<LPARAM>(&w));
    return w.browser && w.folder && w.hidden && IsZoomed(w.browser) && IsWindowVisible(w.folder);
  }, 20000));
  ASSERT_FALSE(IsWindowVisible(w.hidden));

  auto hide = [&] { SendMessageA(Tray(), WM_HOTKEY, kHideHotkey, MAKELPARAM(MOD_WIN, 'Z')); };
  auto show = [&] { SendMessageA(Tray(), WM_HOTKEY, kShowHotkey, MAKELPARAM(MOD_WIN | MOD_SHIFT, 'Z')); };
  hide();  // the boss key is off: nothing happens
  EXPECT_TRUE(IsWindowVisible(w.browser));

  app.SetBossKey(true);
  hide();
  EXPECT_FALSE(IsWindowVisible(w.browser));
  EXPECT_FALSE(IsWindowVisible(w.folder));
  hide();  // a second press keeps what the first one saved
  show();
  EXPECT_TRUE(IsWindowVisible(w.browser));
  EXPECT_TRUE(IsZoomed(w.browser));  // maximised stays maximised
  EXPECT_TRUE(IsWindowVisible(w.folder));
  EXPECT_FALSE(IsWindowVisible(w.hidden));  // hidden before: not ours to show

  hide();
  app.SetBossKey(false);  // switched off: nothing stays hidden
  EXPECT_TRUE(IsWindowVisible(w.browser));
  EXPECT_TRUE(IsWindowVisible(w.folder));
  EXPECT_FALSE(IsWindowVisible(w.hidden));

  app.SetBossKey(true);
  hide();
  ASSERT_FALSE(IsWindowVisible(w.folder));
  SendMessageA(Tray(), WM_COMMAND, IDM_TRAY_EXIT, 0);  // the program ends: they come back
  EXPECT_TRUE(IsWindowVisible(w.browser));
  EXPECT_TRUE(IsZoomed(w.browser));
  EXPECT_TRUE(IsWindowVisible(w.folder));

  SetEvent(done);
  EXPECT_EQ(0u, other.Wait(10000));
  CloseHandle(done);
}

namespace {
struct CaptionCount {
  const char* caption;
  int n;
};
BOOL CALLBACK CountCaptioned(HWND h, LPARAM p) {
  CaptionCount& c = *reinterpret_cast<CaptionCount*>(p);
  if (Caption(h) == c.caption) ++c.n;
  return TRUE;
}
int WindowsCaptioned(const char* caption) {
  CaptionCount count = {caption, 0};
  EnumThreadWindows(GetCurrentThreadId(), CountCaptioned, reinterpret_cast<LPARAM>(&count));
  return count.n;
}
}  // namespace

TEST_F(BackgroundTest, WhileAModalDialogIsOpenTheTrayMenuOpensNoOther) {
  bool sawOne = false;
  InOptions([&](HWND dlg) {
    // Each of these would open a window of its own if nothing held it back.
    SendMessageA(Tray(), WM_COMMAND, IDM_TRAY_OPTION, 0);
    SendMessageA(Tray(), WM_COMMAND, IDM_TRAY_ERASE, 0);
    sawOne = WindowsCaptioned("Clean Options") == 1;
    EXPECT_FALSE(app.CleanNow().IsLoaded());
    SendMessageA(Tray(), WM_COMMAND, IDM_TRAY_RESTORE, 0);  // still works
    EXPECT_TRUE(IsWindowVisible(app.Main().hwnd()));
    Press(dlg, IDC_OP_COMMAND2);
  });
  EXPECT_TRUE(sawOne);
  // With the dialog gone, the menu opens windows again.
  SendMessageA(Tray(), WM_COMMAND, IDM_TRAY_ERASE, 0);
  EXPECT_TRUE(app.CleanNow().IsLoaded());
}
