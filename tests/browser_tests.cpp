// Today's browsers: real SQLite databases with each family's tables, in profiles of a Chromium
// and a Firefox browser that the test lays out below its own application-data folders.
#include <windows.h>
#include <shlwapi.h>

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "access/SqliteDb.h"
#include "access/WidePath.h"
#include "engine/Browsers.h"
#include "engine/Preview.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"
#include "keeplists/SiteKeepList.h"
#include "settings/Inifun.h"
#include "tests/BrowserFixture.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/KeepListRes.h"
#include "ui/MoreBrowsersRes.h"
#include "ui/frmMainCode.h"
#include "ui/frmMainCodeRes.h"

TEST(SiteKeepList, MatchesASiteAndItsSubDomainsOnly) {
  SiteKeepList list({"Example.com", "https://www.other.com/path", ""});
  for (const char* kept : {"example.com", ".example.com", "shop.example.com", "a.b.example.com", "EXAMPLE.COM", "www.other.com"})
    EXPECT_TRUE(list.Keeps(kept)) << kept;
  for (const char* gone : {"thisisanexample.com", "example.com.evil.net", "shop-example.com", "other.com", "com", ""})
    EXPECT_FALSE(list.Keeps(gone)) << gone;
}

TEST_F(BrowserTest, FindsTheInstalledBrowsersAndTheirProfiles) {
  Chromium();
  Firefox();
  MakeFile(chrome + "\\System Profile\\notes.txt");  // no Preferences: not a profile
  const std::vector<FoundBrowser> found = FindBrowsers();
  ASSERT_EQ(2u, found.size());
  EXPECT_EQ("Google Chrome", std::string(found[0].info->name));
  std::vector<std::string> names;
  for (const BrowserProfile& p : found[0].profiles) names.push_back(p.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"Default", "Profile 1"}), names);
  EXPECT_EQ("Firefox", std::string(found[1].info->name));
  ASSERT_EQ(1u, found[1].profiles.size());
  EXPECT_EQ(ffProfile, found[1].profiles[0].folder);
  EXPECT_EQ(ffLocal, found[1].profiles[0].localFolder);
  // An absolute profile path is taken as it stands.
  MakeFile(firefox + "\\profiles.ini", "[Profile0]\r\nIsRelative=0\r\nPath=" + work.File("Elsewhere") + "\r\n");
  CreateDirectoryA(work.File("Elsewhere").c_str(), nullptr);
  EXPECT_EQ(work.File("Elsewhere"), FindBrowsers()[1].profiles.at(0).folder);
}

TEST_F(BrowserTest, ChromiumHistoryKeepsBookmarkedAndKeptPagesWithTheirVisitsCleared) {
  Chromium();
  WriteListFile(KeepUrlFile(), {"https://kept.example/"});
  Tick("Google Chrome", {"History"});
  const CleanRun run = Run();
  for (const char* profile : {"\\Default", "\\Profile 1"}) {
    const std::string h = chrome + profile + "\\History";
    EXPECT_EQ((std::vector<std::string>{"https://bookmarked.example/", "https://kept.example/"}),
              Column(h, "SELECT url FROM urls ORDER BY id"));
    EXPECT_EQ(0, Number(h, "SELECT count(*) FROM visits"));
    EXPECT_EQ(0, Number(h, "SELECT sum(visit_count) + sum(typed_count) FROM urls"));
    EXPECT_EQ(0, Number(h, "SELECT count(*) FROM keyword_search_terms"));
    EXPECT_EQ(0, Number(h, "SELECT count(*) FROM segments"));
    EXPECT_EQ(1, Number(h, "SELECT count(*) FROM downloads"));  // the download list is a kind of its own
    EXPECT_EQ(1, Number(h, "SELECT count(*) FROM meta"));
    EXPECT_FALSE(FileExists(chrome + profile + "\\Top Sites"));
    EXPECT_FALSE(FileExists(chrome + profile + "\\Shortcuts"));
    EXPECT_TRUE(FileExists(chrome + profile + "\\Current Session"));
  }
  EXPECT_GE(run.filesize(), 1000);  // two pairs of companions, and what the databases shrank
  // The last item of the run, after Custom Clean Items.
  const auto start = std::find(view.lines.begin(), view.lines.end(), "Please Waiting ,Cleaning More Browsers......");
  ASSERT_NE(view.lines.end(), start);
  EXPECT_EQ("Cleaning More Browsers......OK", *(start + 1));
  EXPECT_EQ("Task complete Successfully!", *(start + 2));
}

