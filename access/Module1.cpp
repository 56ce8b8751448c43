// Module1: reading one registry value whole, by root and sub-key path.
#include "access/Module1.h"

#include "access/RegKey.h"
#include "access/RegText.h"

const char kReadRegValueError[] = "error";

std::string ReadRegValue(HKEY root, const std::string& subKey, const std::string& valueName, DWORD& type) {
  RegKey key;
  if (key.Open(root, PlainSubKey(subKey), KEY_READ) != ERROR_SUCCESS) return kReadRegValueError;
  // The whole value, however long: a typed address of 280 characters is one like any other.
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return kReadRegValueError;
  std::string buf(size + 1, '\0');
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]), &size) != ERROR_SUCCESS)
    return kReadRegValueError;
  // Only what the call wrote, up to its first NUL.
  buf.resize(size);
  return TrimAtNull(buf);
}
