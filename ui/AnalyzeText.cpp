#include "ui/AnalyzeText.h"

#include <cstdio>

#include "access/Prompts.h"
#include "settings/Text.h"

namespace {

std::string Entries(unsigned long long n) { return Counted(n, "entry", "entries"); }

// "15 registry keys, 488.3 KB counted": the fixed amounts, "" when there are none.
std::string CountedText(double keys, double bytes) {
  std::string text;
  if (keys > 0) text = Counted(static_cast<unsigned long long>(keys), "registry key", "registry keys");
  if (bytes > 0) text += (text.empty() ? "" : ", ") + SizeText(bytes);
  return text.empty() ? text : text + " counted";
}

}  // namespace

std::string SizeText(double bytes) {
  char buf[32];
  if (bytes < 1024) return Counted(static_cast<unsigned long long>(bytes), "byte", "bytes");
  if (bytes < 1024.0 * 1024) snprintf(buf, sizeof buf, "%.1f KB", bytes / 1024);
  else if (bytes < 1024.0 * 1024 * 1024) snprintf(buf, sizeof buf, "%.1f MB", bytes / (1024.0 * 1024));
  else snprintf(buf, sizeof buf, "%.1f GB", bytes / (1024.0 * 1024 * 1024));
  return buf;
}

std::string CleanTheseQuestion(const std::vector<PreviewItem>& items) {
  const PreviewTotals ticked = TotalsOf(items, true);
  const std::string counted = CountedText(ticked.countedKeys, ticked.countedBytes);
  return "Erase " + Entries(ticked.entries) + ", " + SizeText(ticked.bytes) + (counted.empty() ? "" : ", plus " + counted) + "?";
}

bool AskToErase(HWND owner, const std::vector<PreviewItem>& items) {
  return ShowMessage(owner, CleanTheseQuestion(items), kProductTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

std::string PreviewTotalText(const std::vector<PreviewItem>& items) {
  const PreviewTotals all = TotalsOf(items, false), ticked = TotalsOf(items, true);
  const std::string counted = CountedText(ticked.countedKeys, ticked.countedBytes);
  return "Total: " + Counted(items.size(), "item", "items") + ", " + Entries(all.entries) + ", " + SizeText(all.bytes) +
         ". Ticked: " + Entries(ticked.entries) + ", " +
         Counted(static_cast<unsigned long long>(ticked.keys), "registry key", "registry keys") + ", " + SizeText(ticked.bytes) +
         (counted.empty() ? "" : ", plus " + counted) + ". Nothing has been erased.";
}

std::string EntrySize(const PreviewEntry& e) {
  if (e.kind == "kept" || e.kind == "note" || e.kind == "item") return "";
  if (e.kind == "fixed") return e.size ? SizeText(static_cast<double>(e.size)) + " counted" : "counted";
  if (e.kind == "rows" || e.kind == "key" || e.kind == "value" || e.kind == "blank" || e.kind == "typed address") return "";
  return SizeText(static_cast<double>(e.size));
}

unsigned long long MeasuredBytes(const PreviewItem& item) {
  unsigned long long bytes = 0;
  for (const PreviewEntry& e : item.entries)
    if (e.kind != "kept" && e.kind != "fixed") bytes += e.size;
  return bytes;
}

std::string HeadingSize(const PreviewItem& item) {
  // The size column holds bytes: the keys an item counts show in its own entry.
  double counted = 0;
  for (const PreviewEntry& e : item.entries)
    if (e.kind == "fixed") counted += static_cast<double>(e.size);
  return SizeText(static_cast<double>(MeasuredBytes(item))) + (counted > 0 ? ", plus " + CountedText(0, counted) : "");
}
