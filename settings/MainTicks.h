// The main window's 27 ticks and last-run record as stored in prisd.dat.
#pragma once
#include <string>
#include <vector>

struct TickKey {
  int check;  // check box number: Check12 -> 12
  const char* section;
  const char* key;
};

// In load and store order: BROWSERS, then WINDOWS, then APPLICATIONS.
const std::vector<TickKey>& MainTickKeys();
// How many of them belong to BROWSERS (read before the last-run record).
const int kBrowserTickCount = 11;

struct LastRunRecord {
  bool showWhen = false;   // Label12 is filled
  std::string when;        // lastclean
  bool showTotals = false; // Label14 is filled
  std::string totals;      // "Cleaned Registry Keys: ..."
};
LastRunRecord ReadLastRun(const std::string& settingsFile);
