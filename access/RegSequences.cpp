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

LONG RemoveExistingKey(HKEY root, const std::string& subKey) {
  if (!KeyPresent(root, PlainSubKey(subKey))) return ERROR_SUCCESS;
  return ActiveEraser().DeleteKeyTree(root, subKey);
}

bool RemoveIfPresent(HKEY root, const std::string& subKey) {
  if (!KeyPresent(root, PlainSubKey(subKey))) return false;
  ActiveEraser().DeleteKeyTree(root, subKey);
  return true;
}

double EmptyExistingKey(HKEY root, const std::string& subKey, REGSAM view) {
  std::vector<std::string> values, subKeys;
  Eraser& e = ActiveEraser();
  {
    RegKey key;
    const LONG opened = key.Open(root, PlainSubKey(subKey), KEY_READ | view);
    if (opened != ERROR_SUCCESS) {
      // A key that is there but may not be read keeps what it holds: said, not skipped.
      if (opened != ERROR_FILE_NOT_FOUND)
        e.PassedOver("key", RegistryTarget(root, PlainSubKey(subKey), view), ReasonOf(static_cast<DWORD>(opened)));
      return 0;
    }
    values = key.ValueNames();
    subKeys = key.SubKeyNames();
  }
  bool anyWent = false;
  for (const std::string& v : values) anyWent = e.DeleteValue(root, subKey, v, view) == ERROR_SUCCESS || anyWent;
  double emptied = anyWent ? 1 : 0;
  for (const std::string& s : subKeys) emptied += EmptyExistingKey(root, subKey + "\\" + s, view);
  return emptied;
}

LONG DeleteValue(HKEY root, const std::string& subKey, const std::string& valueName) {
  return ActiveEraser().DeleteValue(root, subKey, valueName);
}
