// A compound file of another program (the taskbar's jump lists), read and written through the
// platform's structured-storage API, one stream at a time. The storage is always released.
#pragma once
#include <string>
#include <vector>

struct IStorage;

class CompoundFile {
 public:
  enum class Opened { Ok, Missing, Busy, Unreadable, NoPlatform };
  CompoundFile() = default;
  ~CompoundFile();
  CompoundFile(const CompoundFile&) = delete;
  CompoundFile& operator=(const CompoundFile&) = delete;

  // An existing file, for reading, shared with no one: a file another program has open as a
  // storage is Busy, and nothing can change it while it stays open here. Unreadable: no compound
  // file, or one that cannot be read (Error() says why).
  // NoPlatform: a Windows without StgOpenStorageEx (before Windows 2000).
  Opened Open(const std::string& path);
  // A new file for writing; false when anything is in its place or it cannot be made.
  bool Create(const std::string& path);
  bool ok() const { return storage_ != nullptr; }
  // The names of its top-level streams; holdsMore is set when it holds anything else (a storage).
  bool StreamNames(std::vector<std::wstring>& names, bool& holdsMore) const;
  // A whole stream; false when it is not there or cannot be read.
  bool Read(const std::wstring& stream, std::string& bytes) const;
  // A new stream with these bytes.
  bool Write(const std::wstring& stream, const std::string& bytes);
  // What was written, made to last; the file is closed either way.
  bool Commit();
  void Close();
  // The platform's last error, as a few words.
  std::string Error() const;

 private:
  IStorage* storage_ = nullptr;
  long error_ = 0;
};
