// The keep-list dialogs and the favorites export and import, driven as a user would.
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <functional>

#include "access/Favorites.h"
#include "access/RegKey.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/KeepListDialog.h"
#include "ui/KeepListRes.h"
#include "ui/frmMainCode.h"
#include "ui/frmMainCodeRes.h"

namespace {


void Press(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

// The address an Internet shortcut points to.
std::string ShortcutTarget(const std::string& file) {
  char buf[512] = {0};
  GetPrivateProfileStringA("InternetShortcut", "URL", "", buf, sizeof buf, file.c_str());
  return std::string(buf);
}

}  // namespace

class KeepListDialogTest : public ProgramFolderTest {
 protected:
  App app;
  MessageRecorder messages;
  TempFolder work{"tswkeep"};
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ASSERT_TRUE(app.Main().Load());
  }
  void TearDown() override {
    app.Main().Unload();
    SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrlsKey);
    ProgramFolderTest::TearDown();
  }
  void Click(int id) { SendMessageA(GetDlgItem(app.Main().hwnd(), id), BM_CLICK, 0, 0); }
};

TEST_F(KeepListDialogTest, CookieListAddsAndRemovesWritingTheFileAtOnce) {
  std::string k = work.File("Cookies");
  ScopedRegValue folder(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", k);
  MakeFile(k + "\\me@alpha.txt");
  MakeFile(k + "\\me@beta.txt");
  MakeFile(k + "\\me@CAPS.TXT");
  MakeFile(k + "\\index.dat");
  WriteFileText(KeepCookieFile(), k + "\\me@alpha.txt   \r\n");
  WithModal("Cookies Options", [&](HWND dlg) {
    EXPECT_EQ("Cookies", Caption(GetDlgItem(dlg, IDC_KL_FRAME1)));
    EXPECT_EQ("Current Cookies List", Caption(GetDlgItem(dlg, IDC_KL_LABEL1)));
    EXPECT_EQ("Cookies Keep List", Caption(GetDlgItem(dlg, IDC_KL_LABEL2)));
    HWND current = GetDlgItem(dlg, IDC_KL_CURRENT), keep = GetDlgItem(dlg, IDC_KL_KEEP);
    std::vector<std::string> found = ListLines(current);
    std::sort(found.begin(), found.end());
    EXPECT_EQ((std::vector<std::string>{k + "\\me@alpha.txt", k + "\\me@beta.txt"}), found);
    EXPECT_EQ((std::vector<std::string>{k + "\\me@alpha.txt"}), ListLines(keep));

    SendMessageA(current, LB_SETCURSEL, 1, 0);
    std::string second = ListLines(current)[1];
    Press(dlg, IDC_KL_CMDADD);
    SendMessageA(current, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Press(dlg, IDC_KL_CMDADD);  // nothing selected: nothing added, no blank line
    // Add appends: the earlier line stays as it was written.
    EXPECT_EQ(k + "\\me@alpha.txt   \r\n" + second + "\r\n", ReadFileText(KeepCookieFile()));
    EXPECT_EQ(2u, ListLines(keep).size());

    SendMessageA(keep, LB_SETSEL, TRUE, 0);
    Press(dlg, IDC_KL_CMDREMOVE);
    EXPECT_EQ((std::vector<std::string>{second}), ListLines(keep));
    EXPECT_EQ(second + "\r\n", ReadFileText(KeepCookieFile()));
  }, [&] { Click(IDC_COMMAND(8)); });
  EXPECT_TRUE(ModalActionsRan());
  EXPECT_FALSE(app.Cookie().IsLoaded());
}

TEST_F(KeepListDialogTest, UrlListShowsEveryTypedUrlHoweverLongAndKeepsEachOnce) {
  SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrlsKey);
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrlsKey, "url1", REG_SZ, "http://one.example/", 20);
  std::string longUrl = "http://" + std::string(300, 'l') + ".example/";
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrlsKey, "url2", REG_SZ, longUrl.c_str(), static_cast<DWORD>(longUrl.size() + 1));
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrlsKey, "url3", REG_SZ, "http://three.example/", 22);
  WithModal("URL Drop-List Options", [&](HWND dlg) {
    EXPECT_EQ("URL Drop-List", Caption(GetDlgItem(dlg, IDC_KL_FRAME1)));
    EXPECT_EQ("Current URL List", Caption(GetDlgItem(dlg, IDC_KL_LABEL1)));
    EXPECT_EQ("URL Keep List", Caption(GetDlgItem(dlg, IDC_KL_LABEL2)));
    HWND current = GetDlgItem(dlg, IDC_KL_CURRENT), keep = GetDlgItem(dlg, IDC_KL_KEEP);
    EXPECT_EQ((std::vector<std::string>{"http://one.example/", longUrl, "http://three.example/"}), ListLines(current));
    EXPECT_TRUE(ListLines(keep).empty());
    SendMessageA(current, LB_SETCURSEL, 0, 0);
    Press(dlg, IDC_KL_CMDADD);
    SendMessageA(current, LB_SETCURSEL, 2, 0);
    Press(dlg, IDC_KL_CMDADD);
    SendMessageA(current, LB_SETCURSEL, 0, 0);
    Press(dlg, IDC_KL_CMDADD);  // already kept: shown selected, not kept twice
    EXPECT_EQ("http://one.example/\r\nhttp://three.example/\r\n", ReadFileText(KeepUrlFile()));
    EXPECT_EQ((std::vector<std::string>{"http://one.example/", "http://three.example/"}), ListLines(keep));
    EXPECT_GT(SendMessageA(keep, LB_GETSEL, 0, 0), 0);
    EXPECT_EQ(0, SendMessageA(keep, LB_GETSEL, 1, 0));
    SendMessageA(current, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Press(dlg, IDC_KL_CMDADD);  // nothing selected: no blank line
    EXPECT_EQ(2u, ListLines(keep).size());
    Press(dlg, IDC_KL_CMDREMOVE);  // the one shown selected
    EXPECT_EQ("http://three.example/\r\n", ReadFileText(KeepUrlFile()));
    SendMessageA(keep, LB_SETSEL, TRUE, 0);
    Press(dlg, IDC_KL_CMDREMOVE);
    EXPECT_TRUE(FileExists(KeepUrlFile()));  // emptied, not deleted
    EXPECT_EQ("", ReadFileText(KeepUrlFile()));
  }, [&] { Click(IDC_COMMAND(7)); });
  EXPECT_TRUE(ModalActionsRan());
}

