// CURLHistory and URLHistoryItem: Internet Explorer's URL history store through its COM interfaces.
#include "access/URLHistory.h"

#include <oleauto.h>

#include <cstdio>

static_assert(sizeof(STATURL) == (sizeof(void*) == 4 ? 40 : 56),
              "the store's record: 40 bytes in a 32-bit program, 56 in a 64-bit one");

namespace {

const CLSID kUrlHistoryClass = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kIUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

std::string Describe(const char* call, HRESULT hr) {
  char buf[160];
  snprintf(buf, sizeof buf, "URL history: %s failed (0x%08lX)", call, static_cast<unsigned long>(hr));
  return buf;
}

void Check(const char* call, HRESULT hr) {
  if (FAILED(hr)) throw URLHistoryError(call, hr);
}

double ToDate(FILETIME utc) {
  FILETIME local;
  SYSTEMTIME st;
  double date = 0;
  if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &st))
    SystemTimeToVariantTime(&st, &date);
  return date;
}

class EnumRef {
 public:
  explicit EnumRef(IEnumSTATURL* e) : e_(e) {}
  ~EnumRef() {
    if (e_) e_->Release();
  }
  EnumRef(const EnumRef&) = delete;
  EnumRef& operator=(const EnumRef&) = delete;
  IEnumSTATURL* operator->() const { return e_; }

 private:
  IEnumSTATURL* e_;
};

}  // namespace

URLHistoryError::URLHistoryError(const char* call, HRESULT hr) : std::runtime_error(Describe(call, hr)), hr_(hr) {}

std::string NarrowText(const wchar_t* text) {
  if (!text || !*text) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &s[0], n, nullptr, nullptr);
  s.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
  return s;
}

URLHistoryItem::~URLHistoryItem() {
  CoTaskMemFree(record_.pwcsTitle);
  CoTaskMemFree(record_.pwcsUrl);
}

void URLHistoryItem::Init(const STATURL& record) {
  CoTaskMemFree(record_.pwcsTitle);
  CoTaskMemFree(record_.pwcsUrl);
  record_ = record;
}

double URLHistoryItem::LastVisited() const { return ToDate(record_.ftLastVisited); }
double URLHistoryItem::Expires() const { return ToDate(record_.ftExpires); }
double URLHistoryItem::LastUpdated() const { return ToDate(record_.ftLastUpdated); }
std::string URLHistoryItem::URL() const { return NarrowText(record_.pwcsUrl); }
std::string URLHistoryItem::Title() const { return NarrowText(record_.pwcsTitle); }

CURLHistory::CURLHistory() {
  void* store = nullptr;
  Check("CoCreateInstance", CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kIUrlHistoryStg2, &store));
  store_ = static_cast<IUrlHistoryStg2*>(store);
  RefreshOrRelease();
}

CURLHistory::CURLHistory(IUrlHistoryStg2* store) : store_(store) {
  if (!store_) throw URLHistoryError("no store", E_POINTER);
  store_->AddRef();
  RefreshOrRelease();
}

// A constructor that throws runs no destructor: give the store back first.
void CURLHistory::RefreshOrRelease() {
  try {
    Refresh("", 0);
  } catch (...) {
    items_.clear();
    store_->Release();
    store_ = nullptr;
    throw;
  }
}

CURLHistory::~CURLHistory() {
  items_.clear();
  if (store_) store_->Release();
}

void CURLHistory::AddURL(const std::string& url, const std::string& title, DWORD flags) {
  std::wstring u = WideText(url), t = WideText(title);
  Check("AddUrl", store_->AddUrl(u.c_str(), t.c_str(), flags));
}

void CURLHistory::Clear() {
  Check("ClearHistory", store_->ClearHistory());
  Refresh("", 0);
}

void CURLHistory::Refresh(const std::string& urlStartsWith, DWORD flags) {
  IEnumSTATURL* raw = nullptr;
  Check("EnumUrls", store_->EnumUrls(&raw));
  if (!raw) throw URLHistoryError("EnumUrls", E_POINTER);
  EnumRef e(raw);
  std::wstring filter = WideText(urlStartsWith);
  Check("SetFilter", e->SetFilter(filter.empty() ? nullptr : filter.c_str(), flags));
  Items fresh;
  for (;;) {
    STATURL record = {};
    ULONG fetched = 0;
    HRESULT hr = e->Next(1, &record, &fetched);
    Check("Next", hr);
    if (hr != S_OK || fetched == 0) break;
    std::unique_ptr<URLHistoryItem> item(new URLHistoryItem);
    item->Init(record);
    fresh.push_back(std::move(item));
  }
  items_.swap(fresh);
}

const URLHistoryItem& CURLHistory::Item(long index) const {
  if (index < 1 || index > Count()) throw std::out_of_range("URL history item index");
  return *items_[static_cast<size_t>(index - 1)];
}

void CURLHistory::Remove(long index) {
  const URLHistoryItem& item = Item(index);
  Check("DeleteUrl", store_->DeleteUrl(item.WideURL() ? item.WideURL() : L"", 0));
  items_.erase(items_.begin() + (index - 1));
}

void CURLHistory::DeleteURL(const std::string& url, DWORD flags) {
  std::wstring u = WideText(url);
  Check("DeleteUrl", store_->DeleteUrl(u.c_str(), flags));
  Refresh("", 0);
}
