// Application definitions from winapp2.ini in the program folder, the cleaner-definition format
// that users share: one section per application, how to detect it, and which files and registry
// entries to erase, with what never to erase. Read as the real file is written: CR LF or LF,
// UTF-8 with or without its byte-order mark, the format's variables and any of the environment.
// Four stages, each in a file of its own, with a type at each boundary: the text is read into
// ParsedDefinition (Winapp2Read), expanded into AppDefinition (Winapp2Expand), detected and
// chosen into DetectedDefinition (Winapp2Detect), and erased (Winapp2Erase).
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "engine/CleanRun.h"

struct DefinitionFiles {
  std::string folder;                 // expanded; may hold "*" and "?" in folder names
  std::vector<std::string> patterns;  // ";"-separated in the file
  bool recurse = false;               // RECURSE: sub-folders too
  bool removeSelf = false;            // REMOVESELF: also the emptied folders and the folder itself
};

struct DefinitionKey {
  HKEY root = nullptr;
  std::string subKey;
  std::string value;  // empty: the key with its sub-keys
  bool hasValue = false;
  REGSAM view = 0;    // KEY_WOW64_64KEY or KEY_WOW64_32KEY for HKLM on 64-bit Windows, else 0
};

struct DefinitionExclude {
  enum Kind { File, Path, Reg } kind = File;
  // File: files of that folder (the folder may hold wildcards); Path: of it and every folder
  // below it. The patterns name the files; "*" when the line names none.
  DefinitionFiles files;
  DefinitionKey key;  // Reg: the key and everything below it, or one value of it
};

struct AppDefinition {
  std::string name;     // the section's name, "Name *"
  std::string group;    // Section, or the group its LangSecRef names, or "Other"
  bool defaultOn = false;
  std::string warning;
  std::vector<DefinitionKey> detectKeys;
  std::vector<std::string> detectFiles;
  bool detectAlways = false;     // SpecialDetect=DET_WINDOWS
  bool detectionBroken = false;  // a detection line that could not be read: it finds nothing
  bool osLimited = false;        // DetectOS: offered only from osMin to osMax (major * 100 + minor)
  unsigned osMin = 0, osMax = ~0u;
  std::vector<DefinitionFiles> fileKeys;
  std::vector<DefinitionKey> regKeys;
  std::vector<DefinitionExclude> excludes;
  std::string unusable;  // why the entry is never offered nor erased; "" when it can be
};

// Stage one: a section as the text gives it, each line's key without its number, in lower case.
struct ParsedLine {
  std::string kind;      // "filekey", "detect", "langsecref"...
  std::string value;     // trimmed, in the ANSI code page
  bool spelled = true;   // false when a character had no ANSI spelling
};
struct ParsedDefinition {
  std::string name;
  bool nameSpelled = true;
  std::vector<ParsedLine> lines;
};
struct ParsedFile {
  std::vector<ParsedDefinition> entries;
  size_t skipped = 0;    // lines outside any section, lines without "=", broken section headers
  size_t malformed = 0;
};
ParsedFile ReadDefinitionText(const std::string& text);

// Stage two: the expanded entries (AppDefinition), with the lines the expansion passed over.
struct DefinitionSet {
  std::vector<AppDefinition> entries;
  size_t skipped = 0;    // lines passed over: unknown keys, unknown variables, malformed lines
  size_t malformed = 0;  // of those, lines whose form is broken (a "%" without its pair, no "|")
  size_t Unusable() const;
};

// Each variable in lower case, without "%", and every folder it stands for: the format's table
// from the running system (%ProgramFiles% and %CommonProgramFiles% name both the 64-bit and the
// 32-bit folder on 64-bit Windows). Any other variable is read from the environment.
using DefinitionVars = std::map<std::string, std::vector<std::string>>;
DefinitionVars DefinitionVariables();
// One section expanded; lines it cannot use are added to skipped (and to malformed when broken).
AppDefinition ExpandDefinition(const ParsedDefinition& parsed, const DefinitionVars& variables, size_t& skipped,
                               size_t& malformed);
// Both stages at once: the text read and every section expanded.
DefinitionSet ParseDefinitions(const std::string& text, const DefinitionVars& variables);
std::string DefinitionsFile();  // winapp2.ini in the program folder
// winapp2.ini of the program folder, with the system's variables; none when there is no file.
DefinitionSet LoadDefinitions();
// Offered here: usable, inside its Windows versions, and any detection present (or none given).
bool DefinitionDetected(const AppDefinition& entry);
// The running Windows as major * 100 + minor (10.0 -> 1000).
unsigned WindowsVersion();

extern const char kDefinitionsSection[];  // the prisd.dat section of the ticks: "WINAPP2"

// The stored choices of section WINAPP2, by entry name in lower case.
std::map<std::string, std::string> StoredDefinitionChoices(const std::string& settingsFile);
// What the dialog shows ticked and a run erases: the stored choice ("1" ticked), or while none
// is stored, Default=True of an entry without a warning.
bool DefinitionChosen(const AppDefinition& entry, const std::map<std::string, std::string>& stored);

// Stage three: an entry of the set that is chosen and found on this machine.
struct DetectedDefinition {
  const AppDefinition* entry;
};
// Only chosen entries are looked for.
std::vector<DetectedDefinition> DetectedAndChosen(const DefinitionSet& set, const std::map<std::string, std::string>& stored);

struct DefinitionResult {
  double bytes = 0;  // bytes of the files deleted
  double keys = 0;   // registry keys and values removed
};
// Erases one entry through the erasing seam, every path judged by the folder guard, every
// exclusion honoured; an unusable entry erases nothing.
DefinitionResult EraseDefinition(const AppDefinition& entry);
// The run's part: every chosen entry that is detected. Only chosen entries are detected, and a
// file that no choice can reach is not even parsed.
void CleanDefinitions(RunContext& ctx);
