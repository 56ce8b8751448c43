#include "engine/CustomItems.h"

#include <vector>

#include "access/FolderGuard.h"
#include "access/Normal.h"
#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"

std::string CustomItemsFile() { return ProgramFile(kCustomFile); }

std::string CustomEntry(const std::string& folder, const std::string& pattern) {
  return TrimRightSpaces(folder + "\\" + pattern);
}

std::string CustomEntryRefusal(const std::string& entry) {
  if (PatternMayBeErased(entry)) return "";
  const std::string folder = entry.substr(0, entry.find_last_of("\\/") + 1);
  if (CanonicalFolder(folder).empty())
    return "The folder must be a full path, such as C:\\Temp, so that nothing is erased in whatever folder happens "
           "to be current.";
  return "Tracksweep never erases files in a drive's root, the Windows or system folder, Program Files, your "
         "profile, documents, desktop or application-data folders, or its own folder. Choose a folder inside "
         "them instead.";
}

void CleanCustomItems(RunContext& ctx) {
  std::vector<std::string> entries;
  ReadListFile(CustomItemsFile(), entries);  // missing or unreadable: nothing to erase
  for (const std::string& entry : entries) ctx.filesize += DeleteMatching(TrimRightSpaces(entry));
}
