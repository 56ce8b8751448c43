// A second process for the boss-key tests: a maximised browser window, a folder window and a
// folder window that was never shown, alive until the named event of its command line is set.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  for (const char* cls : {"IEFrame", "CabinetWClass"}) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
  }
  auto make = [&](const char* cls, const char* title) {
    return CreateWindowExA(0, cls, title, WS_OVERLAPPEDWINDOW, 60, 60, 320, 200, nullptr, nullptr, instance, nullptr);
  };
  HWND ie = make("IEFrame", "tsw-boss-browser");
  HWND folder = make("CabinetWClass", "tsw-boss-folder");
  make("CabinetWClass", "tsw-boss-hidden");
  ShowWindow(ie, SW_SHOWMAXIMIZED);
  ShowWindow(folder, SW_SHOWNORMAL);
  HANDLE done = OpenEventA(SYNCHRONIZE, FALSE, std::string(commandLine).c_str());
  if (!done) return 2;
  // Never outlives its test by long, even if the test cannot say so.
  const DWORD start = GetTickCount();
  while (MsgWaitForMultipleObjects(1, &done, FALSE, 1000, QS_ALLINPUT) != WAIT_OBJECT_0 &&
         GetTickCount() - start < 120000) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  CloseHandle(done);
  return 0;
}
