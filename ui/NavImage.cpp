#include "ui/NavImage.h"

#include <algorithm>

namespace {

const COLORREF kNavBack = RGB(34, 52, 86);

class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ o) : o_(o) {}
  ~GdiObject() { if (o_) DeleteObject(o_); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ get() const { return o_; }
 private:
  HGDIOBJ o_;
};

COLORREF TileColour(int image) {
  switch (image) {
    case 1: return RGB(66, 133, 204);
    case 2: return RGB(80, 160, 120);
    case 3: return RGB(214, 120, 40);
    case 4: return RGB(150, 96, 190);
    case 5: return RGB(70, 150, 170);
    case 6: return RGB(120, 120, 140);
    default: return RGB(190, 60, 60);
  }
}

void FillRounded(HDC dc, const RECT& r, COLORREF fill, COLORREF edge, int radius) {
  GdiObject brush(CreateSolidBrush(fill));
  GdiObject pen(CreatePen(PS_SOLID, 1, edge));
  HGDIOBJ oldBrush = SelectObject(dc, brush.get());
  HGDIOBJ oldPen = SelectObject(dc, pen.get());
  RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

void DrawGlyph(HDC dc, const RECT& r, const char* text, int height) {
  LOGFONTA lf = {};
  lf.lfHeight = -height;
  lf.lfWeight = FW_BOLD;
  lstrcpyA(lf.lfFaceName, "Arial");
  GdiObject font(CreateFontIndirectA(&lf));
  HGDIOBJ old = SelectObject(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT t = r;
  DrawTextA(dc, text, -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
}

// The links' blue; under high contrast the colour the user chose for links.
COLORREF LinkColour() {
  HIGHCONTRASTA contrast = {sizeof contrast, 0, nullptr};
  const bool high = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) && (contrast.dwFlags & HCF_HIGHCONTRASTON);
  return high ? GetSysColor(COLOR_HOTLIGHT) : RGB(0, 0, 192);
}

// Windows hides focus frames until the keyboard is used (ODS_NOFOCUSRECT).
bool ShowsFocus(const DRAWITEMSTRUCT& dis) {
  return (dis.itemState & ODS_FOCUS) && !(dis.itemState & ODS_NOFOCUSRECT);
}

const char* Glyph(int image) {
  switch (image) {
    case 1: return "S";
    case 2: return "C";
    case 3: return "GO";
    case 4: return "?*";
    case 5: return "O";
    case 6: return "i";
    default: return "X";
  }
}

}  // namespace

HBRUSH NavigationBackground(HDC dc) {
  static HBRUSH brush = CreateSolidBrush(kNavBack);
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, kNavBack);
  SetBkMode(dc, TRANSPARENT);
  return brush;
}

void DrawNavImage(const DRAWITEMSTRUCT& dis, int image, bool bordered) {
  RECT r = dis.rcItem;
  FillRect(dis.hDC, &r, NavigationBackground(dis.hDC));
  RECT tile = {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
  FillRounded(dis.hDC, tile, TileColour(image), TileColour(image), 10);
  DrawGlyph(dis.hDC, tile, Glyph(image), (tile.bottom - tile.top) / 2);
  if (bordered) {
    GdiObject pen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    HGDIOBJ oldPen = SelectObject(dis.hDC, pen.get());
    HGDIOBJ oldBrush = SelectObject(dis.hDC, GetStockObject(NULL_BRUSH));
    Rectangle(dis.hDC, r.left, r.top, r.right, r.bottom);
    SelectObject(dis.hDC, oldBrush);
    SelectObject(dis.hDC, oldPen);
  }
  if (ShowsFocus(dis)) {
    RECT inside = {tile.left + 2, tile.top + 2, tile.right - 2, tile.bottom - 2};
    SetTextColor(dis.hDC, RGB(255, 255, 255));
    SetBkColor(dis.hDC, RGB(0, 0, 0));
    DrawFocusRect(dis.hDC, &inside);
  }
}

void DrawLink(const DRAWITEMSTRUCT& dis) {
  HDC dc = dis.hDC;
  HWND parent = GetParent(dis.hwndItem);
  // The window's own background, as it gives it to its texts.
  HBRUSH back = reinterpret_cast<HBRUSH>(
      SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dis.hwndItem)));
  FillRect(dc, &dis.rcItem, back ? back : GetSysColorBrush(COLOR_BTNFACE));
  char text[1024] = {0};
  GetWindowTextA(dis.hwndItem, text, sizeof text);
  LOGFONTA lf = {};
  HFONT own = reinterpret_cast<HFONT>(SendMessageA(dis.hwndItem, WM_GETFONT, 0, 0));
  GetObjectA(own ? static_cast<HGDIOBJ>(own) : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  lf.lfUnderline = TRUE;
  GdiObject font(CreateFontIndirectA(&lf));
  HGDIOBJ old = SelectObject(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, (dis.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : LinkColour());
  const UINT format = DT_LEFT | DT_WORDBREAK | ((dis.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
  RECT area = dis.rcItem;
  DrawTextA(dc, text, -1, &area, format);
  if (ShowsFocus(dis)) {
    RECT used = dis.rcItem;
    DrawTextA(dc, text, -1, &used, format | DT_CALCRECT);
    used.right = std::min(used.right + 1, dis.rcItem.right);
    used.bottom = std::min(used.bottom, dis.rcItem.bottom);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawFocusRect(dc, &used);
  }
  SelectObject(dc, old);
}

void DrawHelpImage(const DRAWITEMSTRUCT& dis) {
  FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  FillRounded(dis.hDC, dis.rcItem, RGB(0, 0, 192), RGB(0, 0, 192), 20);
  DrawGlyph(dis.hDC, dis.rcItem, "?", (dis.rcItem.bottom - dis.rcItem.top) * 3 / 4);
}

void DrawBanner(const DRAWITEMSTRUCT& dis) {
  RECT r = dis.rcItem;
  int h = r.bottom - r.top;
  for (int y = 0; y < h; ++y) {
    RECT line = {r.left, r.top + y, r.right, r.top + y + 1};
    GdiObject b(CreateSolidBrush(RGB(34, 52 + y * 60 / h, 86 + y * 100 / h)));
    FillRect(dis.hDC, &line, static_cast<HBRUSH>(b.get()));
  }
  DrawGlyph(dis.hDC, r, "Tracksweep", h / 2);
}
