// Search & Erase keeps its own settings as string values in
// HKEY_CURRENT_USER\Software\Tracksweep\FileHuntPrefs\<section>.
#pragma once
#include <string>

extern const char kFileHuntPrefsKey[];  // Software\Tracksweep\FileHuntPrefs
std::string GetSetting(const std::string& section, const std::string& key, const std::string& fallback);
void SaveSetting(const std::string& section, const std::string& key, const std::string& value);
