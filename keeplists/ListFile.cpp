#include "keeplists/ListFile.h"

#include <fstream>
#include <sstream>

#include "access/FileHandle.h"
#include "settings/Inifun.h"

bool ListFileExists(const std::string& path) {
  // By its attributes: a file that is locked or cannot be read still exists.
  DWORD attrs = GetFileAttributesA(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  FileHandle file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (!file.ok()) return file.openError() == ERROR_FILE_NOT_FOUND || file.openError() == ERROR_PATH_NOT_FOUND;
  char buf[4096];
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(file.get(), buf, sizeof buf, &got, nullptr)) return false;
    if (got == 0) break;
    text.append(buf, got);
  }
  return true;
}

bool ReadRawListFile(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::string text;
  if (!ReadWholeFile(path, text)) return false;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return true;
}

bool ReadListFile(const std::string& path, std::vector<std::string>& lines) {
  if (!ReadRawListFile(path, lines)) return false;
  for (std::string& line : lines) line = TrimRightSpaces(line);
  return true;
}

bool AppendListLine(const std::string& path, const std::string& entry) {
  // A last line without its end would be glued to the new one.
  std::string ending;
  {
    FileHandle file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    LARGE_INTEGER size = {};
    if (file.ok() && GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
      LARGE_INTEGER last = {};
      last.QuadPart = size.QuadPart - 1;
      char c = 0;
      DWORD got = 0;
      if (SetFilePointerEx(file.get(), last, nullptr, FILE_BEGIN) && ReadFile(file.get(), &c, 1, &got, nullptr) &&
          got == 1 && c != '\n')
        ending = "\r\n";
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out << ending << TrimRightSpaces(entry) << "\r\n";
  return out.good();
}

bool WriteListFile(const std::string& path, const std::vector<std::string>& entries) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const std::string& e : entries) out << e << "\r\n";
  return out.good();
}
