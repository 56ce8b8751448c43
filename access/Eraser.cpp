#include "access/Eraser.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "access/FileHandle.h"
#include "access/WidePath.h"

#include "access/FolderGuard.h"
#include "access/RegContent.h"
#include "access/RegKey.h"
#include "access/RegText.h"

namespace {
bool g_secure = false;

std::function<void(const std::wstring&)>& OverwrittenHook() {
  static std::function<void(const std::wstring&)> hook;
  return hook;
}
}  // namespace

namespace {
// ERROR_SUCCESS once the file is zeros on the disk, else why not.
DWORD ZeroHeldFile(const std::wstring& path, bool& linked) {
  FileHandle file(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
  if (!file.ok()) return file.openError();
  const HANDLE h = file.get();
  DWORD attributes = 0, links = 0;
  if (!HandleFacts(h, &attributes, &links)) return GetLastError();
  // The handle is the one that would be written: its own link count. Where the platform
  // follows a link even so (Wine), the name tells; the file is held open without sharing,
  // so it cannot be swapped meanwhile.
  const DWORD now = GetFileAttributesW(path.c_str());
  if (links != 1 || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
      now == INVALID_FILE_ATTRIBUTES || (now & FILE_ATTRIBUTE_REPARSE_POINT)) {
    linked = true;
    return ERROR_CANT_ACCESS_FILE;
  }
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(h, &size)) return GetLastError();
  static const char zeros[65536] = {};
  for (LONGLONG left = size.QuadPart; left > 0;) {
    const DWORD chunk = static_cast<DWORD>(left < static_cast<LONGLONG>(sizeof zeros) ? left : sizeof zeros);
    DWORD written = 0;
    if (!WriteFile(h, zeros, chunk, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    left -= written;
  }
  return FlushFileBuffers(h) ? ERROR_SUCCESS : GetLastError();
}
}  // namespace

bool OverwriteWithZeros(const std::wstring& path, bool& linked) {
  linked = false;
  const DWORD error = ZeroHeldFile(path, linked);
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return false;
  }
  if (OverwrittenHook()) OverwrittenHook()(path);
  return true;
}

namespace {

// Overwritten, renamed so that its name does not stay in the folder's records either, deleted.
bool SecureDelete(const std::wstring& path, bool& linked) {
  if (!OverwriteWithZeros(path, linked)) return ::DeleteFileW(path.c_str()) != FALSE;
  const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
  wchar_t name[16];
  swprintf(name, 16, L"%08lX.tmp", static_cast<unsigned long>(GetTickCount() ^ (rand() << 16) ^ rand()));
  const std::wstring renamed = folder + name;
  if (!MoveFileW(path.c_str(), renamed.c_str())) return ::DeleteFileW(path.c_str()) != FALSE;
  return ::DeleteFileW(renamed.c_str()) != FALSE;
}

Eraser*& Active() {
  static RealEraser real;
  static Eraser* active = &real;
  return active;
}

std::string KeyText(HKEY root, const std::string& subKey, REGSAM view = 0) { return RegistryTarget(root, subKey, view); }
}  // namespace

void RealEraser::CreateKey(HKEY root, const std::string& subKey) {
  RegKey key;
  key.Create(root, PlainSubKey(subKey));
}

namespace {
// Gone is gone: a key or value that is not there counts as deleted.
LONG Gone(LONG result) { return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result; }
}  // namespace

LONG RealEraser::DeleteKeyTree(HKEY root, const std::string& subKey, REGSAM view) {
  std::string plain = PlainSubKey(subKey);
  if (plain.empty()) return ERROR_ACCESS_DENIED;  // never a whole root
  if (view == 0) return Gone(SHDeleteKeyA(root, plain.c_str()));
  // One view: its content, then the key itself, each asked of that view (Vista and later).
  using DeleteTree = LONG(WINAPI*)(HKEY, LPCSTR);
  using DeleteKeyEx = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
  HMODULE advapi = GetModuleHandleA("advapi32.dll");
  const auto deleteTree = reinterpret_cast<DeleteTree>(GetProcAddress(advapi, "RegDeleteTreeA"));
  const auto deleteKeyEx = reinterpret_cast<DeleteKeyEx>(GetProcAddress(advapi, "RegDeleteKeyExA"));
  if (!deleteTree || !deleteKeyEx) return Gone(SHDeleteKeyA(root, plain.c_str()));
  {
    RegKey key;
    const LONG opened = key.Open(root, plain, KEY_ALL_ACCESS | view);
    if (opened != ERROR_SUCCESS) return Gone(opened);
    const LONG emptied = deleteTree(key.get(), nullptr);
    if (emptied != ERROR_SUCCESS) return emptied;
  }
  return Gone(deleteKeyEx(root, plain.c_str(), view, 0));
}

LONG RealEraser::DeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
  RegKey key;
  const LONG opened = key.Open(root, PlainSubKey(subKey), KEY_SET_VALUE | view);
  if (opened != ERROR_SUCCESS) return Gone(opened);
  return Gone(RegDeleteValueA(key.get(), name.c_str()));
}

