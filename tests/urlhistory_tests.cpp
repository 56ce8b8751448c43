// The URL history classes against an in-process store of the tests' own.
#include <objidl.h>

#include <cmath>
#include <string>
#include <vector>

#include "access/URLHistory.h"
#include "tests/TestSupport.h"

namespace {

struct Entry {
  std::wstring url, title;
  DWORD flags;
  FILETIME visited;
  bool hasTitle;
};

wchar_t* CoCopy(const std::wstring& s) {
  auto* p = static_cast<wchar_t*>(CoTaskMemAlloc((s.size() + 1) * sizeof(wchar_t)));
  memcpy(p, s.c_str(), (s.size() + 1) * sizeof(wchar_t));
  return p;
}

class TestEnum final : public IEnumSTATURL {
 public:
  explicit TestEnum(std::vector<Entry> entries) : entries_(std::move(entries)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IEnumSTATURL) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG r = --refs_;
    if (!r) delete this;
    return r;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG, LPSTATURL out, ULONG* fetched) override {
    while (pos_ < entries_.size() && entries_[pos_].url.compare(0, filter_.size(), filter_) != 0) ++pos_;
    if (pos_ >= entries_.size()) {
      if (fetched) *fetched = 0;
      return S_FALSE;
    }
    const Entry& e = entries_[pos_++];
    out->pwcsUrl = CoCopy(e.url);
    out->pwcsTitle = e.hasTitle ? CoCopy(e.title) : nullptr;
    out->ftLastVisited = e.visited;
    out->ftLastUpdated = e.visited;
    out->ftExpires = e.visited;
    out->dwFlags = e.flags;
    if (fetched) *fetched = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override { pos_ = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumSTATURL**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetFilter(LPCOLESTR filter, DWORD) override {
    filter_ = filter ? filter : L"";
    return S_OK;
  }

 private:
  ULONG refs_ = 1;
  std::vector<Entry> entries_;
  size_t pos_ = 0;
  std::wstring filter_;
};

class TestStore : public IUrlHistoryStg2 {
 public:
  std::vector<Entry> entries;
  std::vector<std::wstring> pinned;  // what ClearHistory leaves behind
  HRESULT enumResult = S_OK;
  ULONG refs = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IUrlHistoryStg || riid == IID_IUrlHistoryStg2) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE AddUrl(LPCOLESTR url, LPCOLESTR title, DWORD flags) override {
    entries.push_back({url, title ? title : L"", flags, {}, title != nullptr});
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DeleteUrl(LPCOLESTR url, DWORD) override {
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].url == url) {
        entries.erase(entries.begin() + static_cast<long>(i));
        return S_OK;
      }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryUrl(LPCOLESTR, DWORD, LPSTATURL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToObject(LPCOLESTR, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumUrls(IEnumSTATURL** out) override {
    if (FAILED(enumResult)) return enumResult;
    *out = new TestEnum(entries);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AddUrlAndNotify(LPCOLESTR url, LPCOLESTR title, DWORD flags, BOOL, IOleCommandTarget*,
                                            IUnknown*) override {
    return AddUrl(url, title, flags);
  }
  HRESULT STDMETHODCALLTYPE ClearHistory() override {
    std::vector<Entry> kept;
    for (const Entry& e : entries)
      for (const std::wstring& p : pinned)
        if (e.url == p) kept.push_back(e);
    entries = kept;
    return S_OK;
  }
};

// Counts the task-memory blocks alive, to see that every string handed out is freed.
class CountingSpy : public IMallocSpy {
 public:
  long live = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IMallocSpy) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T cb) override { return cb; }
  void* STDMETHODCALLTYPE PostAlloc(void* p) override {
    if (p) ++live;
    return p;
  }
  void* STDMETHODCALLTYPE PreFree(void* p, BOOL spyed) override {
    if (p && spyed) --live;
    return p;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* p, SIZE_T cb, void** out, BOOL) override {
    *out = p;
    return cb;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* p, BOOL) override { return p; }
  void* STDMETHODCALLTYPE PreGetSize(void* p, BOOL) override { return p; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T cb, BOOL) override { return cb; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* p, BOOL) override { return p; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

FILETIME Utc(unsigned long long ticks) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(ticks);
  ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return ft;
}

const unsigned long long kDec8Noon2026 = 134412048000000000ULL;  // 2026-12-08 12:00 UTC

}  // namespace

class URLHistoryTest : public ::testing::Test {
 protected:
  TestStore store;
  void SetUp() override {
    store.entries = {
        {L"http://a.example/one", L"One", 1, Utc(kDec8Noon2026), true},
        {L"http://b.example/two", L"", 2, Utc(kDec8Noon2026), false},
        {L"http://a.example/three", L"Three", 3, Utc(kDec8Noon2026), true},
    };
  }
};

TEST_F(URLHistoryTest, EmptyStoreCountsZero) {
  store.entries.clear();
  CURLHistory history(&store);
  EXPECT_EQ(0, history.Count());
  EXPECT_THROW(history.Item(1), std::out_of_range);
}

TEST_F(URLHistoryTest, CreationListsTheWholeStoreInOrder) {
  CURLHistory history(&store);
  ASSERT_EQ(3, history.Count());
  EXPECT_EQ("http://a.example/one", history.Item(1).URL());
  EXPECT_EQ("One", history.Item(1).Title());
  EXPECT_EQ(1u, history.Item(1).Flags());
  EXPECT_EQ("", history.Item(2).Title());  // a null title reads as empty text
  EXPECT_EQ(3u, history.Item(3).Flags());
  EXPECT_THROW(history.Item(0), std::out_of_range);
  EXPECT_THROW(history.Item(4), std::out_of_range);
  std::vector<std::string> urls;
  for (const auto& item : history) urls.push_back(item->URL());
  EXPECT_EQ((std::vector<std::string>{"http://a.example/one", "http://b.example/two", "http://a.example/three"}), urls);
}

TEST_F(URLHistoryTest, RefreshKeepsWhatTheFilterAccepts) {
  CURLHistory history(&store);
  history.Refresh("http://a.", 0);
  ASSERT_EQ(2, history.Count());
  EXPECT_EQ("http://a.example/three", history.Item(2).URL());
  history.Refresh("", 0);
  EXPECT_EQ(3, history.Count());
}

TEST_F(URLHistoryTest, AddRemoveAndDeleteURL) {
  CURLHistory history(&store);
  history.AddURL("http://c.example/", "C", 0);
  EXPECT_EQ(3, history.Count());  // not refreshed
  EXPECT_EQ(4u, store.entries.size());

  history.Remove(2);
  EXPECT_EQ(2, history.Count());
  EXPECT_EQ("http://a.example/three", history.Item(2).URL());
  EXPECT_EQ(3u, store.entries.size());
  for (const Entry& e : store.entries) EXPECT_NE(L"http://b.example/two", e.url);

  history.DeleteURL("http://a.example/one", 0);  // refreshes
  EXPECT_EQ(2, history.Count());
  EXPECT_EQ("http://a.example/three", history.Item(1).URL());
  EXPECT_EQ("http://c.example/", history.Item(2).URL());
}

TEST_F(URLHistoryTest, ClearCountsWhatTheStoreStillHolds) {
  CURLHistory history(&store);
  history.Clear();
  EXPECT_EQ(0, history.Count());
  EXPECT_TRUE(store.entries.empty());

  SetUp();
  store.pinned = {L"http://b.example/two"};
  history.Clear();
  ASSERT_EQ(1, history.Count());
  EXPECT_EQ("http://b.example/two", history.Item(1).URL());
}

TEST_F(URLHistoryTest, DatesAreLocalAndReadTheSameTwice) {
  CURLHistory history(&store);
  const URLHistoryItem& item = history.Item(1);
  double first = item.LastVisited();
  EXPECT_EQ(first, item.LastVisited());
  EXPECT_EQ(first, item.Expires());
  EXPECT_EQ(first, item.LastUpdated());
  TIME_ZONE_INFORMATION tz;
  GetTimeZoneInformation(&tz);
  // 2026-12-08 12:00 UTC is day 46364.5, moved by the local offset.
  EXPECT_NEAR(46364.5 - tz.Bias / 1440.0, first, 1.0 / 24);
}

TEST_F(URLHistoryTest, EveryStringHandedOutIsFreed) {
  CountingSpy spy;
  ASSERT_EQ(S_OK, CoRegisterMallocSpy(&spy));
  {
    CURLHistory history(&store);
    history.Refresh("", 0);
    history.Remove(1);
    EXPECT_GT(spy.live, 0);
  }
  EXPECT_EQ(0, spy.live);
  CoRevokeMallocSpy();
}

TEST_F(URLHistoryTest, StoreFailuresReachTheCaller) {
  store.enumResult = E_ACCESSDENIED;
  try {
    CURLHistory history(&store);
    FAIL() << "no error raised";
  } catch (const URLHistoryError& e) {
    EXPECT_EQ(E_ACCESSDENIED, e.hr());
  }
  EXPECT_EQ(1u, store.refs);  // the reference taken was given back
}
