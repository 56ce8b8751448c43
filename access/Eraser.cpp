#include "access/Eraser.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>

#include "access/FileHandle.h"

#include "access/FolderGuard.h"
#include "access/RegKey.h"
#include "access/regfun.h"

namespace {
bool g_secure = false;

// Zeros over the whole file, flushed to the disk; false when it cannot be opened for writing.
bool OverwriteWithZeros(const std::string& path) {
  FileHandle file(path, GENERIC_WRITE, 0, OPEN_EXISTING);
  if (!file.ok()) return false;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size)) return false;
  static const char zeros[65536] = {};
  for (LONGLONG left = size.QuadPart; left > 0;) {
    const DWORD chunk = static_cast<DWORD>(left < static_cast<LONGLONG>(sizeof zeros) ? left : sizeof zeros);
    DWORD written = 0;
    if (!WriteFile(file.get(), zeros, chunk, &written, nullptr) || written == 0) return false;
    left -= written;
  }
  return FlushFileBuffers(file.get()) != FALSE;
}

// Overwritten, renamed so that its name does not stay in the folder's records either, deleted.
bool SecureDelete(const std::string& path) {
  if (!OverwriteWithZeros(path)) return ::DeleteFileA(path.c_str()) != FALSE;
  const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  char name[16];
  snprintf(name, sizeof name, "%08lX.tmp", static_cast<unsigned long>(GetTickCount() ^ (rand() << 16) ^ rand()));
  const std::string renamed = folder + name;
  if (!MoveFileA(path.c_str(), renamed.c_str())) return ::DeleteFileA(path.c_str()) != FALSE;
  return ::DeleteFileA(renamed.c_str()) != FALSE;
}

Eraser*& Active() {
  static RealEraser real;
  static Eraser* active = &real;
  return active;
}

std::string KeyText(HKEY root, const std::string& subKey, REGSAM view = 0) { return RegistryTarget(root, subKey, view); }
}  // namespace

std::string PlainSubKey(const std::string& subKey) {
  size_t i = subKey.find_first_not_of('\\');
  return i == std::string::npos ? std::string() : subKey.substr(i);
}

void RealEraser::CreateKey(HKEY root, const std::string& subKey) {
  RegKey key;
  key.Create(root, PlainSubKey(subKey));
}

void RealEraser::DeleteKeyTree(HKEY root, const std::string& subKey, REGSAM view) {
  std::string plain = PlainSubKey(subKey);
  if (plain.empty()) return;  // never a whole root
  if (view == 0) {
    SHDeleteKeyA(root, plain.c_str());
    return;
  }
  // One view: its content, then the key itself, each asked of that view (Vista and later).
  using DeleteTree = LONG(WINAPI*)(HKEY, LPCSTR);
  using DeleteKeyEx = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
  HMODULE advapi = GetModuleHandleA("advapi32.dll");
  const auto deleteTree = reinterpret_cast<DeleteTree>(GetProcAddress(advapi, "RegDeleteTreeA"));
  const auto deleteKeyEx = reinterpret_cast<DeleteKeyEx>(GetProcAddress(advapi, "RegDeleteKeyExA"));
  if (!deleteTree || !deleteKeyEx) {
    SHDeleteKeyA(root, plain.c_str());
    return;
  }
  {
    RegKey key;
    if (key.Open(root, plain, KEY_ALL_ACCESS | view) != ERROR_SUCCESS) return;
    deleteTree(key.get(), nullptr);
  }
  deleteKeyEx(root, plain.c_str(), view, 0);
}

void RealEraser::DeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
  RegKey key;
  if (key.Open(root, PlainSubKey(subKey), KEY_SET_VALUE | view) == ERROR_SUCCESS)
    RegDeleteValueA(key.get(), name.c_str());
}

void RealEraser::SetStringValue(HKEY root, const std::string& subKey, const std::string& name,
                                const std::string& value) {
  RegKey key;
  if (key.Open(root, PlainSubKey(subKey), KEY_WRITE) == ERROR_SUCCESS)
    key.SetString(name, value);
}

