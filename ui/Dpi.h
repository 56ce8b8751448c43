// The scaling a window is shown at: its DPI (96 at 100 %), and sizes given for 96 DPI scaled to
// it. The program declares itself aware of each monitor's scaling, so that Windows draws it sharp
// instead of stretching a bitmap of it.
#pragma once
#include <windows.h>

const UINT kBaseDpi = 96;

// The window's DPI where Windows tells it (Windows 10 and later), else the screen's.
UINT WindowDpi(HWND window);
// A length of pixels at 96 DPI, at dpi.
int Scaled(int pixels, UINT dpi);
// A system measure (SM_CXICON, SM_CXSMICON, ...) at dpi.
int SystemMetricAt(int index, UINT dpi);
// A window that lays itself out on a change of DPI asks Windows not to rescale it as well.
void LayOutOwnDpiChanges(HWND dialog);
// WM_DPICHANGED, which the headers of older Windows do not name.
const UINT kDpiChangedMessage = 0x02E0;
