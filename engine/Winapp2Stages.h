// What the four stages of a definition file share inside the engine: reading the text
// (Winapp2Read), expanding its variables and keys (Winapp2Expand), detecting what is on this
// machine (Winapp2Detect) and erasing (Winapp2Erase). The types at their boundaries are in
// Winapp2.h.
#pragma once
#include <string>
#include <vector>

#include "engine/Winapp2.h"

namespace winapp2 {

enum class Read { Ok, Unknown, Malformed };

// A variable of the environment, read with the wide call: a folder the code page cannot spell
// keeps its exact name.
std::string Environment(const std::string& name);
std::string WithoutSlash(std::string s);
std::vector<std::string> Split(const std::string& s, char by);
// The folders of a path, without empty parts: "C:\a\b\" -> {"C:", "a", "b"}.
std::vector<std::string> Parts(const std::string& path);
// %Name% replaced by each folder it stands for. Unknown: a variable neither the table nor the
// environment knows; Malformed: a "%" without its pair.
Read Expand(const std::string& text, const DefinitionVars& vars, std::vector<std::string>& out);
// Every existing folder that a path with "*" or "?" in its folder names stands for; names are
// matched by their long names only.
std::vector<std::string> ExpandFolders(const std::string& path);
bool DefinitionKeyPresent(const DefinitionKey& key);

}  // namespace winapp2
