#include "settings/AppFolder.h"

#include <windows.h>

const char kSettingsFile[] = "prisd.dat";
const char kCustomFile[] = "cusd.dat";
const char kWebAddress[] = "http://www.tracksweep.example/";

namespace {
std::string& Override() {
  static std::string folder;
  return folder;
}
}  // namespace

void OverrideProgramFolder(const std::string& folder) { Override() = folder; }

std::string ProgramFolder() {
  if (!Override().empty()) return Override();
  char path[MAX_PATH] = {0};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  size_t slash = p.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

std::string ProgramFile(const std::string& name) {
  std::string folder = ProgramFolder();
  // A folder at a drive root already ends in a backslash.
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}
