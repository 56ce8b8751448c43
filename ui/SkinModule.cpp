// SkinModule: the skinned window frame and its pictures.
#include "ui/SkinModule.h"

#include <ole2.h>
#include <olectl.h>

#include "access/RegKey.h"
#include "settings/AppFolder.h"
#include "ui/Dpi.h"
#include "ui/frmMainCodeRes.h"

namespace {
const char kSkinKey[] = "Software\\Tracksweep\\Tracksweep\\Options";
const char kDefaultSkin[] = "Blue";
const int kCorner = 24;

HBITMAP PictureFromBytes(const void* data, DWORD size) {
  if (!data || !size) return nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  memcpy(GlobalLock(memory), data, size);
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  HBITMAP bitmap = nullptr;
  IPicture* picture = nullptr;
  if (SUCCEEDED(OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture)))) {
    OLE_HANDLE handle = 0;
    SHORT type = PICTYPE_NONE;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle)))
      bitmap = static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
    picture->Release();
  }
  stream->Release();
  return bitmap;
}
}  // namespace

const std::vector<SkinPart>& SkinParts() {
  static const std::vector<SkinPart> parts = {
      {"lblTitle", false, true},          {"imgTitleLeft", true, false},        {"imgTitleRight", true, false},
      {"imgTitleMain", true, false},      {"imgWindowLeft", true, false},       {"imgWindowBottomLeft", true, false},
      {"imgWindowBottom", true, false},   {"imgWindowBottomRight", true, false}, {"imgWindowRight", true, false},
      {"imgTitleClose", true, true},      {"imgTitleMaxRestore", true, true},   {"imgTitleMinimize", true, true},
      {"imgTitleHelp", true, true},       {"imgTitleMaximize", true, true},     {"imgTitleRestore", true, true},
  };
  return parts;
}

int SkinPartIndex(const std::string& name) {
  const std::vector<SkinPart>& parts = SkinParts();
  for (size_t i = 0; i < parts.size(); ++i)
    if (name == parts[i].name) return static_cast<int>(i);
  return -1;
}

std::vector<SkinPlace> SkinLayout(int w, int h, UINT dpi) {
  auto px = [dpi](int pixels) { return Scaled(pixels, dpi); };
  return {
      {"lblTitle", px(16), px(7), -1, -1},
      {"imgTitleLeft", 0, 0, -1, -1},
      {"imgTitleRight", w - px(19), 0, -1, -1},
      {"imgTitleMain", px(19), 0, w - px(19), -1},
      {"imgWindowLeft", 0, px(30), -1, h - px(60)},
      {"imgWindowBottomLeft", 0, h - px(30), -1, -1},
      {"imgWindowBottom", px(19), h - px(30), w - px(38), -1},
      {"imgWindowBottomRight", w - px(19), h - px(30), -1, -1},
      {"imgWindowRight", w - px(19), px(30), -1, h - px(38)},
      {"imgTitleClose", w - px(22), px(8), -1, -1},
      {"imgTitleMaxRestore", w - px(39), px(8), -1, -1},
      {"imgTitleMinimize", w - px(56), px(8), -1, -1},
      {"imgTitleHelp", w - px(73), px(8), -1, -1},
  };
}

std::string SkinName() {
  RegKey key;
  char name[MAX_PATH] = {0};
  DWORD size = sizeof name - 1, type = 0;
  if (key.Open(HKEY_CURRENT_USER, kSkinKey, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
      RegQueryValueExA(key.get(), "Current Skin", nullptr, &type, reinterpret_cast<BYTE*>(name), &size) != ERROR_SUCCESS ||
      type != REG_SZ || !name[0])
    return kDefaultSkin;
  return name;
}

std::string SkinFile(const std::string& partName) {
  return ProgramFile("Skinz") + "\\" + SkinName() + "\\" + partName + ".gif";
}

HBITMAP LoadPictureFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  const DWORD size = GetFileSize(file, nullptr);
  std::string bytes(size == INVALID_FILE_SIZE ? 0 : size, '\0');
  DWORD got = 0;
  const bool read = !bytes.empty() && ReadFile(file, &bytes[0], size, &got, nullptr) && got == size;
  CloseHandle(file);
  return read ? PictureFromBytes(bytes.data(), size) : nullptr;
}

