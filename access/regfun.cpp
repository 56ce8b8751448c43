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

LONG DeleteKey(const std::string& fullPath) {
  std::string path = fullPath;
  HKEY root = nullptr;
  ParseKeyPath(path, root);
  if (!root) return ERROR_SUCCESS;
  RegKey key;
  const LONG opened = key.Open(root, path, KEY_WRITE);
  if (opened == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (opened != ERROR_SUCCESS) {
    ActiveEraser().PassedOver("key", RegistryTarget(root, path), ReasonOf(static_cast<DWORD>(opened)));
    return opened;
  }
  key.Close();
  return ActiveEraser().DeleteKeyTree(root, path);
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

LONG BlankValue(const std::string& fullPath, const std::string& valueName) {
  std::string path = fullPath;
  HKEY root = nullptr;
  ParseKeyPath(path, root);
  if (!root) return ERROR_SUCCESS;
  RegKey key;
  if (key.Open(root, path, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
      RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return ERROR_SUCCESS;  // nothing is created: only a value that is there is blanked
  key.Close();
  return ActiveEraser().SetStringValue(root, path, valueName, "");
}
