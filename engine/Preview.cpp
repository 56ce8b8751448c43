#include "engine/Preview.h"

#include <windows.h>
#include <shlwapi.h>

#include <sstream>

#include "access/FolderGuard.h"
#include "access/RegContent.h"
#include "access/RegKey.h"
#include "settings/Text.h"

#include <algorithm>

const char kPreviewListHeader[] = "item\tkind\ttarget\tsize\tticked\tseen";
namespace {
const char kFiveColumnHeader[] = "item\tkind\ttarget\tsize\tticked";  // lists saved before "seen"
}  // namespace

std::string EntryKey(const std::string& kind, const std::string& target) {
  std::string t = target;
  if (kind == "rows") {
    const size_t open = t.rfind(" (");
    if (open != std::string::npos && t.size() > 6 && t.compare(t.size() - 6, 6, " rows)") == 0) t.erase(open);
  }
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
  // An item has one entry of fixed amounts: its count names it, whatever words go with it.
  if (kind == "fixed" && t.compare(0, 7, "counts ") == 0) t = t.substr(0, t.find_first_not_of("0123456789.", 7));
  return kind + "\t" + LowerText(t);
}

unsigned long long RowsOf(const std::string& target) {
  const size_t open = target.rfind(" (");
  return open == std::string::npos ? 0 : strtoull(target.c_str() + open + 2, nullptr, 10);
}

PreviewEntry RowsEntry(const std::string& target, unsigned long long rows) {
  PreviewEntry e{"rows", target + " (" + std::to_string(rows) + " rows)", 0};
  e.count = rows;
  return e;
}

PreviewTotals TotalsOf(const std::vector<PreviewItem>& items, bool tickedOnly) {
  PreviewTotals t;
  for (const PreviewItem& item : items)
    for (const PreviewEntry& e : item.entries) {
      if ((tickedOnly && !e.ticked) || e.kind == "kept") continue;  // what a keep list keeps is no entry to erase
      // A note, or an item that runs unmeasured, is no entry of its own to count.
      if (e.kind != "note" && e.kind != "item") ++t.entries;
      if (e.kind == "key" || e.kind == "value" || e.kind == "blank" || e.kind == "typed address") t.keys += 1;
      if (e.kind == "fixed") {
        t.countedKeys += static_cast<double>(e.count);
        t.countedBytes += static_cast<double>(e.size);
      }
      if (e.kind == "file" || e.kind == "clear") t.bytes += static_cast<double>(e.size);
    }
  return t;
}

std::string PreviewListText(const std::vector<PreviewItem>& items) {
  // Lines end as tswclean's other output does, in a bare line feed, which scripts split on.
  std::string text = std::string(kPreviewListHeader) + "\n";
  for (const PreviewItem& item : items)
    for (const PreviewEntry& e : item.entries)
      text += item.name + "\t" + e.kind + "\t" + e.target + "\t" + std::to_string(e.size) + "\t" + (e.ticked ? "1" : "0") +
              "\t" + e.seen + "\n";
  return text;
}

bool ReadPreviewList(const std::string& text, std::vector<PreviewItem>& items) {
  items.clear();
  std::istringstream in(text);
  std::string line;
  bool header = false;
  size_t columns = 6;
  std::vector<PreviewItem> read;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!header) {
      if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
      if (line == kFiveColumnHeader) columns = 5;
      else if (line != kPreviewListHeader) return false;
      header = true;
      continue;
    }
    if (line.empty()) continue;
    std::vector<std::string> cells;
    for (size_t from = 0;;) {
      const size_t tab = line.find('\t', from);
      cells.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
      if (tab == std::string::npos) break;
      from = tab + 1;
    }
    if (cells.size() != columns || cells[0].empty() || cells[1].empty() || (cells[4] != "1" && cells[4] != "0")) return false;
    if (cells[3].empty() || cells[3].find_first_not_of("0123456789") != std::string::npos) return false;
    PreviewEntry e{cells[1], cells[2], strtoull(cells[3].c_str(), nullptr, 10)};
    e.ticked = cells[4] == "1";
    if (columns == 6) e.seen = cells[5];
    if (e.kind == "rows") e.count = RowsOf(e.target);
    if (e.kind == "fixed" && e.target.compare(0, 7, "counts ") == 0) e.count = strtoull(e.target.c_str() + 7, nullptr, 10);
    // An item's lines belong to it wherever they stand in the list.
    auto item = std::find_if(read.begin(), read.end(), [&](const PreviewItem& p) { return p.name == cells[0]; });
    if (item == read.end()) item = read.insert(read.end(), PreviewItem{cells[0], {}, 0, 0});
    item->entries.push_back(e);
  }
  if (!header) return false;
  items.swap(read);
  return true;
}

