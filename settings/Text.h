// Small text helpers shared by every layer.
#pragma once
#include <string>

std::string TrimSpaces(const std::string& s);
std::string TrimRightSpaces(const std::string& s);
std::string LowerText(std::string s);
// The user's general date format: short date, a space, long time (no time at midnight).
std::string GeneralDateText(int year, int month, int day, int hour, int minute, int second);
// "1,204": thousands grouped, as a person reads a count.
std::string Grouped(unsigned long long n);
// "1 entry", "1,204 entries": a count with its noun, singular for one.
std::string Counted(unsigned long long n, const std::string& one, const std::string& many);
