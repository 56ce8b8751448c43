// What the Clean Options dialog keeps outside prisd.dat: Internet Explorer's start page and
// window title, and the program's start-up entry.
#pragma once
#include <string>

// The value ("Start Page", "Window Title") under HKEY_CURRENT_USER's Internet Explorer "Main"
// key, whole and trimmed; "" when it is missing or reads "Error".
std::string ReadHomePageValue(const std::string& valueName);
// Written under HKEY_USERS\.DEFAULT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, in this order;
// a write that fails (no rights, no key) is silent.
void WriteHomePageValue(const std::string& valueName, const std::string& value);

extern const char kCurrentUserRunKey[];  // Software\Microsoft\Windows\CurrentVersion\Run
// The value "Tracksweep" = the quoted path of Tsw.exe, under HKEY_CURRENT_USER's Run key
// (which needs no rights); false when it could not be written.
bool AddStartupEntry();
// The value goes from both Run keys, the machine's too; a missing value is no error.
void RemoveStartupEntry();
// True while either Run key holds the value: Windows then starts the program with itself.
bool StartupEntryPresent();
