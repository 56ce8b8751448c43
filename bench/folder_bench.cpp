// Measures the folder routines against the platform's floor and its own tools.
//   folder_bench make-tree DIR      builds the benchmark tree in DIR
//   folder_bench run WORK [RM_SECONDS]  builds trees in WORK and reports every figure
//   folder_bench search WORK        Search & Erase's listing against the bare walk
//   folder_bench definitions        loading and detecting a 3,000-entry winapp2.ini
//   folder_bench browsers WORK      cleaning a large Chromium History and Cookies database
//   folder_bench preview WORK       tswclean.exe in WORK\prog: --analyze --out, then --from, on 20,000 temp files
//   folder_bench peer-profile APP [all]   the same History in the prefix's Chrome profile, and APP\prisd.dat
//                                   ticking only its History (every kind with "all"), for timing
//                                   tswclean against the peer
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <shlobj.h>
#include <sqlite3.h>

#include "access/Listing.h"
#include "access/Normal.h"
#include "access/SqliteDb.h"
#include "access/WidePath.h"
#include "engine/Browsers.h"
#include "engine/CleanRun.h"
#include "keeplists/ListFile.h"
#include "keeplists/SiteKeepList.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "settings/MainTicks.h"
#include "engine/Winapp2.h"
#include "search/FileHunt.h"
#include "ui/HuntList.h"

namespace {

const int kFolders = 1000;
const int kFilesPerFolder = 100;

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// 1000 folders in ten groups of a hundred, a hundred small files each.
void MakeTree(const std::string& root) {
  CreateDirectoryA(root.c_str(), nullptr);
  char data[64];
  memset(data, 'x', sizeof data);
  for (int g = 0; g < 10; ++g) {
    std::string group = root + "\\g" + std::to_string(g);
    CreateDirectoryA(group.c_str(), nullptr);
    for (int d = 0; d < kFolders / 10; ++d) {
      std::string folder = group + "\\d" + std::to_string(d);
      CreateDirectoryA(folder.c_str(), nullptr);
      for (int f = 0; f < kFilesPerFolder; ++f) {
        // One file in ten matches a default Search & Erase pattern.
        std::string file = folder + "\\f" + std::to_string(f) + (f % 10 == 0 ? ".tmp" : ".dat");
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written;
        WriteFile(h, data, sizeof data, &written, nullptr);
        CloseHandle(h);
      }
    }
  }
}

// The floor: a plain recursive wide walk, each name as it is, listed with the same calls and
// flags as the program's own listing (no short names, larger batches), so that the ratio
// measures what the walk adds and not a difference in the call.
template <typename OnFile, typename OnFolderDone>
void BareWalk(const std::wstring& folder, OnFile onFile, OnFolderDone onFolderDone) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!wcscmp(fd.cFileName, L".") || !wcscmp(fd.cFileName, L"..")) continue;
    std::wstring full = folder + L"\\" + fd.cFileName;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      BareWalk(full, onFile, onFolderDone);
      onFolderDone(full);
    } else {
      onFile(full, fd);
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}
template <typename OnFile, typename OnFolderDone>
void BareWalk(const std::string& folder, OnFile onFile, OnFolderDone onFolderDone) {
  BareWalk(WideText(folder), onFile, onFolderDone);
}

// Runs a program to its end, its output to the file given (by default to NUL); the seconds it took.
double RunCommand(const std::string& commandLine, const char* output = "NUL") {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE nul = CreateFileA(output, GENERIC_WRITE, FILE_SHARE_WRITE, &sa, std::string(output) == "NUL" ? OPEN_EXISTING : CREATE_ALWAYS,
                           0, nullptr);
  si.hStdOutput = si.hStdError = nul;
  si.hStdInput = nullptr;
  PROCESS_INFORMATION pi = {};
  std::string cmd = commandLine;
  double t0 = Now();
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(nul);
    return -1;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  double t = Now() - t0;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(nul);
  return t;
}

template <typename F>
double Time(F f) {
  double t0 = Now();
  f();
  return Now() - t0;
}

void Row(const char* what, double seconds, double floor) {
  printf("  %-34s %8.2f s   %6.2fx\n", what, seconds, floor > 0 ? seconds / floor : 0.0);
}

