// Registry reader on a predefined root and a sub-key path.
#pragma once
#include <windows.h>

#include <string>

// The stored text exactly (spaces included), or "error" when it cannot be read.
std::string ReadRegValue(HKEY root, const std::string& subKey, const std::string& valueName, DWORD& type);
// The text before its first NUL; the whole text when it has none.
std::string TrimAtNull(const std::string& text);

extern const char kReadRegValueError[];  // "error"
