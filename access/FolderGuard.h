// Refuses to erase places that no track lives in. A folder path read from the registry or a
// settings file can be empty, "Error", relative, a drive root, or (since any program can change
// a shell-folder value) the user's documents or a system folder; it must then erase nothing.
#pragma once
#include <memory>
#include <string>
#include <vector>

// A folder that may be emptied, swept or deleted. Refused: anything not fully qualified
// (drive letter or UNC); a drive or share root; a drive that is the host's whole file system
// (Wine's z:); a folder that is the same as or above the Windows folder, a profile root, the
// user's Documents, Desktop, Pictures, Music or Videos, Program Files and Common Files, the
// application-data roots or the Start menu; a folder that is the same as, above or inside the
// system folder (and SysWOW64) or the program folder. Where the platform tells where a folder
// leads (a junction or link), that folder is judged too, and one that leads nowhere the
// program can name is refused.
bool FolderMayBeErased(const std::string& folder);
// A wildcard file deletion "folder\pattern" (files of that folder only): allowed where the
// folder may be erased, and besides for the two named patterns of the run's own table:
// "*.pwl" in the Windows folder and "*.chk" in a drive root.
bool PatternMayBeErased(const std::string& pattern);
// A pattern the user names (a custom item) may besides name files in a drive's root, the
// Desktop or the Documents folder itself, none of which may be emptied: "C:\\*.tmp" is fine,
// "C:\\*.*" is not. UserPatternFolder gives that folder when the pattern is such a one, else "".
std::string UserPatternFolder(const std::string& pattern);
bool UserPatternMayBeErased(const std::string& pattern);
// A folder reached through a wildcard in a definition's folder part ("%UserProfile%\*"), to
// be emptied with a pattern that matches every name: allowed only where FolderMayBeErased allows
// it and it is neither one of the folders the shell names for the user's own files (Documents,
// Desktop, Downloads, Pictures, Music, Videos, Favorites, Links, Contacts, Saved Games,
// Searches, OneDrive and their public twins) nor inside one, nor a child of the profile folder
// or of the public profile; nor a child of a drive's or share's root that a name of wildcards
// alone ("*", "*.*") reached (namedAs is the definition's folder, "C:\*"; "C:\Backup*" names
// a folder of its own). A narrow pattern there stays allowed.
bool MayEmptyThroughWildcard(const std::string& folder, const std::string& namedAs);
// The folders of the user's own files that MayEmptyThroughWildcard knows and that lie below
// folder (a Downloads moved into it), each written as folder followed by the rest of its path.
std::vector<std::string> UserFoldersBelow(const std::string& folder);
// The folder the shell names for a CSIDL (CSIDL_APPDATA...), as it gives it; "" when none.
std::string KnownFolder(int csidl);
// True when path is folder or lies below it; letter case and trailing "\" do not matter.
bool IsSameOrInside(const std::string& path, const std::string& folder);
// A pattern that matches every name: made of "*", "?" and "." only ("*", "*.*", "?*", "*.?*").
bool IsMatchAllPattern(const std::string& name);
// The path made absolute and plain ("." and ".." resolved, long names, no trailing "\"),
// or "" when it is not fully qualified.
std::string CanonicalFolder(const std::string& folder);
// Holds the protected folders while it lives, so that a routine that judges many folders
// asks the shell for them once; nested scopes share the outermost one. They are asked for when
// the first folder is judged, not before: asking the shell rewrites its legacy folder values.
class GuardScope {
 public:
  GuardScope();
  ~GuardScope();
  GuardScope(const GuardScope&) = delete;
  GuardScope& operator=(const GuardScope&) = delete;
};
// Under Wine: true when the path's drive is the host's whole file system (its root is "/").
bool OnHostRootDrive(const std::string& path);
