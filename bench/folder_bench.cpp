// Measures the folder routines against the platform's floor and its own tools.
//   folder_bench make-tree DIR      builds the benchmark tree in DIR
//   folder_bench run WORK [RM_SECONDS]  builds trees in WORK and reports every figure
//   folder_bench search WORK        Search & Erase's listing against the bare walk
//   folder_bench definitions        loading and detecting a 3,000-entry winapp2.ini
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "access/Normal.h"
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

// The floor: a plain recursive FindFirstFileA/FindNextFileA walk.
template <typename OnFile, typename OnFolderDone>
void BareWalk(const std::string& folder, OnFile onFile, OnFolderDone onFolderDone) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!strcmp(fd.cFileName, ".") || !strcmp(fd.cFileName, "..")) continue;
    std::string full = folder + "\\" + fd.cFileName;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      BareWalk(full, onFile, onFolderDone);
      onFolderDone(full);
    } else {
      onFile(full, fd);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

double RunCommand(const std::string& commandLine) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
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
  const double bare = Time([&] {
    BareWalk(tree, [&](const std::string&, const WIN32_FIND_DATAA&) { ++bareFiles; }, [](const std::string&) {});
  });
  HuntResult result;
  const double hunt = Time([&] {
    list.BeginSearch();
    result = FindFiles(tree, "*.tmp;*.gid;*.swp;*.chk", true, view);
    list.EndSearch();
  });
  printf("\nListing (%lld files walked, %llu listed, %ld lines in the list box)\n", bareFiles, result.lines,
         static_cast<long>(SendMessageA(listBox, LB_GETCOUNT, 0, 0)));
  Row("bare FindFirstFile walk", bare, bare);
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

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  if (argc >= 3 && !strcmp(argv[1], "make-tree")) {
    MakeTree(argv[2]);
    return 0;
  }
  if (argc >= 3 && !strcmp(argv[1], "search")) return Search(argv[2]);
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

  double bareSize = 0, sizeTotal = 0, bareBytes = 0;
  bareSize = Time([&] {
    BareWalk(measured, [&](const std::string&, const WIN32_FIND_DATAA& fd) { bareBytes += fd.nFileSizeLow; },
             [](const std::string&) {});
  });
  double folderSize = Time([&] { sizeTotal = FolderSize(measured); });
  double dirS = RunCommand("cmd /c dir /s /b \"" + measured + "\"");

  std::string a = work + "\\empty", b = work + "\\bare", c = work + "\\rd";
  MakeTree(a);
  MakeTree(b);
  MakeTree(c);
  double empty = Time([&] { EmptyFolderTree(a); });
  double bareDelete = Time([&] {
    BareWalk(b, [](const std::string& f, const WIN32_FIND_DATAA&) { DeleteFileA(f.c_str()); },
             [](const std::string& d) { RemoveDirectoryA(d.c_str()); });
  });
  double rd = RunCommand("cmd /c rd /s /q \"" + c + "\"");

  printf("\nMeasuring (%d files; sizes agree: %s)\n", files, sizeTotal == bareBytes ? "yes" : "NO");
  Row("bare FindFirstFile walk", bareSize, bareSize);
  Row("FolderSize", folderSize, bareSize);
  Row("cmd /c dir /s /b", dirS, bareSize);
  printf("\nEmptying\n");
  Row("bare walk + DeleteFileA", bareDelete, bareDelete);
  Row("EmptyFolderTree", empty, bareDelete);
  Row("cmd /c rd /s /q", rd, bareDelete);
  if (rmSeconds >= 0) Row("rm -rf (Linux side)", rmSeconds, bareDelete);

  RunCommand("cmd /c rd /s /q \"" + work + "\"");
  return 0;
}