TEST_F(BrowserTest, CookiesOfKeptSitesStayInBothFamilies) {
  Chromium();
  Firefox();
  WriteListFile(KeepSiteFile(), {"example.com", "www.other.com"});
  Tick("Google Chrome", {"Cookies"});
  Tick("Firefox", {"Cookies"});
  Run();
  auto sorted = [](std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
  };
  EXPECT_EQ(sorted(kKeptHosts), sorted(Column(chrome + "\\Default\\Network\\Cookies", "SELECT host_key FROM cookies")));
  EXPECT_EQ(sorted(kKeptHosts), sorted(Column(ffProfile + "\\cookies.sqlite", "SELECT host FROM moz_cookies")));
  // The sites the keep-list dialog offers: from every cookie database, each once.
  WriteListFile(KeepSiteFile(), {});
  EXPECT_EQ((std::vector<std::string>{"example.com", "shop.example.com", "www.other.com"}), BrowserCookieSites());
}

TEST_F(BrowserTest, FormEntriesSessionsCachesAndDownloadsEachOnTheirOwn) {
  Chromium();
  const std::string d = chrome + "\\Default";
  Tick("Google Chrome", {"Form entries"});
  Run();
  EXPECT_EQ(0, Number(d + "\\Web Data", "SELECT count(*) FROM autofill"));
  EXPECT_EQ(1, Number(d + "\\Web Data", "SELECT count(*) FROM autofill_profiles"));  // saved addresses stay
  EXPECT_EQ(1, Number(d + "\\Web Data", "SELECT count(*) FROM credit_cards"));
  EXPECT_TRUE(FileExists(d + "\\Sessions\\Session_13300000000000001"));

  WriteIni(Settings(), kMoreBrowsersSection, "Google Chrome Form entries", "0");
  Tick("Google Chrome", {"Session", "Cache", "Download list"});
  Run();
  EXPECT_FALSE(FileExists(d + "\\Current Session"));
  EXPECT_FALSE(FileExists(d + "\\Sessions\\Session_13300000000000001"));
  EXPECT_TRUE(FileExists(d + "\\Sessions"));
  EXPECT_FALSE(FileExists(d + "\\Cache\\Cache_Data\\f_000001"));
  EXPECT_TRUE(FileExists(d + "\\Cache\\Cache_Data"));  // folders kept
  EXPECT_FALSE(FileExists(d + "\\Code Cache\\js\\index"));
  EXPECT_EQ(0, Number(d + "\\History", "SELECT count(*) FROM downloads"));
  EXPECT_EQ(0, Number(d + "\\History", "SELECT count(*) FROM downloads_url_chains"));
  EXPECT_EQ(3, Number(d + "\\History", "SELECT count(*) FROM urls"));  // history itself was not chosen
}

TEST_F(BrowserTest, FirefoxKindsFromItsProfilesIni) {
  Firefox();
  WriteListFile(KeepUrlFile(), {"https://kept.example/"});
  Tick("Firefox", {"History", "Form entries", "Session", "Cache"});
  Run();
  const std::string places = ffProfile + "\\places.sqlite";
  // History goes, the download (a visit of type 7 with its annotation) is the download list's.
  EXPECT_EQ((std::vector<std::string>{"https://bookmarked.example/", "https://kept.example/", "https://files.example/report.pdf"}),
            Column(places, "SELECT url FROM moz_places ORDER BY id"));
  EXPECT_EQ(1, Number(places, "SELECT count(*) FROM moz_historyvisits"));
  EXPECT_EQ(0, Number(places, "SELECT count(*) FROM moz_inputhistory"));
  EXPECT_EQ(2, Number(places, "SELECT count(*) FROM moz_bookmarks"));
  EXPECT_EQ(2, Number(places, "SELECT count(*) FROM moz_origins"));  // secret.example's origin went
  EXPECT_EQ(0, Number(ffProfile + "\\formhistory.sqlite", "SELECT count(*) FROM moz_formhistory"));
  EXPECT_FALSE(FileExists(ffProfile + "\\sessionstore.jsonlz4"));
  EXPECT_FALSE(FileExists(ffProfile + "\\sessionstore-backups\\recovery.jsonlz4"));
  EXPECT_FALSE(FileExists(ffLocal + "\\cache2\\entries\\0123ABCD"));
  EXPECT_TRUE(FileExists(ffLocal + "\\cache2\\entries"));

  Tick("Firefox", {"Download list"});
  Run();
  EXPECT_EQ((std::vector<std::string>{"https://bookmarked.example/", "https://kept.example/"}),
            Column(places, "SELECT url FROM moz_places ORDER BY id"));
  EXPECT_EQ(0, Number(places, "SELECT count(*) FROM moz_annos"));
}

