// Custom clean items: "folder\pattern" entries of cusd.dat, erased by every run that has the
// "Custom" option on.
#pragma once
#include <string>

#include "engine/CleanRun.h"

std::string CustomItemsFile();  // cusd.dat in the program folder
// The entry the custom page adds for a folder and a pattern: folder, "\", pattern, each
// trimmed of blanks (a drive root's folder already ends in "\", so two stand before the pattern).
std::string CustomEntry(const std::string& folder, const std::string& pattern);
// "" when the entry may be erased, else why not, in words for the user.
std::string CustomEntryRefusal(const std::string& entry);
// For a named pattern in a drive's root, the Desktop or the Documents folder itself, the
// question to ask before it is added, naming the folder; "" for any other entry.
std::string CustomEntryWarning(const std::string& entry);
// The run's item: each entry's matching files in its folder alone; read-only files stay. An
// entry the guard refuses (one written by an older version) erases nothing. Adds the bytes of
// the files deleted.
void CleanCustomItems(RunContext& ctx);
