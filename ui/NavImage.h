// Pictures drawn by the program itself: navigation tiles, the help sign, the banner.
#pragma once
#include <windows.h>

// One navigation tile; a single-line border while the mouse is over it.
void DrawNavImage(const DRAWITEMSTRUCT& dis, int image, bool bordered);
void DrawHelpImage(const DRAWITEMSTRUCT& dis);
// Banner of the splash and about windows.
void DrawBanner(const DRAWITEMSTRUCT& dis);
// Prepares dc for text on the navigation background and returns its brush.
HBRUSH NavigationBackground(HDC dc);