TEST_F(BrowserTest, PasswordsBookmarksAndPreferencesStayByteForByte) {
  Chromium();
  Firefox();
  const std::vector<std::string> untouched = {chrome + "\\Default\\Login Data", chrome + "\\Default\\Bookmarks",
                                              chrome + "\\Default\\Preferences", chrome + "\\Local State",
                                              ffProfile + "\\logins.json", ffProfile + "\\key4.db", ffProfile + "\\prefs.js"};
  std::vector<std::string> before;
  for (const std::string& f : untouched) before.push_back(ReadFileText(f));
  for (const char* browser : {"Google Chrome", "Firefox"})
    Tick(browser, {"History", "Cookies", "Cache", "Session", "Form entries", "Download list"});
  WriteIni(Settings(), "Additional", "securely", "1");
  Run();
  for (size_t i = 0; i < untouched.size(); ++i) EXPECT_EQ(before[i], ReadFileText(untouched[i])) << untouched[i];
  EXPECT_EQ(0, Number(chrome + "\\Default\\History", "SELECT count(*) FROM visits"));  // and the run did run
}

TEST_F(BrowserTest, ARunningBrowserOrAHeldLockLeavesEveryByteAsItWas) {
  Chromium();
  Firefox();
  const std::string history = chrome + "\\Default\\History", places = ffProfile + "\\places.sqlite";
  const std::string chromeBytes = ReadFileText(history), firefoxBytes = ReadFileText(places);
  Tick("Google Chrome", {"History", "Cache"});
  Tick("Firefox", {"History", "Cache"});
  {
    // A process named as the browser's, and Firefox's profile lock held.
    const std::string fake = work.File("chrome.exe");
    ASSERT_TRUE(CopyFileA("C:\\tsw-bin\\bosswindows.exe", fake.c_str(), FALSE));
    const std::string event = "TswChromeRunning" + std::to_string(GetCurrentProcessId());
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
    ChildProgram running("\"" + fake + "\" " + event, work.path());
    ASSERT_TRUE(running.started());
    HANDLE lock = CreateFileA((ffProfile + "\\parent.lock").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Run();
    CloseHandle(lock);
    SetEvent(done);
    running.Wait(10000);
    CloseHandle(done);
  }
  EXPECT_EQ(chromeBytes, ReadFileText(history));
  EXPECT_EQ(firefoxBytes, ReadFileText(places));
  EXPECT_TRUE(FileExists(chrome + "\\Default\\Cache\\Cache_Data\\f_000001"));
  EXPECT_TRUE(FileExists(ffLocal + "\\cache2\\entries\\0123ABCD"));
  EXPECT_NE(view.lines.end(), std::find(view.lines.begin(), view.lines.end(),
                                        "Google Chrome is running: passed over, nothing of it was changed"));
  EXPECT_NE(view.lines.end(), std::find(view.lines.begin(), view.lines.end(),
                                        "Firefox has a profile in use: passed over, nothing of it was changed"));
}

TEST_F(BrowserTest, ACorruptDatabaseOrOneWithoutItsTableIsLeftAloneAndReported) {
  Chromium();
  const std::string d = chrome + "\\Default";
  WriteFileText(d + "\\History", "this is no database, whatever its name says");
  DeleteFileA((d + "\\Web Data").c_str());
  MakeDb(d + "\\Web Data", "CREATE TABLE keywords(id INTEGER, short_name VARCHAR);INSERT INTO keywords VALUES(1,'x');");
  const std::string webData = ReadFileText(d + "\\Web Data");
  Tick("Google Chrome", {"History", "Form entries"});
  Run();
  EXPECT_EQ("this is no database, whatever its name says", ReadFileText(d + "\\History"));
  EXPECT_EQ(webData, ReadFileText(d + "\\Web Data"));
  EXPECT_NE(view.lines.end(), std::find(view.lines.begin(), view.lines.end(),
                                        "Google Chrome (Default): History is not a database Tracksweep can read: left alone"));
  EXPECT_NE(view.lines.end(), std::find(view.lines.begin(), view.lines.end(),
                                        "Google Chrome (Default): Web Data has no table autofill: left alone"));
  // The other profile was cleaned as usual.
  EXPECT_EQ(0, Number(chrome + "\\Profile 1\\History", "SELECT count(*) FROM visits"));
}

TEST_F(BrowserTest, APreviewChangesNothingAndListsWhatTheRunThenErases) {
  Chromium();
  WriteListFile(KeepSiteFile(), {"example.com"});
  Tick("Google Chrome", {"History", "Cookies", "Cache"});
  const std::string history = chrome + "\\Default\\History", cookies = chrome + "\\Default\\Network\\Cookies";
  const std::string historyBytes = ReadFileText(history), cookieBytes = ReadFileText(cookies);
  CleanRun preview(view, ticks, Settings());
  const std::vector<PreviewItem> all = preview.Analyze();
  ASSERT_FALSE(all.empty());
  const std::vector<PreviewItem> items(all.end() - 1, all.end());
  EXPECT_EQ("More Browsers", items[0].name);
  EXPECT_EQ(historyBytes, ReadFileText(history));
  EXPECT_EQ(cookieBytes, ReadFileText(cookies));
  unsigned long long visits = 0, cookieRows = 0, files = 0;
  for (const RecordingEraser::Entry& e : items[0].entries) {
    if (e.kind == "rows" && e.target.find("Default\\History: visits") != std::string::npos) visits = e.count;
    if (e.kind == "rows" && e.target.find("Default\\Network\\Cookies: cookies of ") != std::string::npos) cookieRows += e.count;
    if (e.kind == "file") ++files;
  }
  EXPECT_EQ(4u, visits);
  EXPECT_EQ(5u, cookieRows);  // eight cookies, three of example.com's; one entry per site
  EXPECT_EQ(8u, files);       // per profile: Top Sites, Shortcuts, two cache files
  Run();
  EXPECT_EQ(0, Number(history, "SELECT count(*) FROM visits"));
  EXPECT_EQ(3, Number(cookies, "SELECT count(*) FROM cookies"));
}

TEST_F(BrowserTest, TheMoreBrowsersDialogStoresEachBrowsersKindsAndTheSitesToKeep) {
  Chromium();
  Firefox();
  MessageRecorder messages;
  App app;
  ASSERT_TRUE(app.Main().Load());
  HWND main = app.Main().hwnd();
  // The link names the browsers found here and how many of their kinds are ticked.
  EXPECT_EQ("More Browsers: Google Chrome, Firefox (0 ticked)", Caption(GetDlgItem(main, IDC_LABEL32)));
  auto press = [](HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); };
  auto select = [](HWND dlg, int index) {
    SendMessageA(GetDlgItem(dlg, IDC_MB_LIST), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_MB_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDC_MB_LIST)));
  };
  std::vector<std::string> sitesShown;
  WithModal("More Browsers", [&](HWND dlg) {
    EXPECT_EQ((std::vector<std::string>{"Google Chrome", "Firefox"}), ListLines(GetDlgItem(dlg, IDC_MB_LIST)));
    std::vector<std::string> kinds;
    for (int n = 1; n <= 7; ++n) kinds.push_back(Caption(GetDlgItem(dlg, IDC_MB_CHECK(n))));
    EXPECT_EQ((std::vector<std::string>{"History", "Cookies", "Cache", "Session", "Form entries", "Download list", "Site data"}),
              kinds);
    EXPECT_EQ("Select all of the above", Caption(GetDlgItem(dlg, IDC_MB_SELECTALL)));
    press(dlg, IDC_MB_CHECK(1));
    press(dlg, IDC_MB_CHECK(2));
    press(dlg, IDC_MB_CHECK(7));
    select(dlg, 1);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, IDC_MB_CHECK(1)));  // Firefox's own ticks
    press(dlg, IDC_MB_SELECTALL);
    // Cleaning when it closes is no kind: "Select all" leaves it, the user ticks it.
    EXPECT_EQ("Clean when it closes", Caption(GetDlgItem(dlg, IDC_MB_WHENCLOSED)));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg, IDC_MB_WHENCLOSED));
    press(dlg, IDC_MB_WHENCLOSED);
    select(dlg, 0);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, IDC_MB_CHECK(2)));  // Chrome's, kept meanwhile
    WithModal("Cookies to keep", [&](HWND sites) {
      HWND current = GetDlgItem(sites, IDC_KL_CURRENT);
      sitesShown = ListLines(current);
      SendMessageA(current, LB_SETCURSEL, 0, 0);
      press(sites, IDC_KL_CMDADD);
    }, [&] { press(dlg, IDC_MB_COOKIES); });
    press(dlg, IDC_MB_OK);
  }, [&] { SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_LABEL32, STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_LABEL32))); });
  ASSERT_TRUE(ModalActionsRan());
  EXPECT_EQ((std::vector<std::string>{"example.com", "example.com.evil.net", "other.com", "shop-example.com", "shop.example.com",
                                      "thisisanexample.com", "www.other.com"}),
            sitesShown);
  EXPECT_EQ("example.com\r\n", ReadFileText(KeepSiteFile()));  // written at once
  EXPECT_EQ("1", ReadIni(Settings(), kMoreBrowsersSection, "Google Chrome History"));
  EXPECT_EQ("1", ReadIni(Settings(), kMoreBrowsersSection, "Google Chrome Cookies"));
  EXPECT_EQ("0", ReadIni(Settings(), kMoreBrowsersSection, "Google Chrome Cache"));
  EXPECT_EQ("1", ReadIni(Settings(), kMoreBrowsersSection, "Google Chrome Site data"));
  for (const char* kind : {"History", "Cookies", "Cache", "Session", "Form entries", "Download list", "Site data"})
    EXPECT_EQ("1", ReadIni(Settings(), kMoreBrowsersSection, std::string("Firefox ") + kind)) << kind;
  EXPECT_EQ("1", ReadIni(Settings(), kMoreBrowsersSection, "Firefox Clean when it closes"));
  EXPECT_EQ("0", ReadIni(Settings(), kMoreBrowsersSection, "Google Chrome Clean when it closes"));
  EXPECT_TRUE(AnyBrowserKindChosen(Settings()));
  EXPECT_EQ("More Browsers: Google Chrome, Firefox (10 ticked)", Caption(GetDlgItem(main, IDC_LABEL32)));  // 3 and 7
  EXPECT_TRUE(messages.seen.empty());
  app.Main().Unload();
}

