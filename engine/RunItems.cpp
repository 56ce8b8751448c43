// The table of run items: order, gates, status lines, progress and fixed amounts.
#include "engine/Browsers.h"
#include "engine/CleanRun.h"
#include "engine/CustomItems.h"
#include "engine/MoreApps.h"
#include "engine/MoreWindows.h"
#include "engine/Steps.h"
#include "settings/Additional.h"

namespace {

RunItem Box(int check, const char* start, const char* end, bool refresh, int progress,
            double reg, double bytes, ItemStep step = nullptr) {
  return RunItem{GateKind::CheckBox, check, nullptr, nullptr, start, end, refresh, progress,
                 reg, bytes, false, step};
}

std::vector<RunItem> BuildItems() {
  std::vector<RunItem> t = {
      // Internet Explorer
      Box(1, "Please Waiting ,Cleaning IE Location Bar History......", "Cleaning IE Location Bar History.....OK", true, 5, 0, 0, CleanTypedUrls),
      Box(2, "Please Waiting ,Cleaning IE Internet History Files......", "Cleaning IE Internet History Files......OK", true, 10, 15, 500000, CleanUrlHistory),
      Box(3, "Please Waiting ,Cleaning IE Internet Cache......", "Cleaning IE Internet Cache......OK", true, 17, 0, 0, CleanInternetCache),
      Box(4, "Please Waiting ,Cleaning IE Cookies.......", "Cleaning IE Cookies.......OK", true, 21, 0, 0, CleanCookies),
      Box(5, "Please Waiting ,Cleaning IE Favorites.......", "Cleaning IE Favorites.......OK", true, 24, 0, 0, CleanFavorites),
      Box(6, "Please Waiting ,Cleaning IE Autocomplete Memory......", "Cleaning IE Autocomplete Memory......OK", true, 30, 5, 0, CleanAutocomplete),
      Box(7, "Please Waiting ,Cleaning IE Downloaded program Files Director......", "Cleaning IE Downloaded program Files Director......OK", false, 32, 0, 0, CleanDownloadedPrograms),
      // Other browsers
      Box(8, "Please Waiting ,Cleaning Netscape Navigator......", "Cleaning Netscape Navigator......OK", false, 35, 0, 0, CleanNetscape),
      Box(24, "Please Waiting ,Cleaning Opera......", "Cleaning Opera......OK", false, 36, 0, 0, CleanOpera),
      // MSN Explorer keeps its tracks in Internet Explorer's folders, which the IE items erase.
      Box(27, "Please Waiting ,Cleaning MSN Explorer......", "Cleaning MSN Explorer......OK", false, 36, 0, 0),
      Box(25, "Please Waiting ,Cleaning Google Tool Bar Search History......", "Cleaning Google Tool Bar Search History......OK", false, 37, 1, 0, CleanGoogleToolbar),
      // Windows
      Box(10, "Please Waiting ,Cleaning Recent Documents History......", "Cleaning Recent Documents History......OK", false, 38, 1, 0, CleanRecentDocuments),
      Box(11, "Please Waiting ,Cleaning Start Menu Run History......", "Cleaning Start Menu Run History......OK", false, 40, 1, 0, CleanRunHistory),
      Box(12, "Please Waiting ,Cleaning Start Menu Search History......", "Cleaning Start Menu Search History......OK", false, 43, 4, 0, CleanSearchHistory),
      Box(13, "Please Waiting ,Cleaning Windows Temp.......", "Cleaning Windows Temp.......OK", true, 45, 0, 0, CleanTempFolder),
      Box(14, "Please Waiting ,Cleaning Recycle Bin....", "Cleaning Recycle Bin......OK", true, 47, 0, 0, CleanRecycleBin),
      Box(15, "Please Waiting ,Cleaning Open/Save Dialog Box History......", "Cleaning Open/Save Dialog Box History......OK", true, 49, 16, 0, CleanOpenSaveHistory),
      Box(16, "Please Waiting ,Cleaning Scandisk Temp Files......", "Cleaning Scandisk Temp Files......OK", true, 50, 0, 50000, CleanScandiskFragments),
      Box(17, "Please Waiting ,Cleaning Windows Passwords......", "Cleaning Windows Passwords......OK", true, 51, 0, 2000, CleanCachedPasswords),
      Box(26, "Please Waiting ,Cleaning Windows Clipboard......", "Cleaning Windows Clipboard......", false, 52, 0, 0, CleanClipboard),
      Box(28, "Please Waiting ,Cleaning Wordpad Recent Files......", "Cleaning Wordpad Recent Files......OK", false, -1, 1, 0, CleanWordpadList),
      Box(29, "Please Waiting ,Cleaning Windows Paint Recent Files......", "Cleaning Windows Paint Recent Files......OK", false, -1, 1, 0, CleanPaintList),
      // Applications
      Box(19, "Please Waiting ,Cleaning Winzip Recent Files......", "Cleaning Winzip Recent Files......OK", false, 58, 1, 0, CleanWinzipList),
      Box(20, "Please Waiting ,Cleaning Media Player playlist......", "Cleaning Media Player playlist......OK", false, 60, 1, 0, CleanMediaPlayerLists),
      Box(22, "Please Waiting ,Cleaning RealOne Player Recent Files......", "Cleaning RealOne Player Recent Files......OK", false, 64, 9, 0, CleanRealPlayerLists),
      Box(21, "Please Waiting ,Cleaning Real Player playlist......", "Cleaning Real Player playlist......OK", true, 67, 9, 0, CleanRealPlayerLists),
      Box(23, "Please Waiting ,Cleaning MS-Office Tracks......", "Cleaning MS-Office Tracks......OK", true, 73, 6, 0, CleanOfficeLists),
  };
  t.back().addBeforeStart = true;  // MS-Office counts its 6 before its start line

  t.push_back(RunItem{GateKind::Always, 0, nullptr, nullptr,
                      "Please Waiting ,Cleaning More Applications......",
                      "Cleaning More Applications......OK", true, 89, 0, 0, false, CleanMoreApplications});
  t.push_back(RunItem{GateKind::Setting, 0, kOptionsSection, OptionKey(Option::CustomItems),
                      "Please Waiting ,Cleaning Custom Clean Items......",
                      "Cleaning Custom Clean Items......OK", true, 98, 0, 0, false, CleanCustomItems});
  t.push_back(RunItem{GateKind::Test, 0, nullptr, nullptr, "Please Waiting ,Cleaning More Browsers......",
                      "Cleaning More Browsers......OK", true, -1, 0, 0, false, CleanMoreBrowsers, AnyBrowserKindChosen});
  t.push_back(RunItem{GateKind::Test, 0, nullptr, nullptr, "Please Waiting ,Cleaning More Windows Tracks......",
                      "Cleaning More Windows Tracks......OK", true, -1, 0, 0, false, CleanMoreWindows, AnyWindowsTraceChosen});
  return t;
}

}  // namespace

const std::vector<RunItem>& RunItems() {
  static const std::vector<RunItem> items = BuildItems();
  return items;
}
