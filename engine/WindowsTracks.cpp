// The eleven items that erase what Windows itself keeps (today's Windows in WindowsTraces.h too).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Listing.h"
#include "access/Pattern.h"
#include "access/RegContent.h"
#include "access/Normal.h"
#include "access/RegSequences.h"
#include "access/WidePath.h"
#include "engine/Steps.h"
#include "engine/WindowsTraces.h"
#include "settings/Inifun.h"

namespace {

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const char kExplorerBars[] =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";

std::string Explorer(const char* key) { return std::string(kExplorer) + key; }

// The "FOUND.nnn" folders at a drive's root (hidden, as check-disk makes them; links not taken).
std::vector<std::string> CheckDiskFolders(const std::string& root) {
  std::vector<std::string> found;
  ForEachMatchingEntry(root, "FOUND.???", [&](const ListedEntry& e) {
    const std::string& name = e.name;
    if (IsFolder(e) && !IsLink(e) && name.find_first_not_of("0123456789", 6) == std::string::npos) found.push_back(root + name);
    return true;
  });
  return found;
}

}  // namespace

double ErasableSize(const std::string& folder) { return FolderMayBeErased(folder) ? FolderSize(folder) : 0; }

bool ClearDocumentsMenu() {
  SetLastError(0);
  SHAddToRecentDocs(SHARD_PATHA, nullptr);
  return GetLastError() == 0;
}

std::string WindowsTempFolder() {
  // Asked with the wide call: the narrow one would give a folder the code page cannot spell as
  // its look-alike, which may be another folder.
  wchar_t buf[MAX_PATH + 1] = {0};
  const DWORD n = GetTempPathW(MAX_PATH + 1, buf);
  std::string path = TrimSpaces(n <= MAX_PATH ? NarrowName(buf, n) : std::string());
  if (!path.empty()) path.pop_back();
  return path;
}

void CleanRecentDocuments(RunContext& ctx) {
  // A document opened since a preview adds to the list's key: the list is then no longer what
  // the preview showed, and stays.
  if (!Previewing(ctx, "the Start menu's Documents list", 0, KeyFingerprint(HKEY_CURRENT_USER, Explorer("RecentDocs"))))
    ClearDocumentsMenu();
  // Some shells (Wine's among them) ignore the clearing call: the list is the shortcuts of
  // the Recent folder, so take those too.
  const std::string recent = KnownFolder(CSIDL_RECENT);
  if (!recent.empty()) DeleteMatching(recent + "\\*.lnk", false);
  // Windows 2000 and later keep the list's entries here too, per extension, where the
  // clearing call may leave them.
  ctx.regnum += EmptyExistingKey(HKEY_CURRENT_USER, Explorer("RecentDocs"));
  CleanJumpLists(ctx);
}

void CleanRunHistory(RunContext& ctx) {
  ResetKey(HKEY_CURRENT_USER, Explorer("RunMRU"));
  ctx.regnum += EmptyExistingKey(HKEY_CURRENT_USER, Explorer("TypedPaths"));  // Explorer's address bar
}

void CleanSearchHistory(RunContext& ctx) {
  ResetKey(HKEY_CURRENT_USER, Explorer("Doc Find Spec MRU"));
  RemoveKey(HKEY_CURRENT_USER, Explorer("Doc Find SpecMRU"));
  for (const char* last : {"ComputerNameMRU", "ContainingTextMRU", "FilesNamedMRU"})
    ResetKey(HKEY_CURRENT_USER, std::string(kExplorerBars) + last);
  ResetKey(HKEY_CURRENT_USER, Explorer("FindComputerMRU"));
  ctx.regnum += EmptyExistingKey(HKEY_CURRENT_USER, Explorer("WordWheelQuery"));  // Explorer's search box, Windows 7 on
  CleanStartSearchHistory(ctx);
}

void CleanTempFolder(RunContext& ctx) {
  std::string temp = WindowsTempFolder();
  ctx.filesize += ErasableSize(temp);
  EmptyFolderTree(temp);
}

void CleanRecycleBin(RunContext& ctx) {
  // What the bins of all drives hold, asked of the shell before they are emptied; a shell too
  // old to tell leaves Windows 9x's C:\RECYCLED to measure.
  SHQUERYRBINFO info = {};
  info.cbSize = sizeof info;
  const bool asked = SUCCEEDED(SHQueryRecycleBinA("", &info));
  const double held = asked ? static_cast<double>(info.i64Size) : ErasableSize("C:\\RECYCLED");
  ctx.filesize += held;
  // What it holds, so that a run keeping to a preview empties it only while it holds that.
  const std::string seen = asked ? std::to_string(info.i64NumItems) + " items, " + std::to_string(info.i64Size) + " bytes" : "";
  if (!Previewing(ctx, "the Recycle Bin", held, seen)) SHEmptyRecycleBinA(nullptr, "", SHERB_NOCONFIRMATION);
}

void CleanOpenSaveHistory(RunContext& ctx) {
  static const char* const kExtensions[] = {"*",   "avi", "bmp", "chm", "dat", "exe", "frm", "gif",
                                            "htm", "inf", "jpg", "mdb", "mp3", "mpg", "rar", "rm",
                                            "rtf", "swf", "txt", "wav", "mwv", "xls", "zip", "doc"};
  for (const char* ext : kExtensions) RemoveKey(HKEY_CURRENT_USER, Explorer("ComDlg32\\OpenSaveMRU\\") + ext);
  // Windows Vista and later: the same lists by extension, and the folders last visited.
  for (const char* ext : kExtensions)
    if (RemoveIfPresent(HKEY_CURRENT_USER, Explorer("ComDlg32\\OpenSavePidlMRU\\") + ext)) ++ctx.regnum;
  for (const char* key : {"LastVisitedPidlMRU", "LastVisitedPidlMRULegacy", "LastVisitedMRU"})
    ctx.regnum += EmptyExistingKey(HKEY_CURRENT_USER, Explorer("ComDlg32\\") + key);
}

void CleanScandiskFragments(RunContext& ctx) {
  for (const char* root : {"c:\\", "d:\\", "e:\\", "f:\\", "g:\\"}) {
    DeleteMatching(std::string(root) + "*.chk", false);
    // Windows NT to 11 put check-disk fragments in FOUND.000, FOUND.001... at the root.
    for (const std::string& found : CheckDiskFolders(root)) {
      ctx.filesize += DeleteMatching(found + "\\*.chk", false);
      ActiveEraser().RemoveFolder(found);  // only when it is left empty
    }
  }
}

void CleanCachedPasswords(RunContext&) {
  char windows[MAX_PATH] = {0};
  UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  DeleteMatching(std::string(windows) + "\\*.pwl", false);
}

void CleanClipboard(RunContext& ctx) {
  // Its sequence number changes whenever anything is copied; read before the history is cleared.
  const std::string seen = "sequence " + std::to_string(GetClipboardSequenceNumber());
  CleanClipboardHistory(ctx);
  if (CountClipboardFormats() > 0 && Previewing(ctx, "the clipboard", 0, seen)) return;
  if (ctx.preview || !OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

void CleanWordpadList(RunContext&) {
  ResetKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List");
}

void CleanPaintList(RunContext&) {
  ResetKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List");
}
