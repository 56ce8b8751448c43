// The steps of today's Windows traces: the entries of More Windows Tracks, and the parts that
// the main window's Windows items take (jump lists, the clipboard's history, Start's search).
#pragma once
#include <string>

#include "engine/CleanRun.h"

// More Windows Tracks, one step per entry.
void CleanUserAssist(RunContext& ctx);
void CleanFolderViews(RunContext& ctx);
void CleanExplorerLists(RunContext& ctx);
void CleanExplorerSearchHistory(RunContext& ctx);
void FlushDnsCache(RunContext& ctx);
void CleanErrorReports(RunContext& ctx);
void CleanThumbnailCaches(RunContext& ctx);
// After the registry entries: Explorer is told that what it shows may have changed.
void TellTheShell(RunContext& ctx);

// Recent Documents History: every application's jump lists (their pinned entries kept) and
// Office's list of recent files.
void CleanJumpLists(RunContext& ctx);
// Windows Clipboard: the history of Windows 10 1809 and later (Win+V), its pinned items kept.
void CleanClipboardHistory(RunContext& ctx);
// Start Menu Search History: what Windows 10's search on the taskbar and Start lists as recent.
void CleanStartSearchHistory(RunContext& ctx);

// A file another program holds open: never erased, and said so (a note in a preview, passed
// over in a run).
bool PassedOverInUse(RunContext& ctx, const std::string& path);
// The files of folder that match pattern (not below it), each passed over while in use.
void EraseFilesInUseAside(RunContext& ctx, const std::string& folder, const char* pattern);
// A folder emptied (kept), its bytes counted: what went in a run, what would go in a preview.
void EmptyCounted(RunContext& ctx, const std::string& folder);
// The folder named below the user's local application data ("" when the shell names none).
std::string LocalAppDataFolder(const std::string& below);
