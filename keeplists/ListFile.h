// The program's one-entry-per-line files (keep lists, custom items): ANSI text, CR LF.
#pragma once
#include <string>
#include <vector>

// Every line, stripped of trailing spaces; an absent file gives no lines.
std::vector<std::string> ReadListFile(const std::string& path);
bool ListFileExists(const std::string& path);
// Appends one entry (trailing spaces stripped), creating the file when needed.
bool AppendListLine(const std::string& path, const std::string& entry);
// Rewrites the whole file; no entries leave an empty file.
bool WriteListFile(const std::string& path, const std::vector<std::string>& entries);
