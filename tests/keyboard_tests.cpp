// The program from the keyboard alone, keys delivered as Windows delivers them: Tab through the
// main window's navigation, Enter and Space on its links, its accelerators, Escape in every
// dialog, and a focus that shows.
#include <windows.h>

#include <algorithm>

#include "settings/AppFolder.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/frmMainCode.h"
#include "ui/frmMainCodeRes.h"
#include "ui/frmcleannow.h"
#include "ui/frmcleannowRes.h"
#include "ui/frmLocateRes.h"
#include "ui/MoreBrowsersRes.h"

namespace {

// The bits a control shows when drawn as its window draws it, with or without the focus.
std::vector<DWORD> DrawnWith(HWND window, HWND control, bool focused) {
  RECT r;
  GetClientRect(control, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = focused ? ODS_FOCUS : 0;
  dis.hwndItem = control;
  dis.hDC = dc;
  dis.rcItem = r;
  SendMessageA(window, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + w * h);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Escape pressed where the dialog's focus is; true when that ended the dialog.
bool EscapeCloses(HWND dlg) {
  HWND focus = GetFocus();
  if (!focus || !IsChild(dlg, focus)) focus = GetNextDlgTabItem(dlg, nullptr, FALSE);
  PressKey(dlg, focus, VK_ESCAPE);
  return !IsWindowVisible(dlg);  // ended: hidden at once, destroyed when its loop returns
}

void Click(HWND window, int control) {
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, control)));
}

}  // namespace

class KeyboardTest : public ProgramFolderTest {
 protected:
  IsolatedTrackFolders isolated;
  App app;
  MessageRecorder messages;
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ASSERT_TRUE(app.Main().Load());
    app.Main().Show();
  }
  void TearDown() override {
    app.CleanNow().Unload();
    app.Main().Unload();
    ProgramFolderTest::TearDown();
  }
  HWND Main() { return app.Main().hwnd(); }
  HWND Item(int id) { return GetDlgItem(Main(), id); }
  // Opens a modal dialog by a key on a control of the main window; true when it came up.
  bool OpensWith(const std::string& caption, int control, UINT key, bool alt = false) {
    bool up = false;
    WithModal(caption, [&](HWND) { up = true; }, [&] { PressKeyInProgram(Item(control), key, alt); });
    return up && ModalActionsRan();
  }
};

TEST_F(KeyboardTest, TabReachesTheNavigationInOrderThenTheLinks) {
  SetFocus(Item(IDC_IMAGE(1)));
  std::vector<int> reached = {GetDlgCtrlID(GetFocus())};
  for (int i = 0; i < 60; ++i) {
    PressKeyInProgram(GetFocus(), VK_TAB);
    const int id = GetDlgCtrlID(GetFocus());
    if (id == IDC_IMAGE(1)) break;  // round again
    reached.push_back(id);
  }
  const std::vector<int> navigation = {IDC_IMAGE(1), IDC_IMAGE(2), IDC_IMAGE(3), IDC_IMAGE(4),
                                       IDC_IMAGE(5), IDC_IMAGE(6), IDC_IMAGE(9)};
  ASSERT_GE(reached.size(), navigation.size());
  EXPECT_EQ(navigation, std::vector<int>(reached.begin(), reached.begin() + 7));
  // Then the page, and every link on the way, in the order they stand.
  auto at = [&](int id) { return std::find(reached.begin(), reached.end(), id) - reached.begin(); };
  EXPECT_LT(at(IDC_CHECK(1)), at(IDC_LABEL32));
  EXPECT_LT(at(IDC_LABEL32), at(IDC_LABEL33));
  EXPECT_LT(at(IDC_LABEL33), at(IDC_LABEL31));
  EXPECT_LT(at(IDC_LABEL31), at(IDC_LABEL(51)));
  EXPECT_LT(at(IDC_LABEL(51)), at(IDC_LABEL(7)));
  EXPECT_LT(at(IDC_LABEL(7)), static_cast<long>(reached.size()));
  // Shift+Tab goes back.
  SetFocus(Item(IDC_IMAGE(3)));
  PressKey(Main(), GetFocus(), VK_TAB, true);
  EXPECT_EQ(IDC_IMAGE(2), GetDlgCtrlID(GetFocus()));
}

