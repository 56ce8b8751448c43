#include "access/Module1.h"

#include "access/Eraser.h"
#include "access/RegKey.h"

const char kReadRegValueError[] = "error";

std::string TrimAtNull(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string ReadRegValue(HKEY root, const std::string& subKey, const std::string& valueName, DWORD& type) {
  const DWORD kBuffer = 255;
  std::string buf(kBuffer, ' ');
  DWORD size = kBuffer;
  RegKey key;
  if (key.Open(root, PlainSubKey(subKey), KEY_READ) != ERROR_SUCCESS) return kReadRegValueError;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]),
                       &size) != ERROR_SUCCESS)
    return kReadRegValueError;
  // Only what the call wrote: a value stored without its NUL would otherwise run on into
  // the spaces the buffer was filled with.
  buf.resize(size < kBuffer ? size : kBuffer);
  return TrimAtNull(buf);
}