// ---- Carrying out --------------------------------------------------------------------------

CarryingEraser::CarryingEraser(const PreviewItem* preview, unsigned long long listWritten)
    : preview_(preview), listWritten_(listWritten) {
  if (!preview_) return;
  met_.assign(preview_->entries.size(), false);
  index_.reserve(preview_->entries.size());
  for (size_t i = 0; i < preview_->entries.size(); ++i)
    index_.emplace(EntryKey(preview_->entries[i].kind, preview_->entries[i].target), i);
}

const PreviewEntry* CarryingEraser::Listed(const std::string& kind, const std::string& target) const {
  if (!preview_) return nullptr;
  const auto found = index_.find(EntryKey(kind, target));
  if (found == index_.end()) return nullptr;
  met_[found->second] = true;
  return &preview_->entries[found->second];
}

const std::vector<PreviewEntry>& CarryingEraser::Entries() const {
  static const std::vector<PreviewEntry> none;
  return preview_ ? preview_->entries : none;
}

std::vector<const PreviewEntry*> CarryingEraser::NotMet() const {
  std::vector<const PreviewEntry*> missed;
  if (!preview_) return missed;
  for (size_t i = 0; i < preview_->entries.size(); ++i) {
    const PreviewEntry& e = preview_->entries[i];
    // Lines that say something of an item are no entries to carry out.
    if (e.ticked && !met_[i] && e.kind != "note" && e.kind != "item") missed.push_back(&e);
  }
  return missed;
}

bool CarryingEraser::Chosen(const std::string& kind, const std::string& target) const {
  if (!preview_) return true;
  const PreviewEntry* e = Listed(kind, target);
  return e && e->ticked;
}

void CarryingEraser::PassOver(const std::string& kind, const std::string& target, const std::string& why) {
  outcomes.push_back({kind, target, why});
}

// Listed, ticked and unchanged: it may go. Unticked or not listed: it stays, without a word.
bool CarryingEraser::MayCarryOut(const std::string& kind, const std::string& target,
                                 const std::function<bool(const PreviewEntry&)>& unchanged) {
  if (!preview_) return true;
  const PreviewEntry* listed = Listed(kind, target);
  if (!listed || !listed->ticked) return false;
  if (!unchanged(*listed)) {
    ++changed;
    PassOver(kind, listed->target, kChangedReason);
    return false;
  }
  return true;
}

bool CarryingEraser::MayCarryOut(const std::string& kind, const std::string& target, bool stillThere) {
  return MayCarryOut(kind, target, [stillThere](const PreviewEntry&) { return stillThere; });
}

CarryingEraser* KeepingToPreview(const RunContext& ctx) {
  return ctx.carrying && ctx.carrying->KeepsToPreview() ? ctx.carrying : nullptr;
}

void CarryingEraser::CreateKey(HKEY root, const std::string& subKey) { real_.CreateKey(root, subKey); }

// A registry entry the real eraser was asked to delete: counted when it went, passed over
// with the platform's reason when it stayed.
LONG CarryingEraser::Counted(const std::string& kind, const std::string& target, LONG result) {
  if (result == ERROR_SUCCESS) {
    keys += 1;
    outcomes.push_back({kind, target, ""});
  } else {
    PassOver(kind, target, ReasonOf(static_cast<DWORD>(result)));
  }
  return result;
}

