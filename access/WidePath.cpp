#include "access/WidePath.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#ifndef WC_ERR_INVALID_CHARS
#define WC_ERR_INVALID_CHARS 0x80  // Vista and later; a UTF-8 code page needs it
#endif

namespace {

bool Ascii(const wchar_t* s, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (s[i] >= 0x80 || s[i] == L'<') return false;
  return true;
}

bool IsUtf8(UINT codePage) {
  static const bool ansiUtf8 = GetACP() == CP_UTF8;
  return codePage == CP_UTF8 || (codePage == CP_ACP && ansiUtf8);
}

// How many of the units are "\\", "/" or ":", counted alike in a name's bytes and its characters.
template <typename Unit>
size_t Separators(const Unit* s, size_t n) {
  return static_cast<size_t>(std::count_if(s, s + n, [](Unit c) { return c == '\\' || c == '/' || c == ':'; }));
}

// The code page's bytes for the characters, or false when it cannot spell them exactly: no
// default character, no best-fit look-alike, and the bytes read back as the same characters.
// Nor when a character's bytes hold "\", "/" or ":" (a double-byte code page's second byte can
// be 0x5C): a path would be split there.
bool ExactAnsi(const wchar_t* s, int n, std::string& out, UINT codePage) {
  if (n == 0) return true;
  BOOL usedDefault = FALSE;
  const bool utf8 = IsUtf8(codePage);
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  const int size = WideCharToMultiByte(codePage, flags, s, n, nullptr, 0, nullptr, utf8 ? nullptr : &usedDefault);
  if (size <= 0 || usedDefault) return false;
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, s, n, &bytes[0], size, nullptr, utf8 ? nullptr : &usedDefault);
  if (usedDefault) return false;
  std::wstring back(static_cast<size_t>(n) + 8, L'\0');
  const int m = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, &back[0], n + 8);
  if (m != n || wmemcmp(back.data(), s, static_cast<size_t>(n)) != 0) return false;
  if (Separators(bytes.data(), bytes.size()) != Separators(s, static_cast<size_t>(n))) return false;
  out += bytes;
  return true;
}

void AppendEscape(std::string& out, unsigned long codePoint) {
  char buf[16];
  snprintf(buf, sizeof buf, "<U+%04lX>", codePoint);
  out += buf;
}

// "<U+" then 4 to 6 hex digits and ">" at text[at]: the code point, and the length taken.
bool ReadEscape(const std::string& text, size_t at, unsigned long& codePoint, size_t& length) {
  if (text.compare(at, 3, "<U+") != 0) return false;
  size_t i = at + 3;
  unsigned long value = 0;
  while (i < text.size() && i - at - 3 < 6 && isxdigit(static_cast<unsigned char>(text[i]))) {
    value = value * 16 + static_cast<unsigned long>(isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0'
                                                                                                  : (toupper(text[i]) - 'A' + 10));
    ++i;
  }
  const size_t digits = i - at - 3;
  if (digits < 4 || i >= text.size() || text[i] != '>' || value > 0x10FFFF) return false;
  codePoint = value;
  length = i + 1 - at;
  return true;
}

void AppendAnsi(std::wstring& out, const char* s, size_t n) {
  if (n == 0) return;
  const int size = MultiByteToWideChar(CP_ACP, 0, s, static_cast<int>(n), nullptr, 0);
  if (size <= 0) return;
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(size));
  MultiByteToWideChar(CP_ACP, 0, s, static_cast<int>(n), &out[at], size);
}

}  // namespace

std::string NarrowName(const wchar_t* name, size_t length) { return NarrowName(name, length, CP_ACP); }

