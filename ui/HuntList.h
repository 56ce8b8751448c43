// The list box of Search & Erase's finds: one line and one path per file, filled without a
// repaint per line, with the text widths measured through one device context per search.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class HuntList {
 public:
  void Attach(HWND list) { list_ = list; }
  void Clear();
  void BeginSearch();  // takes the device context for the widths
  void EndSearch();
  void BeginFolder(size_t files);  // redraw off, storage reserved
  void EndFolder();
  void Add(const std::string& line, const std::string& path);
  int Width(const std::string& text) const;
  void Finish(int widestLine);  // scroll extent, every line selected
  void SetExtent(int extent) const;
  const std::vector<std::string>& paths() const { return paths_; }

 private:
  HWND list_ = nullptr;
  std::vector<std::string> paths_;  // deletion takes these, never the line's text
  HDC dc_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
};
