// Test entry: refuses to run anywhere but in the prefix that the harness made for it.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace {
// A folder below C:\users that is a link may lead to the host's home folder, where a test
// that erases in the user's documents would erase for real.
bool UserFoldersStayInThePrefix() {
  WIN32_FIND_DATAA user;
  HANDLE users = FindFirstFileA("C:\\users\\*", &user);
  if (users == INVALID_HANDLE_VALUE) return true;
  bool sealed = true;
  do {
    if (user.cFileName[0] == '.' || !(user.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (user.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) sealed = false;
    WIN32_FIND_DATAA entry;
    HANDLE h = FindFirstFileA((std::string("C:\\users\\") + user.cFileName + "\\*").c_str(), &entry);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        fprintf(stderr, "C:\\users\\%s\\%s is a link.\n", user.cFileName, entry.cFileName);
        sealed = false;
      }
    } while (FindNextFileA(h, &entry));
    FindClose(h);
  } while (FindNextFileA(users, &user));
  FindClose(users);
  return sealed;
}
}  // namespace

int main(int argc, char** argv) {
  // The harness writes this file on C: of its own prefix; a machine or prefix without it
  // is somebody else's, and these tests write to the registry and the disk.
  if (GetFileAttributesA("C:\\tracksweep-test-prefix.txt") == INVALID_FILE_ATTRIBUTES) {
    fprintf(stderr, "Refusing to run: not inside the Tracksweep test prefix.\n");
    return 2;
  }
  if (!UserFoldersStayInThePrefix()) {
    fprintf(stderr, "Refusing to run: user folders of this prefix lead outside it.\n");
    return 2;
  }
  // As in the program: probing a drive without media shows no box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  OleUninitialize();
  return result;
}
