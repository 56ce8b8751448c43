// Registry routines on full key paths ("HKEY_CURRENT_USER\Software\...").
#pragma once
#include <windows.h>

#include <string>

#include "access/RegText.h"  // RootKeyFromName, RootName

// Splits a full key path: root set and path reduced to the sub-key path. A path that does
// not begin with "HKEY_" or ends in "\" shows "Incorrect Format:" and gives root 0.
void ParseKeyPath(std::string& path, HKEY& root);

// Deletes the key (and, as Windows 9x did, its sub-keys). A key that may not be written to stays
// and is passed over with its reason. ERROR_SUCCESS when it is gone or was never there.
LONG DeleteKey(const std::string& path);
// The value's text, "Error" when the key or value cannot be read, "" for an unknown root.
std::string GetStringValue(const std::string& path, const std::string& valueName);
void CreateKey(const std::string& path);
// Writes a string value into an existing key; a missing key is not created.
void SetStringValue(const std::string& path, const std::string& valueName, const std::string& value);
// An existing value stays, with the empty text; a missing key or value is not created.
// ERROR_SUCCESS unless the value was there and could not be blanked.
LONG BlankValue(const std::string& path, const std::string& valueName);

extern const char kGetStringValueError[];  // "Error"