TEST_F(KeepListDialogTest, AnOldUrlListWithTwinsAndBlankLinesIsReadAsItIs) {
  WriteFileText(KeepUrlFile(), "http://a.example/\r\n\r\nhttp://a.example/\r\n");
  std::vector<std::string> shown;
  WithModal("URL Drop-List Options", [&](HWND dlg) { shown = ListLines(GetDlgItem(dlg, IDC_KL_KEEP)); },
            [&] { Click(IDC_COMMAND(7)); });
  ASSERT_TRUE(ModalActionsRan());
  EXPECT_EQ((std::vector<std::string>{"http://a.example/", "", "http://a.example/"}), shown);
  EXPECT_EQ("http://a.example/\r\n\r\nhttp://a.example/\r\n", ReadFileText(KeepUrlFile()));  // untouched
}

TEST(ListFile, ReadsTrimmedLinesAndWritesCrLf) {
  TempFolder t("tswlist");
  std::string f = t.File("keep.dat");
  std::vector<std::string> lines{"stale"};
  EXPECT_TRUE(ReadListFile(f, lines));  // absent: an empty list
  EXPECT_TRUE(lines.empty());
  EXPECT_FALSE(ListFileExists(f));
  WriteFileText(f, "  lead\r\ntrail   \r\n\r\ndup\r\ndup\r\nlast-no-newline  ");
  EXPECT_TRUE(ReadListFile(f, lines));
  EXPECT_EQ((std::vector<std::string>{"  lead", "trail", "", "dup", "dup", "last-no-newline"}), lines);
  AppendListLine(f + "2", "entry   ");
  AppendListLine(f + "2", "");
  EXPECT_EQ("entry\r\n\r\n", ReadFileText(f + "2"));
  WriteListFile(f + "2", {});
  EXPECT_TRUE(ListFileExists(f + "2"));
  EXPECT_EQ("", ReadFileText(f + "2"));
}

TEST(ListFile, AFileThatCannotBeReadIsNotAnEmptyList) {
  TempFolder t("tswlist");
  std::string f = t.File("keep.dat");
  WriteFileText(f, "kept\r\n");
  HANDLE locked = CreateFileA(f.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, locked);
  std::vector<std::string> lines{"stale"};
  EXPECT_FALSE(ReadListFile(f, lines));
  EXPECT_TRUE(lines.empty());
  EXPECT_TRUE(ListFileExists(f));
  CloseHandle(locked);
  EXPECT_TRUE(ReadListFile(f, lines));
  EXPECT_EQ(std::vector<std::string>{"kept"}, lines);
}

TEST_F(KeepListDialogTest, AnUnreadableKeepListIsNeitherShownEmptyNorOverwritten) {
  WriteFileText(KeepUrlFile(), "http://kept.example/\r\n");
  HANDLE locked = CreateFileA(KeepUrlFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, locked);
  SHSetValueA(HKEY_CURRENT_USER, kTypedUrlsKey, "url1", REG_SZ, "http://one.example/", 20);
  bool addEnabled = true, removeEnabled = true;
  WithModal("URL Drop-List Options", [&](HWND dlg) {
    addEnabled = IsWindowEnabled(GetDlgItem(dlg, IDC_KL_CMDADD)) != FALSE;
    removeEnabled = IsWindowEnabled(GetDlgItem(dlg, IDC_KL_CMDREMOVE)) != FALSE;
    SendMessageA(GetDlgItem(dlg, IDC_KL_CURRENT), LB_SETCURSEL, 0, 0);
    Press(dlg, IDC_KL_CMDADD);
    Press(dlg, IDC_KL_CMDREMOVE);
  }, [&] { Click(IDC_COMMAND(7)); });
  CloseHandle(locked);
  EXPECT_TRUE(ModalActionsRan());
  EXPECT_FALSE(addEnabled);
  EXPECT_FALSE(removeEnabled);
  ASSERT_EQ(1u, messages.seen.size());
  EXPECT_NE(std::string::npos, messages.seen[0].text.find(KeepUrlFile()));
  EXPECT_EQ("http://kept.example/\r\n", ReadFileText(KeepUrlFile()));
}

