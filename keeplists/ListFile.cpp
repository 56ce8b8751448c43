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

bool ReadListFile(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  FileHandle file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (!file.ok()) return file.openError() == ERROR_FILE_NOT_FOUND || file.openError() == ERROR_PATH_NOT_FOUND;
  std::string text;
  char buf[4096];
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(file.get(), buf, sizeof buf, &got, nullptr)) return false;
    if (got == 0) break;
    text.append(buf, got);
  }
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(TrimRightSpaces(line));
  }
  return true;
}

bool AppendListLine(const std::string& path, const std::string& entry) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out << TrimRightSpaces(entry) << "\r\n";
  return out.good();
}

bool WriteListFile(const std::string& path, const std::vector<std::string>& entries) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const std::string& e : entries) out << e << "\r\n";
  return out.good();
}
