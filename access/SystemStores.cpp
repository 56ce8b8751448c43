#include "access/SystemStores.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>

namespace {

template <typename F>
F CallOf(const char* dll, const char* name) {
  HMODULE module = GetModuleHandleA(dll);
  if (!module) module = LoadLibraryA(dll);
  return module ? reinterpret_cast<F>(GetProcAddress(module, name)) : nullptr;
}

using DnsFlush = BOOL(WINAPI*)();

// ---- The Windows Runtime, reached through combase.dll ----------------------------------------

using HStringHandle = void*;
struct RuntimeCalls {
  HRESULT(WINAPI* initialize)(int) = CallOf<HRESULT(WINAPI*)(int)>("combase.dll", "RoInitialize");
  void(WINAPI* uninitialize)() = CallOf<void(WINAPI*)()>("combase.dll", "RoUninitialize");
  HRESULT(WINAPI* factory)(HStringHandle, REFIID, void**) =
      CallOf<HRESULT(WINAPI*)(HStringHandle, REFIID, void**)>("combase.dll", "RoGetActivationFactory");
  HRESULT(WINAPI* createString)(const wchar_t*, UINT32, HStringHandle*) =
      CallOf<HRESULT(WINAPI*)(const wchar_t*, UINT32, HStringHandle*)>("combase.dll", "WindowsCreateString");
  HRESULT(WINAPI* deleteString)(HStringHandle) = CallOf<HRESULT(WINAPI*)(HStringHandle)>("combase.dll", "WindowsDeleteString");
  bool ok() const { return initialize && uninitialize && factory && createString && deleteString; }
};
const RuntimeCalls& Runtime() {
  static const RuntimeCalls calls;
  return calls;
}

// The thread in the Windows Runtime for as long as it lives (a thread already in COM stays as it was).
class RuntimeScope {
 public:
  RuntimeScope() : hr_(Runtime().initialize(0 /* single-threaded */)) {}
  ~RuntimeScope() {
    if (SUCCEEDED(hr_)) Runtime().uninitialize();
  }
  RuntimeScope(const RuntimeScope&) = delete;
  RuntimeScope& operator=(const RuntimeScope&) = delete;

 private:
  HRESULT hr_;
};

class RuntimeText {
 public:
  explicit RuntimeText(const wchar_t* text) {
    if (FAILED(Runtime().createString(text, static_cast<UINT32>(wcslen(text)), &h_))) h_ = nullptr;
  }
  ~RuntimeText() {
    if (h_) Runtime().deleteString(h_);
  }
  RuntimeText(const RuntimeText&) = delete;
  RuntimeText& operator=(const RuntimeText&) = delete;
  HStringHandle get() const { return h_; }

