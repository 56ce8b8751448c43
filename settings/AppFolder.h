// The program folder: where every file of the program lives.
#pragma once
#include <string>

// Folder of the executable, without a trailing backslash, unless overridden.
std::string ProgramFolder();
// Program folder + "\" + name, built anew for each use.
std::string ProgramFile(const std::string& name);
// Tests point the program at a temporary folder of their own; "" restores the default.
void OverrideProgramFolder(const std::string& folder);

// Names of the program's own files.
extern const char kSettingsFile[];  // prisd.dat
extern const char kCustomFile[];    // cusd.dat
// The product's web address, opened by every web link.
extern const char kWebAddress[];

inline std::string SettingsPath() { return ProgramFile(kSettingsFile); }
