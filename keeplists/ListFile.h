// The program's one-entry-per-line files (keep lists, custom items): ANSI text, CR LF.
#pragma once
#include <string>
#include <vector>

// Every line into lines, stripped of trailing spaces; an absent file gives no lines. False,
// with no lines, when the file exists but cannot be read (locked, no access, a read error):
// a list that cannot be read must never pass for an empty one.
bool ReadListFile(const std::string& path, std::vector<std::string>& lines);
// The same, with every line exactly as stored (trailing spaces kept).
bool ReadRawListFile(const std::string& path, std::vector<std::string>& lines);
bool ListFileExists(const std::string& path);
// The whole file as it is stored; false when it exists but cannot be read. An absent file
// reads as empty.
bool ReadWholeFile(const std::string& path, std::string& text);
// Appends one entry (trailing spaces stripped), creating the file when needed; a last line
// left without its CR LF is ended first.
bool AppendListLine(const std::string& path, const std::string& entry);
// Rewrites the whole file; no entries leave an empty file.
bool WriteListFile(const std::string& path, const std::vector<std::string>& entries);
