// Tsw.exe: no command line, no automatic clean; the splash leads into the main window.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "ui/App.h"
#include "ui/Dialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  int code = 0;
  {
    App app;
    Dialog::QuitWhenLastWindowCloses(true);
    app.Start();
    code = Dialog::RunMessageLoop();
  }
  OleUninitialize();
  return code;
}
