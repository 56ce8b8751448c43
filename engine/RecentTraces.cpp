// What the main window's Windows items take on today's Windows beyond their registry lists: the
// taskbar's jump lists and Office's recent files (Recent Documents), the clipboard's history
// (Windows Clipboard) and what the search of the taskbar lists as recent (Start Menu Search).
#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/JumpList.h"
#include "access/Normal.h"
#include "access/Pattern.h"
#include "access/RegKey.h"
#include "access/RegSequences.h"
#include "access/SystemStores.h"
#include "engine/Preview.h"
#include "engine/WindowsTraces.h"

namespace {

struct ListFile {
  std::string path;
  FileFacts facts;
};

// The ordinary files of folder matching pattern; none where the guard refuses the folder.
std::vector<ListFile> ListsIn(const std::string& folder, const char* pattern) {
  std::vector<ListFile> files;
  if (AttributesOf(folder) == INVALID_FILE_ATTRIBUTES || !FolderMayBeErased(folder)) return files;
  ForEachMatchingEntry(folder, pattern, [&](const ListedEntry& e) {
    if (!IsFolder(e) && Listed(e)) files.push_back({folder + "\\" + e.name, e.facts});
    return true;
  });
  return files;
}

// A list left as it is, and why: a note in a preview, passed over in a run.
void Left(RunContext& ctx, const std::string& path, const std::string& why) {
  if (ctx.preview) ctx.notes.push_back("Left as it is (" + why + "): " + path);
  else ActiveEraser().PassedOver("jump list", path, why);
}

// An automatic list: its recent and frequent entries go, one entry for the preview; its pinned
// ones stay, and the preview shows them kept.
void TrimAutomaticList(RunContext& ctx, const ListFile& file) {
  // A list the user made read-only (to keep it as it is) stays so.
  if (file.facts.attributes & FILE_ATTRIBUTE_READONLY) return;
  const JumpList read = ReadJumpList(file.path);
  if (read.state != JumpList::State::Ok) {
    if (read.state != JumpList::State::NoPlatform) Left(ctx, file.path, read.error);
    return;
  }
  const unsigned goes = read.Unpinned(), stays = read.Pinned();
  if (goes == 0) return;
  const std::string target = file.path + ": recent and frequent entries";
  if (ctx.preview) {
    ctx.preview->entries.push_back(RowsEntry(target, goes));
    if (stays) PreviewKept(ctx, file.path + ": " + std::to_string(stays) + " pinned entries", "pins you set");
    return;
  }
  // Keeping to a preview: only while no more entries would go than it counted.
  CarryingEraser* keeping = KeepingToPreview(ctx);
  if (keeping && !keeping->MayCarryOut("rows", target, [goes](const PreviewEntry& listed) { return goes <= listed.count; }))
    return;
  std::string error;
  if (!KeepOnlyPinned(file.path, read, file.facts, error)) {
    Left(ctx, file.path, error);
    return;
  }
  if (!error.empty()) ctx.notes.push_back(file.path + ": " + error);
  FileFacts after;
  const double released = FactsOfPath(file.path, after) && after.size < file.facts.size ? double(file.facts.size - after.size) : 0;
  (keeping ? keeping->bytes : ctx.filesize) += released;
  if (ctx.carrying) ctx.carrying->outcomes.push_back({"rows", target + " (" + std::to_string(goes) + " rows)", ""});
}

// A custom list holds an application's tasks and its own categories ("Recently closed", "Most
// visited"); one holding entries of its own goes whole, and the application writes its tasks
// again when it next builds its list. Pins are never kept here but in the automatic list.
void EraseCustomList(RunContext& ctx, const ListFile& file) {
  if (PassedOverInUse(ctx, file.path)) return;
  const CustomList list = ReadCustomList(file.path);
  if (list.state != CustomList::State::Known) {
    Left(ctx, file.path, list.state == CustomList::State::UnknownLayout ? "a layout not known" : "could not be read");
    return;
  }
  if (list.ownEntries > 0) ctx.filesize += DeleteOneFile(file.path);
}

}  // namespace

void CleanJumpLists(RunContext& ctx) {
  const std::string recent = KnownFolder(CSIDL_RECENT);
  if (!recent.empty()) {
    const std::string automatic = recent + "\\AutomaticDestinations";
    // Pins that an interrupted run left in a copy beside their list are the list again first.
    if (!ctx.preview && FolderMayBeErased(automatic))
      for (const std::string& list : RestoreSetAside(automatic)) ctx.notes.push_back("Restored as it was before an interrupted run: " + list);
    for (const ListFile& f : ListsIn(automatic, "*.automaticDestinations-ms")) TrimAutomaticList(ctx, f);
    for (const ListFile& f : ListsIn(recent + "\\CustomDestinations", "*.customDestinations-ms")) EraseCustomList(ctx, f);
  }
  const std::string roaming = KnownFolder(CSIDL_APPDATA);
  if (!roaming.empty()) EmptyCounted(ctx, roaming + "\\Microsoft\\Office\\Recent");
}

void CleanClipboardHistory(RunContext& ctx) {
  std::string why;
  switch (ClipboardHistoryState(&why)) {
    case ClipboardHistory::None:
    case ClipboardHistory::Off:
      return;
    case ClipboardHistory::Unreachable:
      ctx.notes.push_back("The clipboard history (Win+V) could not be reached (" + why + "): left as it is");
      ctx.outcomes.push_back({"clear", "the clipboard history", "could not be reached"});
      return;
    case ClipboardHistory::On:
      break;
  }
  // Whatever is copied goes into the history and moves the clipboard's sequence number on: a
  // run keeping to a preview clears it only while nothing was copied since.
  const std::string seen = "sequence " + std::to_string(GetClipboardSequenceNumber());
  if (Previewing(ctx, "the clipboard history (Win+V), its pinned items kept", 0, seen)) return;
  if (!ClearClipboardHistory()) {
    ctx.notes.push_back("Windows did not clear the clipboard history");
    ctx.outcomes.push_back({"clear", "the clipboard history", "refused by Windows"});
  }
}

void CleanStartSearchHistory(RunContext& ctx) {
  // Windows 10 (1607 to 1709) lists here, program by program, what was opened from the search of
  // the taskbar and Start, with the files each opened.
  const std::string search = "Software\\Microsoft\\Windows\\CurrentVersion\\Search\\";
  for (const std::string& app : SubKeyNamesOf(HKEY_CURRENT_USER, search + "RecentApps"))
    if (RemoveIfPresent(HKEY_CURRENT_USER, search + "RecentApps\\" + app)) ++ctx.regnum;
  // Windows 10 1903 on and 11: the programs started from the search, each with when.
  ctx.regnum += EmptyExistingKey(HKEY_CURRENT_USER, search + "JumplistData");
  // The search's cache of the programs it offers, with how often and when each ran and what its
  // jump list held (AppCache<time>.txt; Cortana's package kept it before 1903). Its cache of
  // Settings pages holds no track and stays; a cache the search has open is passed over.
  for (const char* package : {"Microsoft.Windows.Search_cw5n1h2txyewy", "Microsoft.Windows.Cortana_cw5n1h2txyewy"}) {
    const std::string folder = LocalAppDataFolder(std::string("Packages\\") + package + "\\LocalState\\DeviceSearchCache");
    if (folder.empty() || AttributesOf(folder) == INVALID_FILE_ATTRIBUTES || !FolderMayBeErased(folder)) continue;
    EraseFilesInUseAside(ctx, folder, "AppCache*.txt");
  }
}