TEST_F(BrowserTest, KeepingToAPreviewTakesOnlyTheTickedSitesAndNoRowAddedSince) {
  Chromium();
  Tick("Google Chrome", {"Cookies"});
  const std::string cookies = chrome + "\\Default\\Network\\Cookies";
  std::vector<PreviewItem> preview = CleanRun(view, ticks, Settings()).Analyze();
  PreviewItem& browsers = preview.back();
  ASSERT_EQ("More Browsers", browsers.name);
  for (PreviewEntry& e : browsers.entries) {
    if (e.target.find("Default\\Network\\Cookies: cookies of other.com (") != std::string::npos) e.ticked = false;
  }
  // Meanwhile a site gets one more cookie: the preview never saw it, so it stays; the one it saw goes.
  {
    SqliteDb db;
    ASSERT_EQ(SqliteDb::Opened::Ok, db.Open(cookies));
    ASSERT_TRUE(db.Exec("INSERT INTO cookies(creation_utc, host_key, name, value, path) VALUES(2,'shop-example.com','m','v','/')"));
  }
  CleanRun run(view, ticks, Settings());
  run.RunSelected(preview);
  std::vector<std::string> left = Column(cookies, "SELECT host_key FROM cookies");
  std::sort(left.begin(), left.end());
  // With no site kept, every site was listed; the ticked and unchanged ones went.
  EXPECT_NE(left.end(), std::find(left.begin(), left.end(), "other.com"));        // unticked
  EXPECT_EQ(1, std::count(left.begin(), left.end(), "shop-example.com"));          // only the new one
  EXPECT_EQ(1, Number(cookies, "SELECT count(*) FROM cookies WHERE host_key = 'shop-example.com' AND name = 'm'"));
  EXPECT_EQ(left.end(), std::find(left.begin(), left.end(), "thisisanexample.com"));  // ticked: gone
  EXPECT_EQ(left.end(), std::find(left.begin(), left.end(), "www.other.com"));
  EXPECT_EQ(0u, run.changedSincePreview());
  EXPECT_EQ("Task complete Successfully!", view.lines.back());
  // The other profile's cookies went as listed.
  EXPECT_EQ(0, Number(chrome + "\\Profile 1\\Network\\Cookies", "SELECT count(*) FROM cookies"));
}

