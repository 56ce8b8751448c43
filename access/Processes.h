// The programs running now, by the names of their executables.
#pragma once
#include <string>
#include <vector>

// True when a process whose executable is one of names ("chrome.exe"; letter case ignored) runs.
bool AnyProcessRunning(const std::vector<std::string>& names);
// True when the file exists and another program holds it open without sharing it, as a
// browser holds its profile lock ("lockfile", "parent.lock") while it runs.
bool FileHeldOpen(const std::string& path);