// Search & Erase's view without its window: the same list filling, in a list box of its own.
class ListOnlyView : public HuntView {
 public:
  explicit ListOnlyView(HuntList& list) : list_(list) {}
  void SetSearching(bool) override {}
  void ShowFolder(const std::string&) override {}
  void HandleMessages() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  bool StopRequested() const override { return false; }
  void BeginFolderLines(size_t files) override { list_.BeginFolder(files); }
  void EndFolderLines() override { list_.EndFolder(); }
  void AddLine(const std::string& line, const std::string& path) override { list_.Add(line, path); }
  int TextWidth(const std::string& text) override { return list_.Width(text); }
  void Finish(const std::string&, int widest) override { list_.Finish(widest); }

 private:
  HuntList& list_;
};

int Search(const std::string& work) {
  CreateDirectoryA(work.c_str(), nullptr);
  const std::string tree = work + "\\search";
  printf("Building a tree of %d files in %d folders, one in ten a .tmp ...\n", kFolders * kFilesPerFolder, kFolders);
  MakeTree(tree);
  HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
  HWND listBox = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VSCROLL | WS_HSCROLL | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT,
                                 0, 0, 640, 480, host, nullptr, nullptr, nullptr);
  if (!listBox) fprintf(stderr, "No list box could be made (no display?): the figures leave out the list.\n");
  HuntList list;
  list.Attach(listBox);
  ListOnlyView view(list);
  long long bareFiles = 0;
  // The best of three of each, taken in turn: one pass under Wine varies by half from the next.
  double bare = 1e9, hunt = 1e9;
  HuntResult result;
  for (int round = 0; round < 3; ++round) {
    bareFiles = 0;
    bare = std::min(bare, Time([&] {
      BareWalk(tree, [&](const std::wstring&, const WIN32_FIND_DATAW&) { ++bareFiles; }, [](const std::wstring&) {});
    }));
    SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
    hunt = std::min(hunt, Time([&] {
      list.BeginSearch();
      result = FindFiles(tree, "*.tmp;*.gid;*.swp;*.chk", true, view);
      list.EndSearch();
    }));
  }
  printf("\nListing (%lld files walked, %llu listed, %ld lines in the list box)\n", bareFiles, result.lines,
         static_cast<long>(SendMessageA(listBox, LB_GETCOUNT, 0, 0)));
  Row("bare FindFirstFileExW walk", bare, bare);
  Row("FindFiles filling the list", hunt, bare);
  DestroyWindow(host);
  RunCommand("cmd /c rd /s /q \"" + work + "\"");
  return 0;
}

// Loading and detecting every entry of one definition file, as the More Applications dialog does.
void MeasureDefinitions(const char* what, const std::string& text, const char* loadGoal, const char* detectGoal) {
  DefinitionSet set;
  const double load = Time([&] { set = ParseDefinitions(text, DefinitionVariables()); });
  int detected = 0;
  const double detect = Time([&] {
    for (const AppDefinition& entry : set.entries) detected += DefinitionDetected(entry) ? 1 : 0;
  });
  printf("%s (%zu entries, %.2f MB, %d detected, %zu lines skipped, %zu entries unusable)\n", what, set.entries.size(),
         text.size() / 1048576.0, detected, set.skipped, set.Unusable());
  printf("  %-34s %8.3f s   (goal %s)\n", "parsing", load, loadGoal);
  printf("  %-34s %8.3f s   (goal %s)\n", "detecting every entry", detect, detectGoal);
}

// A synthetic file of the size users share, 3,000 entries, and the real one when it is given.
int Definitions(const char* realFile) {
  std::string text;
  for (int i = 0; i < 3000; ++i) {
    const std::string n = std::to_string(i);
    text += "[Application " + n + " *]\r\nLangSecRef=3021\r\nDetect=HKCU\\Software\\TswBench" + n +
            "\r\nDetectFile=%AppData%\\Vendor" + n + "\\*\\app.exe\r\nDefault=False\r\n";
    for (int k = 1; k <= 6; ++k)
      text += "FileKey" + std::to_string(k) + "=%LocalAppData%\\Vendor" + n + "\\Cache" + std::to_string(k) +
              "|*.tmp;*.log;*.dat|RECURSE\r\n";
    for (int k = 1; k <= 4; ++k)
      text += "RegKey" + std::to_string(k) + "=HKCU\\Software\\Vendor" + n + "\\Recent" + std::to_string(k) + "\r\n";
    text += "ExcludeKey1=FILE|%LocalAppData%\\Vendor" + n + "\\Cache1\\|keep.dat\r\n";
  }
  MeasureDefinitions("Synthetic definitions", text, "under 1 s", "under 2 s");
  if (!realFile) return 0;
  FILE* f = fopen(realFile, "rb");
  if (!f) {
    printf("The real file %s could not be read\n", realFile);
    return 1;
  }
  std::string real;
  char buf[65536];
  for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) real.append(buf, n);
  fclose(f);
  MeasureDefinitions("The real winapp2.ini", real, "under 0.2 s", "under 0.5 s");
  return 0;
}


