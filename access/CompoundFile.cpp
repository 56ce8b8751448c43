#include "access/CompoundFile.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>

#include "access/Eraser.h"
#include "access/WidePath.h"

namespace {

// The calls of Windows 2000 and later, asked for at run time: the program starts on older ones.
using OpenEx = HRESULT(WINAPI*)(const WCHAR*, DWORD, DWORD, DWORD, STGOPTIONS*, PSECURITY_DESCRIPTOR, REFIID, void**);
template <typename F>
F Ole32Call(const char* name) {
  HMODULE ole32 = GetModuleHandleA("ole32.dll");
  if (!ole32) ole32 = LoadLibraryA("ole32.dll");
  return ole32 ? reinterpret_cast<F>(GetProcAddress(ole32, name)) : nullptr;
}

// A COM object of the storage, released when it goes.
template <typename T>
class Held {
 public:
  ~Held() {
    if (p) p->Release();
  }
  T* p = nullptr;
};

const DWORD kExclusiveRead = STGM_READ | STGM_SHARE_EXCLUSIVE | STGM_DIRECT;
const DWORD kNewFile = STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_TRANSACTED | STGM_FAILIFTHERE;

}  // namespace

CompoundFile::~CompoundFile() { Close(); }

void CompoundFile::Close() {
  if (storage_) storage_->Release();
  storage_ = nullptr;
}

CompoundFile::Opened CompoundFile::Open(const std::string& path) {
  Close();
  const auto open = Ole32Call<OpenEx>("StgOpenStorageEx");
  if (!open) return Opened::NoPlatform;
  const std::wstring wide = WidePath(path);
  error_ = open(wide.c_str(), kExclusiveRead, STGFMT_STORAGE, 0, nullptr, nullptr, IID_IStorage,
                reinterpret_cast<void**>(&storage_));
  if (SUCCEEDED(error_)) return Opened::Ok;
  storage_ = nullptr;
  switch (error_) {
    case STG_E_FILENOTFOUND:
    case STG_E_PATHNOTFOUND:
      return Opened::Missing;
    case STG_E_SHAREVIOLATION:
    case STG_E_LOCKVIOLATION:
      return Opened::Busy;
    default:
      return Opened::Unreadable;
  }
}

bool CompoundFile::Create(const std::string& path) {
  Close();
  const auto create = Ole32Call<OpenEx>("StgCreateStorageEx");
  if (!create) return false;
  error_ = create(WidePath(path).c_str(), kNewFile, STGFMT_DOCFILE, 0, nullptr, nullptr, IID_IStorage,
                  reinterpret_cast<void**>(&storage_));
  if (FAILED(error_)) storage_ = nullptr;
  return storage_ != nullptr;
}

bool CompoundFile::StreamNames(std::vector<std::wstring>& names, bool& holdsMore) const {
  names.clear();
  holdsMore = false;
  if (!storage_) return false;
  Held<IEnumSTATSTG> list;
  if (FAILED(storage_->EnumElements(0, nullptr, 0, &list.p))) return false;
  STATSTG stat;
  ULONG got = 0;
  while (list.p->Next(1, &stat, &got) == S_OK && got == 1) {
    if (stat.type == STGTY_STREAM && stat.pwcsName) names.emplace_back(stat.pwcsName);
    else holdsMore = true;
    CoTaskMemFree(stat.pwcsName);
  }
  return true;
}

bool CompoundFile::Read(const std::wstring& stream, std::string& bytes) const {
  bytes.clear();
  if (!storage_) return false;
  Held<IStream> s;
  const long opened = storage_->OpenStream(stream.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &s.p);
  if (FAILED(opened)) return false;
  STATSTG stat;
  if (FAILED(s.p->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > (64u << 20)) return false;
  bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
  ULONG read = 0;
  if (!bytes.empty() && (FAILED(s.p->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read)) || read != bytes.size()))
    return false;
  return true;
}

bool CompoundFile::Write(const std::wstring& stream, const std::string& bytes) {
  if (!storage_) return false;
  Held<IStream> s;
  error_ = storage_->CreateStream(stream.c_str(), STGM_WRITE | STGM_SHARE_EXCLUSIVE | STGM_FAILIFTHERE, 0, 0, &s.p);
  if (FAILED(error_)) return false;
  ULONG written = 0;
  if (!bytes.empty()) error_ = s.p->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  return SUCCEEDED(error_) && written == bytes.size();
}

bool CompoundFile::Commit() {
  if (!storage_) return false;
  error_ = storage_->Commit(STGC_DEFAULT);
  Close();
  return SUCCEEDED(error_);
}

std::string CompoundFile::Error() const {
  // The storage's errors carry the platform's own code in their low word.
  if (HRESULT_FACILITY(error_) == FACILITY_STORAGE || HRESULT_FACILITY(error_) == FACILITY_WIN32)
    return ReasonOf(HRESULT_CODE(error_));
  return "error " + std::to_string(static_cast<unsigned long>(error_));
}