// The console cleaner keeping to a list it wrote, as a script would use it.
TEST_F(BrowserTest, TswcleanKeepsToTheListTableByTableAndRowByRow) {
  Chromium();
  Firefox();
  for (const std::string& db : {ffProfile + "\\places.sqlite", ffProfile + "\\cookies.sqlite"}) {
    SqliteDb wal;
    ASSERT_EQ(SqliteDb::Opened::Ok, wal.Open(db));
    ASSERT_TRUE(wal.Exec("PRAGMA journal_mode=WAL"));
  }
  Tick("Google Chrome", {"History"});
  Tick("Firefox", {"History", "Cookies"});
  StoreTicks(Settings(), {});
  WriteListFile(KeepUrlFile(), {"https://kept.example/"});
  const std::string exe = folder_->File("tswclean.exe"), list = folder_->File("preview.txt"), report = folder_->File("report.json");
  ASSERT_TRUE(CopyFileA("C:\\tsw-bin\\tswclean.exe", exe.c_str(), FALSE));
  const ProgramResult analyze = RunProgram("\"" + exe + "\" --analyze --out \"" + list + "\"", folder_->path());
  ASSERT_EQ(0u, analyze.code) << analyze.err;
  // A preview leaves nothing behind in the profiles it read.
  for (const char* made : {"\\places.sqlite-shm", "\\places.sqlite-wal", "\\cookies.sqlite-shm", "\\cookies.sqlite-wal"})
    EXPECT_FALSE(FileExists(ffProfile + made)) << made;
  // Only the search terms of Chrome's Default profile are to go: its pages and visits stay as they are.
  std::istringstream in(ReadFileText(list));
  std::string text, line;
  const std::string history = chrome + "\\Default\\History: ";
  while (std::getline(in, line)) {
    const bool chromeHistory = line.find("\\Chrome\\User Data\\") != std::string::npos;
    const bool terms = line.find(history + "keyword_search_terms") != std::string::npos;
    const size_t tick = line.rfind("\t1\t");  // what a keep list keeps is unticked already
    if (chromeHistory && !terms && tick != std::string::npos) line.replace(tick, 3, "\t0\t");
    text += line + "\n";
  }
  ASSERT_NE(std::string::npos, text.find(history + "keyword_search_terms (1 rows)\t0\t1\trowid 1")) << text;
  // The visited pages History keeps are listed as kept, unticked, each with what keeps it.
  EXPECT_NE(std::string::npos, text.find("\tkept\t" + history + "https://kept.example/\t0\t0\tURL keep list\n")) << text;
  EXPECT_NE(std::string::npos, text.find("\tkept\t" + history + "https://bookmarked.example/\t0\t0\tbookmarks\n")) << text;
  EXPECT_EQ(std::string::npos, text.find("\tkept\t" + history + "https://secret.example/")) << text;
  const std::string places = ffProfile + "\\places.sqlite: ";
  EXPECT_NE(std::string::npos, text.find("\tkept\t" + places + "https://kept.example/\t0\t0\tURL keep list\n")) << text;
  EXPECT_NE(std::string::npos, text.find("\tkept\t" + places + "https://bookmarked.example/\t0\t0\tbookmarks\n")) << text;
  WriteFileText(list, text);
  // After the preview: one more visit in Firefox, which it never saw.
  {
    SqliteDb db;
    ASSERT_EQ(SqliteDb::Opened::Ok, db.Open(ffProfile + "\\places.sqlite"));
    ASSERT_TRUE(db.Exec("INSERT INTO moz_historyvisits VALUES(5,0,3,2,1)"));
  }
  const ProgramResult from = RunProgram("\"" + exe + "\" --from \"" + list + "\" --report \"" + report + "\"", folder_->path());
  EXPECT_EQ(0u, from.code) << from.out;
  const std::string chromeHistory = chrome + "\\Default\\History";
  EXPECT_EQ(0, Number(chromeHistory, "SELECT count(*) FROM keyword_search_terms"));
  EXPECT_EQ(4, Number(chromeHistory, "SELECT count(*) FROM visits"));
  EXPECT_EQ(5, Number(chromeHistory, "SELECT visit_count FROM urls WHERE id = 3"));  // no count was zeroed
  EXPECT_EQ(2, Number(chromeHistory, "SELECT typed_count FROM urls WHERE id = 3"));
  // Firefox: the visits the preview saw went, the new one stays with its page.
  EXPECT_EQ(std::vector<std::string>{"5"}, Column(ffProfile + "\\places.sqlite", "SELECT id FROM moz_historyvisits WHERE visit_type <> 7"));
  EXPECT_EQ(1, Number(ffProfile + "\\places.sqlite", "SELECT count(*) FROM moz_places WHERE id = 3"));
  // The report names each table's rows that went.
  const std::string json = ReadFileText(report);
  EXPECT_NE(std::string::npos, json.find("History: keyword_search_terms (1 rows)")) << json;
  EXPECT_NE(std::string::npos, json.find("places.sqlite: moz_historyvisits (3 rows)")) << json;
}

