#include "access/RegText.h"

namespace {
struct Root {
  const char* name;
  HKEY key;
};
const Root kRoots[] = {
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {"HKEY_USERS", HKEY_USERS},
    {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA}, {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
};
}  // namespace

HKEY RootKeyFromName(const std::string& name) {
  for (const Root& r : kRoots)
    if (name == r.name) return r.key;
  return nullptr;
}

std::string RootName(HKEY root) {
  for (const Root& r : kRoots)
    if (r.key == root) return r.name;
  return "";
}

std::string PlainSubKey(const std::string& subKey) {
  size_t i = subKey.find_first_not_of('\\');
  return i == std::string::npos ? std::string() : subKey.substr(i);
}

std::string TrimAtNull(const std::string& text) { return text.substr(0, text.find('\0')); }
