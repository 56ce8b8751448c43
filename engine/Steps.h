// The erasure steps of the run's items, each plugged into its row of the run table.
#pragma once
#include <string>

#include "engine/CleanRun.h"

// Internet Explorer
void CleanTypedUrls(RunContext& ctx);
void CleanUrlHistory(RunContext& ctx);
void CleanInternetCache(RunContext& ctx);
void CleanCookies(RunContext& ctx);
void CleanFavorites(RunContext& ctx);
void CleanAutocomplete(RunContext& ctx);
void CleanDownloadedPrograms(RunContext& ctx);

// Other browsers
void CleanNetscape(RunContext& ctx);
void CleanOpera(RunContext& ctx);  // "Can't found Opera Directory!" when its folder is missing
void CleanGoogleToolbar(RunContext& ctx);

// Windows
void CleanRecentDocuments(RunContext& ctx);
void CleanRunHistory(RunContext& ctx);
void CleanSearchHistory(RunContext& ctx);
void CleanTempFolder(RunContext& ctx);
void CleanRecycleBin(RunContext& ctx);
void CleanOpenSaveHistory(RunContext& ctx);
void CleanScandiskFragments(RunContext& ctx);
void CleanCachedPasswords(RunContext& ctx);
void CleanClipboard(RunContext& ctx);
void CleanWordpadList(RunContext& ctx);
void CleanPaintList(RunContext& ctx);

// Applications
void CleanWinzipList(RunContext& ctx);
void CleanMediaPlayerLists(RunContext& ctx);
void CleanRealPlayerLists(RunContext& ctx);  // RealOne Player and RealPlayer alike
void CleanOfficeLists(RunContext& ctx);

// Clears the Start menu's Documents list; true when the platform reports no error.
bool ClearDocumentsMenu();
// The shell's major version (Shlwapi.dll), as decimal text.
std::string ShlwapiMajorVersion();
// The size of a folder that the step may erase; nothing for one it may not touch.
double ErasableSize(const std::string& folder);
// The temporary folder without its trailing backslash.
std::string WindowsTempFolder();
