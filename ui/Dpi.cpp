// Dpi: a window's scaling, through the calls of Windows 10 where they exist.
#include "ui/Dpi.h"

namespace {
template <typename Call>
Call User32Call(const char* name) {
  return reinterpret_cast<Call>(GetProcAddress(GetModuleHandleA("user32.dll"), name));
}
}  // namespace

UINT WindowDpi(HWND window) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const GetDpiForWindowCall forWindow = User32Call<GetDpiForWindowCall>("GetDpiForWindow");
  if (forWindow && window) {
    const UINT dpi = forWindow(window);
    if (dpi) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

int Scaled(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kBaseDpi)); }

int SystemMetricAt(int index, UINT dpi) {
  using ForDpiCall = int(WINAPI*)(int, UINT);
  static const ForDpiCall forDpi = User32Call<ForDpiCall>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, dpi);
  // Before Windows 10 the measure is the system's, at the system's DPI.
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(WindowDpi(nullptr)));
}

void LayOutOwnDpiChanges(HWND dialog) {
  // DDC_DISABLE_ALL: no automatic resizing, no font change, no control moves.
  using BehaviorCall = BOOL(WINAPI*)(HWND, int, int);
  static const BehaviorCall behavior = User32Call<BehaviorCall>("SetDialogDpiChangeBehavior");
  if (behavior) behavior(dialog, 1, 1);
}
