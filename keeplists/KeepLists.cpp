#include "keeplists/KeepLists.h"

#include <windows.h>

#include "access/Listing.h"
#include "access/Module1.h"
#include "access/RegKey.h"
#include "access/regfun.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"

const char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

std::string KeepCookieFile() { return ProgramFile("keepcook.dat"); }
std::string KeepUrlFile() { return ProgramFile("keepurl.dat"); }

std::string CleanFolderPath(const std::string& text) { return TrimSpaces(TrimAtNull(text)); }

std::string ShellFolder(const std::string& valueName) {
  return CleanFolderPath(GetStringValue(
      "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", valueName));
}

std::vector<std::string> CurrentCookies(const std::string& cookiesFolder) {
  std::vector<std::string> paths;
  if (cookiesFolder.empty()) return paths;
  std::string folder = cookiesFolder;
  if (folder.back() != '\\') folder += '\\';
  // Each by its exact name: a cookie file is erased or kept as itself, never as a pattern.
  ForEachEntry(folder, [&](const ListedEntry& e) {
    if (!IsFolder(e) && e.name.find(".txt") != std::string::npos) paths.push_back(folder + e.name);
    return true;
  });
  return paths;
}

std::vector<std::string> CurrentTypedUrls() {
  std::vector<std::string> urls;
  RegKey key;
  if (key.Open(HKEY_CURRENT_USER, kTypedUrlsKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return urls;
  for (DWORD index = 0;; ++index) {
    char name[255];
    DWORD nameLength = sizeof name;
    if (RegEnumValueA(key.get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    DWORD type = REG_SZ;
    std::string text = ReadRegValue(HKEY_CURRENT_USER, kTypedUrlsKey, std::string(name, nameLength), type);
    if (text != kReadRegValueError) urls.push_back(text);
  }
  return urls;
}
