// The table of More Windows Tracks, its ticks and the run's item over it.
#include "engine/MoreWindows.h"

#include <map>

#include "engine/WindowsTraces.h"
#include "settings/Inifun.h"
#include "settings/Text.h"

const char kMoreWindowsSection[] = "MOREWINDOWS";

const std::vector<WindowsTrace>& WindowsTraces() {
  static const std::vector<WindowsTrace> traces = {
      {"UserAssist", "Programs started (UserAssist)",
       "Start's list of most used programs begins again empty.", CleanUserAssist, true},
      {"FolderViews", "Folder views Explorer remembers (shellbags)",
       "Folder windows open at their default size and view again; the desktop's icons and the views set for all folders stay.",
       CleanFolderViews, true},
      {"ExplorerLists", "Explorer's other lists (streams, dialog sizes, network drives)",
       "Open and Save boxes open at their default size; Map Network Drive offers no folders typed before.",
       CleanExplorerLists, true},
      {"SearchHistory", "Explorer's search history",
       "The search box and the search charm suggest none of your past searches.", CleanExplorerSearchHistory, true},
      {"DnsCache", "DNS cache",
       "The first visit to each site after the run looks its name up again.", FlushDnsCache, false},
      {"ErrorReports", "Error reports and crash dumps",
       "Problem Reports lists no past problems, and reports not yet sent are never sent.", CleanErrorReports, false},
      {"ThumbnailCache", "Thumbnail and icon caches",
       "Explorer draws thumbnails and icons anew, slowly at first; caches in use stay.", CleanThumbnailCaches, false},
  };
  return traces;
}

namespace {
// The section read once; keys compared without regard to case, as the settings file does.
bool Chosen(const std::map<std::string, std::string>& stored, const WindowsTrace& trace) {
  auto it = stored.find(LowerText(trace.key));
  return it != stored.end() && TickText(it->second);
}
}  // namespace

bool WindowsTraceChosen(const std::string& settingsFile, const WindowsTrace& trace) {
  return Chosen(ReadIniSection(settingsFile, kMoreWindowsSection), trace);
}

bool AnyWindowsTraceChosen(const std::string& settingsFile) {
  const std::map<std::string, std::string> stored = ReadIniSection(settingsFile, kMoreWindowsSection);
  for (const WindowsTrace& t : WindowsTraces())
    if (Chosen(stored, t)) return true;
  return false;
}

void CleanMoreWindows(RunContext& ctx) {
  const std::map<std::string, std::string> stored = ReadIniSection(ctx.settingsFile, kMoreWindowsSection);
  bool registry = false;
  for (const WindowsTrace& t : WindowsTraces()) {
    if (!Chosen(stored, t)) continue;
    t.clean(ctx);
    registry = registry || t.registry;
  }
  if (registry) TellTheShell(ctx);
}
