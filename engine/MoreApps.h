// The 23 applications of the More Applications block: one table, read by the run and by the
// dialog that ticks them.
#pragma once
#include <string>
#include <vector>

#include "engine/CleanRun.h"

struct MoreAppErasure {
  enum Kind {
    DeleteValue,        // target: sub-key below HKEY_CURRENT_USER; value: its name
    BlankValue,         // target: full key path; value: its name (empty text, existing key only)
    RemoveExistingKey,  // target: sub-key below HKEY_CURRENT_USER
    DeleteKey,          // target: full key path
    DeleteFiles,        // target: folder\pattern, that folder only
    EmptyFolder,        // target: folder, emptied and kept
    ReceivedFiles,      // target: pattern below the user's documents folder (Shell Folders "Personal")
  } kind;
  std::string target;
  std::string value;
};

struct MoreApp {
  int check;            // its box in the dialog: Check<n>
  const char* key;      // its key in section MOREAPPLICATIONS
  const char* caption;  // its box's caption
  double regnum;        // counted after its erasures, whatever was there, unless a registry entry stayed
  std::vector<MoreAppErasure> erasures;
};

extern const char kMoreAppsSection[];  // "MOREAPPLICATIONS"

// In run order, which is also the order the dialog reads and writes the keys.
const std::vector<MoreApp>& MoreApplications();
// The block's step: each application whose key reads exactly "1", its erasures in order.
void CleanMoreApplications(RunContext& ctx);
