// Registry reader on a predefined root and a sub-key path.
#pragma once
#include <windows.h>

#include <string>

#include "access/RegText.h"  // TrimAtNull

// The stored text exactly (spaces included), or "error" when it cannot be read.
std::string ReadRegValue(HKEY root, const std::string& subKey, const std::string& valueName, DWORD& type);

extern const char kReadRegValueError[];  // "error"
