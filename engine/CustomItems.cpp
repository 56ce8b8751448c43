#include "engine/CustomItems.h"

#include <vector>

#include "access/FolderGuard.h"
#include "access/Normal.h"
#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"

std::string CustomItemsFile() { return ProgramFile(kCustomFile); }

std::string CustomEntry(const std::string& folder, const std::string& pattern) {
  // Blanks typed around either part would make the guard and the deletion see other folders.
  return TrimSpaces(folder) + "\\" + TrimSpaces(pattern);
}

std::string CustomEntryRefusal(const std::string& entry) {
  if (UserPatternMayBeErased(entry)) return "";
  const std::string folder = entry.substr(0, entry.find_last_of("\\/") + 1);
  if (CanonicalFolder(folder).empty())
    return "The folder must be a full path, such as C:\\Temp, so that nothing is erased in whatever folder happens "
           "to be current.";
  return "Tracksweep never erases all files of a drive's root, the Desktop or the Documents folder, nor any file "
         "of the Windows or system folder, Program Files, your profile, application-data folders, or its own "
         "folder. Choose a folder inside them, or name the files (such as *.tmp) in the first three.";
}

std::string CustomEntryWarning(const std::string& entry) {
  if (PatternMayBeErased(entry)) return "";
  const std::string folder = UserPatternFolder(entry);
  if (folder.empty()) return "";
  const std::string name = TrimSpaces(entry).substr(TrimSpaces(entry).find_last_of("\\/") + 1);
  return "Every file named " + name + " directly in " + folder +
         " will be erased by each cleaning run.\n\nDo you want to add this item?";
}

void CleanCustomItems(RunContext& ctx) {
  std::vector<std::string> entries;
  ReadListFile(CustomItemsFile(), entries);  // missing or unreadable: nothing to erase
  for (const std::string& entry : entries) ctx.filesize += DeleteUserMatching(TrimSpaces(entry));
}
