#include "keeplists/ListFile.h"

#include <fstream>

#include "settings/Inifun.h"

bool ListFileExists(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return in.good();
}

std::vector<std::string> ReadListFile(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(TrimRightSpaces(line));
  }
  return lines;
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
