// The settings file prisd.dat: one key at a time through the private-profile API.
#pragma once
#include <map>
#include <string>

#include "settings/Text.h"

// Returns the stored value trimmed of spaces, at most 127 characters; "" when absent.
std::string ReadIni(const std::string& file, const std::string& section, const std::string& key);
// Stores at most the first 128 characters of value; a failed write is silent.
void WriteIni(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value);

// A whole section in one read: each key in lower case (keys match without regard to case) with
// its value trimmed of spaces.
std::map<std::string, std::string> ReadIniSection(const std::string& file, const std::string& section);

// The three ways a stored value becomes a tick.
bool TickLenient(const std::string& value);  // 1, empty or not a number
bool TickStrict(const std::string& value);   // the number 1 only
bool TickText(const std::string& value);     // exactly "1"

// True when text is a plain decimal number (sign, digits, point, exponent); sets number.
bool ReadsAsNumber(const std::string& text, double* number);
bool ReadsAsZero(const std::string& text);