// A view and a selection that show and tick nothing: the run of one item, measured.
class QuietView : public RunView {
 public:
  void SetFrameCaption(const std::string&) override {}
  void SetBusyPointer(bool) override {}
  void EnableCleanButton(bool) override {}
  void ClearStatus() override {}
  void AddStatus(const std::string& line) override { lines.push_back(line); }
  void RefreshStatus() override {}
  void SetProgress(int) override {}
  void ShowSummary(const std::string&) override {}
  void BringForward() override {}
  void EndProgram() override {}
  std::vector<std::string> lines;
};
class NoTicks : public Selection {
 public:
  int CheckValue(int) const override { return 0; }
};

// 100 folders of 200 small files each.
void MakeFiles(const std::string& root, int files) {
  CreateDirectoryA(root.c_str(), nullptr);
  for (int d = 0; d < files / 200; ++d) {
    const std::string folder = root + "\\d" + std::to_string(d);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int f = 0; f < 200; ++f) {
      HANDLE h = CreateFileA((folder + "\\f" + std::to_string(f) + ".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written;
      WriteFile(h, "data", 4, &written, nullptr);
      CloseHandle(h);
    }
  }
}

// tswclean.exe itself (bench.sh puts it in WORK\prog), whole processes, over 20,000 files of a
// Temp folder of the benchmark's own beside it (the folder guard keeps the program's own folder):
// --analyze --out, then --from that list; beside them a plain run and the bare deletion on as
// many files. Carrying a preview out may take at most 1.2 times as long as making it. The best of
// three rounds of each: other work on the machine slows one pass or another.
int PreviewBench(const std::string& work) {
  const int kFiles = 20000;
  const double kTarget = 1.2;
  const std::string program = work + "\\prog", exe = program + "\\tswclean.exe", temp = work + "\\Temp";
  const std::string list = work + "\\preview.txt", printed = work + "\\printed.txt";
  if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
    return fprintf(stderr, "%s is missing: run the benchmark through bench.sh\n", exe.c_str()), 1;
  // Windows Temp alone ticked, in tswclean's own settings; the temp folder is the benchmark's.
  for (const TickKey& k : MainTickKeys()) WriteIni(program + "\\prisd.dat", k.section, k.key, k.check == 13 ? "1" : "0");
  SetEnvironmentVariableA("TMP", temp.c_str());
  SetEnvironmentVariableA("TEMP", temp.c_str());
  printf("Making %d files in %d folders, three times over for each measure ...\n", kFiles, kFiles / 200);
  double analyze = 1e9, carry = 1e9, plain = 1e9, floor = 1e9;
  long long listed = 0;
  unsigned long long left = 0;
  for (int round = 0; round < 3; ++round) {
    MakeFiles(temp, kFiles);
    // Its output goes to a file, as a script keeps it: Wine writes to NUL a line at a time, slowly.
    analyze = std::min(analyze, RunCommand("\"" + exe + "\" --analyze --out \"" + list + "\"", printed.c_str()));
    std::string text;
    ReadWholeFile(list, text);
    listed = std::count(text.begin(), text.end(), '\n') - 1;
    carry = std::min(carry, RunCommand("\"" + exe + "\" --from \"" + list + "\"", printed.c_str()));
    BareWalk(temp, [&](const std::wstring&, const WIN32_FIND_DATAW&) { ++left; }, [](const std::wstring&) {});
    MakeFiles(temp, kFiles);  // the same files erased by a plain run, with no preview to keep to
    plain = std::min(plain, RunCommand("\"" + exe + "\"", printed.c_str()));
    MakeFiles(temp, kFiles);  // and the floor: the bare walk deleting each file, in this process
    floor = std::min(floor, Time([&] {
      BareWalk(temp, [](const std::wstring& f, const WIN32_FIND_DATAW&) { DeleteFileW(f.c_str()); }, [](const std::wstring&) {});
    }));
  }
  const double ratio = analyze > 0 ? carry / analyze : 0.0;
  printf("\ntswclean over %d files (%lld lines listed, %llu files left after --from)\n", kFiles, listed, left);
  Row("tswclean --analyze --out", analyze, analyze);
  Row("tswclean --from", carry, analyze);
  Row("tswclean (a plain run, no preview)", plain, analyze);
  Row("bare walk + DeleteFileW, in-process", floor, analyze);
  printf("  --from against --analyze: %.2fx, target %.1fx: %s\n", ratio, kTarget, ratio <= kTarget && left == 0 ? "PASS" : "FAIL");
  printf("  --from against a plain run: %.2fx (what keeping to the preview costs over deleting)\n", plain > 0 ? carry / plain : 0.0);
  RunCommand("cmd /c rd /s /q \"" + temp + "\"");
  return 0;
}

void Sql(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) fprintf(stderr, "%s\n", error ? error : "");
  sqlite3_free(error);
}

