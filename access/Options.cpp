#include "access/Options.h"

#include <windows.h>

#include "access/RegKey.h"
#include "access/regfun.h"
#include "settings/AppFolder.h"

const char kCurrentUserRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

namespace {
const char kStartupValue[] = "Tracksweep";
const char* const kHomePageKeys[] = {
    "HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer\\Main",
};
}  // namespace

std::string ReadHomePageValue(const std::string& valueName) {
  const std::string value = GetStringValue(kHomePageKeys[1], valueName);
  return value == kGetStringValueError ? std::string() : value;
}

void WriteHomePageValues(const std::string& startPage, const std::string& windowTitle) {
  for (const char* key : kHomePageKeys) {
    SetStringValue(key, "Start Page", startPage);
    SetStringValue(key, "Window Title", windowTitle);
  }
}

bool AddStartupEntry() {
  const std::string command = "\"" + ProgramFile("Tsw.exe") + "\"";
  RegKey run;
  if (run.Create(HKEY_CURRENT_USER, kCurrentUserRunKey) != ERROR_SUCCESS) return false;
  return RegSetValueExA(run.get(), kStartupValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                        static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
}

void RemoveStartupEntry() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    RegKey run;
    if (run.Open(root, kCurrentUserRunKey, KEY_SET_VALUE) == ERROR_SUCCESS) RegDeleteValueA(run.get(), kStartupValue);
  }
}
