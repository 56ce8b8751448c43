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
  void Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};
