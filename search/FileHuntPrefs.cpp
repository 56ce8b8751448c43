// FileHuntPrefs: Search & Erase's settings in the registry.
#include "search/FileHuntPrefs.h"

#include <windows.h>

#include "access/RegKey.h"

const char kFileHuntPrefsKey[] = "Software\\Tracksweep\\FileHuntPrefs";

std::string GetSetting(const std::string& section, const std::string& key, const std::string& fallback) {
  RegKey k;
  if (k.Open(HKEY_CURRENT_USER, std::string(kFileHuntPrefsKey) + "\\" + section, KEY_QUERY_VALUE) != ERROR_SUCCESS)
    return fallback;
  char buf[1024] = {0};
  DWORD size = sizeof buf - 1, type = 0;
  if (RegQueryValueExA(k.get(), key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return fallback;
  return std::string(buf, size).c_str();  // up to its NUL
}

void SaveSetting(const std::string& section, const std::string& key, const std::string& value) {
  RegKey k;
  if (k.Create(HKEY_CURRENT_USER, std::string(kFileHuntPrefsKey) + "\\" + section) != ERROR_SUCCESS) return;
  k.SetString(key, value);
}
