#include "settings/MainTicks.h"

#include "settings/Inifun.h"

const std::vector<TickKey>& MainTickKeys() {
  static const std::vector<TickKey> keys = {
      {1, "BROWSERS", "location"}, {2, "BROWSERS", "history"},    {3, "BROWSERS", "cache"},
      {4, "BROWSERS", "cookies"},  {5, "BROWSERS", "favorites"},  {6, "BROWSERS", "autocomplete"},
      {7, "BROWSERS", "downloaded"}, {8, "BROWSERS", "netscape"}, {24, "BROWSERS", "opera"},
      {27, "BROWSERS", "msn"},     {25, "BROWSERS", "google"},
      {10, "WINDOWS", "recent"},   {11, "WINDOWS", "run"},        {12, "WINDOWS", "search"},
      {13, "WINDOWS", "temp"},     {14, "WINDOWS", "recycle"},    {15, "WINDOWS", "open"},
      {16, "WINDOWS", "scandisk"}, {17, "WINDOWS", "passwords"},  {26, "WINDOWS", "clip"},
      {28, "WINDOWS", "wordpad"},  {29, "WINDOWS", "paint"},
      {19, "APPLICATIONS", "winzip"}, {20, "APPLICATIONS", "media"},
      {21, "APPLICATIONS", "realplayer"}, {22, "APPLICATIONS", "realone"},
      {23, "APPLICATIONS", "office"},
  };
  return keys;
}

LastRunRecord ReadLastRun(const std::string& settingsFile) {
  LastRunRecord r;
  r.when = ReadIni(settingsFile, "WINDOWS", "lastclean");
  r.showWhen = !ReadsAsZero(r.when);
  std::string regnum = ReadIni(settingsFile, "WINDOWS", "regnum");
  std::string filesize = ReadIni(settingsFile, "WINDOWS", "filesize");
  // An empty or non-numeric value does not count as 0.
  r.showTotals = !(ReadsAsZero(regnum) && ReadsAsZero(filesize));
  r.totals = "Cleaned Registry Keys: " + regnum + " Released HD Space:" + filesize + "MB";
  return r;
}
