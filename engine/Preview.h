// One list of entries for the preview, the run that keeps to it, and the console cleaner: what
// would go, where, its size and time, and whether it is ticked. Analyze fills it, the window
// edits it, "Clean these" and "tswclean --from" carry it out; it is saved as tab-separated text.
#pragma once
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "access/Eraser.h"
#include "engine/CleanRun.h"

using PreviewEntry = RecordingEraser::Entry;

// The key an entry is matched by when it is carried out: its kind and its target, without the
// row count a database entry shows ("...\History: urls (12 rows)" -> "...\History: urls"),
// compared as Windows compares paths and keys: letter case and trailing blanks do not count.
std::string EntryKey(const std::string& kind, const std::string& target);
// The rows a "rows" entry counts, read back from its target.
unsigned long long RowsOf(const std::string& target);
// The entry of a database's rows that would go: "...\History: urls (12 rows)".
PreviewEntry RowsEntry(const std::string& target, unsigned long long rows);

// Entries, registry keys and bytes of a preview, of every entry or of the ticked ones. What is
// measured (the registry entries it removes, the bytes of its files and of the platform's own
// stores) stands apart from the fixed amounts its items count whatever there is, so that nobody
// takes those for real sizes.
struct PreviewTotals {
  unsigned long long entries = 0;
  double keys = 0;
  double bytes = 0;
  double countedKeys = 0;   // fixed amounts
  double countedBytes = 0;
};
PreviewTotals TotalsOf(const std::vector<PreviewItem>& items, bool tickedOnly);

// "item\ttarget..." header, then one line per entry: the item's name as its status lines give
// it, the entry's kind and target as the window shows them, bytes, 1 or 0, and what it held
// when it was listed (see RecordingEraser::Entry::seen). A list of the older five columns,
// without "seen", still reads.
extern const char kPreviewListHeader[];
std::string PreviewListText(const std::vector<PreviewItem>& items);
// A saved list read back, items in the order they first come (an item's lines count wherever
// they stand); false, with nothing read, when the text is not such a list (another header, a
// line of another shape, a tick that is not 1 or 0).
bool ReadPreviewList(const std::string& text, std::vector<PreviewItem>& items);

// The eraser of a run that reports, and of a run that keeps to a preview. Without a preview it
// erases what the items ask, as the real eraser does, and notes what went and what stayed.
// With one (one item's entries), it carries out only the entries listed and ticked, each
// checked again just before it goes: a file only with the size and last-write time listed (or,
// for a list read from a file, not written since the list was), a key or value only if still
// there; what changed stays and is counted. What was not listed is never touched.
class CarryingEraser : public Eraser {
 public:
  explicit CarryingEraser(const PreviewItem* preview = nullptr, unsigned long long listWritten = 0);
  void CreateKey(HKEY root, const std::string& subKey) override;
  LONG DeleteKeyTree(HKEY root, const std::string& subKey, REGSAM view = 0) override;
  LONG DeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0) override;
  LONG SetStringValue(HKEY root, const std::string& subKey, const std::string& name, const std::string& value) override;
  bool EraseListedFile(const std::string& path, const FileFacts& facts, bool force) override;
  bool RemoveFolder(const std::string& path) override;
  bool RemoveWalkedFolder(const std::string& path) override;
  void Refused(const std::string& path) override;
  void PassedOver(const std::string& kind, const std::string& path, const std::string& why) override;
  void NotOverwritten(const std::string& path, const std::string& why) override;

  // The listed entry of this kind and target, or null; with no preview, null. An entry asked
  // for has been met by the run.
  const PreviewEntry* Listed(const std::string& kind, const std::string& target) const;
  // The ticked entries of the preview that the run never met: gone, renamed or never there.
  std::vector<const PreviewEntry*> NotMet() const;
  // With no preview every entry is chosen; with one, the listed and ticked ones.
  bool Chosen(const std::string& kind, const std::string& target) const;
  bool KeepsToPreview() const { return preview_ != nullptr; }
  // The preview's entries; none without a preview.
  const std::vector<PreviewEntry>& Entries() const;
  // With no preview, yes. With one: listed, ticked and, as unchanged tells of its listed entry,
  // as it was; one that changed is counted and reported, and stays.
  bool MayCarryOut(const std::string& kind, const std::string& target,
                   const std::function<bool(const PreviewEntry&)>& unchanged);

  double keys = 0;   // registry entries removed
  double bytes = 0;  // bytes of the files deleted
  unsigned long long changed = 0;  // entries left because they changed since the preview
  std::vector<EntryOutcome> outcomes;
  std::vector<TableRows> tables;  // the database tables the item changed or left
  // Lines for the status list: files that secure erasing deleted without overwriting them.
  std::vector<std::string> notes;
  void PassOver(const std::string& kind, const std::string& target, const std::string& why);

 private:
  bool MayCarryOut(const std::string& kind, const std::string& target, bool stillThere);
  LONG Counted(const std::string& kind, const std::string& target, LONG result);
  const PreviewItem* preview_;
  unsigned long long listWritten_;
  std::unordered_map<std::string, size_t> index_;  // EntryKey -> entry, looked up in constant time
  mutable std::vector<bool> met_;
  RealEraser real_;
};

// The carrying eraser of a run that keeps to a preview, or null when the run keeps to none.
CarryingEraser* KeepingToPreview(const RunContext& ctx);