LONG RealEraser::SetStringValue(HKEY root, const std::string& subKey, const std::string& name,
                                const std::string& value) {
  RegKey key;
  const LONG opened = key.Open(root, PlainSubKey(subKey), KEY_SET_VALUE);
  if (opened != ERROR_SUCCESS) return opened;
  return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1));
}

std::string ReasonOf(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return "in use";
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
      return "access denied";
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
      return "path too long";
    case ERROR_CANT_ACCESS_FILE:
      return "a link, not followed";
    case ERROR_DIR_NOT_EMPTY:
      return "not empty";
    default:
      return "could not be erased (error " + std::to_string(error) + ")";
  }
}

bool Eraser::EraseFile(const std::string& path, bool force) {
  FileFacts facts;
  return FactsOfPath(path, facts) && EraseListedFile(path, facts, force);
}

bool RealEraser::Delete(const std::string& path) {
  const std::wstring wide = WidePath(path);
  const bool gone = g_secure ? SecureDelete(wide, lastNotOverwritten_) : ::DeleteFileW(wide.c_str()) != FALSE;
  if (!gone) lastError_ = GetLastError();
  return gone;
}

bool RealEraser::EraseListedFile(const std::string& path, const FileFacts& facts, bool force) {
  lastError_ = ERROR_SUCCESS;
  lastNotOverwritten_ = false;
  const DWORD attrs = facts.attributes;
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return false;
  if (!(attrs & FILE_ATTRIBUTE_READONLY)) return Delete(path);
  if (!force) return false;  // a read-only file stays unless the step forces it
  const std::wstring wide = WidePath(path);
  SetFileAttributesW(wide.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
  if (Delete(path)) return true;
  SetFileAttributesW(wide.c_str(), attrs);  // it stays, so it stays as it was
  return false;
}

bool RealEraser::RemoveFolder(const std::string& path) {
  // The routines only remove folders below one the guard allowed; this holds even if one errs.
  if (!FolderMayBeErased(path)) return false;
  return RemoveWalkedFolder(path);
}

bool RealEraser::RemoveWalkedFolder(const std::string& path) { return RemoveDirectoryW(WidePath(path).c_str()) != FALSE; }

LONG RecordingEraser::DeleteKeyTree(HKEY root, const std::string& subKey, REGSAM view) {
  std::string plain = PlainSubKey(subKey);
  if (plain.empty()) return ERROR_SUCCESS;
  bool holdsValues = false;
  const std::string seen = KeyFingerprint(root, plain, view, &holdsValues);
  if (!holdsValues) return ERROR_SUCCESS;
  Entry e{"key", KeyText(root, plain, view), 0};
  e.seen = seen;
  entries.push_back(e);
  return ERROR_SUCCESS;
}

LONG RecordingEraser::DeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
  std::string plain = PlainSubKey(subKey);
  const std::string seen = ValueFingerprint(root, plain, name, view);
  if (seen.empty()) return ERROR_SUCCESS;
  Entry e{"value", KeyText(root, plain, view) + "\\" + name, 0};
  e.seen = seen;
  entries.push_back(e);
  return ERROR_SUCCESS;
}

LONG RecordingEraser::SetStringValue(HKEY root, const std::string& subKey, const std::string& name,
                                     const std::string& value) {
  std::string plain = PlainSubKey(subKey);
  // Only blanking erases; writing a value back (a kept address) is no track of its own, nor is
  // blanking a value that holds nothing already.
  if (value.empty() && ValueHoldsData(root, plain, name)) {
    Entry e{"blank", KeyText(root, plain) + "\\" + name, 0};
    e.seen = ValueFingerprint(root, plain, name);
    entries.push_back(e);
  }
  return ERROR_SUCCESS;
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
  if (AttributesOf(path) == INVALID_FILE_ATTRIBUTES) return false;
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

bool SecureErasingOn() { return g_secure; }

void SetOverwrittenHook(std::function<void(const std::wstring&)> hook) { OverwrittenHook() = std::move(hook); }

ScopedSecureErasing::ScopedSecureErasing(bool on) : previous_(g_secure) { g_secure = on; }
ScopedSecureErasing::~ScopedSecureErasing() { g_secure = previous_; }

ScopedEraser::ScopedEraser(Eraser& eraser) : previous_(Active()) { Active() = &eraser; }
ScopedEraser::~ScopedEraser() { Active() = previous_; }