 private:
  HStringHandle h_ = nullptr;
};

// Windows.ApplicationModel.DataTransfer.IClipboardStatics2, as far as it is used: after
// IInspectable's three, its methods in the order of the platform's metadata.
struct ClipboardStatics2 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HStringHandle*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTrustLevel(int*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetHistoryItemsAsync(void**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ClearHistory(unsigned char* done) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteItemFromHistory(void*, unsigned char*) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHistoryItemAsContent(void*, int*) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsHistoryEnabled(unsigned char* on) = 0;
};
const IID kClipboardStatics2 = {0xd2ac1b6a, 0xd29f, 0x554b, {0xb3, 0x03, 0xf0, 0x45, 0x23, 0x45, 0xfe, 0x02}};

// The class's statics, released when it goes.
class ClipboardClass {
 public:
  ClipboardClass() {
    RuntimeText name(L"Windows.ApplicationModel.DataTransfer.Clipboard");
    hr_ = name.get() ? Runtime().factory(name.get(), kClipboardStatics2, reinterpret_cast<void**>(&statics_)) : E_OUTOFMEMORY;
    if (FAILED(hr_)) statics_ = nullptr;
  }
  ~ClipboardClass() {
    if (statics_) statics_->Release();
  }
  ClipboardClass(const ClipboardClass&) = delete;
  ClipboardClass& operator=(const ClipboardClass&) = delete;
  ClipboardStatics2* get() const { return statics_; }
  HRESULT error() const { return hr_; }

 private:
  ClipboardStatics2* statics_ = nullptr;
  HRESULT hr_ = E_FAIL;
};

// The clipboard's history came with Windows 10 1809, build 17763 (asked of ntdll, which tells
// the truth whatever the program's manifest says).
bool HasClipboardHistory() {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto get = CallOf<GetVersion>("ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOW v = {};
  v.dwOSVersionInfoSize = sizeof v;
  if (!get || get(&v) != 0) return false;
  return v.dwMajorVersion > 10 || (v.dwMajorVersion == 10 && v.dwBuildNumber >= 17763);
}

std::string Hex(HRESULT hr) {
  char text[16];
  snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

}  // namespace

bool DnsFlushAvailable() { return CallOf<DnsFlush>("dnsapi.dll", "DnsFlushResolverCache") != nullptr; }

bool FlushDnsResolverCache() {
  const auto flush = CallOf<DnsFlush>("dnsapi.dll", "DnsFlushResolverCache");
  return flush && flush() != FALSE;
}

namespace {
// The resolver cache's records as DnsGetCacheDataTable lists them; each, and its name, freed
// with DnsFree.
struct DnsCacheEntry {
  DnsCacheEntry* next;
  wchar_t* name;
  unsigned short type;
  unsigned short dataLength;
  unsigned long flags;
};
using DnsCacheTable = BOOL(WINAPI*)(DnsCacheEntry**);
using DnsFreeCall = void(WINAPI*)(void*, int);
const int kDnsFreeFlat = 0;
}  // namespace

std::string DnsCacheSeen() {
  const auto table = CallOf<DnsCacheTable>("dnsapi.dll", "DnsGetCacheDataTable");
  const auto release = CallOf<DnsFreeCall>("dnsapi.dll", "DnsFree");
  DnsCacheEntry* first = nullptr;
  if (!table || !release || !table(&first)) return "";
  // FNV-1a over the names and types, in the cache's order.
  unsigned long long hash = 1469598103934665603ULL, count = 0;
  for (DnsCacheEntry* e = first; e;) {
    for (const wchar_t* c = e->name; c && *c; ++c) hash = (hash ^ static_cast<unsigned>(*c)) * 1099511628211ULL;
    hash = (hash ^ e->type) * 1099511628211ULL;
    ++count;
    DnsCacheEntry* next = e->next;
    if (e->name) release(e->name, kDnsFreeFlat);
    release(e, kDnsFreeFlat);
    e = next;
  }
  char buf[64];
  snprintf(buf, sizeof buf, "%llu names, %016llx", count, hash);
  return buf;
}

ClipboardHistory ClipboardHistoryState(std::string* reason) {
  if (!HasClipboardHistory()) return ClipboardHistory::None;
  if (!Runtime().ok()) {
    if (reason) *reason = "no Windows Runtime";
    return ClipboardHistory::Unreachable;
  }
  RuntimeScope scope;
  ClipboardClass clipboard;
  unsigned char on = 0;
  const HRESULT hr = clipboard.get() ? clipboard.get()->IsHistoryEnabled(&on) : clipboard.error();
  // A Windows that names no such class keeps no such history (Wine is one).
  if (hr == REGDB_E_CLASSNOTREG) return ClipboardHistory::None;
  if (FAILED(hr)) {
    if (reason) *reason = "the platform answered " + Hex(hr);
    return ClipboardHistory::Unreachable;
  }
  return on ? ClipboardHistory::On : ClipboardHistory::Off;
}

bool ClearClipboardHistory() {
  if (!HasClipboardHistory() || !Runtime().ok()) return false;
  RuntimeScope scope;
  ClipboardClass clipboard;
  unsigned char done = 0;
  return clipboard.get() && SUCCEEDED(clipboard.get()->ClearHistory(&done)) && done;
}
