// What the main window's "More Browsers" and "More Applications" links say they hold: the
// browsers found here and how many of their kinds are ticked; the applications of winapp2.ini
// detected here and how many are ticked (or, without the file, the 23 boxes ticked).
#pragma once
#include <string>

std::string MoreBrowsersCaption(const std::string& settingsFile);
std::string MoreApplicationsCaption(const std::string& settingsFile);
