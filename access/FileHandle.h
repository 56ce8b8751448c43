// An open file that is always closed.
#pragma once
#include <windows.h>

#include <string>

#include "access/WidePath.h"

class FileHandle {
 public:
  // path as the program's paths are written (see WidePath.h): the file of that exact name.
  FileHandle(const std::string& path, DWORD access, DWORD share, DWORD disposition,
             DWORD flags = FILE_ATTRIBUTE_NORMAL)
      : FileHandle(WidePath(path), access, share, disposition, flags) {}
  FileHandle(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
             DWORD flags = FILE_ATTRIBUTE_NORMAL)
      : h_(CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr)),
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
