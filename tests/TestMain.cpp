// Test entry: refuses to run anywhere but in the prefix that the harness made for it.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // The harness writes this file on C: of its own prefix; a machine or prefix without it
  // is somebody else's, and these tests write to the registry and the disk.
  if (GetFileAttributesA("C:\\tracksweep-test-prefix.txt") == INVALID_FILE_ATTRIBUTES) {
    fprintf(stderr, "Refusing to run: not inside the Tracksweep test prefix.\n");
    return 2;
  }
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  OleUninitialize();
  return result;
}
