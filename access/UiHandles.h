// The window objects the program makes for itself, each destroyed with its wrapper: an icon of
// its resources at one size, and a font.
#pragma once
#include <windows.h>

#include <utility>

template <typename Handle, BOOL(WINAPI* Destroy)(Handle)>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(Handle h) : h_(h) {}
  ~OwnedHandle() { Reset(nullptr); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.h_, nullptr));
    return *this;
  }
  Handle get() const { return h_; }
  void Reset(Handle h) {
    if (h_) Destroy(h_);
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

inline BOOL WINAPI DeleteFontObject(HFONT font) { return DeleteObject(font); }
using OwnedIcon = OwnedHandle<HICON, DestroyIcon>;
using OwnedFont = OwnedHandle<HFONT, DeleteFontObject>;

// The icon of the program's resources with that ID, drawn for a square of size pixels.
inline OwnedIcon LoadProgramIcon(int resourceId, int size) {
  return OwnedIcon(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}
// A font as described, made anew.
inline OwnedFont MakeFont(const LOGFONTA& description) { return OwnedFont(CreateFontIndirectA(&description)); }
