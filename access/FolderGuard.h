// Refuses to erase places that no track lives in: a path read from the registry or a settings
// file can be empty, "Error", relative or a drive root, and must then erase nothing.
#pragma once
#include <string>

// A folder that may be emptied, swept or deleted: fully qualified (drive letter or UNC), not a
// drive or share root, and neither the same as nor above the Windows folder, the system
// folder, the program folder or a user profile's root.
bool FolderMayBeErased(const std::string& folder);
// A wildcard file deletion "folder\pattern" (files of that folder only): the folder must be
// fully qualified, and a match-all pattern is refused in a drive root, the Windows or system
// folder, the program folder and a user profile's root.
bool PatternMayBeErased(const std::string& pattern);
// The path made absolute and plain ("." and ".." resolved, long names, no trailing "\"),
// or "" when it is not fully qualified.
std::string CanonicalFolder(const std::string& folder);
