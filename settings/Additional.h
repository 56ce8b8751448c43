// The options of prisd.dat's section "Additional", each read the one way the code that acts on
// it reads it, so that what the options dialog shows is what is in effect.
#pragma once
#include <string>

extern const char kOptionsSection[];  // "Additional"

enum class Option {
  BossKey,         // "bosskey": the tray registers the boss hotkeys at start-up
  AutoClean,       // "autoclean": nothing acts on it; a stored 1 shows ticked
  ExitAfterRun,    // "exit": a run ends the program
  CustomItems,     // "Custom": a run erases the custom items
  Securely,        // "securely": a run overwrites every file before deleting it
  MinimizeToTray,  // "mintotray": minimizing leaves only the tray icon, no taskbar button
  CloseBrowsers,   // "closebrowsers": a run first asks the running browsers it cleans to close
};

const char* OptionKey(Option option);
// A missing value is off for every option.
bool OptionOn(const std::string& settingsFile, Option option);
