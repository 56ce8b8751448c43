// File-name patterns as Windows users know them, matched against a file's long name only.
// Asking the file system with a pattern would also compare it with each file's 8.3 short name
// ("*.tmp" would take "notes.tmpl", whose short name is NOTES~1.TMP); every routine that deletes
// or lists by pattern therefore lists the folder and asks this matcher.
#pragma once
#include <functional>
#include <string>

#include "access/Listing.h"

// "*" any run of characters, "?" exactly one, letter case ignored. A pattern ending in ".*"
// also matches the names without a dot that its part before the dot matches ("*.*" matches
// every name, "readme.*" matches "readme"); one ending in a single "." matches those names only.
// A name holding characters written as "<U+XXXX>" is matched character by character as well.
bool MatchesPattern(const std::string& name, const std::string& pattern);
bool HasWildcards(const std::string& text);
// Lists folder (with or without its trailing "\") and hands on each entry but "." and ".."
// whose long name matches the pattern, until onEntry answers false. Hidden and system entries
// and links come too: the caller judges them.
void ForEachMatchingEntry(const std::string& folder, const std::string& pattern,
                          const std::function<bool(const ListedEntry&)>& onEntry);