class FavoritesTest : public KeepListDialogTest {
 protected:
  std::string answer;
  void SetUp() override {
    KeepListDialogTest::SetUp();
    SetFileHandler([this](const FileRequest& r) {
      requests.push_back(r);
      return answer;
    });
  }
  void TearDown() override {
    SetFileHandler(nullptr);
    KeepListDialogTest::TearDown();
  }
  std::vector<FileRequest> requests;
};

TEST_F(FavoritesTest, ExportThenImportRestoresTheTree) {
  std::string f = work.File("Favorites");
  ScopedRegValue folder(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites", f);
  MakeFile(f + "\\News.url", "[InternetShortcut]\r\nURL=http://news.example/?a=1&b=2\r\n");
  MakeFile(f + "\\Links\\Example.url", "[InternetShortcut]\r\nURL=http://www.example.com/\r\n");
  MakeFile(f + "\\Links\\Deeper\\Tools & Tricks.url", "[InternetShortcut]\r\nURL=http://tools.example/<x>\r\n");
  CreateDirectoryA((f + "\\Empty Folder").c_str(), nullptr);
  answer = work.File("bookmarks.htm");

  Click(IDC_COMMAND(4));
  ASSERT_EQ(1u, requests.size());
  EXPECT_TRUE(requests[0].save);
  EXPECT_EQ("(*.htm)|*.htm", requests[0].filter);
  std::string html = ReadFileText(answer);
  EXPECT_NE(std::string::npos, html.find("<DT><H3>Links</H3>"));
  EXPECT_NE(std::string::npos, html.find("Tools &amp; Tricks"));

  // A fresh favorites folder, then import.
  std::string g = work.File("Favorites2");
  CreateDirectoryA(g.c_str(), nullptr);
  ScopedRegValue other(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites", g);
  Click(IDC_COMMAND(5));
  ASSERT_EQ(2u, requests.size());
  EXPECT_FALSE(requests[1].save);
  EXPECT_EQ("http://news.example/?a=1&b=2", ShortcutTarget(g + "\\News.url"));
  EXPECT_EQ("http://www.example.com/", ShortcutTarget(g + "\\Links\\Example.url"));
  EXPECT_EQ("http://tools.example/<x>", ShortcutTarget(g + "\\Links\\Deeper\\Tools & Tricks.url"));
  EXPECT_TRUE(FileExists(g + "\\Empty Folder"));
}

TEST_F(FavoritesTest, ImportNeverReplacesAFavoriteOfTheSameName) {
  std::string f = work.File("Favorites");
  MakeFile(f + "\\News.url", "[InternetShortcut]\r\nURL=http://mine.example/\r\n");
  MakeFile(f + "\\Same.url", "[InternetShortcut]\r\nURL=http://same.example/\r\n");
  std::string html = work.File("in.htm");
  WriteFileText(html, "<DL><p><DT><A HREF=\"http://news.example/\">News</A><DT><A HREF=\"http://other.example/\">News</A>"
                      "<DT><a href=\"http://same.example/\">Same</a></DL>");
  ASSERT_TRUE(ImportFavoritesHtml(html, f));
  EXPECT_EQ("http://mine.example/", ShortcutTarget(f + "\\News.url"));
  EXPECT_EQ("http://news.example/", ShortcutTarget(f + "\\News (2).url"));
  EXPECT_EQ("http://other.example/", ShortcutTarget(f + "\\News (3).url"));
  EXPECT_EQ("http://same.example/", ShortcutTarget(f + "\\Same.url"));
  EXPECT_FALSE(FileExists(f + "\\Same (2).url"));  // the same address is there already
}

TEST_F(FavoritesTest, CancelledDialogsDoNothing) {
  std::string f = work.File("Favorites");
  MakeFile(f + "\\News.url", "[InternetShortcut]\r\nURL=http://news.example/\r\n");
  ScopedRegValue folder(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites", f);
  answer = "";
  Click(IDC_COMMAND(4));
  Click(IDC_COMMAND(5));
  EXPECT_EQ(2u, requests.size());
  EXPECT_TRUE(FileExists(f + "\\News.url"));
  EXPECT_TRUE(messages.seen.empty());
}
