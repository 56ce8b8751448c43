// The five application items: WinZip, Media Player, the two RealNetworks players, MS-Office.
#include <windows.h>

#include <string>
#include <vector>

#include "access/RegKey.h"
#include "access/RegSequences.h"
#include "engine/Steps.h"
#include "settings/Inifun.h"

namespace {

const char kRealPreferences[] = "Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\";

// MS-Office sub-items: a key of section OFFICE, and the keys it empties in this order.
struct OfficeProgram {
  const char* settingKey;
  const char* keys[3];
  const char* name;  // its key below each Office version from 2003 on; FrontPage has no successor
};
const OfficeProgram kOfficePrograms[] = {
    {"word",
     {"Software\\Microsoft\\Office\\9.0\\Word\\Data", "Software\\Microsoft\\Office\\8.0\\Word\\Data",
      "Software\\Microsoft\\Office\\10.0\\Word\\Data"},
     "Word"},
    {"excel",
     {"Software\\Microsoft\\Office\\9.0\\Excel\\Recent Files", "Software\\Microsoft\\Office\\8.0\\Excel\\Recent File List",
      "Software\\Microsoft\\Office\\10.0\\Excel\\Recent Files"},
     "Excel"},
    {"powerpoint",
     {"Software\\Microsoft\\Office\\9.0\\PowerPoint\\Recent File List",
      "Software\\Microsoft\\Office\\8.0\\PowerPoint\\Recent File List",
      "Software\\Microsoft\\Office\\10.0\\PowerPoint\\Recent File List"},
     "PowerPoint"},
    {"frontpage", {"Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent File List", nullptr, nullptr}, nullptr},
    {"access",
     {"Software\\Microsoft\\Office\\9.0\\Access\\Settings", "Software\\Microsoft\\Office\\8.0\\Access\\Settings",
      "Software\\Microsoft\\Office\\10.0\\Access\\Settings"},
     "Access"},
};

// Office 2003 (11.0) to today's (16.0): the program's File MRU and Place MRU, and the same two
// below each account of User MRU (Office 2013 on). Only what exists is emptied.
double EmptyRecentOfficeLists(const std::string& program) {
  static const char* const kVersions[] = {"11.0", "12.0", "14.0", "15.0", "16.0"};
  double emptied = 0;
  for (const char* version : kVersions) {
    const std::string base = std::string("Software\\Microsoft\\Office\\") + version + "\\" + program;
    if (!KeyPresent(HKEY_CURRENT_USER, base)) continue;
    std::vector<std::string> places = {base};
    RegKey users;
    if (users.Open(HKEY_CURRENT_USER, base + "\\User MRU", KEY_READ) == ERROR_SUCCESS)
      for (const std::string& account : users.SubKeyNames()) places.push_back(base + "\\User MRU\\" + account);
    for (const std::string& place : places)
      for (const char* list : {"File MRU", "Place MRU"}) emptied += EmptyExistingKey(HKEY_CURRENT_USER, place + "\\" + list);
  }
  return emptied;
}

}  // namespace

void CleanWinzipList(RunContext& ctx) {
  ResetKey(HKEY_CURRENT_USER, "Software\\Nico Mak Computing\\WinZip\\filemenu");
  ctx.regnum += EmptyExistingKey(HKEY_CURRENT_USER, "Software\\Nico Mak Computing\\WinZip\\mru");  // today's WinZip
}

void CleanMediaPlayerLists(RunContext&) {
  ResetKey(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList");
  ResetKey(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList");
}

// Both RealNetworks items erase the same nine keys, below HKEY_CLASSES_ROOT.
void CleanRealPlayerLists(RunContext&) {
  for (int n = 1; n <= 8; ++n)
    RemoveKey(HKEY_CLASSES_ROOT, kRealPreferences + std::string("MostRecentClips") + std::to_string(n));
  ResetKey(HKEY_CLASSES_ROOT, kRealPreferences + std::string("HistoryList"));
}

void CleanOfficeLists(RunContext& ctx) {
  for (const OfficeProgram& program : kOfficePrograms) {
    if (!TickText(ReadIni(ctx.settingsFile, "OFFICE", program.settingKey))) continue;
    for (const char* key : program.keys)
      if (key) ResetKey(HKEY_CURRENT_USER, key);
    if (program.name) ctx.regnum += EmptyRecentOfficeLists(program.name);
  }
}
