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

void RemoveExistingKey(HKEY root, const std::string& subKey) {
  RegKey key;
  if (key.Open(root, PlainSubKey(subKey), KEY_READ) != ERROR_SUCCESS) return;
  key.Close();
  ActiveEraser().DeleteKeyTree(root, subKey);
}

void DeleteValue(HKEY root, const std::string& subKey, const std::string& valueName) {
  ActiveEraser().DeleteValue(root, subKey, valueName);
}
