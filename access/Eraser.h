// The one place where something is erased. Routines decide what goes; an Eraser makes it go.
// The real one erases; a recording one lists what would go, so a preview runs the same steps.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "access/Listing.h"
#include "access/RegText.h"  // PlainSubKey

// Why an entry stayed, in a few words, from the platform's error: "in use", "access denied"...
std::string ReasonOf(DWORD error);

class Eraser {
 public:
  virtual ~Eraser() = default;
  // Registry. Sub-key paths are below a predefined root, without a leading backslash. A view
  // (KEY_WOW64_64KEY, KEY_WOW64_32KEY) names one of the two registries of 64-bit Windows.
  // Deleting answers ERROR_SUCCESS when the key or value is gone (or was never there), else
  // the platform's reason it stays.
  virtual void CreateKey(HKEY root, const std::string& subKey) = 0;       // parents too
  virtual LONG DeleteKeyTree(HKEY root, const std::string& subKey, REGSAM view = 0) = 0;  // with its sub-keys
  virtual LONG DeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0) = 0;
  virtual LONG SetStringValue(HKEY root, const std::string& subKey, const std::string& name,
                              const std::string& value) = 0;              // existing key only
  // Files. A read-only file stays unless force is set. Returns true when the file went.
  // EraseFile looks the file up first; a walk that has just listed it hands over what the
  // listing knows instead, so that a file costs one call to delete.
  bool EraseFile(const std::string& path, bool force);
  virtual bool EraseListedFile(const std::string& path, const FileFacts& facts, bool force) = 0;
  // An empty folder; a folder that is not empty stays. The folder guard judges it first.
  virtual bool RemoveFolder(const std::string& path) = 0;
  // A folder that a walk reached below one the guard allowed, entering no link on the way:
  // nothing there can be a protected folder, so it is not judged again.
  virtual bool RemoveWalkedFolder(const std::string& path) = 0;
  // A place a routine was asked to erase in and the folder guard refused: nothing happens
  // to it; an eraser that reports may say so.
  virtual void Refused(const std::string& path) {}
  // Something a routine could not reach or erase, and why ("folder", a folder a walk could
  // not enter): it stays; an eraser that reports says so.
  virtual void PassedOver(const std::string& kind, const std::string& path, const std::string& why) {}
  // A file that went without being overwritten first although secure erasing is on (a journal
  // SQLite deleted), and why; an eraser that reports says so.
  virtual void NotOverwritten(const std::string& path, const std::string& why) {}
};

// Erases for real, every file by its exact wide path. While secure erasing is on, a file's
// contents are overwritten once with zeros, flushed, and the file renamed to a random name in
// its folder before it is deleted. Only a file that is its own and only name is overwritten: a
// hard link or a link to elsewhere shares its contents with another name, which must keep
// them, so it is deleted without overwriting (lastNotOverwritten says so); a file that cannot
// be opened for writing is deleted as before.
class RealEraser : public Eraser {
 public:
  void CreateKey(HKEY root, const std::string& subKey) override;
  LONG DeleteKeyTree(HKEY root, const std::string& subKey, REGSAM view = 0) override;
  LONG DeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0) override;
  LONG SetStringValue(HKEY root, const std::string& subKey, const std::string& name,
                      const std::string& value) override;
  bool EraseListedFile(const std::string& path, const FileFacts& facts, bool force) override;
  bool RemoveFolder(const std::string& path) override;
  bool RemoveWalkedFolder(const std::string& path) override;
  // Of the last file erased: why it stayed, when it did; whether secure erasing left its
  // contents as they were because another name shares them.
  DWORD lastError() const { return lastError_; }
  bool lastNotOverwritten() const { return lastNotOverwritten_; }

 private:
  bool Delete(const std::string& path);
  DWORD lastError_ = ERROR_SUCCESS;
  bool lastNotOverwritten_ = false;
};

// Lists what would be erased and touches nothing. A key that holds no value anywhere is no
// track and is not listed.
class RecordingEraser : public Eraser {
 public:
  struct Entry {
    std::string kind;    // "key", "value", "blank", "file", "folder", "rows", "clear", "kept"...
    std::string target;  // full key path, key path and value name, or file path
    unsigned long long size = 0;  // bytes, for files
    unsigned long long count = 0; // rows, for "rows" entries of a database
    unsigned long long lastWrite = 0;  // files: as listed, to tell whether one changed since
    bool ticked = true;                // a preview the user edits unticks what is to stay
    // What the entry held when it was listed, to tell whether it changed since: a key's or a
    // value's fingerprint, the highest row id of a table, what the Recycle Bin held. Of a
    // "kept" entry (what a keep list keeps, shown so that the user sees why it stays): that list.
    std::string seen;
  };
  std::vector<Entry> entries;

  void CreateKey(HKEY, const std::string&) override {}
  LONG DeleteKeyTree(HKEY root, const std::string& subKey, REGSAM view = 0) override;
  LONG DeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0) override;
  LONG SetStringValue(HKEY root, const std::string& subKey, const std::string& name,
                      const std::string& value) override;
  bool EraseListedFile(const std::string& path, const FileFacts& facts, bool force) override;
  bool RemoveFolder(const std::string& path) override;
  bool RemoveWalkedFolder(const std::string& path) override { return RemoveFolder(path); }
};

// Secure erasing for as long as it lives (the "Enable Securely Cleaning" option of a run).
class ScopedSecureErasing {
 public:
  explicit ScopedSecureErasing(bool on);
  ~ScopedSecureErasing();
  ScopedSecureErasing(const ScopedSecureErasing&) = delete;
  ScopedSecureErasing& operator=(const ScopedSecureErasing&) = delete;

 private:
  bool previous_;
};

// Zeros over the whole file, flushed to the disk. Only a file that is its own and only name:
// one with other hard links, or a link to elsewhere, is left as it is (false, linked set), as
// is one that cannot be opened for writing (false); GetLastError then tells why.
bool OverwriteWithZeros(const std::wstring& path, bool& linked);

// For tests: called with a file's exact wide path once secure erasing has overwritten it,
// just before it is deleted, so that a test can see what is left of it; empty removes it.
void SetOverwrittenHook(std::function<void(const std::wstring&)> hook);

// Whether a run erases securely now (databases keep erased rows out of their journals too).
bool SecureErasingOn();

// The eraser in force: the real one unless a preview has put a recording one in its place.
Eraser& ActiveEraser();
class ScopedEraser {
 public:
  explicit ScopedEraser(Eraser& eraser);
  ~ScopedEraser();
  ScopedEraser(const ScopedEraser&) = delete;
  ScopedEraser& operator=(const ScopedEraser&) = delete;

 private:
  Eraser* previous_;
};

// How the preview and the reports name a registry key: "HKEY_CURRENT_USER\Software\...", and
// " (32-bit)" after a key of the 32-bit view of 64-bit Windows.
std::string RegistryTarget(HKEY root, const std::string& subKey, REGSAM view = 0);

// True on 64-bit Windows, where HKEY_LOCAL_MACHINE\Software has a 64-bit and a 32-bit view.
bool HasTwoRegistryViews();