namespace {
// Still what the preview saw: there, and (where the preview kept a fingerprint) the same.
std::function<bool(const PreviewEntry&)> Holds(const std::string& now) {
  return [now](const PreviewEntry& listed) { return !now.empty() && (listed.seen.empty() || listed.seen == now); };
}
}  // namespace

LONG CarryingEraser::DeleteKeyTree(HKEY root, const std::string& subKey, REGSAM view) {
  const std::string plain = PlainSubKey(subKey), target = RegistryTarget(root, plain, view);
  const bool there = !plain.empty() && KeyPresent(root, plain, view);
  if (preview_ && !MayCarryOut("key", target, Holds(there ? KeyFingerprint(root, plain, view) : ""))) return ERROR_SUCCESS;
  if (!there) return ERROR_SUCCESS;
  return Counted("key", target, real_.DeleteKeyTree(root, subKey, view));
}

LONG CarryingEraser::DeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
  const std::string plain = PlainSubKey(subKey), target = RegistryTarget(root, plain, view) + "\\" + name;
  const bool there = ValuePresent(root, plain, name, view);
  if (preview_ && !MayCarryOut("value", target, Holds(there ? ValueFingerprint(root, plain, name, view) : "")))
    return ERROR_SUCCESS;
  if (!there) return ERROR_SUCCESS;
  return Counted("value", target, real_.DeleteValue(root, subKey, name, view));
}

LONG CarryingEraser::SetStringValue(HKEY root, const std::string& subKey, const std::string& name, const std::string& value) {
  // Writing back is no erasure: a kept address goes back whenever its item runs.
  if (!value.empty()) return real_.SetStringValue(root, subKey, name, value);
  const std::string plain = PlainSubKey(subKey), target = RegistryTarget(root, plain) + "\\" + name;
  const bool there = KeyPresent(root, plain);
  if (preview_ && !MayCarryOut("blank", target, [&](const PreviewEntry& listed) {
        return there && (listed.seen.empty() || listed.seen == ValueFingerprint(root, plain, name));
      }))
    return ERROR_SUCCESS;
  const LONG result = real_.SetStringValue(root, subKey, name, value);
  return there ? Counted("blank", target, result) : result;
}

bool CarryingEraser::EraseListedFile(const std::string& path, const FileFacts& facts, bool force) {
  // A read-only file that the step does not force stays by design: nothing to report.
  if ((facts.attributes & FILE_ATTRIBUTE_DIRECTORY) || ((facts.attributes & FILE_ATTRIBUTE_READONLY) && !force))
    return false;
  // Not listed (new since the preview) or unticked: it stays.
  // facts are what the walk has just listed (or EraseFile just read): the file as it is now.
  if (!MayCarryOut("file", path, [&](const PreviewEntry& listed) {
        return facts.size == listed.size &&
               (listed.lastWrite ? facts.lastWrite == listed.lastWrite : facts.lastWrite <= listWritten_);
      }))
    return false;
  if (!real_.EraseListedFile(path, facts, force)) {
    // Gone meanwhile is no failure; anything else stays, and says why.
    const DWORD error = real_.lastError();
    if (error != ERROR_FILE_NOT_FOUND) PassOver("file", path, ReasonOf(error));
    return false;
  }
  bytes += static_cast<double>(facts.size);
  outcomes.push_back({"file", path, ""});
  if (real_.lastNotOverwritten()) notes.push_back("Not overwritten, another name shares its contents: " + path);
  return true;
}

bool CarryingEraser::RemoveFolder(const std::string& path) {
  if (preview_ && !Chosen("folder", path)) return false;
  return real_.RemoveFolder(path);
}

bool CarryingEraser::RemoveWalkedFolder(const std::string& path) {
  if (preview_ && !Chosen("folder", path)) return false;
  return real_.RemoveWalkedFolder(path);
}

void CarryingEraser::Refused(const std::string& path) { PassOver("folder", path, "refused by the folder guard"); }

void CarryingEraser::PassedOver(const std::string& kind, const std::string& path, const std::string& why) {
  PassOver(kind, path, why);
}

void CarryingEraser::NotOverwritten(const std::string& path, const std::string& why) {
  notes.push_back("Not overwritten before it was deleted (" + why + "): " + path);
}
