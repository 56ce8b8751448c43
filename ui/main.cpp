// Tsw.exe: no command line, no automatic clean; the splash leads into the main window.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "ui/App.h"
#include "ui/Dialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A drive without media must not stop a run with the system's "no disk" box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  int code = 0;
  {
    App app;
    Dialog::QuitWhenLastWindowCloses(true);
    code = app.Start() ? Dialog::RunMessageLoop() : 1;
  }
  OleUninitialize();
  return code;
}