// A profile of 100,000 pages with 300,000 visits, 1,000 of them bookmarked, and 10,000 cookies
// of 2,000 sites, 1,000 of which the keep list keeps.
void MakeChromeProfile(const std::string& profile, const std::string& programFolder) {
  // Afresh: what an earlier run left would be measured instead.
  for (const char* old : {"\\History", "\\History-journal", "\\Network\\Cookies", "\\Network\\Cookies-journal", "\\Bookmarks"})
    DeleteFileA((profile + old).c_str());
  CreateDirectoryA(profile.c_str(), nullptr);
  CreateDirectoryA((profile + "\\Network").c_str(), nullptr);
  FILE* f = fopen((profile + "\\Preferences").c_str(), "wb");
  if (f) fclose(f);
  sqlite3* db = nullptr;
  sqlite3_open_v2(Utf8Text(profile + "\\History").c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  // The tables of a real profile's History (bench.sh puts them where the prefix reaches them).
  std::string schema;
  ReadWholeFile("C:\\tswbench-history.sql", schema);
  if (schema.empty()) fprintf(stderr, "C:\\tswbench-history.sql is missing: run the benchmark through bench.sh\n");
  Sql(db, schema + "INSERT INTO meta VALUES('version','70'),('last_compatible_version','16');"
          "BEGIN;"
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000)"
          " INSERT INTO urls(id, url, title, visit_count, typed_count, last_visit_time, hidden)"
          " SELECT i, 'https://site' || (i % 5000) || '.example/page/' || i, 'Page ' || i, 3, 0, 13300000000000000 + i, 0 FROM n;"
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300000)"
          " INSERT INTO visits(id, url, visit_time, from_visit, transition, segment_id, visit_duration)"
          " SELECT i, 1 + (i % 100000), 13300000000000000 + i, 0, 805306368, 0, 1000 FROM n;"
          "COMMIT;");
  sqlite3_close(db);
  std::string bookmarks = "{\"roots\":{\"bookmark_bar\":{\"type\":\"folder\",\"children\":[";
  for (int i = 1; i <= 1000; ++i)
    bookmarks += std::string(i > 1 ? "," : "") + "{\"type\":\"url\",\"url\":\"https://site" + std::to_string((i * 97) % 5000) +
                 ".example/page/" + std::to_string(i * 97) + "\"}";
  bookmarks += "]}},\"version\":1}";
  f = fopen((profile + "\\Bookmarks").c_str(), "wb");
  if (f) {
    fwrite(bookmarks.data(), 1, bookmarks.size(), f);
    fclose(f);
  }
  sqlite3_open_v2(Utf8Text(profile + "\\Network\\Cookies").c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  Sql(db, "CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, top_frame_site_key TEXT NOT NULL DEFAULT '',"
          " name TEXT NOT NULL, value TEXT NOT NULL, encrypted_value BLOB NOT NULL DEFAULT '', path TEXT NOT NULL);"
          "BEGIN;"
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000)"
          " INSERT INTO cookies(creation_utc, host_key, name, value, encrypted_value, path)"
          " SELECT i, CASE i % 3 WHEN 0 THEN '.' ELSE 'www.' END || 'site' || (i % 2000) || '.example', 'n' || i, '',"
          " randomblob(64), '/' FROM n;"
          "COMMIT;");
  sqlite3_close(db);
  std::vector<std::string> kept;
  for (int i = 0; i < 1000; ++i) kept.push_back("site" + std::to_string(i * 2) + ".example");
  WriteListFile(programFolder + "\\keepsite.dat", kept);
}

