// Items 8 to 11: Netscape Navigator, Opera, MSN Explorer and the Google toolbar.
#include <windows.h>

#include "access/Listing.h"
#include "access/Normal.h"
#include "access/RegSequences.h"
#include "engine/Steps.h"
#include "keeplists/KeepLists.h"
#include "settings/Inifun.h"

namespace {

// Netscape's sub-items in run order: the file each sweeps for below the profiles folder, or
// none for the cache, whose folders are emptied.
struct NetscapePart {
  const char* key;
  const char* sweptFile;
};
const NetscapePart kNetscapeParts[] = {
    {"Location", "localstore.rdf"}, {"Cookies", "cookies.txt"}, {"Cache", nullptr}, {"History", "history.dat"}};

bool PartChosen(const RunContext& ctx, const char* section, const char* part) {
  return TickText(ReadIni(ctx.settingsFile, section, part));
}

// The Opera folder as stored; found when the listing shows it (a file of that name counts).
bool OperaFolderFound(std::string folder) {
  folder = TrimSpaces(folder);
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  if (folder.empty()) return false;
  return AttributesOf(folder) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void CleanNetscape(RunContext& ctx) {
  for (const NetscapePart& part : kNetscapeParts) {
    if (!PartChosen(ctx, "NETSCAPE", part.key)) continue;
    // Measured afresh before each sweep: the whole profiles tree, once per chosen part.
    const std::string profiles = ShellFolder("AppData") + "\\Mozilla\\Profiles";
    ctx.filesize += ErasableSize(profiles);
    if (part.sweptFile) SweepTreeForFile(profiles, part.sweptFile);
    else SweepCacheTree(profiles);
  }
}

void CleanOpera(RunContext& ctx) {
  const std::string folder = ReadIni(ctx.settingsFile, "opera", "path");
  if (!OperaFolderFound(folder)) {
    ctx.endLine = "Can't found Opera Directory!";
    return;
  }
  const std::string profile = folder + "\\profile";
  if (PartChosen(ctx, "opera", "Location")) {
    ctx.filesize += 5000;
    DeleteMatching(profile + "\\opera.dir");
  }
  if (PartChosen(ctx, "opera", "Cookies")) DeleteMatching(profile + "\\cookies4.dat");
  if (PartChosen(ctx, "opera", "Cache")) {
    ctx.filesize += 5000;
    DeleteMatching(profile + "\\cache4\\*.*");
  }
  if (PartChosen(ctx, "opera", "History")) {
    ctx.filesize += 5000;
    DeleteMatching(profile + "\\global.dat");
    DeleteMatching(profile + "\\viewers.dat");
  }
}

void CleanGoogleToolbar(RunContext&) { RemoveKey(HKEY_CURRENT_USER, "Software\\Google\\NavClient\\1.1\\History"); }
