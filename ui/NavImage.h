// Pictures drawn by the program itself: navigation tiles, the help sign, the banner.
#pragma once
#include <windows.h>

// One navigation tile; a single-line border while the mouse is over it, a dotted one inside
// while it has the keyboard's focus.
void DrawNavImage(const DRAWITEMSTRUCT& dis, int image, bool bordered);
// A link: a drawn button showing its text in the link colour, underlined, on its window's
// background, wrapped over the lines it has, and framed by a dotted line while it has the focus.
void DrawLink(const DRAWITEMSTRUCT& dis);
void DrawHelpImage(const DRAWITEMSTRUCT& dis);
// Banner of the splash and about windows.
void DrawBanner(const DRAWITEMSTRUCT& dis);
// Prepares dc for text on the navigation background and returns its brush.
HBRUSH NavigationBackground(HDC dc);
