// Deleting tracks from folders, and measuring them first.
// Every routine that deletes refuses a folder or pattern that the guard refuses, and erases
// through the active Eraser. Hidden and system entries are neither deleted nor entered.
#pragma once
#include <windows.h>

#include <functional>

#include "access/Listing.h"
#include <string>
#include <vector>

// Deletes every listed file below the folder, then its sub-folders; the folder itself stays.
void EmptyFolderTree(const std::string& folder);
// Deletes the named file in every visited folder that lists at least one file.
void SweepTreeForFile(const std::string& folder, const std::string& fileName);
// Empties every folder named "Cache" (any case) below the folder, keeping the Cache folders.
void SweepCacheTree(const std::string& folder);
// Deletes every file of one folder matching "folder\pattern"; read-only ones only with force.
// Returns the bytes of the files that went.
double DeleteMatching(const std::string& pattern, bool force = false);
// The same for a pattern the user named (a custom item): allowed in the folders the guard
// lets a user name files in (UserPatternMayBeErased); read-only files stay.
double DeleteUserMatching(const std::string& pattern);
// Deletes one file by its exact path where its folder may be erased, as a walk would: not a
// folder, a link, a hidden or a system file; a read-only one only with force. Returns the bytes
// that went.
double DeleteOneFile(const std::string& path, bool force = false);
// Deletes every sub-folder matching "folder\pattern", with its content.
void DeleteFoldersMatching(const std::string& pattern, bool force = false);
// Over the listed entries below the folder, depth first (sub-folders only with recurse; hidden
// and system entries and links are neither visited nor entered): onFile(folder ending in "\",
// entry) for every file. Returns the folders visited, each ending in "\", the folder first and
// every folder before those below it. Each folder is held while the walk is inside it, so
// that it cannot be renamed or swapped for a link meanwhile (see HeldFolder).
std::vector<std::string> WalkListedFiles(const std::string& folder, bool recurse,
                                         const std::function<void(const std::string&, const ListedEntry&)>& onFile);
// The same for a folder found by listing below named (a folder the caller named and the guard
// judged): the folders between are held, and neither they nor folder may be a link.
std::vector<std::string> WalkListedFilesBelow(const std::string& named, const std::string& folder, bool recurse,
                                              const std::function<void(const std::string&, const ListedEntry&)>& onFile);
// For tests: called with the path (ending in "\") of a folder found by listing, after its parent
// was listed and just before a walk holds it; an empty hook removes it.
void SetWalkEntryHook(std::function<void(const std::string&)> hook);
// Bytes in all files of the folder and its sub-folders (hidden ones too); 0 when missing.
double FolderSize(const std::string& folder);
// Opens help.chm of the program folder in the HTML Help viewer, at one of its pages if given;
// says so when it cannot.
void ShowHelpFile(const std::string& page = "");