HBITMAP LoadBuiltInPicture(const std::string& partName) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, partName.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  return loaded ? PictureFromBytes(LockResource(loaded), SizeofResource(module, found)) : nullptr;
}

void MakeRoundRegion(HWND window, UINT dpi) {
  RECT r;
  GetWindowRect(window, &r);
  const int corner = Scaled(kCorner, dpi);
  SetWindowRgn(window, CreateRoundRectRgn(0, 0, r.right - r.left, r.bottom - r.top, corner, corner), TRUE);
}

void DragWindow(HWND window) {
  if (IsZoomed(window)) return;
  ReleaseCapture();
  SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

SkinFrame::~SkinFrame() { Free(); }

void SkinFrame::Free() {
  for (HBITMAP b : pictures_)
    if (b) DeleteObject(b);
  pictures_.clear();
}

void SkinFrame::LoadSkinImages() {
  Free();
  const std::vector<SkinPart>& parts = SkinParts();
  pictures_.assign(parts.size(), nullptr);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (!parts[i].image) continue;
    HBITMAP picture = LoadPictureFile(SkinFile(parts[i].name));
    pictures_[i] = picture ? picture : LoadBuiltInPicture(parts[i].name);
  }
  const int maximize = SkinPartIndex("imgTitleMaximize"), maxRestore = SkinPartIndex("imgTitleMaxRestore");
  if (pictures_[maxRestore]) DeleteObject(pictures_[maxRestore]);
  pictures_[maxRestore] = pictures_[maximize] ? static_cast<HBITMAP>(CopyImage(pictures_[maximize], IMAGE_BITMAP, 0, 0, 0)) : nullptr;
}

HBITMAP SkinFrame::Picture(int part) const {
  return part >= 0 && static_cast<size_t>(part) < pictures_.size() ? pictures_[part] : nullptr;
}

SIZE SkinFrame::PictureSize(int part) const {
  BITMAP bm = {};
  HBITMAP b = Picture(part);
  if (!b || !GetObjectA(b, sizeof bm, &bm)) return SIZE{0, 0};
  return SIZE{bm.bmWidth, bm.bmHeight};
}

void SkinFrame::LayoutSkinFrame(HWND window, UINT dpi) const {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HWND title = GetDlgItem(window, IDC_SKIN(SkinPartIndex("lblTitle")));
  char caption[256] = {0};
  GetWindowTextA(title, caption, sizeof caption);
  SetWindowTextA(window, caption);
  MakeRoundRegion(window, dpi);
  for (const SkinPlace& place : SkinLayout(w, h, dpi)) {
    const int part = SkinPartIndex(place.name);
    HWND control = GetDlgItem(window, IDC_SKIN(part));
    RECT now;
    GetWindowRect(control, &now);
    const SIZE picture = PictureSize(part);
    SIZE own = SkinParts()[part].image ? SIZE{Scaled(picture.cx, dpi), Scaled(picture.cy, dpi)}
                                       : SIZE{now.right - now.left, now.bottom - now.top};
    SetWindowPos(control, SkinParts()[part].overTitle ? HWND_TOP : HWND_BOTTOM, place.left, place.top, place.width >= 0 ? place.width : own.cx,
                 place.height >= 0 ? place.height : own.cy, SWP_NOACTIVATE);
  }
}

bool SkinFrame::Draw(const DRAWITEMSTRUCT& dis) const {
  const int part = static_cast<int>(dis.CtlID) - IDC_SKIN(0);
  HBITMAP picture = Picture(part);
  if (part < 0 || static_cast<size_t>(part) >= SkinParts().size() || !picture) return false;
  const SIZE size = PictureSize(part);
  HDC source = CreateCompatibleDC(dis.hDC);
  HGDIOBJ old = SelectObject(source, picture);
  SetStretchBltMode(dis.hDC, COLORONCOLOR);
  StretchBlt(dis.hDC, dis.rcItem.left, dis.rcItem.top, dis.rcItem.right - dis.rcItem.left,
             dis.rcItem.bottom - dis.rcItem.top, source, 0, 0, size.cx, size.cy, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  return true;
}
