// The browser's URL history store, as a collection of entries.
#pragma once
#include <windows.h>
#include <urlhist.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// A failing call on the store or its enumerator.
class URLHistoryError : public std::runtime_error {
 public:
  URLHistoryError(const char* call, HRESULT hr);
  HRESULT hr() const { return hr_; }

 private:
  HRESULT hr_;
};

// One entry: the 40-byte record exactly as the store returned it; owns its two strings.
class URLHistoryItem {
 public:
  URLHistoryItem() = default;
  ~URLHistoryItem();
  URLHistoryItem(const URLHistoryItem&) = delete;
  URLHistoryItem& operator=(const URLHistoryItem&) = delete;

  // Takes the record, and with it the strings it points to.
  void Init(const STATURL& record);

  // Dates as days since 30 December 1899 in local time, the time of day as the fraction.
  double LastVisited() const;
  double Expires() const;
  double LastUpdated() const;
  std::string URL() const;
  const wchar_t* WideURL() const { return record_.pwcsUrl; }
  DWORD Flags() const { return record_.dwFlags; }
  std::string Title() const;

 private:
  STATURL record_ = {};
};

class CURLHistory {
 public:
  // On the platform's own store; throws URLHistoryError when it cannot be created.
  CURLHistory();
  // On a store the caller hands in (kept with its own reference).
  explicit CURLHistory(IUrlHistoryStg2* store);
  ~CURLHistory();
  CURLHistory(const CURLHistory&) = delete;
  CURLHistory& operator=(const CURLHistory&) = delete;

  // Adds to the store; the collection is not refreshed.
  void AddURL(const std::string& url, const std::string& title, DWORD flags);
  long Count() const { return static_cast<long>(items_.size()); }
  // Clears the store, then lists what it still holds.
  void Clear();
  // Rebuilds the collection from the store; an empty urlStartsWith means no filter.
  void Refresh(const std::string& urlStartsWith, DWORD flags);
  // Index from 1; throws std::out_of_range outside the collection.
  const URLHistoryItem& Item(long index) const;
  // Deletes that entry's URL from the store and drops it from the collection.
  void Remove(long index);
  // Deletes a URL from the store, then refreshes.
  void DeleteURL(const std::string& url, DWORD flags);

  // The collection's own enumeration.
  using Items = std::vector<std::unique_ptr<URLHistoryItem>>;
  Items::const_iterator begin() const { return items_.begin(); }
  Items::const_iterator end() const { return items_.end(); }

 private:
  void RefreshOrRelease();
  IUrlHistoryStg2* store_ = nullptr;
  Items items_;
};

#include "access/WidePath.h"  // WideText
std::string NarrowText(const wchar_t* text);
