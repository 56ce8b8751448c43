// Application definitions from winapp2.ini in the program folder, the cleaner-definition format
// that users share: one section per application, how to detect it, and which files and registry
// entries to erase. Only the subset below is read; anything else is skipped and counted.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "engine/CleanRun.h"

struct DefinitionFiles {
  std::string folder;                 // expanded; may hold "*" in folder names
  std::vector<std::string> patterns;  // ";"-separated in the file
  bool recurse = false;               // RECURSE: sub-folders too
  bool removeSelf = false;            // REMOVESELF: also the emptied folders and the folder itself
};

struct DefinitionKey {
  HKEY root = nullptr;
  std::string subKey;
  std::string value;  // empty: the key with its sub-keys
  bool hasValue = false;
};

struct DefinitionExclude {
  enum Kind { File, Path, Reg } kind = File;
  DefinitionFiles files;  // File and Path: folder and patterns (Path covers the folder's tree)
  DefinitionKey key;      // Reg
};

struct AppDefinition {
  std::string name;     // the section's name, "Name *"
  std::string group;    // Section, or the group its LangSecRef names
  bool defaultOn = false;
  std::string warning;
  std::vector<DefinitionKey> detectKeys;
  std::vector<std::string> detectFiles;
  std::vector<DefinitionFiles> fileKeys;
  std::vector<DefinitionKey> regKeys;
  std::vector<DefinitionExclude> excludes;
};

struct DefinitionSet {
  std::vector<AppDefinition> entries;
  size_t skipped = 0;  // lines not used: unknown keys, unknown variables, malformed lines
};

// %Name% -> folder, for the variables of the format, from the running system's shell folders.
std::map<std::string, std::string> DefinitionVariables();
// The text of a definition file; variables as given (keys in lower case, without "%").
DefinitionSet ParseDefinitions(const std::string& text, const std::map<std::string, std::string>& variables);
// winapp2.ini of the program folder, with the system's variables; none when there is no file.
DefinitionSet LoadDefinitions();
// Any detection present, or no detection at all.
bool DefinitionDetected(const AppDefinition& entry);

extern const char kDefinitionsSection[];  // the prisd.dat section of the ticks: "WINAPP2"

struct DefinitionResult {
  double bytes = 0;  // bytes of the files deleted
  double keys = 0;   // registry keys and values removed
};
// Erases one entry through the erasing seam, every path judged by the folder guard, every
// exclusion honoured.
DefinitionResult EraseDefinition(const AppDefinition& entry);
// The run's part: every detected entry whose key reads exactly "1".
void CleanDefinitions(RunContext& ctx);