// A page visited again after the preview is a row the preview did not count: it stays, with its
// counts and its new visit; the report tells each table's rows that went and that stayed.
TEST_F(BrowserTest, TswcleanLeavesAPageVisitedAfterThePreviewAndReportsEveryTablesRows) {
  Chromium();
  Tick("Google Chrome", {"History"});
  StoreTicks(Settings(), {});
  WriteListFile(KeepUrlFile(), {"https://kept.example/"});
  const std::string exe = folder_->File("tswclean.exe"), list = folder_->File("preview.txt"), report = folder_->File("report.json");
  ASSERT_TRUE(CopyFileA("C:\\tsw-bin\\tswclean.exe", exe.c_str(), FALSE));
  ASSERT_EQ(0u, RunProgram("\"" + exe + "\" --analyze --out \"" + list + "\"", folder_->path()).code);
  const std::string history = chrome + "\\Default\\History";
  std::string text = ReadFileText(list);
  // The preview marks the latest visit it saw, and the latest page.
  ASSERT_NE(std::string::npos, text.find(history + ": visits (4 rows)\t0\t1\trowid 4 time 13300000000000000\n")) << text;
  ASSERT_NE(std::string::npos, text.find(history + ": urls (1 rows)\t0\t1\trowid 3 time 13300000000000000\n")) << text;
  const std::string terms = history + ": keyword_search_terms (1 rows)\t0\t1\t";
  ASSERT_NE(std::string::npos, text.find(terms)) << text;
  text.replace(text.find(terms), terms.size(), history + ": keyword_search_terms (1 rows)\t0\t0\t");
  WriteFileText(list, text);
  // After the preview the secret page is visited again, as Chromium records it.
  {
    SqliteDb db;
    ASSERT_EQ(SqliteDb::Opened::Ok, db.Open(history));
    ASSERT_TRUE(db.Exec("INSERT INTO visits VALUES(5,3,13300000000000010,0);"
                        "UPDATE urls SET visit_count = 6, last_visit_time = 13300000000000010 WHERE id = 3"));
  }
  const ProgramResult from = RunProgram("\"" + exe + "\" --from \"" + list + "\" --report \"" + report + "\"", folder_->path());
  EXPECT_EQ(0u, from.code) << from.out;
  // The visits the preview saw went; the new one, its page and the page's counts stay.
  EXPECT_EQ(std::vector<std::string>{"5"}, Column(history, "SELECT id FROM visits"));
  EXPECT_EQ(6, Number(history, "SELECT visit_count FROM urls WHERE id = 3"));
  EXPECT_EQ(13300000000000010, Number(history, "SELECT last_visit_time FROM urls WHERE id = 3"));
  // The pages the preview saw have no trace of their visits left; the unticked table stays.
  EXPECT_EQ(0, Number(history, "SELECT visit_count + typed_count + last_visit_time FROM urls WHERE id = 2"));
  EXPECT_EQ(1, Number(history, "SELECT count(*) FROM keyword_search_terms"));
  // Each counted table of the database, with its rows that went and those that stayed.
  const nlohmann::json json = nlohmann::json::parse(ReadFileText(report), nullptr, false);
  ASSERT_FALSE(json.is_discarded());
  std::map<std::string, nlohmann::json> tables;
  for (const auto& item : json["items"])
    for (const auto& t : item["tables"]) tables[t["table"].get<std::string>()] = t;
  ASSERT_EQ(1u, tables.count(history + ": visits")) << json.dump(1);
  EXPECT_EQ(4, tables[history + ": visits"]["erased"]);
  EXPECT_EQ(1, tables[history + ": visits"]["left"]);
  EXPECT_EQ("newer than the preview", tables[history + ": visits"]["why"]);
  EXPECT_EQ(0, tables[history + ": urls"]["erased"]);
  EXPECT_EQ(1, tables[history + ": urls"]["left"]);
  EXPECT_EQ(0, tables[history + ": keyword_search_terms"]["erased"]);
  EXPECT_EQ(1, tables[history + ": keyword_search_terms"]["left"]);
  EXPECT_EQ("not ticked", tables[history + ": keyword_search_terms"]["why"]);
  EXPECT_EQ(1, tables[history + ": segments"]["erased"]);
  EXPECT_EQ(0, tables[history + ": segments"]["left"]);
  EXPECT_EQ(0u, tables[history + ": segments"].count("why"));
}

