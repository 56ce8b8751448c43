// The eleven items that erase what Windows itself keeps.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "access/FolderGuard.h"
#include "access/Normal.h"
#include "access/RegSequences.h"
#include "engine/Steps.h"
#include "settings/Inifun.h"

namespace {

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const char kExplorerBars[] =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";

std::string Explorer(const char* key) { return std::string(kExplorer) + key; }

}  // namespace

double ErasableSize(const std::string& folder) { return FolderMayBeErased(folder) ? FolderSize(folder) : 0; }

bool ClearDocumentsMenu() {
  SetLastError(0);
  SHAddToRecentDocs(SHARD_PATHA, nullptr);
  return GetLastError() == 0;
}

std::string WindowsTempFolder() {
  char buf[256] = {0};
  DWORD n = GetTempPathA(sizeof buf, buf);
  std::string path = TrimSpaces(std::string(buf, n < sizeof buf ? n : 0));
  if (!path.empty()) path.pop_back();
  return path;
}

void CleanRecentDocuments(RunContext& ctx) {
  if (!Previewing(ctx, "the Start menu's Documents list")) ClearDocumentsMenu();
  // Some shells (Wine's among them) ignore the clearing call: the list is the shortcuts of
  // the Recent folder, so take those too.
  char recent[MAX_PATH] = {0};
  if (SHGetSpecialFolderPathA(nullptr, recent, CSIDL_RECENT, FALSE)) DeleteMatching(std::string(recent) + "\\*.lnk", false);
}

void CleanRunHistory(RunContext&) { ResetKey(HKEY_CURRENT_USER, Explorer("RunMRU")); }

void CleanSearchHistory(RunContext&) {
  ResetKey(HKEY_CURRENT_USER, Explorer("Doc Find Spec MRU"));
  RemoveKey(HKEY_CURRENT_USER, Explorer("Doc Find SpecMRU"));
  for (const char* last : {"ComputerNameMRU", "ContainingTextMRU", "FilesNamedMRU"})
    ResetKey(HKEY_CURRENT_USER, std::string(kExplorerBars) + last);
  ResetKey(HKEY_CURRENT_USER, Explorer("FindComputerMRU"));
}

void CleanTempFolder(RunContext& ctx) {
  std::string temp = WindowsTempFolder();
  ctx.filesize += ErasableSize(temp);
  EmptyFolderTree(temp);
}

void CleanRecycleBin(RunContext& ctx) {
  const double before = ctx.filesize;
  // Windows 9x keeps the bin in C:\RECYCLED; NT-family systems name it otherwise, so ask the shell.
  const char kRecycled[] = "C:\\RECYCLED";
  if (GetFileAttributesA(kRecycled) != INVALID_FILE_ATTRIBUTES) {
    ctx.filesize += ErasableSize(kRecycled);
  } else {
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof info;
    if (SUCCEEDED(SHQueryRecycleBinA("", &info))) ctx.filesize += static_cast<double>(info.i64Size);
  }
  if (!Previewing(ctx, "the Recycle Bin", ctx.filesize - before)) SHEmptyRecycleBinA(nullptr, "", SHERB_NOCONFIRMATION);
}

void CleanOpenSaveHistory(RunContext&) {
  static const char* const kExtensions[] = {"*",   "avi", "bmp", "chm", "dat", "exe", "frm", "gif",
                                            "htm", "inf", "jpg", "mdb", "mp3", "mpg", "rar", "rm",
                                            "rtf", "swf", "txt", "wav", "mwv", "xls", "zip", "doc"};
  for (const char* ext : kExtensions) RemoveKey(HKEY_CURRENT_USER, Explorer("ComDlg32\\OpenSaveMRU\\") + ext);
}

void CleanScandiskFragments(RunContext&) {
  for (const char* pattern : {"c:\\*.chk", "d:\\*.chk", "e:\\*.chk", "f:\\*.chk", "g:\\*.chk"})
    DeleteMatching(pattern, false);
}

void CleanCachedPasswords(RunContext&) {
  char windows[MAX_PATH] = {0};
  UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  DeleteMatching(std::string(windows) + "\\*.pwl", false);
}

void CleanClipboard(RunContext& ctx) {
  if (CountClipboardFormats() > 0 && Previewing(ctx, "the clipboard")) return;
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
