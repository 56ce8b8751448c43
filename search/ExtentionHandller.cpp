#include "search/ExtentionHandller.h"

#include <windows.h>
#include <shellapi.h>

#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"

namespace {
const char* const kDefaultTypes[] = {"*.tmp", "*.gid", "*.swp", "*.chk"};

// Every line of Ext.txt as stored; a missing file is first given the defaults.
bool ReadTypeFile(std::vector<std::string>& lines) {
  if (!ListFileExists(ExtFile())) WriteDefaultTypes();
  return ReadListFile(ExtFile(), lines);
}
}  // namespace

std::string ExtFile() { return ProgramFile("Ext.txt"); }

bool IsValidType(const std::string& entry) { return entry.size() >= 3 && entry[0] == '*' && entry[1] == '.'; }

std::vector<std::string> LoadTypeList() {
  std::vector<std::string> lines, valid;
  ReadTypeFile(lines);
  for (const std::string& line : lines)
    if (IsValidType(line)) valid.push_back(line);
  return valid;
}

std::string GetSearchString() {
  std::string joined;
  for (const std::string& type : LoadTypeList()) joined += (joined.empty() ? "" : ";") + type;
  return joined;
}

bool WriteDefaultTypes() { return WriteListFile(ExtFile(), std::vector<std::string>(std::begin(kDefaultTypes), std::end(kDefaultTypes))); }

bool AppendType(const std::string& entry) { return AppendListLine(ExtFile(), entry); }

bool RemoveType(const std::string& entry) {
  std::vector<std::string> lines, kept;
  if (!ReadTypeFile(lines)) return false;  // a list that cannot be read is left as it is
  for (const std::string& line : lines)
    if (line != entry) kept.push_back(line);
  // A fresh file of its own, never one left by an earlier interruption.
  const std::string next = ExtFile() + ".new";
  if (!WriteListFile(next, kept)) {
    DeleteFileA(next.c_str());
    return false;
  }
  return MoveFileExA(next.c_str(), ExtFile().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void RecycleFile(const std::string& path) {
  std::string from = path;
  from.append(2, '\0');  // a list of one name
  SHFILEOPSTRUCTA op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;  // 0x54
  SHFileOperationA(&op);
}
