// What a registry key or value holds, as one short text, so that a preview can tell whether it
// is still what the user saw: a hash of the names, types and data of the values, and of every
// sub-key below the key with what it holds.
#pragma once
#include <windows.h>

#include <string>

// "" when the key is missing. holdsValues, when given, tells whether any value lies anywhere in it.
std::string KeyFingerprint(HKEY root, const std::string& subKey, REGSAM view = 0, bool* holdsValues = nullptr);
// "" when the value is missing.
std::string ValueFingerprint(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0);
// Whether the value is there and holds anything but zero bytes: a value blanked already (or
// never written) holds no track.
bool ValueHoldsData(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0);
