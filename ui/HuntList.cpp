#include "ui/HuntList.h"

#include "access/WidePath.h"

void HuntList::Clear() {
  SendMessageA(list_, LB_RESETCONTENT, 0, 0);
  paths_.clear();
}

void HuntList::BeginSearch() {
  dc_ = GetDC(list_);
  if (dc_) oldFont_ = SelectObject(dc_, reinterpret_cast<HGDIOBJ>(SendMessageA(list_, WM_GETFONT, 0, 0)));
}

void HuntList::EndSearch() {
  if (!dc_) return;
  SelectObject(dc_, oldFont_);
  ReleaseDC(list_, dc_);
  dc_ = nullptr;
}

void HuntList::BeginFolder(size_t files) {
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list_, LB_INITSTORAGE, files, files * 96);
}

void HuntList::EndFolder() {
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void HuntList::Add(const std::string& line, const std::string& path) {
  // A name the code page cannot spell shows as it is, through the list's wide message.
  const LRESULT index =
      HasEscapedNames(line) ? SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(line).c_str()))
                            : SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  if (index >= 0) paths_.push_back(path);  // a full list takes no more lines, nor their paths
}

int HuntList::Width(const std::string& text) const {
  SIZE size = {0, 0};
  if (!dc_) return 0;
  if (HasEscapedNames(text)) {
    const std::wstring wide = WideText(text);
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  } else {
    GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  }
  return size.cx;
}

void HuntList::Finish(int widestLine) {
  SetExtent(widestLine + 16);
  SendMessageA(list_, LB_SETSEL, TRUE, -1);
}

void HuntList::SetExtent(int extent) const { SendMessageA(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0); }
