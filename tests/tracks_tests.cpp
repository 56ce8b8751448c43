// The Windows and Internet Explorer items against the real registry and folders of the prefix.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "access/RegKey.h"
#include "access/WidePath.h"
#include "engine/Steps.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"
#include "settings/Inifun.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"

namespace {

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";

void Put(const std::string& sub, const std::string& name, const std::string& value, HKEY root = HKEY_CURRENT_USER) {
  RegKey k;
  k.Create(root, sub);
  RegSetValueExA(k.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

bool KeyExists(const std::string& sub, HKEY root = HKEY_CURRENT_USER) {
  RegKey k;
  return k.Open(root, sub, KEY_READ) == ERROR_SUCCESS;
}

DWORD Entries(const std::string& sub) {
  RegKey k;
  if (k.Open(HKEY_CURRENT_USER, sub, KEY_READ) != ERROR_SUCCESS) return 9999;
  DWORD values = 0, subkeys = 0;
  RegQueryInfoKeyA(k.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
  return values + subkeys;
}

// The key and the keys below it that hold at least one value.
int KeysHoldingValues(const std::string& sub) {
  RegKey k;
  if (k.Open(HKEY_CURRENT_USER, sub, KEY_READ) != ERROR_SUCCESS) return 0;
  int n = k.ValueNames().empty() ? 0 : 1;
  for (const std::string& child : k.SubKeyNames()) n += KeysHoldingValues(sub + "\\" + child);
  return n;
}

std::vector<std::string> TypedUrlValues() {
  std::vector<std::string> out;
  for (int i = 1; i < 20; ++i) {
    char buf[512];
    DWORD size = sizeof buf;
    if (SHGetValueA(HKEY_CURRENT_USER, kTypedUrlsKey, ("url" + std::to_string(i)).c_str(), nullptr, buf, &size) != ERROR_SUCCESS)
      break;
    out.push_back(buf);
  }
  return out;
}

}  // namespace

class TracksTest : public ProgramFolderTest {
 protected:
  IsolatedTrackFolders isolated;
  RecordingView view;
  Ticks ticks;
  TempFolder work{"tswtracks"};
  std::string W(const std::string& rel) const { return work.File(rel); }
  std::string Run() {
    CleanRun run(view, ticks, Settings());
    run.Run();
    return view.summaries.empty() ? std::string() : view.summaries.back();
  }
  double RunRegnum() {
    CleanRun run(view, ticks, Settings());
    run.Run();
    return run.regnum();
  }
};

TEST_F(TracksTest, RunSearchAndOpenSaveCountTwentyOneKeys) {
  Put(std::string(kExplorer) + "RunMRU", "a", "notepad\\1");
  Put(std::string(kExplorer) + "RunMRU\\child", "x", "y");
  Put(std::string(kExplorer) + "Doc Find Spec MRU", "a", "secret");
  Put(std::string(kExplorer) + "Doc Find SpecMRU", "a", "secret");
  Put(std::string(kExplorer) + "FindComputerMRU", "a", "server");
  for (const char* ext : {"txt", "wav", "mwv", "*", "doc"}) Put(std::string(kExplorer) + "ComDlg32\\OpenSaveMRU\\" + ext, "a", "x");
  Put(std::string(kExplorer) + "ComDlg32\\OpenSaveMRU\\pdf", "a", "kept.pdf");
  ticks.values[11] = ticks.values[12] = ticks.values[15] = 1;
  EXPECT_EQ(21, RunRegnum());
  EXPECT_TRUE(KeyExists(std::string(kExplorer) + "RunMRU"));
  EXPECT_EQ(0u, Entries(std::string(kExplorer) + "RunMRU"));
  EXPECT_FALSE(KeyExists(std::string(kExplorer) + "Doc Find SpecMRU"));
  EXPECT_EQ(0u, Entries(std::string(kExplorer) + "Doc Find Spec MRU"));
  EXPECT_EQ(0u, Entries(std::string(kExplorer) + "FindComputerMRU"));
  EXPECT_EQ(0u, Entries("Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU"));
  for (const char* ext : {"txt", "wav", "mwv", "*", "doc"})
    EXPECT_FALSE(KeyExists(std::string(kExplorer) + "ComDlg32\\OpenSaveMRU\\" + ext)) << ext;
  EXPECT_TRUE(KeyExists(std::string(kExplorer) + "ComDlg32\\OpenSaveMRU"));
  EXPECT_TRUE(KeyExists(std::string(kExplorer) + "ComDlg32\\OpenSaveMRU\\pdf"));
  SHDeleteKeyA(HKEY_CURRENT_USER, (std::string(kExplorer) + "ComDlg32\\OpenSaveMRU\\pdf").c_str());
}

TEST_F(TracksTest, WordpadAndPaintListsAreEmptied) {
  const std::string wordpad = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List";
  const std::string paint = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List";
  Put(wordpad, "File1", "C:\\letter.doc");
  Put(paint, "File1", "C:\\photo.bmp");
  ticks.values[28] = ticks.values[29] = 1;
  EXPECT_EQ(2, RunRegnum());
  EXPECT_EQ(0u, Entries(wordpad));
  EXPECT_EQ(0u, Entries(paint));
}

TEST_F(TracksTest, TempFolderIsMeasuredThenEmptiedButKept) {
  std::string temp = isolated.root().File("Temp");
  ASSERT_EQ(temp, WindowsTempFolder());
  MakeFile(temp + "\\a.tmp", 1000);
  MakeFile(temp + "\\sub\\deeper\\b.tmp", 2000);
  MakeFile(temp + "\\hidden.tmp", 300, FILE_ATTRIBUTE_HIDDEN);
  MakeFile(temp + "\\ro\\readonly.tmp", 400, FILE_ATTRIBUTE_READONLY);
  ticks.values[13] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(3700, run.filesize());
  EXPECT_TRUE(FileExists(temp));
  EXPECT_FALSE(FileExists(temp + "\\a.tmp"));
  EXPECT_FALSE(FileExists(temp + "\\sub"));
  EXPECT_TRUE(FileExists(temp + "\\hidden.tmp"));
  EXPECT_TRUE(FileExists(temp + "\\ro\\readonly.tmp"));
  SetFileAttributesA((temp + "\\ro\\readonly.tmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(TracksTest, TheSecureOptionOverwritesWhatTheRunDeletes) {
  const std::string temp = isolated.root().File("Temp");
  MakeFile(temp + "\\a.tmp", std::string(500, 'A'));
  // A hard link in the temp folder to a document elsewhere: the link goes, the document stays whole.
  MakeFile(W("report.docx"), std::string(200, 'D'));
  ASSERT_TRUE(CreateHardLinkA((temp + "\\report-link.tmp").c_str(), W("report.docx").c_str(), nullptr));
  WriteIni(Settings(), "Additional", "securely", "1");
  ticks.values[13] = 1;
  OverwrittenFiles seen;
  Run();
  EXPECT_FALSE(FileExists(temp + "\\a.tmp"));
  EXPECT_EQ(std::string(500, '\0'), seen.contents["a.tmp"]);
  EXPECT_FALSE(FileExists(temp + "\\report-link.tmp"));
  EXPECT_EQ(std::string(200, 'D'), ReadFileText(W("report.docx")));
  EXPECT_NE(std::find(view.lines.begin(), view.lines.end(),
                      "Not overwritten, another name shares its contents: " + temp + "\\report-link.tmp"),
            view.lines.end());
}

TEST_F(TracksTest, ScandiskDeletesOnDriveDEvenWhenCHasNone) {
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("D:\\")) << "the harness gives the tests a d: drive";
  MakeFile("D:\\tsw-fragment.chk");
  MakeFile("D:\\tsw-keep.txt");
  ticks.values[16] = 1;
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:.05MB", Run());
  EXPECT_FALSE(FileExists("D:\\tsw-fragment.chk"));
  EXPECT_TRUE(FileExists("D:\\tsw-keep.txt"));
  DeleteFileA("D:\\tsw-keep.txt");
}

TEST_F(TracksTest, CachedPasswordsGoFromTheWindowsFolder) {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  MakeFile(std::string(windows) + "\\TSWUSER.PWL");
  MakeFile(std::string(windows) + "\\tswuser.txt");
  ticks.values[17] = 1;
  Run();
  EXPECT_FALSE(FileExists(std::string(windows) + "\\TSWUSER.PWL"));
  EXPECT_TRUE(FileExists(std::string(windows) + "\\tswuser.txt"));
  DeleteFileA((std::string(windows) + "\\tswuser.txt").c_str());
}

TEST_F(TracksTest, ClipboardIsEmptied) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 8);
  memcpy(GlobalLock(mem), "secret", 7);
  GlobalUnlock(mem);
  SetClipboardData(CF_TEXT, mem);
  CloseClipboard();
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  ticks.values[26] = 1;
  Run();
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ("Cleaning Windows Clipboard......", view.lines.at(2));
}

TEST_F(TracksTest, RecycleBinIsMeasuredAndEmptied) {
  SHEmptyRecycleBinA(nullptr, "", SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
  MakeFile(W("binned.dat"), 5000);
  std::string from = W("binned.dat") + std::string(1, '\0');
  SHFILEOPSTRUCTA op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  ASSERT_EQ(0, SHFileOperationA(&op));
  SHQUERYRBINFO before = {sizeof before, 0, 0};
  ASSERT_EQ(S_OK, SHQueryRecycleBinA("", &before));
  ASSERT_GE(before.i64NumItems, 1);
  ticks.values[14] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(5000, run.filesize());
  SHQUERYRBINFO after = {sizeof after, 0, 0};
  SHQueryRecycleBinA("", &after);
  EXPECT_EQ(0, after.i64NumItems);
}

// Holds a file open with no sharing, as another program that locked it would.
class LockedFile {
 public:
  explicit LockedFile(const std::string& path)
      : h_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~LockedFile() {
    if (ok()) CloseHandle(h_);
  }
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

class LocationBarTest : public TracksTest {
 protected:
  void Typed(const std::vector<std::string>& urls) {
    SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrlsKey);
    for (size_t i = 0; i < urls.size(); ++i) Put(kTypedUrlsKey, "url" + std::to_string(i + 1), urls[i]);
    ticks.values[1] = 1;
  }
  void TearDown() override {
    SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrlsKey);
    TracksTest::TearDown();
  }
};

TEST_F(LocationBarTest, EmptyKeepListLeavesTheKeyEmpty) {
  Typed({"http://one.example/", "http://two.example/"});
  EXPECT_EQ(2, RunRegnum());
  EXPECT_TRUE(KeyExists(kTypedUrlsKey));
  EXPECT_EQ(0u, Entries(kTypedUrlsKey));
}

TEST_F(LocationBarTest, KeepListIsWrittenBackInOrderDuplicatesIncluded) {
  Typed({"http://typed.example/", "http://kept.example/", "http://gone.example/"});
  WriteListFile(KeepUrlFile(), {"http://kept.example/", "http://never-typed.example/", "http://kept.example/"});
  EXPECT_EQ(2, RunRegnum());  // two typed URLs erased; the kept one is written back
  EXPECT_EQ((std::vector<std::string>{"http://kept.example/", "http://never-typed.example/", "http://kept.example/"}),
            TypedUrlValues());
}

TEST_F(LocationBarTest, LongerKeepListNeverCountsBelowZero) {
  Typed({"http://kept.example/"});
  WriteListFile(KeepUrlFile(), {"http://kept.example/", "http://a.example/", "http://b.example/"});
  EXPECT_EQ(0, RunRegnum());
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:.MB", view.summaries.at(0));
  EXPECT_EQ(3u, TypedUrlValues().size());
}

TEST_F(LocationBarTest, AKeepListThatCannotBeReadKeepsEveryTypedUrl) {
  Typed({"http://kept.example/", "http://also-kept.example/"});
  WriteListFile(KeepUrlFile(), {"http://kept.example/"});
  LockedFile locked(KeepUrlFile());
  ASSERT_TRUE(locked.ok());
  EXPECT_EQ(0, RunRegnum());
  EXPECT_EQ((std::vector<std::string>{"http://kept.example/", "http://also-kept.example/"}), TypedUrlValues());
  EXPECT_EQ("Cleaning IE Location Bar History.....OK", view.lines.at(2));
}

TEST_F(TracksTest, ACookieKeepListThatCannotBeReadKeepsEveryCookie) {
  std::string k = W("Cookies");
  ScopedRegValue folder(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", k);
  MakeFile(k + "\\user@kept.txt", 100);
  MakeFile(k + "\\user@other.txt", 100);
  WriteListFile(KeepCookieFile(), {k + "\\user@kept.txt"});
  LockedFile locked(KeepCookieFile());
  ASSERT_TRUE(locked.ok());
  ticks.values[4] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(0, run.filesize());
  EXPECT_TRUE(FileExists(k + "\\user@kept.txt"));
  EXPECT_TRUE(FileExists(k + "\\user@other.txt"));
  EXPECT_EQ("Cleaning IE Cookies.......OK", view.lines.at(2));
}

TEST_F(TracksTest, FolderValuesNamingTheUsersOrTheSystemsFoldersEraseNothing) {
  char documents[MAX_PATH] = {0}, programs[MAX_PATH] = {0}, system[MAX_PATH] = {0};
  ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, documents));
  ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programs));
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string doc = std::string(documents) + "\\tsw-letter.txt", prog = std::string(programs) + "\\tsw-app.dat",
                    drivers = std::string(system) + "\\drivers", sys = drivers + "\\tsw-driver.txt";
  MakeFile(doc);
  MakeFile(prog);
  MakeFile(sys);
  ScopedRegValue cache(HKEY_CURRENT_USER, kShellFoldersKey, "Cache", programs);
  ScopedRegValue cookies(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", documents);
  ScopedRegValue favorites(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites", drivers);
  ticks.values[3] = ticks.values[4] = ticks.values[5] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(0, run.filesize());
  EXPECT_TRUE(FileExists(doc));
  EXPECT_TRUE(FileExists(prog));
  EXPECT_TRUE(FileExists(sys));
  for (const std::string& f : {doc, prog, sys}) DeleteFileA(f.c_str());
}

TEST_F(TracksTest, CookiesHonourTheKeepListExactly) {
  std::string k = W("Cookies");
  ScopedRegValue folder(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", "  " + k + "  ");
  MakeFile(k + "\\user@kept.txt", 100);
  MakeFile(k + "\\user@casediffers.txt", 100);
  MakeFile(k + "\\user@gone.txt", 100);
  MakeFile(k + "\\user@CAPS.TXT", 100);
  MakeFile(k + "\\index.dat", 700);
  MakeFile(k + "\\sub\\user@deep.txt", 100);
  WriteListFile(KeepCookieFile(), {k + "\\user@kept.txt   ", k + "\\USER@casediffers.txt", " " + k + "\\user@gone.txt"});
  ticks.values[4] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(1200, run.filesize());  // the whole folder, kept cookies included
  EXPECT_TRUE(FileExists(k + "\\user@kept.txt"));
  EXPECT_FALSE(FileExists(k + "\\user@casediffers.txt"));
  EXPECT_FALSE(FileExists(k + "\\user@gone.txt"));  // a leading space does not protect
  EXPECT_TRUE(FileExists(k + "\\user@CAPS.TXT"));
  EXPECT_TRUE(FileExists(k + "\\index.dat"));
  EXPECT_TRUE(FileExists(k + "\\sub\\user@deep.txt"));
}

// A cookie whose name the code page cannot spell is erased or kept as itself: never taken for
// the cookie its ANSI look-alike names, never passed on as a pattern.
TEST_F(TracksTest, CookiesWithNamesTheCodePageCannotSpellAreErasedOrKeptAsThemselves) {
  std::string k = W("Cookies");
  ScopedRegValue folder(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", k);
  MakeFile(k + "\\user@example[1].txt", 100);
  const std::wstring wide = WidePath(k);
  for (const wchar_t* name : {L"\\user@\xFF45xample[1].txt", L"\\user@\xFF4B" L"ept.txt"}) {
    HANDLE h = CreateFileW((wide + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
  }
  // As the keep list's dialog stores them: the plain one, and the other by its exact name.
  WriteListFile(KeepCookieFile(), {k + "\\user@example[1].txt", k + "\\user@<U+FF4B>ept.txt"});
  ticks.values[4] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_TRUE(FileExists(k + "\\user@example[1].txt"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((wide + L"\\user@\xFF45xample[1].txt").c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((wide + L"\\user@\xFF4B" L"ept.txt").c_str()));
}

TEST_F(TracksTest, CacheGoesButReadOnlyFilesAndTheFolderStay) {
  std::string c = W("Temporary Internet Files");
  ScopedRegValue folder(HKEY_CURRENT_USER, kShellFoldersKey, "Cache", c);
  MakeFile(c + "\\Content.IE5\\AB12CD34\\page[1].htm", 100);
  MakeFile(c + "\\Content.IE5\\ZZ99\\img.gif", 100);
  MakeFile(c + "\\Content.IE5\\index.dat", 100);
  MakeFile(c + "\\Content.IE5\\locked.dat", 100, FILE_ATTRIBUTE_READONLY);
  MakeFile(c + "\\loose.tmp", 100);
  MakeFile(c + "\\desktop.ini", 50, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  ticks.values[3] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(550, run.filesize());
  EXPECT_TRUE(FileExists(c));
  EXPECT_FALSE(FileExists(c + "\\Content.IE5\\AB12CD34"));
  EXPECT_FALSE(FileExists(c + "\\Content.IE5\\ZZ99"));
  EXPECT_FALSE(FileExists(c + "\\Content.IE5\\index.dat"));
  EXPECT_TRUE(FileExists(c + "\\Content.IE5\\locked.dat"));
  EXPECT_FALSE(FileExists(c + "\\loose.tmp"));
  EXPECT_FALSE(FileExists(c + "\\desktop.ini"));
  SetFileAttributesA((c + "\\Content.IE5\\locked.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(TracksTest, FavoritesAndDownloadedProgramsAreEmptied) {
  std::string f = W("Favorites"), d = W("Downloaded Program Files");
  ScopedRegValue fav(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites", f);
  ScopedRegValue activeX(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                      "ActiveXCache", "  " + d + std::string("\0junk", 5));
  MakeFile(f + "\\Links\\Example.url", 60);
  MakeFile(f + "\\News.url", 40);
  MakeFile(d + "\\control.ocx", 1000);
  ticks.values[5] = ticks.values[7] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(1100, run.filesize());
  EXPECT_TRUE(FileExists(f));
  EXPECT_FALSE(FileExists(f + "\\Links"));
  EXPECT_FALSE(FileExists(f + "\\News.url"));
  EXPECT_TRUE(FileExists(d));
  EXPECT_FALSE(FileExists(d + "\\control.ocx"));
}

TEST_F(TracksTest, UnusableFolderValuesEraseNothing) {
  ScopedRegValue cache(HKEY_CURRENT_USER, kShellFoldersKey, "Cache", "");
  ScopedRegValue cookies(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", "C:\\");
  ScopedRegValue favorites(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites", "..");
  MakeFile("C:\\tsw-root-sentinel.txt");
  MakeFile("C:\\tsw-root-cookie.txt");
  ticks.values[3] = ticks.values[4] = ticks.values[5] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(0, run.filesize());
  EXPECT_TRUE(FileExists("C:\\tsw-root-sentinel.txt"));
  EXPECT_TRUE(FileExists("C:\\tsw-root-cookie.txt"));
  EXPECT_TRUE(FileExists("C:\\windows\\win.ini"));
  DeleteFileA("C:\\tsw-root-sentinel.txt");
  DeleteFileA("C:\\tsw-root-cookie.txt");
}

TEST_F(TracksTest, AutocompleteAndHistoryCountTheirFixedAmounts) {
  Put("Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW", "a", "x");
  Put(".DEFAULT\\Software\\Microsoft\\Internet Explorer\\IntelliForms", "a", "x", HKEY_USERS);
  ticks.values[2] = ticks.values[6] = 1;
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 20 Released HD Space:.48MB", Run());
  EXPECT_FALSE(KeyExists("Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW"));
  EXPECT_FALSE(KeyExists(".DEFAULT\\Software\\Microsoft\\Internet Explorer\\IntelliForms", HKEY_USERS));
}

TEST(ShellVersion, IsTheMajorVersionOfShlwapi) {
  // Read another way: the version resource of the library itself.
  char path[MAX_PATH] = {0};
  GetModuleFileNameA(LoadLibraryA("shlwapi.dll"), path, MAX_PATH);
  DWORD ignored = 0, size = GetFileVersionInfoSizeA(path, &ignored);
  ASSERT_GT(size, 0u) << path;
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, &data[0]));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(std::to_string(HIWORD(info->dwFileVersionMS)), ShlwapiMajorVersion());
}

TEST_F(TracksTest, ARecentFolderRedirectedToTheDesktopKeepsTheDesktopsShortcuts) {
  char desktop[MAX_PATH] = {0}, recent[MAX_PATH] = {0};
  ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, 0, desktop));
  const std::string userShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  ScopedRegValue redirected(HKEY_CURRENT_USER, userShellFolders, "Recent", desktop);
  ScopedRegValue shown(HKEY_CURRENT_USER, kShellFoldersKey, "Recent", desktop);
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, recent, CSIDL_RECENT, FALSE));
  ASSERT_STREQ(desktop, recent) << "the shell takes the Recent folder from the registry";
  const std::string shortcut = std::string(desktop) + "\\tsw-program.lnk";
  MakeFile(shortcut);
  ticks.values[10] = 1;
  Run();
  EXPECT_TRUE(FileExists(shortcut));
  DeleteFileA(shortcut.c_str());
}

TEST_F(TracksTest, RecentDocumentsListIsCleared) {
  char recent[MAX_PATH] = {0};
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, recent, CSIDL_RECENT, TRUE));
  MakeFile(W("report.doc"));
  SHAddToRecentDocs(SHARD_PATHA, W("report.doc").c_str());
  auto count = [&] {
    int n = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((std::string(recent) + "\\*.lnk").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do ++n; while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
  };
  ASSERT_GT(count(), 0);
  // Some shells record the document in RecentDocs as well, and their clearing call may or may
  // not empty it: each key the item itself empties counts one.
  const std::string recentDocs = std::string(kExplorer) + "RecentDocs";
  const int holding = KeysHoldingValues(recentDocs);
  ticks.values[10] = 1;
  const double regnum = RunRegnum();
  EXPECT_GE(regnum, 1);
  EXPECT_LE(regnum, 1 + holding);
  EXPECT_EQ(0, count());
  EXPECT_EQ(0, KeysHoldingValues(recentDocs));
}

// What the Windows items erase where Windows Vista to 11 keep the same tracks.
TEST_F(TracksTest, TodaysExplorerListsAreEmptiedKeptAndCounted) {
  const std::string e = kExplorer;
  for (const char* k : {"RecentDocs", "TypedPaths", "WordWheelQuery", "ComDlg32\\OpenSavePidlMRU",
                        "ComDlg32\\LastVisitedPidlMRU", "ComDlg32\\LastVisitedPidlMRULegacy", "ComDlg32\\LastVisitedMRU"})
    SHDeleteKeyA(HKEY_CURRENT_USER, (e + k).c_str());
  Put(e + "RecentDocs", "MRUListEx", "x");
  Put(e + "RecentDocs\\.txt", "0", "notes.txt");
  Put(e + "RecentDocs\\Folder", "0", "Private");
  Put(e + "TypedPaths", "url1", "C:\\Private");
  Put(e + "WordWheelQuery", "0", "salary");
  for (const char* ext : {"txt", "*", "pdf"}) Put(e + "ComDlg32\\OpenSavePidlMRU\\" + ext, "0", "x");
  Put(e + "ComDlg32\\LastVisitedPidlMRU", "0", "notepad.exe");
  Put(e + "ComDlg32\\LastVisitedMRU", "a", "notepad.exe");
  ticks.values[10] = ticks.values[11] = ticks.values[12] = ticks.values[15] = 1;
  // The fixed 1 + 1 + 4 + 16, and one per key emptied or removed beyond them: RecentDocs and
  // two of its sub-keys, TypedPaths, WordWheelQuery, OpenSavePidlMRU's txt and *, two
  // LastVisited lists.
  EXPECT_EQ(22 + 9, RunRegnum());
  for (const char* k : {"TypedPaths", "WordWheelQuery", "ComDlg32\\LastVisitedPidlMRU", "ComDlg32\\LastVisitedMRU",
                        "RecentDocs\\.txt", "RecentDocs\\Folder"})
    EXPECT_EQ(0u, Entries(e + k)) << k;  // there, and empty
  EXPECT_EQ(2u, Entries(e + "RecentDocs"));  // its two sub-keys, kept
  EXPECT_FALSE(KeyExists(e + "ComDlg32\\OpenSavePidlMRU\\txt"));
  EXPECT_FALSE(KeyExists(e + "ComDlg32\\OpenSavePidlMRU\\*"));
  EXPECT_TRUE(KeyExists(e + "ComDlg32\\OpenSavePidlMRU\\pdf"));
  EXPECT_FALSE(KeyExists(e + "ComDlg32\\LastVisitedPidlMRULegacy"));  // nothing is created
  SHDeleteKeyA(HKEY_CURRENT_USER, (e + "ComDlg32\\OpenSavePidlMRU").c_str());
}

TEST_F(TracksTest, CheckDiskFoldersLoseTheirFragmentsAndGoWhenEmpty) {
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("D:\\")) << "the harness gives the tests a d: drive";
  MakeFile("D:\\FOUND.000\\FILE0000.CHK", 1000);
  MakeFile("D:\\FOUND.000\\FILE0001.CHK", 500);
  MakeFile("D:\\FOUND.001\\FILE0000.CHK", 200);
  MakeFile("D:\\FOUND.001\\notes.txt", 10);
  MakeFile("D:\\FOUNDLING\\FILE0000.CHK", 10);
  SetFileAttributesA("D:\\FOUND.000", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY);
  ticks.values[16] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(50000 + 1700, run.filesize());
  EXPECT_FALSE(FileExists("D:\\FOUND.000"));
  EXPECT_FALSE(FileExists("D:\\FOUND.001\\FILE0000.CHK"));
  EXPECT_TRUE(FileExists("D:\\FOUND.001\\notes.txt"));  // another file: it and its folder stay
  EXPECT_TRUE(FileExists("D:\\FOUNDLING\\FILE0000.CHK"));
  RemoveTree("D:\\FOUND.001");
  RemoveTree("D:\\FOUNDLING");
}

TEST_F(LocationBarTest, TheTimesOfTypedAddressesGoWithTheList) {
  const char kTimes[] = "Software\\Microsoft\\Internet Explorer\\TypedURLsTime";
  Typed({"http://typed.example/", "http://kept.example/"});
  Put(kTimes, "url1", "t1");
  Put(kTimes, "url2", "t2");
  WriteListFile(KeepUrlFile(), {"http://kept.example/"});
  EXPECT_EQ(1 + 1, RunRegnum());  // one typed address, and the times
  EXPECT_EQ((std::vector<std::string>{"http://kept.example/"}), TypedUrlValues());
  EXPECT_TRUE(KeyExists(kTimes));
  EXPECT_EQ(0u, Entries(kTimes));  // "url1" is now another address: no time may point at it
  SHDeleteKeyA(HKEY_CURRENT_USER, kTimes);
}
