// Definition files, stage one: the text's sections and their lines, in the ANSI code page.
#include <windows.h>

#include <algorithm>
#include <sstream>

#include "access/WidePath.h"
#include "engine/Winapp2Stages.h"
#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"

const char kDefinitionsSection[] = "WINAPP2";

namespace winapp2 {

std::string Environment(const std::string& name) {
  wchar_t buf[MAX_PATH * 2] = {0};
  const DWORD n = GetEnvironmentVariableW(WideText(name).c_str(), buf, MAX_PATH * 2);
  return n && n < MAX_PATH * 2 ? NarrowName(buf, n) : std::string();
}

std::string WithoutSlash(std::string s) {
  while (s.size() > 3 && (s.back() == '\\' || s.back() == '/')) s.pop_back();
  return s;
}

std::vector<std::string> Split(const std::string& s, char by) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (;;) {
    size_t at = s.find(by, from);
    parts.push_back(s.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) return parts;
    from = at + 1;
  }
}

// The folders of a path, without empty parts: "C:\a\b\" -> {"C:", "a", "b"}.
std::vector<std::string> Parts(const std::string& path) {
  std::vector<std::string> parts;
  for (const std::string& p : Split(path, '\\'))
    if (!p.empty()) parts.push_back(p);
  return parts;
}

}  // namespace winapp2

namespace {

// A line of the file in the ANSI code page. The file is UTF-8 today (older ones are ANSI, which
// is not valid UTF-8 as soon as it holds a letter beyond ASCII, and is kept as it is). False
// when a character has no ANSI spelling: such a path cannot be reached by this program.
bool ToAnsi(std::string& line) {
  if (std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return true;
  const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), static_cast<int>(line.size()), nullptr, 0);
  if (wide <= 0) return true;  // not UTF-8: already ANSI
  std::wstring w(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), &w[0], wide);
  BOOL lost = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), wide, nullptr, 0, nullptr, &lost);
  std::string ansi(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), wide, &ansi[0], n, nullptr, &lost);
  line = ansi;
  return !lost;
}


// The key's name without its number: "FileKey12" -> "filekey".
std::string KeyKind(const std::string& key) {
  std::string k = LowerText(TrimSpaces(key));
  while (!k.empty() && isdigit(static_cast<unsigned char>(k.back()))) k.pop_back();
  return k;
}

}  // namespace

ParsedFile ReadDefinitionText(const std::string& source) {
  ParsedFile file;
  bool inEntry = false;
  // A UTF-8 byte-order mark is no part of the first line.
  const size_t start = source.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  std::istringstream in(source.substr(start));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = TrimSpaces(line);
    if (line.empty() || line[0] == ';') continue;
    const bool spelled = ToAnsi(line);
    if (line[0] == '[') {
      const size_t close = line.find(']');
      inEntry = close != std::string::npos && close >= 2;
      if (!inEntry) {
        ++file.skipped;
        ++file.malformed;
        continue;
      }
      file.entries.push_back({line.substr(1, close - 1), spelled, {}});
      continue;
    }
    const size_t eq = line.find('=');
    if (!inEntry || eq == std::string::npos) {
      ++file.skipped;
      ++file.malformed;
      continue;
    }
    file.entries.back().lines.push_back({KeyKind(line.substr(0, eq)), TrimSpaces(line.substr(eq + 1)), spelled});
  }
  return file;
}

std::string DefinitionsFile() { return ProgramFile("winapp2.ini"); }
