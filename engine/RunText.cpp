// Texts that a run writes: totals, megabytes and the start time.
#include <windows.h>

#include <cstdio>

#include "engine/CleanRun.h"
#include "settings/Inifun.h"

std::string FormatMegabytes(double megabytes) {
  char buf[64];
  snprintf(buf, sizeof buf, "%.2f", megabytes);
  std::string s(buf);
  size_t point = s.find('.');
  std::string whole = s.substr(0, point), decimals = s.substr(point + 1);
  if (whole == "0") whole.clear();
  else if (whole == "-0") whole = "-";
  while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
  return whole + "." + decimals;
}

std::string NumberText(double value) {
  char buf[64];
  snprintf(buf, sizeof buf, "%.15g", value);
  return buf;
}

std::string CompleteLine(unsigned long long passedOver) {
  // A run that left something it was to erase does not call itself a success.
  return passedOver == 0 ? std::string(kCompleteLine) : "Task complete: " + Counted(passedOver, "entry", "entries") + " passed over";
}

std::string SummaryText(double regnum, double filesize, unsigned long long passedOver) {
  const std::string head = passedOver == 0 ? CompleteLine(0) : CompleteLine(passedOver) + ".";
  return head + " Cleaned Registry Keys: " + NumberText(regnum) + " Released HD Space:" + FormatMegabytes(filesize / 1048576.0) + "MB";
}

std::string ChangedLine(unsigned long long changed) {
  return Counted(changed, "entry", "entries") + " changed since the preview, left as " + (changed == 1 ? "it is" : "they are");
}

void StampLastClean(const std::string& settingsFile) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  WriteIni(settingsFile, "WINDOWS", "lastclean",
           GeneralDateText(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond));
}
