// Jump lists as the taskbar writes them, made by the tests: automatic lists through the
// structured-storage API (a DestList stream and one shortcut stream per entry), custom lists as
// the bytes an application's list is made of. The layouts are written out field by field here,
// apart from the code that reads them.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "access/CompoundFile.h"

struct MadeEntry {
  unsigned number;
  int pin;              // -1 unpinned (recent or frequent), else its place among the pinned
  unsigned uses;        // how often it was opened: frequent entries have many
  std::wstring target;  // what it opens
};

inline void Put32(std::string& b, size_t at, unsigned v) { std::memcpy(&b[at], &v, 4); }
inline void Put16(std::string& b, size_t at, unsigned v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
inline void Append16(std::string& b, const std::wstring& text) {
  for (wchar_t c : text) {
    b += static_cast<char>(c & 0xFF);
    b += static_cast<char>((c >> 8) & 0xFF);
  }
}

// One DestList entry of a version: version 1 (Windows 7) puts the path's length at 112, the
// later ones at 128 and four bytes after the path.
inline std::string MadeDestEntry(unsigned version, const MadeEntry& e) {
  std::string b(version == 1 ? 114 : 130, '\0');
  Put32(b, 0, 0x9E3779B9u ^ e.number);  // its checksum: any value, kept as it is
  std::memcpy(&b[72], "tswhost", 7);
  Put32(b, 88, e.number);
  const float score = static_cast<float>(e.uses);
  std::memcpy(&b[96], &score, 4);
  Put32(b, 100, 0x01DA0000u + e.number);  // last opened (low half of a FILETIME)
  Put32(b, 108, e.pin < 0 ? 0xFFFFFFFFu : static_cast<unsigned>(e.pin));
  if (version > 1) Put32(b, 116, e.uses);
  Put16(b, version == 1 ? 112 : 128, static_cast<unsigned>(e.target.size()));
  Append16(b, e.target);
  if (version > 1) b.append(4, '\0');
  return b;
}

inline std::string MadeDestHeader(unsigned version, unsigned entries, unsigned pinned, unsigned lastNumber) {
  std::string h(32, '\0');
  Put32(h, 0, version);
  Put32(h, 4, entries);
  Put32(h, 8, pinned);
  const float unknown = 1.0f;
  std::memcpy(&h[12], &unknown, 4);
  Put32(h, 16, lastNumber);
  Put32(h, 24, 77);  // revision
  return h;
}

inline std::string MadeDestList(unsigned version, const std::vector<MadeEntry>& entries) {
  unsigned pinned = 0, last = 0;
  std::string body;
  for (const MadeEntry& e : entries) {
    pinned += e.pin >= 0 ? 1 : 0;
    last = e.number > last ? e.number : last;
    body += MadeDestEntry(version, e);
  }
  return MadeDestHeader(version, static_cast<unsigned>(entries.size()), pinned, last) + body;
}

// A shell link to target: its header (with its class), its name, no extra block.
inline std::string MadeShellLink(const std::wstring& target) {
  static const unsigned char kClass[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  std::string b(76, '\0');
  Put32(b, 0, 0x4C);
  std::memcpy(&b[4], kClass, 16);
  Put32(b, 20, 0x04 | 0x80);  // has a name, in UTF-16
  b.append(2, '\0');
  Put16(b, 76, static_cast<unsigned>(target.size()));
  Append16(b, target);
  b.append(4, '\0');  // no extra block
  return b;
}

inline std::wstring StreamName(unsigned number) {
  wchar_t name[16];
  swprintf(name, 16, L"%x", number);
  return name;
}

// An automatic list: a DestList of these entries and a shortcut stream for each.
inline bool MakeAutomaticList(const std::string& path, unsigned version, const std::vector<MadeEntry>& entries) {
  CompoundFile file;
  if (!file.Create(path)) return false;
  for (const MadeEntry& e : entries)
    if (!file.Write(StreamName(e.number), MadeShellLink(e.target))) return false;
  return file.Write(L"DestList", MadeDestList(version, entries)) && file.Commit();
}

// A custom list: an own category named name with these shortcuts (none: no such category), the
// known Recent category, and tasks.
inline std::string MadeCustomList(const std::wstring& name, const std::vector<std::wstring>& own,
                                  const std::vector<std::wstring>& tasks) {
  static const unsigned char kClass[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  auto shortcuts = [&](const std::vector<std::wstring>& targets) {
    std::string b(4, '\0');
    Put32(b, 0, static_cast<unsigned>(targets.size()));
    for (const std::wstring& t : targets) b += std::string(reinterpret_cast<const char*>(kClass), 16) + MadeShellLink(t);
    return b;
  };
  const std::string footer("\xAB\xFB\xBF\xBA", 4);
  std::string b(12, '\0');
  unsigned categories = 0;
  if (!own.empty()) {
    std::string c(6, '\0');
    Put16(c, 4, static_cast<unsigned>(name.size()));
    Append16(c, name);
    b += c + shortcuts(own) + footer;
    ++categories;
  }
  std::string recent(8, '\0');
  Put32(recent, 0, 1);
  Put32(recent, 4, 2);
  b += recent + footer;
  ++categories;
  std::string taskCategory(4, '\0');
  Put32(taskCategory, 0, 2);
  b += taskCategory + shortcuts(tasks) + footer;
  ++categories;
  Put32(b, 0, 2);
  Put32(b, 4, categories);
  return b;
}
