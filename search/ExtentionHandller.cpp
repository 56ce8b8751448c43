// ExtentionHandller: Ext.txt, the file types Search & Erase offers.
#include "search/ExtentionHandller.h"

#include <windows.h>

#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Text.h"

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
  if (!ListFileExists(ExtFile())) WriteDefaultTypes();
  std::vector<std::string> lines, kept;
  if (!ReadRawListFile(ExtFile(), lines)) return false;  // a list that cannot be read is left as it is
  // The list shows each line without its trailing blanks; the lines that stay keep theirs.
  for (const std::string& line : lines)
    if (TrimRightSpaces(line) != entry) kept.push_back(line);
  // A fresh file of its own, never one left by an earlier interruption.
  const std::string next = ExtFile() + ".new";
  if (WriteListFile(next, kept) &&
      MoveFileExA(next.c_str(), ExtFile().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileA(next.c_str());
  return false;
}

RecycleOutcome RecycleFile(const std::string& path) { return RecycleOneFile(path); }