int BrowsersBench(const std::string& work) {
  char localRoot[MAX_PATH] = {0};
  SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, localRoot);
  const std::string userData = std::string(localRoot) + "\\Google\\Chrome\\User Data";
  SHCreateDirectoryExA(nullptr, userData.c_str(), nullptr);
  CreateDirectoryA(work.c_str(), nullptr);
  OverrideProgramFolder(work);
  const std::string settings = work + "\\prisd.dat";
  WriteIni(settings, kMoreBrowsersSection, "Google Chrome History", "1");
  WriteIni(settings, kMoreBrowsersSection, "Google Chrome Cookies", "1");
  const std::string profile = userData + "\\Default";
  printf("Building a History of 100,000 pages and 300,000 visits, a Cookies database of 10,000 cookies ...\n");
  MakeChromeProfile(profile, work);
  std::vector<RunItem> item;  // More Browsers alone
  for (const RunItem& i : RunItems())
    if (i.startLine && std::string(i.startLine).find("More Browsers") != std::string::npos) item.push_back(i);
  QuietView view;
  NoTicks ticks;
  std::vector<PreviewItem> preview;
  const double analyze = Time([&] { preview = CleanRun(view, ticks, settings, item).Analyze(); });
  unsigned long long rows = 0;
  for (const PreviewItem& p : preview)
    for (const RecordingEraser::Entry& e : p.entries) rows += e.count;
  // History alone, then cookies alone, each with its compaction.
  WriteIni(settings, kMoreBrowsersSection, "Google Chrome Cookies", "0");
  double compactBefore = SqliteDb::CompactSeconds();
  const double history = Time([&] { CleanRun(view, ticks, settings, item).Run(); });
  const double historyCompact = SqliteDb::CompactSeconds() - compactBefore;
  WriteIni(settings, kMoreBrowsersSection, "Google Chrome History", "0");
  WriteIni(settings, kMoreBrowsersSection, "Google Chrome Cookies", "1");
  compactBefore = SqliteDb::CompactSeconds();
  const double cookies = Time([&] { CleanRun(view, ticks, settings, item).Run(); });
  const double cookiesCompact = SqliteDb::CompactSeconds() - compactBefore;
  SqliteDb check;
  check.Open(profile + "\\History", true);
  const long long pagesLeft = check.Number("SELECT count(*) FROM urls");
  SqliteDb checkCookies;
  checkCookies.Open(profile + "\\Network\\Cookies", true);
  const long long cookiesLeft = checkCookies.Number("SELECT count(*) FROM cookies");
  printf("\nToday's browsers (%llu rows previewed; %lld pages and %lld cookies left)\n", rows, pagesLeft, cookiesLeft);
  printf("  %-34s %8.3f s   (goal under 0.5 s)\n", "Analyze of both", analyze);
  printf("  %-34s %8.3f s   (goal under 1.5 s; %.3f s deleting, %.3f s compacting)\n", "History cleaned", history,
         history - historyCompact, historyCompact);
  printf("  %-34s %8.3f s   (goal under 0.3 s; %.3f s deleting, %.3f s compacting)\n", "Cookies cleaned", cookies,
         cookies - cookiesCompact, cookiesCompact);
  RunCommand("cmd /c rd /s /q \"" + userData + "\"");
  RunCommand("cmd /c rd /s /q \"" + work + "\"");
  return 0;
}