TEST_F(KeyboardTest, EnterAndSpaceOnTheNavigationAndTheLinksActAsAClick) {
  EXPECT_TRUE(OpensWith("More Browsers", IDC_LABEL32, VK_RETURN));
  EXPECT_TRUE(OpensWith("More Applications", IDC_LABEL31, VK_RETURN));
  EXPECT_TRUE(OpensWith("More Browsers", IDC_LABEL32, VK_SPACE));
  EXPECT_TRUE(OpensWith("More Applications", IDC_LABEL31, VK_SPACE));
  EXPECT_TRUE(OpensWith("More Windows Tracks", IDC_LABEL33, VK_RETURN));
  EXPECT_TRUE(OpensWith("More Windows Tracks", IDC_LABEL33, VK_SPACE));
  EXPECT_TRUE(OpensWith("Clean Options", IDC_IMAGE(5), VK_RETURN));
  EXPECT_TRUE(OpensWith("About", IDC_IMAGE(6), VK_SPACE));
  PressKeyInProgram(Item(IDC_IMAGE(2)), VK_RETURN);
  EXPECT_TRUE(IsWindowVisible(Item(IDC_FRAME7)));  // Custom Items
  PressKeyInProgram(Item(IDC_IMAGE(1)), VK_SPACE);
  EXPECT_TRUE(IsWindowVisible(Item(IDC_FRAME2)));
  PressKeyInProgram(Item(IDC_IMAGE(3)), VK_RETURN);
  EXPECT_TRUE(app.CleanNow().IsLoaded());  // the progress dialog, which starts nothing
  EXPECT_TRUE(messages.seen.empty());
}

TEST_F(KeyboardTest, AltAndTheUnderlinedLetterActOnTheNavigationAndTheLinks) {
  HWND anywhere = Item(IDC_CHECK(12));
  PressKeyInProgram(anywhere, 'U', true);
  EXPECT_TRUE(IsWindowVisible(Item(IDC_FRAME7)));
  EXPECT_FALSE(IsWindowVisible(Item(IDC_FRAME2)));
  PressKeyInProgram(Item(IDC_IMAGE(2)), 'S', true);
  EXPECT_TRUE(IsWindowVisible(Item(IDC_FRAME2)));
  EXPECT_TRUE(OpensWith("Clean Options", IDC_CHECK(12), 'O', true));
  EXPECT_TRUE(OpensWith("About", IDC_CHECK(12), 'A', true));
  EXPECT_TRUE(OpensWith("More Browsers", IDC_CHECK(12), 'B', true));
  EXPECT_TRUE(OpensWith("More Applications", IDC_CHECK(12), 'P', true));
  EXPECT_TRUE(OpensWith("More Windows Tracks", IDC_CHECK(12), 'W', true));
  EXPECT_TRUE(OpensWith("Search & Erase", IDC_CHECK(12), 'R', true));
  PressKeyInProgram(anywhere, 'N', true);
  EXPECT_TRUE(app.CleanNow().IsLoaded());
  // The captions show the letters.
  EXPECT_EQ("&Standard Items", [&] {
    char text[64] = {0};
    GetWindowTextA(Item(IDC_LABEL(1)), text, sizeof text);
    return std::string(text);
  }());
  // The keys belong to the main window: pressed in the progress dialog they do nothing there.
  PressKeyInProgram(GetDlgItem(app.CleanNow().hwnd(), IDC_CN_LIST1), 'U', true);
  EXPECT_TRUE(IsWindowVisible(Item(IDC_FRAME2)));
  PressKeyInProgram(anywhere, 'X', true);
  EXPECT_FALSE(app.Main().IsLoaded());  // EXIT
}

