// An open file that is always closed.
#pragma once
#include <windows.h>

#include <string>

class FileHandle {
 public:
  FileHandle(const std::string& path, DWORD access, DWORD share, DWORD disposition)
      : h_(CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr)),
        error_(h_ == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS) {}
  ~FileHandle() {
    if (ok()) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  DWORD openError() const { return error_; }  // why it did not open

 private:
  HANDLE h_;
  DWORD error_;
};
