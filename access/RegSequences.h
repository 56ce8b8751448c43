// The registry sequences that erase most-recently-used lists.
#pragma once
#include <windows.h>

#include <string>

// The key exists again, emptied (missing parents are created and stay).
void ResetKey(HKEY root, const std::string& subKey);
// The key is gone, with its sub-keys (missing parents are created and stay).
void RemoveKey(HKEY root, const std::string& subKey);
// The key is gone, with its sub-keys; a missing key changes nothing. ERROR_SUCCESS unless the
// key stays (the eraser passes it over with the reason).
LONG RemoveExistingKey(HKEY root, const std::string& subKey);
// An existing key and every key below it keep no value; the keys themselves stay and nothing is
// created. Returns how many keys had values that went; a key that cannot be read, and a value
// that stays, is passed over with its reason.
double EmptyExistingKey(HKEY root, const std::string& subKey, REGSAM view = 0);
// RemoveExistingKey, saying whether there was a key to remove.
bool RemoveIfPresent(HKEY root, const std::string& subKey);
// The named value is gone; the key stays. ERROR_SUCCESS unless the value stays.
LONG DeleteValue(HKEY root, const std::string& subKey, const std::string& valueName);
