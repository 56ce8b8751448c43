// The texts the preview is read by: sizes, the totals, the question asked before erasing. The
// Analyze window and the progress dialog's Clean Now share them, so that both ask alike.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "engine/Preview.h"

// "12 bytes", "1.5 KB", "56.2 MB", "1.1 GB".
std::string SizeText(double bytes);
// "Erase 1,204 entries, 56.2 MB?": the question asked of the ticked entries before they go. The
// fixed amounts the items count are named apart ("plus 15 registry keys counted").
std::string CleanTheseQuestion(const std::vector<PreviewItem>& items);
// Asks it, No the default; true when the user answered Yes.
bool AskToErase(HWND owner, const std::vector<PreviewItem>& items);
// "Total: 3 items, 40 entries, 1.2 MB. Ticked: ...": what the Analyze window sums up.
std::string PreviewTotalText(const std::vector<PreviewItem>& items);
// An entry's size as the list shows it: measured bytes as they are, fixed amounts as counted.
std::string EntrySize(const PreviewEntry& e);
// The bytes an item's entries measure: what a heading shows and the list sorts by.
unsigned long long MeasuredBytes(const PreviewItem& item);
// A heading's size: what its entries measure, then what the item counts besides ("1.2 MB, plus
// 488.3 KB counted").
std::string HeadingSize(const PreviewItem& item);
