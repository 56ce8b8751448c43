#include "access/RegContent.h"

#include <cstdio>
#include <vector>

#include "access/RegKey.h"

namespace {

// FNV-1a, 64 bits: enough to tell a changed key from an unchanged one.
struct Hash {
  unsigned long long h = 1469598103934665603ULL;
  void Add(const void* data, size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
      h ^= p[i];
      h *= 1099511628211ULL;
    }
  }
  void Add(const std::string& s) {
    const unsigned long long n = s.size();
    Add(&n, sizeof n);
    Add(s.data(), s.size());
  }
  std::string Text() const {
    char buf[20];
    snprintf(buf, sizeof buf, "%016llx", h);
    return buf;
  }
};

// Every value of an open key: name, type, data, in the registry's order.
bool AddValues(HKEY key, Hash& hash) {
  DWORD count = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName, &longestData, nullptr,
                       nullptr) != ERROR_SUCCESS)
    return false;
  std::string name(longestName + 2, '\0');
  std::vector<BYTE> data(longestData + 2);
  for (DWORD i = 0; i < count; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
    if (RegEnumValueA(key, i, &name[0], &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS) continue;
    hash.Add(std::string(name.data(), nameSize));
    hash.Add(&type, sizeof type);
    hash.Add(std::string(reinterpret_cast<const char*>(data.data()), dataSize));
  }
  return count > 0;
}

bool AddKey(HKEY root, const std::string& subKey, REGSAM view, Hash& hash) {
  RegKey key;
  if (key.Open(root, subKey, KEY_READ | view) != ERROR_SUCCESS) return false;
  bool values = AddValues(key.get(), hash);
  for (const std::string& child : key.SubKeyNames()) {
    hash.Add("\\" + child);
    values = AddKey(root, subKey + "\\" + child, view, hash) || values;
  }
  return values;
}

}  // namespace

std::string KeyFingerprint(HKEY root, const std::string& subKey, REGSAM view, bool* holdsValues) {
  if (holdsValues) *holdsValues = false;
  if (!KeyPresent(root, subKey, view)) return "";
  Hash hash;
  const bool values = AddKey(root, subKey, view, hash);
  if (holdsValues) *holdsValues = values;
  return hash.Text();
}

std::string ValueFingerprint(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
  RegKey key;
  if (key.Open(root, subKey, KEY_QUERY_VALUE | view) != ERROR_SUCCESS) return "";
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
  std::vector<BYTE> data(size + 2);
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return "";
  Hash hash;
  hash.Add(&type, sizeof type);
  hash.Add(std::string(reinterpret_cast<const char*>(data.data()), size));
  return hash.Text();
}

bool ValueHoldsData(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
  RegKey key;
  if (key.Open(root, subKey, KEY_QUERY_VALUE | view) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) return false;
  std::vector<BYTE> data(size + 2);
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return false;
  for (DWORD i = 0; i < size; ++i)
    if (data[i] != 0) return true;
  return false;
}
