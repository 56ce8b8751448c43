// The registry's text helpers, below everything that reads or erases keys: the names of the
// predefined roots, sub-key paths as NT-family systems take them, and text cut at its NUL.
#pragma once
#include <windows.h>

#include <string>

// The predefined key of an exact root name, or 0.
HKEY RootKeyFromName(const std::string& name);
// The other way round: "HKEY_CURRENT_USER" for HKEY_CURRENT_USER; "" for any other handle.
std::string RootName(HKEY root);
// Drops the leading backslashes that Windows 9x accepted and NT-family systems refuse.
std::string PlainSubKey(const std::string& subKey);
// The text before its first NUL; the whole text when it has none.
std::string TrimAtNull(const std::string& text);
