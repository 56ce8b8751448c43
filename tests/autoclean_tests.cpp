// Cleaning without being asked: a browser cleaned when its last process ends while the tray
// window runs, and browsers asked to close before a run (by the option, by tswclean).
#include <windows.h>

#include <memory>
#include <regex>

#include "engine/BrowserWatch.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"
#include "settings/Inifun.h"
#include "tests/BrowserFixture.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/frmMainCode.h"
#include "ui/frmtray.h"

namespace {

struct WindowSearch {
  DWORD process;
  HWND found;
};
BOOL CALLBACK FindShown(HWND window, LPARAM param) {
  WindowSearch& search = *reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.process || !IsWindowVisible(window)) return TRUE;
  search.found = window;
  return FALSE;
}

// A process of the test's own, named as a browser, with its window shown; it ends when Quit
// is called, when its window closes, or with the test.
class FakeBrowser {
 public:
  FakeBrowser(const std::string& folder, const std::string& exeName, bool stays = false) {
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string exe = folder + "\\" + exeName;
    if (!FileExists(exe)) {
      EXPECT_TRUE(CopyFileA("C:\\tsw-bin\\fakebrowser.exe", exe.c_str(), FALSE)) << "the harness puts it there";
    }
    static int made = 0;
    const std::string event = "TswFakeBrowser" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++made);
    done_ = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
    child_ = std::make_unique<ChildProgram>("\"" + exe + "\" " + event + (stays ? " stays" : ""), folder);
    EXPECT_TRUE(child_->started());
    WindowSearch search{child_->id(), nullptr};
    EXPECT_TRUE(PumpUntil([&] {
      EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
      return search.found != nullptr;
    }, 15000)) << exeName << " shows no window";
  }
  ~FakeBrowser() {
    SetEvent(done_);
    child_->Wait(10000);
    CloseHandle(done_);
  }
  FakeBrowser(const FakeBrowser&) = delete;
  FakeBrowser& operator=(const FakeBrowser&) = delete;
  void Quit() {
    SetEvent(done_);
    EXPECT_EQ(0u, child_->Wait(10000));
  }
  bool Running() { return child_->Wait(0) == STILL_ACTIVE; }

 private:
  HANDLE done_ = nullptr;
  std::unique_ptr<ChildProgram> child_;
};

bool Said(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class AutoCleanTest : public BrowserTest {
 protected:
  MessageRecorder messages;
  App app;
  std::string places = ffProfile + "\\places.sqlite";

  void TearDown() override {
    app.UnloadTray();
    BrowserTest::TearDown();
  }
  void CleanWhenClosed(const std::string& browser) {
    WriteIni(Settings(), kMoreBrowsersSection, browser + " Clean when it closes", "1");
  }
  long long Visits() { return Number(places, "SELECT count(*) FROM moz_historyvisits WHERE visit_type <> 7"); }
  std::string Notice() { return app.Tray().LastNotice(); }
};

}  // namespace

TEST_F(AutoCleanTest, ABrowserIsCleanedOfItsTickedKindsWhenItsLastProcessEnds) {
  Firefox();
  Chromium();
  // Cookies of three sites, one of them kept.
  const std::string cookies = ffProfile + "\\cookies.sqlite";
  DeleteFileA(cookies.c_str());
  MakeDb(cookies, std::string(kFirefoxCookies) + CookieRows("moz_cookies", "host", {"a.example", "b.example", "kept.example"}));
  WriteListFile(KeepSiteFile(), {"kept.example"});
  Tick("Firefox", {"History", "Cookies"});
  CleanWhenClosed("Firefox");
  Tick("Google Chrome", {"History"});  // ticked, but not to be cleaned when it closes
  const std::string chromeHistory = chrome + "\\Default\\History", chromeBytes = ReadFileText(chromeHistory);
  {
    FakeBrowser firefox(work.File("firefox"), "firefox.exe");
    FakeBrowser other(work.File("chrome"), "chrome.exe");
    app.LoadTray();
    // While it runs nothing of it is touched.
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ(3, Visits());
    EXPECT_EQ("", Notice());
    firefox.Quit();
    ASSERT_TRUE(PumpUntil([&] { return !Notice().empty(); }, 20000)) << "no cleaning after the browser closed";
  }
  EXPECT_EQ(0, Visits());
  EXPECT_EQ(std::vector<std::string>{"kept.example"}, Column(cookies, "SELECT host FROM moz_cookies"));
  EXPECT_TRUE(std::regex_match(Notice(), std::regex("Firefox closed: [1-9][0-9,]* history rows, 2 sites' cookies"))) << Notice();
  EXPECT_EQ(chromeBytes, ReadFileText(chromeHistory));  // the other browser's tracks stay
  EXPECT_NE("", ReadIni(Settings(), "WINDOWS", "lastclean"));  // a cleaning like a run
  EXPECT_TRUE(messages.seen.empty());
}

TEST_F(AutoCleanTest, ABrowserThatStartsAgainWithinTheDelayIsLeftUntilItClosesForGood) {
  Firefox();
  Tick("Firefox", {"History"});
  CleanWhenClosed("Firefox");
  const std::string before = ReadFileText(places);
  {
    auto first = std::make_unique<FakeBrowser>(work.File("firefox"), "firefox.exe");
    app.LoadTray();
    PumpUntil([] { return false; }, 1000);
    first->Quit();
    first.reset();
    // Back at once, as an update or a switch of profile restarts it.
    FakeBrowser second(work.File("firefox"), "firefox.exe");
    PumpUntil([] { return false; }, kCleanAfterCloseMs + 3000);
    EXPECT_EQ(before, ReadFileText(places));
    EXPECT_EQ("", Notice());
    second.Quit();
    ASSERT_TRUE(PumpUntil([&] { return !Notice().empty(); }, 20000)) << "no cleaning after it closed for good";
  }
  EXPECT_EQ(0, Visits());
  EXPECT_EQ(0u, Notice().find("Firefox closed: ")) << Notice();
}

