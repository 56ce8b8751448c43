// Today's browsers, built in: one table of the Chromium and Firefox families, the profiles each
// keeps, and the kinds of tracks a run erases in them, row by row inside their databases,
// sparing bookmarked pages, the URL keep list and the sites of the cookie keep list.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "engine/CleanRun.h"
#include "keeplists/SiteKeepList.h"

enum class BrowserFamily { Chromium, Firefox };

struct BrowserInfo {
  const char* name;      // as the dialog and the settings keys give it: "Google Chrome"
  BrowserFamily family;
  int rootCsidl;         // CSIDL_LOCAL_APPDATA or CSIDL_APPDATA: where its folder lies
  const char* folder;    // below it: Chromium's user-data folder, or the folder of profiles.ini;
                         // its caches lie in the same folder below the local application data
  std::vector<std::string> processes;
  // Where its caches lie below the local application data, when not in the same folder as
  // below its root (a browser of the Microsoft Store keeps both inside its package).
  const char* localFolder = nullptr;
};
// In the dialog's order.
const std::vector<BrowserInfo>& Browsers();

enum class BrowserKind { History, Cookies, Cache, Session, FormEntries, Downloads, SiteData };
const std::vector<BrowserKind>& BrowserKinds();
const char* BrowserKindName(BrowserKind kind);  // "History" ... "Download list", "Site data"

struct BrowserProfile {
  std::string name;         // "Default", "Profile 1", "abc123.default-release"
  std::string folder;       // its files
  std::string localFolder;  // its caches (the same folder where the browser keeps no other)
};

struct FoundBrowser {
  const BrowserInfo* info = nullptr;
  std::string folder;       // the folder that holds its profiles
  std::string localFolder;
  std::vector<BrowserProfile> profiles;
};
// The browsers of the table whose folder exists, with their profiles: Chromium's named in its
// "Local State" and any other folder holding a "Preferences" file; Firefox's from profiles.ini.
std::vector<FoundBrowser> FindBrowsers();
std::vector<BrowserProfile> BrowserProfiles(const BrowserInfo& info, const std::string& folder,
                                            const std::string& localFolder);

extern const char kMoreBrowsersSection[];  // "MOREBROWSERS"
// "Google Chrome History", "Microsoft Edge Form entries".
std::string BrowserKindKey(const BrowserInfo& info, BrowserKind kind);
// Strict: only "1" ticks.
bool BrowserKindChosen(const std::string& settingsFile, const BrowserInfo& info, BrowserKind kind);
// The run item's gate: any kind ticked for any browser of the table.
bool AnyBrowserKindChosen(const std::string& settingsFile);

// The kinds stored as ticked for a browser.
std::set<BrowserKind> ChosenKinds(const std::string& settingsFile, const BrowserInfo& info);
// "Firefox Clean when it closes": its ticked kinds are erased as soon as it closes, while
// Tracksweep runs. Strict: only "1" ticks.
std::string CleanWhenClosedKey(const BrowserInfo& info);
bool CleanWhenClosedChosen(const std::string& settingsFile, const BrowserInfo& info);

// What every browser of a run keeps, read once for the run: the URL and site keep lists (a list
// that cannot be read keeps everything of its kind) and the secure-erasing option.
struct BrowserKeeps {
  bool urlsReadable = false;
  std::vector<std::string> urls;
  bool sitesReadable = false;
  SiteKeepList sites;
  bool secure = false;
};
BrowserKeeps ReadBrowserKeeps(const std::string& settingsFile);
// One found browser, the given kinds, each profile. A browser that runs, or whose profile lock
// is held, is passed over with a status line, and the answer is false.
bool CleanFoundBrowser(RunContext& ctx, const FoundBrowser& b, const std::set<BrowserKind>& kinds, const BrowserKeeps& keeps);
// The run's item "More Browsers": every found browser with its chosen kinds.
void CleanMoreBrowsers(RunContext& ctx);

// The sites found in the cookie databases of every found browser, sorted, each once.
std::vector<std::string> BrowserCookieSites();
