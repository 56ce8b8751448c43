// Small text helpers shared by every layer.
#pragma once
#include <string>

std::string TrimSpaces(const std::string& s);
std::string TrimRightSpaces(const std::string& s);
std::string LowerText(std::string s);
// The user's general date format: short date, a space, long time (no time at midnight).
std::string GeneralDateText(int year, int month, int day, int hour, int minute, int second);
