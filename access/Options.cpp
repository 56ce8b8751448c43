#include "access/Options.h"

#include <windows.h>

#include "access/RegKey.h"
#include "access/regfun.h"
#include "settings/AppFolder.h"
#include "settings/Text.h"

const char kCurrentUserRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

namespace {
const char kStartupValue[] = "Tracksweep";
const char kUserMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";  // below HKEY_CURRENT_USER
const char* const kHomePageKeys[] = {
    "HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer\\Main",
};
}  // namespace

std::string ReadHomePageValue(const std::string& valueName) {
  // The whole value, however long: a page address of 255 characters or more is still the
  // user's page, and must not read as missing.
  RegKey key;
  std::string value;
  if (key.Open(HKEY_CURRENT_USER, kUserMainKey, KEY_QUERY_VALUE) != ERROR_SUCCESS || !key.QueryString(valueName, value))
    return "";
  value = TrimSpaces(value);
  return value == kGetStringValueError ? std::string() : value;
}

void WriteHomePageValue(const std::string& valueName, const std::string& value) {
  for (const char* key : kHomePageKeys) SetStringValue(key, valueName, value);
}

bool AddStartupEntry() {
  const std::string command = "\"" + ProgramFile("Tsw.exe") + "\"";
  RegKey run;
  if (run.Create(HKEY_CURRENT_USER, kCurrentUserRunKey) != ERROR_SUCCESS) return false;
  return run.SetString(kStartupValue, command) == ERROR_SUCCESS;
}

void RemoveStartupEntry() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    RegKey run;
    if (run.Open(root, kCurrentUserRunKey, KEY_SET_VALUE) == ERROR_SUCCESS) RegDeleteValueA(run.get(), kStartupValue);
  }
}

bool StartupEntryPresent() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    RegKey run;
    if (run.Open(root, kCurrentUserRunKey, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
        RegQueryValueExA(run.get(), kStartupValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      return true;
  }
  return false;
}
