// The five application items: WinZip, Media Player, the two RealNetworks players, MS-Office.
#include <windows.h>

#include "access/RegSequences.h"
#include "engine/Steps.h"
#include "settings/Inifun.h"

namespace {

const char kRealPreferences[] = "Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\";

// MS-Office sub-items: a key of section OFFICE, and the keys it empties in this order.
struct OfficeProgram {
  const char* settingKey;
  const char* keys[3];
};
const OfficeProgram kOfficePrograms[] = {
    {"word",
     {"Software\\Microsoft\\Office\\9.0\\Word\\Data", "Software\\Microsoft\\Office\\8.0\\Word\\Data",
      "Software\\Microsoft\\Office\\10.0\\Word\\Data"}},
    {"excel",
     {"Software\\Microsoft\\Office\\9.0\\Excel\\Recent Files", "Software\\Microsoft\\Office\\8.0\\Excel\\Recent File List",
      "Software\\Microsoft\\Office\\10.0\\Excel\\Recent Files"}},
    {"powerpoint",
     {"Software\\Microsoft\\Office\\9.0\\PowerPoint\\Recent File List",
      "Software\\Microsoft\\Office\\8.0\\PowerPoint\\Recent File List",
      "Software\\Microsoft\\Office\\10.0\\PowerPoint\\Recent File List"}},
    {"frontpage", {"Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent File List", nullptr, nullptr}},
    {"access",
     {"Software\\Microsoft\\Office\\9.0\\Access\\Settings", "Software\\Microsoft\\Office\\8.0\\Access\\Settings",
      "Software\\Microsoft\\Office\\10.0\\Access\\Settings"}},
};

}  // namespace

void CleanWinzipList(RunContext&) { ResetKey(HKEY_CURRENT_USER, "Software\\Nico Mak Computing\\WinZip\\filemenu"); }

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
  }
}