std::string NarrowName(const wchar_t* name, size_t length, unsigned codePage) {
  std::string out;
  out.reserve(length);
  if (Ascii(name, length)) {
    for (size_t i = 0; i < length; ++i) out += static_cast<char>(name[i]);
    return out;
  }
  if (wmemchr(name, L'<', length) == nullptr && ExactAnsi(name, static_cast<int>(length), out, codePage)) return out;
  out.clear();
  // Character by character: what the code page spells stays, the rest is written out.
  for (size_t i = 0; i < length;) {
    const bool pair = i + 1 < length && IS_HIGH_SURROGATE(name[i]) && IS_LOW_SURROGATE(name[i + 1]);
    const int n = pair ? 2 : 1;
    if (name[i] < 0x80 && name[i] != L'<') {
      out += static_cast<char>(name[i]);
    } else if (name[i] == L'<' || !ExactAnsi(name + i, n, out, codePage)) {
      AppendEscape(out, pair ? 0x10000UL + ((name[i] - 0xD800UL) << 10) + (name[i + 1] - 0xDC00UL) : name[i]);
    }
    i += static_cast<size_t>(n);
  }
  return out;
}

std::string NarrowName(const std::wstring& name) { return NarrowName(name.data(), name.size()); }

bool HasEscapedNames(const std::string& text) {
  for (size_t at = text.find("<U+"); at != std::string::npos; at = text.find("<U+", at + 1)) {
    unsigned long cp;
    size_t length;
    if (ReadEscape(text, at, cp, length)) return true;
  }
  return false;
}

std::wstring WideText(const std::string& text) {
  std::wstring out;
  bool plain = true;
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80 || c == '<') plain = false;
  if (plain) {
    out.assign(text.begin(), text.end());
    return out;
  }
  size_t from = 0;
  for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
    unsigned long cp;
    size_t length;
    if (!ReadEscape(text, at, cp, length)) continue;
    AppendAnsi(out, text.data() + from, at - from);
    if (cp >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(cp);
    }
    from = at + length;
    at = from - 1;
  }
  AppendAnsi(out, text.data() + from, text.size() - from);
  return out;
}

std::wstring WidePath(const std::string& path) {
  std::wstring w = WideText(path);
  // The plain form reaches MAX_PATH characters, a folder 12 fewer: beyond, the "\\?\" form.
  if (w.size() < MAX_PATH - 12 || w.compare(0, 4, L"\\\\?\\") == 0) return w;
  const bool drive = w.size() >= 3 && w[1] == L':' && (w[2] == L'\\' || w[2] == L'/');
  const bool unc = w.size() > 2 && (w[0] == L'\\' || w[0] == L'/') && (w[1] == L'\\' || w[1] == L'/') && w[2] != L'.' &&
                   w[2] != L'?';
  if (!drive && !unc) return w;
  // The long form takes the path as it stands: "." and ".." and "/" resolved first.
  const DWORD size = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  if (size == 0) return w;
  std::wstring full(size, L'\0');
  const DWORD n = GetFullPathNameW(w.c_str(), size, &full[0], nullptr);
  if (n == 0 || n >= size) return w;
  full.resize(n);
  if (drive) return L"\\\\?\\" + full;
  return L"\\\\?\\UNC\\" + full.substr(2);
}

std::string Utf8Text(const std::string& text) {
  const std::wstring w = WideText(text);
  if (w.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &utf8[0], n, nullptr, nullptr);
  return utf8;
}

bool SafeName(const wchar_t* name) {
  if (!name[0] || (name[0] == L'.' && (!name[1] || (name[1] == L'.' && !name[2])))) return false;
  for (const wchar_t* p = name; *p; ++p)
    if (*p == L'\\' || *p == L'/' || *p == L':') return false;
  return true;
}

bool LiesInside(const std::string& path, const std::string& top) {
  if (top.empty() || top.back() != '\\' || path.size() < top.size() || path.compare(0, top.size(), top) != 0) return false;
  size_t begin = top.size();
  while (begin < path.size()) {
    size_t end = path.find('\\', begin);
    if (end == std::string::npos) end = path.size();
    const std::string step = path.substr(begin, end - begin);
    if (step.empty() || step == "." || step == ".." || step.find_first_of(":/") != std::string::npos) return false;
    begin = end + 1;
  }
  return true;
}
