// More Windows Tracks: what Windows keeps that no item of the main window takes, each chosen in
// its own dialog and stored in prisd.dat, section MOREWINDOWS ("1" ticked, anything else not).
#pragma once
#include <string>
#include <vector>

#include "engine/CleanRun.h"

struct WindowsTrace {
  const char* key;      // its key in MOREWINDOWS: "UserAssist"
  const char* caption;  // as the dialog gives it
  const char* resets;   // what else erasing it resets, as the dialog says under it
  void (*clean)(RunContext& ctx);
  bool registry;        // kept in Explorer's registry: the shell is told once the run changed it
};
// In the dialog's and the run's order.
const std::vector<WindowsTrace>& WindowsTraces();

extern const char kMoreWindowsSection[];  // "MOREWINDOWS"
bool WindowsTraceChosen(const std::string& settingsFile, const WindowsTrace& trace);
// The run item's gate: any trace ticked.
bool AnyWindowsTraceChosen(const std::string& settingsFile);

// The run's item "More Windows Tracks": every ticked trace, in the table's order.
void CleanMoreWindows(RunContext& ctx);