// What Firefox's sync adds to a visit goes with a visits step, and only with one: keeping to a
// preview with the visits unticked, not even an orphan of it goes.
TEST_F(BrowserTest, FirefoxsVisitExtrasGoOnlyWithTheVisits) {
  Firefox();
  const std::string places = ffProfile + "\\places.sqlite";
  {
    SqliteDb db;
    ASSERT_EQ(SqliteDb::Opened::Ok, db.Open(places));
    ASSERT_TRUE(db.Exec("CREATE TABLE moz_historyvisits_extra(visit_id INTEGER PRIMARY KEY, sync_json TEXT);"
                        "INSERT INTO moz_historyvisits_extra VALUES(99,'{}')"));
  }
  Tick("Firefox", {"History"});
  WriteListFile(KeepUrlFile(), {});
  std::vector<PreviewItem> preview = CleanRun(view, ticks, Settings()).Analyze();
  bool listed = false;
  for (PreviewItem& item : preview)
    for (PreviewEntry& e : item.entries) {
      if (e.kind != "rows" || e.target.find(places + ": ") != 0) continue;
      e.ticked = e.target.find(": moz_inputhistory (") != std::string::npos;
      listed = listed || e.ticked;
    }
  ASSERT_TRUE(listed);
  CleanRun(view, ticks, Settings()).RunSelected(preview);
  EXPECT_EQ(0, Number(places, "SELECT count(*) FROM moz_inputhistory"));
  EXPECT_EQ(3, Number(places, "SELECT count(*) FROM moz_historyvisits WHERE visit_type <> 7"));
  EXPECT_EQ(1, Number(places, "SELECT count(*) FROM moz_historyvisits_extra"));
  // With the visits ticked, what belonged to visits no longer there goes.
  preview = CleanRun(view, ticks, Settings()).Analyze();
  CleanRun(view, ticks, Settings()).RunSelected(preview);
  EXPECT_EQ(0, Number(places, "SELECT count(*) FROM moz_historyvisits WHERE visit_type <> 7"));
  EXPECT_EQ(0, Number(places, "SELECT count(*) FROM moz_historyvisits_extra"));
}
