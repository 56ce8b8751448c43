// MoreLinks: the captions of the main window's two links, counted as a run would choose.
#include "ui/MoreLinks.h"

#include <vector>

#include "engine/Browsers.h"
#include "engine/MoreApps.h"
#include "engine/Winapp2.h"
#include "settings/Inifun.h"

namespace {
const size_t kNamesShown = 3;  // more would not fit the link's two lines

std::string Ticked(size_t count) { return std::to_string(count) + " ticked"; }
}  // namespace

std::string MoreBrowsersCaption(const std::string& settingsFile) {
  const std::vector<FoundBrowser> found = FindBrowsers();
  if (found.empty()) return "More &Browsers: none found here";
  std::string names;
  size_t ticked = 0;
  for (size_t i = 0; i < found.size(); ++i) {
    if (i < kNamesShown) names += (i ? ", " : "") + std::string(found[i].info->name);
    for (BrowserKind kind : BrowserKinds()) ticked += BrowserKindChosen(settingsFile, *found[i].info, kind) ? 1 : 0;
  }
  if (found.size() > kNamesShown) names += " and " + std::to_string(found.size() - kNamesShown) + " more";
  return "More &Browsers: " + names + " (" + Ticked(ticked) + ")";
}

std::string MoreApplicationsCaption(const std::string& settingsFile) {
  const DefinitionSet set = LoadDefinitions();
  if (set.entries.empty()) {
    size_t ticked = 0;
    for (const MoreApp& app : MoreApplications()) ticked += TickText(ReadIni(settingsFile, kMoreAppsSection, app.key)) ? 1 : 0;
    return "More A&pplications: " + std::to_string(ticked) + " of " + std::to_string(MoreApplications().size()) + " ticked";
  }
  const std::map<std::string, std::string> stored = StoredDefinitionChoices(settingsFile);
  size_t detected = 0, ticked = 0;
  for (const AppDefinition& entry : set.entries) {
    if (!DefinitionDetected(entry)) continue;
    ++detected;
    ticked += DefinitionChosen(entry, stored) ? 1 : 0;
  }
  return "More A&pplications: " + std::to_string(detected) + " detected, " + Ticked(ticked);
}
