// The registry sequences that erase most-recently-used lists.
#pragma once
#include <windows.h>

#include <string>

// The key exists again, emptied (missing parents are created and stay).
void ResetKey(HKEY root, const std::string& subKey);
// The key is gone, with its sub-keys (missing parents are created and stay).
void RemoveKey(HKEY root, const std::string& subKey);
// The key is gone, with its sub-keys; a missing key changes nothing.
void RemoveExistingKey(HKEY root, const std::string& subKey);
// The named value is gone; the key stays.
void DeleteValue(HKEY root, const std::string& subKey, const std::string& valueName);
