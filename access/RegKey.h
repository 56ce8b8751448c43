// An open registry key that is always closed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class RegKey {
 public:
  RegKey() = default;
  ~RegKey() { Close(); }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  LONG Open(HKEY root, const std::string& subKey, REGSAM access) {
    Close();
    return RegOpenKeyExA(root, subKey.c_str(), 0, access, &key_);
  }
  // Opens or creates, with full access; missing parents are created.
  LONG Create(HKEY root, const std::string& subKey) {
    Close();
    return RegCreateKeyA(root, subKey.c_str(), &key_);
  }
  // A string value, its terminating NUL counted in its size as readers of REG_SZ expect.
  LONG SetString(const std::string& name, const std::string& value) const {
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
  }
  // The names of its sub-keys and of its values, in the registry's order.
  std::vector<std::string> SubKeyNames() const {
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD size = sizeof name;
      if (RegEnumKeyExA(key_, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return names;
      names.emplace_back(name, size);
    }
  }
  std::vector<std::string> ValueNames() const {
    std::vector<std::string> names;
    std::string name(16384, '\0');
    for (DWORD i = 0;; ++i) {
      DWORD size = static_cast<DWORD>(name.size());
      if (RegEnumValueA(key_, i, &name[0], &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return names;
      names.emplace_back(name.data(), size);
    }
  }
  // A string value, however long, cut at its first NUL; false when it is missing or no string.
  bool QueryString(const std::string& name, std::string& value) const {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
      return false;
    std::string buf(size + 1, '\0');
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]), &size) != ERROR_SUCCESS)
      return false;
    value = buf.c_str();
    return true;
  }
  // A DWORD value; false when it is missing or of another type.
  bool QueryDword(const std::string& name, DWORD& value) const {
    DWORD type = 0, size = sizeof value;
    return RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof value;
  }
  void Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

// Whether the key, or a value of it, is there; a view (KEY_WOW64_64KEY, KEY_WOW64_32KEY) names
// one of the two registries of 64-bit Windows.
inline bool KeyPresent(HKEY root, const std::string& subKey, REGSAM view = 0) {
  RegKey key;
  const LONG opened = key.Open(root, subKey, KEY_READ | view);
  // A key that may not be read is there all the same: erasing it must fail aloud, not be skipped.
  return opened == ERROR_SUCCESS || opened == ERROR_ACCESS_DENIED;
}
// The names of a key's sub-keys; none when it cannot be opened.
inline std::vector<std::string> SubKeyNamesOf(HKEY root, const std::string& subKey, REGSAM view = 0) {
  RegKey key;
  return key.Open(root, subKey, KEY_READ | view) == ERROR_SUCCESS ? key.SubKeyNames() : std::vector<std::string>();
}
inline bool ValuePresent(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0) {
  RegKey key;
  return key.Open(root, subKey, KEY_READ | view) == ERROR_SUCCESS &&
         RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