TEST_F(KeyboardTest, EscapeClosesEveryDialogOfTheMainWindow) {
  struct Opened {
    const char* caption;
    int control;
  };
  const Opened dialogs[] = {{"Clean Options", IDC_IMAGE(5)},       {"About", IDC_IMAGE(6)},
                            {"Search & Erase", IDC_IMAGE(4)},      {"More Browsers", IDC_LABEL32},
                            {"More Applications", IDC_LABEL31},    {"URL Drop-List Options", IDC_COMMAND(7)},
                            {"Cookies Options", IDC_COMMAND(8)},   {"Netscape Navigator", IDC_COMMAND(3)},
                            {"Opera", IDC_COMMAND(1)},             {"MSN Explorer", IDC_COMMAND(2)},
                            {"MS Office", IDC_COMMAND(6)},         {"More Windows Tracks", IDC_LABEL33}};
  for (const Opened& d : dialogs) {
    bool closed = false;
    WithModal(d.caption, [&](HWND dlg) { closed = EscapeCloses(dlg); }, [&] { Click(Main(), d.control); });
    EXPECT_TRUE(ModalActionsRan()) << d.caption;
    EXPECT_TRUE(closed) << d.caption;
  }
  EXPECT_FALSE(FileExists(Settings()));  // Escape is Cancel: nothing was stored
}

TEST_F(KeyboardTest, EscapeClosesTheDialogsThatOtherDialogsOpen) {
  struct Nested {
    const char* outer;
    int outerControl;
    const char* inner;
    int innerControl;
  };
  const Nested dialogs[] = {{"More Browsers", IDC_LABEL32, "Cookies to keep", IDC_MB_COOKIES},
                            {"Search & Erase", IDC_IMAGE(4), "Options", IDC_LO_OPTION}};
  for (const Nested& d : dialogs) {
    bool closed = false, innerRan = false;
    WithModal(d.outer, [&](HWND outer) {
      WithModal(d.inner, [&](HWND inner) { closed = EscapeCloses(inner); }, [&] { Click(outer, d.innerControl); });
      innerRan = ModalActionsRan();
    }, [&] { Click(Main(), d.outerControl); });
    EXPECT_TRUE(innerRan) << d.inner;
    EXPECT_TRUE(closed) << d.inner;
  }
  // The progress dialog's own windows, and the progress dialog itself.
  PressKeyInProgram(Item(IDC_IMAGE(3)), VK_RETURN);
  HWND progress = app.CleanNow().hwnd();
  ASSERT_TRUE(progress);
  for (const auto& inner : {std::make_pair("Analyze", IDC_CN_ANALYZE), std::make_pair("What the run did", IDC_CN_DETAILS)}) {
    bool closed = false;
    WithModal(inner.first, [&](HWND dlg) { closed = EscapeCloses(dlg); }, [&] { Click(progress, inner.second); });
    EXPECT_TRUE(ModalActionsRan()) << inner.first;
    EXPECT_TRUE(closed) << inner.first;
  }
  EXPECT_TRUE(app.CleanNow().IsLoaded());
  PressKeyInProgram(GetDlgItem(progress, IDC_CN_ANALYZE), VK_ESCAPE);
  EXPECT_FALSE(app.CleanNow().IsLoaded());
  EXPECT_TRUE(messages.seen.empty());  // nothing asked, nothing erased
}

TEST_F(KeyboardTest, TheFocusShowsOnTheNavigationAndOnTheLinks) {
  for (int id : {IDC_IMAGE(1), IDC_IMAGE(9), IDC_LABEL32, IDC_LABEL33, IDC_LABEL31, IDC_LABEL(7)}) {
    const std::vector<DWORD> plain = DrawnWith(Main(), Item(id), false);
    const std::vector<DWORD> focused = DrawnWith(Main(), Item(id), true);
    ASSERT_FALSE(plain.empty()) << id;
    EXPECT_NE(plain, focused) << id;
    // Drawn on the window's background, the link shows its text at all.
    EXPECT_NE(std::count(plain.begin(), plain.end(), plain[0]), static_cast<long>(plain.size())) << id;
  }
}
