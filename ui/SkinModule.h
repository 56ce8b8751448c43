// The main window's skinned frame: no standard caption or border, a rounded region, and
// pictures for the title bar, the borders and the caption buttons, from
// "<program folder>\Skinz\<skin>\<control name>.gif" or, where a picture is missing or
// unreadable, the program's own.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The frame's controls, in layout order; part n is the control IDC_SKIN(n) of the window.
struct SkinPart {
  const char* name;  // control name, and the picture's file name
  bool image;        // false for the title label
  bool overTitle;    // lies on the title bar's pictures: the label and the caption buttons
};
const std::vector<SkinPart>& SkinParts();
int SkinPartIndex(const std::string& name);  // -1 when there is no such part

// Where a part goes in a window W by H pixels; width or height -1 keeps the picture's size.
// Parts that are not placed (imgTitleMaximize, imgTitleRestore) are not listed. The offsets are
// pixels at 96 DPI, scaled to the window's DPI.
struct SkinPlace {
  const char* name;
  int left, top, width, height;
};
std::vector<SkinPlace> SkinLayout(int width, int height, UINT dpi = 96);

// "Current Skin" under HKEY_CURRENT_USER\Software\Tracksweep\Tracksweep\Options; "Blue" by default.
std::string SkinName();
std::string SkinFile(const std::string& partName);

// A GIF (or any picture the platform's OLE decoder reads) as a bitmap; nullptr when unreadable.
HBITMAP LoadPictureFile(const std::string& path);
// The program's own picture of a part.
HBITMAP LoadBuiltInPicture(const std::string& partName);

// The rounded region (0, 0, W, H, 24, 24), its corners scaled to the DPI, given to the window.
void MakeRoundRegion(HWND window, UINT dpi = 96);
// Moves the window with the mouse as if its caption were pressed; a maximised window stays.
void DragWindow(HWND window);

// The pictures of one window's frame, owned and freed here.
class SkinFrame {
 public:
  SkinFrame() = default;
  ~SkinFrame();
  SkinFrame(const SkinFrame&) = delete;
  SkinFrame& operator=(const SkinFrame&) = delete;
  // Every image part: its skin file, else the built-in picture; imgTitleMaxRestore shows
  // imgTitleMaximize's picture.
  void LoadSkinImages();
  // Background, caption, region and the layout table, for the window as it is sized now; the
  // pictures grow with the DPI.
  void LayoutSkinFrame(HWND window, UINT dpi = 96) const;
  HBITMAP Picture(int part) const;
  SIZE PictureSize(int part) const;
  // Draws an owner-drawn frame control; false when the control is not a part.
  bool Draw(const DRAWITEMSTRUCT& dis) const;

 private:
  std::vector<HBITMAP> pictures_;
  void Free();
};
