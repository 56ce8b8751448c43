// regfun: registry routines on full key paths ("HKEY_CURRENT_USER\Software\..."), through the erasing seam.
#include "access/regfun.h"

#include "access/Eraser.h"
#include "access/RegText.h"
#include "access/Prompts.h"
#include "access/RegKey.h"
#include "settings/Inifun.h"

const char kGetStringValueError[] = "Error";

namespace {
const DWORD kValueBuffer = 255;
}

void ParseKeyPath(std::string& path, HKEY& root) {
  if (path.compare(0, 5, "HKEY_") != 0 || path.empty() || path.back() == '\\') {
    ShowMessage(nullptr, "Incorrect Format:\n\n" + path, kProductTitle, MB_OK);
    root = nullptr;
    return;
  }
  size_t slash = path.find('\\');
  if (slash != std::string::npos) {
    root = RootKeyFromName(path.substr(0, slash));
    path = path.substr(slash + 1);
  } else {
    root = RootKeyFromName(path);
    path.clear();
  }
}

void DeleteKey(const std::string& fullPath) {
  std::string path = fullPath;
  HKEY root = nullptr;
  ParseKeyPath(path, root);
  if (!root) return;
  RegKey key;
  if (key.Open(root, path, KEY_WRITE) != ERROR_SUCCESS) return;
  key.Close();
  ActiveEraser().DeleteKeyTree(root, path);
}

std::string GetStringValue(const std::string& fullPath, const std::string& valueName) {
  std::string path = fullPath;
  HKEY root = nullptr;
  ParseKeyPath(path, root);
  if (!root) return "";
  RegKey key;
  if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return kGetStringValueError;
  std::string buf(kValueBuffer, ' ');
  DWORD type = REG_SZ, size = kValueBuffer;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]),
                       &size) != ERROR_SUCCESS)
    return kGetStringValueError;
  // Only what the call wrote, up to the value's NUL if it has one, without surrounding spaces.
  buf.resize(size < kValueBuffer ? size : kValueBuffer);
  return TrimSpaces(TrimAtNull(buf));
}

void CreateKey(const std::string& fullPath) {
  std::string path = fullPath;
  HKEY root = nullptr;
  ParseKeyPath(path, root);
  if (root) ActiveEraser().CreateKey(root, path);
}

void SetStringValue(const std::string& fullPath, const std::string& valueName, const std::string& value) {
  std::string path = fullPath;
  HKEY root = nullptr;
  ParseKeyPath(path, root);
  if (root) ActiveEraser().SetStringValue(root, path, valueName, value);
}

void BlankValue(const std::string& fullPath, const std::string& valueName) {
  std::string path = fullPath;
  HKEY root = nullptr;
  ParseKeyPath(path, root);
  if (!root) return;
  RegKey key;
  if (key.Open(root, path, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
      RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return;  // nothing is created: only a value that is there is blanked
  key.Close();
  ActiveEraser().SetStringValue(root, path, valueName, "");
}
