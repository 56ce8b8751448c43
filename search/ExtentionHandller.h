// The file-type list of Search & Erase, Ext.txt in the program folder: one pattern a line,
// "*." and at least one more character; other lines are kept but never used.
#pragma once
#include "access/RecycleBin.h"

#include <string>
#include <vector>

std::string ExtFile();  // Ext.txt in the program folder
bool IsValidType(const std::string& entry);
// The valid entries in file order. A missing Ext.txt first gets the four default lines.
std::vector<std::string> LoadTypeList();
// The valid entries joined by ";" ("" when there is none).
std::string GetSearchString();
// Ext.txt holds exactly "*.tmp", "*.gid", "*.swp", "*.chk".
bool WriteDefaultTypes();
bool AppendType(const std::string& entry);
// Every line equal to entry goes, other lines stay. Ext.txt is replaced in one step by a
// complete new file, so it is always either the old list or the new one.
bool RemoveType(const std::string& entry);
// Sends one file to the Recycle Bin (silent, no confirmation, undoable); a file the bin would
// not keep stays where it is.
RecycleOutcome RecycleFile(const std::string& path);
