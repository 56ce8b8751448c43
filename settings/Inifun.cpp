// Inifun: ReadIni and WriteIni over prisd.dat, and the three ways a stored value reads as a tick.
#include "settings/Inifun.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace {
const DWORD kIniBuffer = 128;
}

std::string ReadIni(const std::string& file, const std::string& section, const std::string& key) {
  char buf[kIniBuffer] = {0};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buf, kIniBuffer, file.c_str());
  buf[kIniBuffer - 1] = '\0';
  return TrimSpaces(std::string(buf));
}

void WriteIni(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
  std::string cut = value.substr(0, kIniBuffer);
  WritePrivateProfileStringA(section.c_str(), key.c_str(), cut.c_str(), file.c_str());
}

std::map<std::string, std::string> ReadIniSection(const std::string& file, const std::string& section) {
  std::map<std::string, std::string> values;
  std::vector<char> buf(1 << 16);
  for (;;) {
    const DWORD n = GetPrivateProfileSectionA(section.c_str(), buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
    if (n + 2 < buf.size() || buf.size() >= (1u << 24)) break;
    buf.resize(buf.size() * 4);
  }
  for (const char* p = buf.data(); *p; p += lstrlenA(p) + 1) {
    const std::string line = p;
    const size_t eq = line.find('=');
    if (eq != std::string::npos) values[LowerText(TrimSpaces(line.substr(0, eq)))] = TrimSpaces(line.substr(eq + 1));
  }
  return values;
}

bool ReadsAsNumber(const std::string& text, double* number) {
  std::string t = TrimSpaces(text);
  size_t i = 0, n = t.size();
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < n && isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  if (i < n && t[i] == '.') {
    ++i;
    while (i < n && isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    size_t exp = 0;
    while (i < n && isdigit(static_cast<unsigned char>(t[i]))) ++i, ++exp;
    if (exp == 0) return false;
  }
  if (i != n) return false;
  if (number) *number = strtod(t.c_str(), nullptr);
  return true;
}

bool ReadsAsZero(const std::string& text) {
  double v = 1;
  return ReadsAsNumber(text, &v) && v == 0;
}

bool TickLenient(const std::string& value) {
  double v = 0;
  if (!ReadsAsNumber(value, &v)) return true;
  return v == 1;
}

bool TickStrict(const std::string& value) {
  double v = 0;
  return ReadsAsNumber(value, &v) && v == 1;
}

bool TickText(const std::string& value) { return value == "1"; }
