// A process for the tests to name as a browser ("firefox.exe"): one visible main window, alive
// until the named event of its command line is set or the window is closed. With "stays" its
// window ignores WM_CLOSE, as a browser that asks "close all tabs?" would.
#include <windows.h>

#include <string>

namespace {
bool g_stays = false;

LRESULT CALLBACK BrowserWindow(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE && g_stays) return 0;
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  std::string args(commandLine);
  const size_t space = args.find(' ');
  const std::string eventName = args.substr(0, space);
  g_stays = space != std::string::npos && args.substr(space + 1) == "stays";
  WNDCLASSA wc = {};
  wc.lpfnWndProc = BrowserWindow;
  wc.hInstance = instance;
  wc.lpszClassName = "TswFakeBrowser";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, wc.lpszClassName, "tsw-fake-browser", WS_OVERLAPPEDWINDOW, 40, 40, 320, 200, nullptr,
                                nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  HANDLE done = OpenEventA(SYNCHRONIZE, FALSE, eventName.c_str());
  if (!done) return 2;
  // Never outlives its test by long, even if the test cannot say so.
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &done, FALSE, 1000, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0 || GetTickCount() - start > 120000) break;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        CloseHandle(done);
        return 0;
      }
      DispatchMessageA(&msg);
    }
  }
  CloseHandle(done);
  return 0;
}