// The profile the peer comparison cleans, where tswclean finds it, and a settings file beside the
// tswclean that will clean it, ticking Google Chrome's History and nothing else.
int PeerProfile(const std::string& app, bool everyKind) {
  char localRoot[MAX_PATH] = {0};
  SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, localRoot);
  const std::string userData = std::string(localRoot) + "\\Google\\Chrome\\User Data";
  SHCreateDirectoryExA(nullptr, userData.c_str(), nullptr);
  CreateDirectoryA(app.c_str(), nullptr);
  MakeChromeProfile(userData + "\\Default", app);
  DeleteFileA((app + "\\keepsite.dat").c_str());
  const std::string settings = app + "\\prisd.dat";
  for (const TickKey& k : MainTickKeys()) WriteIni(settings, k.section, k.key, "0");
  for (BrowserKind kind : BrowserKinds())
    if (everyKind || kind == BrowserKind::History)
      WriteIni(settings, kMoreBrowsersSection, std::string("Google Chrome ") + BrowserKindName(kind), "1");
  printf("%s\\Default\n", userData.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  if (argc >= 3 && !strcmp(argv[1], "make-tree")) {
    MakeTree(argv[2]);
    return 0;
  }
  if (argc >= 3 && !strcmp(argv[1], "search")) return Search(argv[2]);
  if (argc >= 3 && !strcmp(argv[1], "browsers")) return BrowsersBench(argv[2]);
  if (argc >= 3 && !strcmp(argv[1], "peer-profile")) return PeerProfile(argv[2], argc >= 4 && !strcmp(argv[3], "all"));
  if (argc >= 3 && !strcmp(argv[1], "preview")) return PreviewBench(argv[2]);
  if (argc >= 2 && !strcmp(argv[1], "definitions")) return Definitions(argc >= 4 ? argv[3] : nullptr);
  if (argc < 3 || strcmp(argv[1], "run")) {
    fprintf(stderr, "usage: folder_bench make-tree DIR | run WORKDIR [RM_SECONDS] | search WORKDIR\n");
    return 2;
  }
  std::string work = argv[2];
  double rmSeconds = argc >= 4 ? atof(argv[3]) : -1;
  CreateDirectoryA(work.c_str(), nullptr);
  const int files = kFolders * kFilesPerFolder;

  std::string measured = work + "\\measure";
  printf("Building a tree of %d files in %d folders ...\n", files, kFolders);
  MakeTree(measured);

  // Under Wine one pass varies by half from the next: the best of five of each, taken in turn.
  double bareSize = 1e9, folderSize = 1e9, sizeTotal = 0, bareBytes = 0;
  for (int round = 0; round < 5; ++round) {
    bareBytes = 0;
    bareSize = std::min(bareSize, Time([&] {
      BareWalk(measured, [&](const std::wstring&, const WIN32_FIND_DATAW& fd) { bareBytes += fd.nFileSizeLow; },
               [](const std::wstring&) {});
    }));
    folderSize = std::min(folderSize, Time([&] { sizeTotal = FolderSize(measured); }));
  }
  double dirS = RunCommand("cmd /c dir /s /b \"" + measured + "\"");

  // Emptying, in pairs on trees made just before, the order changing from one pair to the next:
  // whichever goes first also waits for the disk to write the trees just made. The best of three.
  std::string a = work + "\\empty", b = work + "\\bare", c = work + "\\rd";
  double empty = 1e9, bareDelete = 1e9;
  for (int round = 0; round < 3; ++round) {
    MakeTree(a);
    MakeTree(b);
    auto timeEmpty = [&] { empty = std::min(empty, Time([&] { EmptyFolderTree(a); })); };
    auto timeBare = [&] {
      bareDelete = std::min(bareDelete, Time([&] {
        BareWalk(b, [](const std::wstring& f, const WIN32_FIND_DATAW&) { DeleteFileW(f.c_str()); },
                 [](const std::wstring& d) { RemoveDirectoryW(d.c_str()); });
      }));
    };
    if (round % 2 == 0) timeEmpty(), timeBare();
    else timeBare(), timeEmpty();
  }
  MakeTree(c);
  double rd = RunCommand("cmd /c rd /s /q \"" + c + "\"");

  printf("\nMeasuring (%d files; sizes agree: %s)\n", files, sizeTotal == bareBytes ? "yes" : "NO");
  Row("bare FindFirstFileExW walk", bareSize, bareSize);
  Row("FolderSize", folderSize, bareSize);
  Row("cmd /c dir /s /b", dirS, bareSize);
  printf("\nEmptying\n");
  Row("bare walk + DeleteFileW", bareDelete, bareDelete);
  Row("EmptyFolderTree", empty, bareDelete);
  Row("cmd /c rd /s /q", rd, bareDelete);
  if (rmSeconds >= 0) Row("rm -rf (Linux side)", rmSeconds, bareDelete);

  RunCommand("cmd /c rd /s /q \"" + work + "\"");
  return 0;
}