namespace {
unsigned long long TimeOf(const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
}  // namespace

FileFacts FactsOf(const WIN32_FIND_DATAA& fd) {
  return {fd.dwFileAttributes, (static_cast<unsigned long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow,
          TimeOf(fd.ftLastWriteTime)};
}

bool FactsOfPath(const std::string& path, FileFacts& facts) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  facts = {data.dwFileAttributes, (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
           TimeOf(data.ftLastWriteTime)};
  return true;
}

bool Eraser::EraseFile(const std::string& path, bool force) {
  FileFacts facts;
  return FactsOfPath(path, facts) && EraseListedFile(path, facts, force);
}

bool RealEraser::EraseListedFile(const std::string& path, const FileFacts& facts, bool force) {
  const DWORD attrs = facts.attributes;
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return false;
  auto erase = [&] { return g_secure ? SecureDelete(path) : ::DeleteFileA(path.c_str()) != FALSE; };
  if (!(attrs & FILE_ATTRIBUTE_READONLY)) return erase();
  if (!force) return false;  // a read-only file stays unless the step forces it
  SetFileAttributesA(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
  if (erase()) return true;
  SetFileAttributesA(path.c_str(), attrs);  // it stays, so it stays as it was
  return false;
}

bool RealEraser::RemoveFolder(const std::string& path) {
  // The routines only remove folders below one the guard allowed; this holds even if one errs.
  if (!FolderMayBeErased(path)) return false;
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

bool RealEraser::RemoveWalkedFolder(const std::string& path) { return RemoveDirectoryA(path.c_str()) != FALSE; }

void RecordingEraser::DeleteKeyTree(HKEY root, const std::string& subKey, REGSAM view) {
  std::string plain = PlainSubKey(subKey);
  if (!plain.empty() && KeyPresent(root, plain, view)) entries.push_back({"key", KeyText(root, plain, view), 0});
}

void RecordingEraser::DeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
  std::string plain = PlainSubKey(subKey);
  if (ValuePresent(root, plain, name, view)) entries.push_back({"value", KeyText(root, plain, view) + "\\" + name, 0});
}

void RecordingEraser::SetStringValue(HKEY root, const std::string& subKey, const std::string& name,
                                     const std::string& value) {
  std::string plain = PlainSubKey(subKey);
  // Only blanking erases; writing a value back (a kept address) is no track of its own.
  if (value.empty() && KeyPresent(root, plain))
    entries.push_back({"blank", KeyText(root, plain) + "\\" + name, 0});
}

bool RecordingEraser::EraseListedFile(const std::string& path, const FileFacts& facts, bool force) {
  if (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  if ((facts.attributes & FILE_ATTRIBUTE_READONLY) && !force) return false;
  Entry e{"file", path, facts.size};
  e.lastWrite = facts.lastWrite;
  entries.push_back(e);
  return true;
}

bool RecordingEraser::RemoveFolder(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  entries.push_back({"folder", path, 0});
  return true;
}

Eraser& ActiveEraser() { return *Active(); }

std::string RegistryTarget(HKEY root, const std::string& subKey, REGSAM view) {
  std::string s = RootName(root);
  if (!subKey.empty()) s += "\\" + subKey;
  return view == KEY_WOW64_32KEY && HasTwoRegistryViews() ? s + " (32-bit)" : s;
}

bool HasTwoRegistryViews() {
  if (sizeof(void*) == 8) return true;
  using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
  static const auto isWow64 = reinterpret_cast<IsWow64>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process"));
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

ScopedSecureErasing::ScopedSecureErasing(bool on) : previous_(g_secure) { g_secure = on; }
ScopedSecureErasing::~ScopedSecureErasing() { g_secure = previous_; }

ScopedEraser::ScopedEraser(Eraser& eraser) : previous_(Active()) { Active() = &eraser; }
ScopedEraser::~ScopedEraser() { Active() = previous_; }
