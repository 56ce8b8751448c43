#include "access/RegSequences.h"

#include "access/Eraser.h"
#include "access/RegKey.h"

void ResetKey(HKEY root, const std::string& subKey) {
  Eraser& e = ActiveEraser();
  e.CreateKey(root, subKey);
  e.DeleteKeyTree(root, subKey);
  e.CreateKey(root, subKey);
}

void RemoveKey(HKEY root, const std::string& subKey) {
  Eraser& e = ActiveEraser();
  e.CreateKey(root, subKey);
  e.DeleteKeyTree(root, subKey);
}

void RemoveExistingKey(HKEY root, const std::string& subKey) { RemoveIfPresent(root, subKey); }

bool RemoveIfPresent(HKEY root, const std::string& subKey) {
  if (!KeyPresent(root, PlainSubKey(subKey))) return false;
  ActiveEraser().DeleteKeyTree(root, subKey);
  return true;
}

double EmptyExistingKey(HKEY root, const std::string& subKey, REGSAM view) {
  std::vector<std::string> values, subKeys;
  {
    RegKey key;
    if (key.Open(root, PlainSubKey(subKey), KEY_READ | view) != ERROR_SUCCESS) return 0;
    values = key.ValueNames();
    subKeys = key.SubKeyNames();
  }
  Eraser& e = ActiveEraser();
  for (const std::string& v : values) e.DeleteValue(root, subKey, v, view);
  double emptied = values.empty() ? 0 : 1;
  for (const std::string& s : subKeys) emptied += EmptyExistingKey(root, subKey + "\\" + s, view);
  return emptied;
}

void DeleteValue(HKEY root, const std::string& subKey, const std::string& valueName) {
  ActiveEraser().DeleteValue(root, subKey, valueName);
}