TEST_F(AutoCleanTest, ARunAsksRunningBrowsersToCloseFirstAndPassesOverTheOneThatStays) {
  Chromium();
  Firefox();
  Tick("Firefox", {"History"});
  Tick("Google Chrome", {"History"});
  const std::string chromeHistory = chrome + "\\Default\\History", chromeBytes = ReadFileText(chromeHistory);
  FakeBrowser firefox(work.File("firefox"), "firefox.exe");
  FakeBrowser stubborn(work.File("chrome"), "chrome.exe", true);  // its window ignores WM_CLOSE
  // Without the option nobody is asked: both are passed over as running.
  Run();
  EXPECT_TRUE(firefox.Running());
  EXPECT_TRUE(Said(view.lines, "Firefox is running: passed over, nothing of it was changed"));
  EXPECT_EQ(3, Visits());

  WriteIni(Settings(), "Additional", "closebrowsers", "1");
  Run();
  EXPECT_TRUE(Said(view.lines, "Asked Firefox to close")) << ::testing::PrintToString(view.lines);
  EXPECT_TRUE(Said(view.lines, "Asked Google Chrome to close"));
  EXPECT_TRUE(Said(view.lines, "Firefox closed"));
  EXPECT_TRUE(Said(view.lines, "Google Chrome did not close within 10 seconds: it stays open"));
  EXPECT_TRUE(Said(view.lines, "Google Chrome is running: passed over, nothing of it was changed"));
  EXPECT_FALSE(firefox.Running());
  EXPECT_TRUE(stubborn.Running());  // asked, never ended by force
  EXPECT_EQ(0, Visits());
  EXPECT_EQ(chromeBytes, ReadFileText(chromeHistory));
}

TEST_F(AutoCleanTest, TheConsoleCleanerAsksOnlyWhenToldAndOnlyBeforeAWholeRun) {
  Firefox();
  StoreTicks(Settings(), {});  // of the main window's items none
  Tick("Firefox", {"History"});
  const std::string exe = folder_->File("tswclean.exe");
  ASSERT_TRUE(CopyFileA("C:\\tsw-bin\\tswclean.exe", exe.c_str(), FALSE));
  for (const char* wrong : {" --close-browsers --analyze", " --items --close-browsers", " --close-browsers --close-browsers"}) {
    const ProgramResult bad = RunProgram("\"" + exe + "\"" + wrong, folder_->path());
    EXPECT_EQ(2u, bad.code) << wrong;
  }
  FakeBrowser firefox(work.File("firefox"), "firefox.exe");
  const ProgramResult passed = RunProgram("\"" + exe + "\"", folder_->path());
  EXPECT_EQ(1u, passed.code) << passed.out;  // running: passed over
  EXPECT_TRUE(firefox.Running());
  const ProgramResult asked = RunProgram("\"" + exe + "\" --close-browsers", folder_->path());
  EXPECT_EQ(0u, asked.code) << asked.out << asked.err;
  EXPECT_TRUE(Said(Lines(asked.out), "Asked Firefox to close")) << asked.out;
  EXPECT_TRUE(Said(Lines(asked.out), "Firefox closed"));
  EXPECT_EQ(0, Visits());
}

// Yandex's executable is called "browser.exe", as other programs' are: only one in Yandex's own
// folder is Yandex, so an unrelated browser.exe neither holds its cleaning back nor is asked to
// close.
TEST_F(AutoCleanTest, YandexIsKnownByTheFolderOfItsExecutableNotByItsGenericName) {
  const std::string yandex = local + "\\Yandex\\YandexBrowser\\User Data\\Default";
  MakeFile(yandex + "\\Preferences", "{}");
  MakeDb(yandex + "\\History", kChromiumHistory);
  Tick("Yandex", {"History"});
  WriteIni(Settings(), "Additional", "closebrowsers", "1");
  {
    FakeBrowser other(work.File("Other"), "browser.exe");
    Run();
    EXPECT_FALSE(Said(view.lines, "Asked Yandex to close")) << ::testing::PrintToString(view.lines);
    EXPECT_TRUE(other.Running());
    EXPECT_EQ(0, Number(yandex + "\\History", "SELECT count(*) FROM urls"));
  }
  MakeDb(yandex + "\\History", kChromiumHistory);
  for (const char* folder : {"", "\\Yandex", "\\Yandex\\YandexBrowser", "\\Yandex\\YandexBrowser\\Application"})
    CreateDirectoryA((work.File("Programs") + folder).c_str(), nullptr);
  FakeBrowser browser(work.File("Programs") + "\\Yandex\\YandexBrowser\\Application", "browser.exe");
  WriteIni(Settings(), "Additional", "closebrowsers", "0");
  Run();
  EXPECT_TRUE(Said(view.lines, "Yandex is running: passed over, nothing of it was changed")) << ::testing::PrintToString(view.lines);
  EXPECT_EQ(3, Number(yandex + "\\History", "SELECT count(*) FROM urls"));
  WriteIni(Settings(), "Additional", "closebrowsers", "1");
  Run();
  EXPECT_TRUE(Said(view.lines, "Asked Yandex to close")) << ::testing::PrintToString(view.lines);
  EXPECT_FALSE(browser.Running());
  EXPECT_EQ(0, Number(yandex + "\\History", "SELECT count(*) FROM urls"));
}
