#include "access/RecycleBin.h"

#include <windows.h>
#include <shellapi.h>

#include "access/Eraser.h"
#include "access/Pattern.h"
#include "access/RegKey.h"
#include "access/WidePath.h"

namespace {

const char kVolumeBins[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\";
const char kMachineBins[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket";

DWORD DwordOr(HKEY root, const std::string& subKey, const char* name, DWORD fallback) {
  RegKey key;
  if (key.Open(root, subKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return fallback;
  DWORD value = 0, size = sizeof value, type = 0;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return fallback;
  return value;
}

struct BinSettings {
  bool removesAtOnce = false;
  unsigned long long capacity = 0;  // bytes
};

// Windows Vista and later keep the bin's settings per volume and per user; Windows XP per
// machine, for all drives or one key per drive letter. An unset size is a tenth of the drive.
BinSettings SettingsFor(const std::string& root) {
  BinSettings s;
  ULARGE_INTEGER total = {};
  GetDiskFreeSpaceExA(root.c_str(), nullptr, &total, nullptr);
  s.capacity = total.QuadPart / 10;
  char volume[MAX_PATH] = {0};
  if (GetVolumeNameForVolumeMountPointA(root.c_str(), volume, sizeof volume)) {
    const std::string name = volume, guid = name.substr(name.find('{') == std::string::npos ? name.size() : name.find('{'));
    const std::string key = kVolumeBins + guid.substr(0, guid.find('}') + 1);
    if (!guid.empty() && KeyPresent(HKEY_CURRENT_USER, key)) {
      s.removesAtOnce = DwordOr(HKEY_CURRENT_USER, key, "NukeOnDelete", 0) != 0;
      const DWORD megabytes = DwordOr(HKEY_CURRENT_USER, key, "MaxCapacity", MAXDWORD);
      if (megabytes != MAXDWORD) s.capacity = static_cast<unsigned long long>(megabytes) << 20;
      return s;
    }
  }
  std::string key = kMachineBins;
  if (DwordOr(HKEY_LOCAL_MACHINE, key, "UseGlobalSettings", 1) == 0) key += "\\" + root.substr(0, 1);
  s.removesAtOnce = DwordOr(HKEY_LOCAL_MACHINE, key, "NukeOnDelete", 0) != 0;
  const DWORD percent = DwordOr(HKEY_LOCAL_MACHINE, key, "Percent", MAXDWORD);
  if (percent <= 100) s.capacity = total.QuadPart / 100 * percent;
  return s;
}

}  // namespace

bool RecycleBinTakes(const std::string& path, unsigned long long size) {
  // Only drives with a letter have bins; network shares and removable drives have none.
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return false;
  const std::string root = path.substr(0, 3);
  if (GetDriveTypeA(root.c_str()) != DRIVE_FIXED) return false;
  SHQUERYRBINFO info = {};
  info.cbSize = sizeof info;
  if (FAILED(SHQueryRecycleBinA(root.c_str(), &info))) return false;
  const BinSettings s = SettingsFor(root);
  return !s.removesAtOnce && size <= s.capacity;
}

RecycleOutcome RecycleOneFile(const std::string& path) {
  // The shell reads "*" and "?" as wildcards: never hand it a name that could mean others.
  if (HasWildcards(path)) return RecycleOutcome::Failed;
  FileFacts facts;
  if (!FactsOfPath(path, facts) || (facts.attributes & FILE_ATTRIBUTE_DIRECTORY)) return RecycleOutcome::Gone;
  // Where the bin would not keep it, the shell deletes for good without asking: leave it.
  if (!RecycleBinTakes(path, facts.size)) return RecycleOutcome::NotTaken;
  // By its exact wide name: the shell is handed the file itself, never a look-alike.
  std::wstring from = WideText(path);
  from.append(2, L'\0');  // a list of one name
  SHFILEOPSTRUCTW op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
  if (SHFileOperationW(&op) != 0 || op.fAnyOperationsAborted) return RecycleOutcome::Failed;
  return AttributesOf(path) == INVALID_FILE_ATTRIBUTES ? RecycleOutcome::Recycled : RecycleOutcome::Failed;
}
