// The seven Internet Explorer items.
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "access/Normal.h"
#include "access/RegContent.h"
#include "access/RegKey.h"
#include "access/RegSequences.h"
#include "access/URLHistory.h"
#include "access/regfun.h"
#include "engine/Preview.h"
#include "engine/Steps.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"

namespace {

const DWORD kClearTimeoutMs = 30000;

// Wine exports Internet Options' clearing entry as a stub that aborts the process.
bool RunningOnWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Starts a command hidden and waits for it, but never longer than the timeout.
void RunHidden(const std::string& commandLine, DWORD timeoutMs) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi = {};
  std::string cmd = commandLine;
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return;
  if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

// rundll32.exe of the system folder, by its full path, where Internet Options exports its
// clear-tracks entry (Internet Explorer 7 on); "" where it does not, so that no error box
// and no wait come of starting it.
std::string ClearTracksRunner() {
  if (RunningOnWine()) return "";
  char system[MAX_PATH] = {0};
  UINT n = GetSystemDirectoryA(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return "";
  HMODULE inetcpl = LoadLibraryExA((std::string(system) + "\\inetcpl.cpl").c_str(), nullptr, 0);
  if (!inetcpl) return "";
  const bool exported = GetProcAddress(inetcpl, "ClearMyTracksByProcessW") || GetProcAddress(inetcpl, "ClearMyTracksByProcess");
  FreeLibrary(inetcpl);
  return exported ? std::string(system) + "\\rundll32.exe" : "";
}

}  // namespace

std::string ShlwapiMajorVersion() {
  DLLVERSIONINFO info = {};
  info.cbSize = sizeof info;  // 20: size, major, minor, build, platform
  HMODULE shlwapi = LoadLibraryA("Shlwapi.dll");
  if (shlwapi) {
    auto get = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(shlwapi, "DllGetVersion"));
    if (get) get(&info);
    FreeLibrary(shlwapi);
  }
  return std::to_string(info.dwMajorVersion);
}

void CleanTypedUrls(RunContext& ctx) {
  std::vector<std::string> keep;
  // A keep list that cannot be read keeps everything: nothing is erased.
  if (!ReadListFile(KeepUrlFile(), keep)) return;
  std::vector<std::string> typed = CurrentTypedUrls();
  // Each address a preview lists, so that one can be kept; keeping to a preview, those not
  // ticked are written back like the kept ones.
  CarryingEraser* const keeping = KeepingToPreview(ctx);
  std::vector<std::string> going;
  for (const std::string& url : typed) {
    if (std::find(keep.begin(), keep.end(), url) != keep.end()) {
      PreviewKept(ctx, url, "URL keep list");
      continue;
    }
    if (ctx.preview) {
      ctx.preview->entries.push_back({"typed address", url, 0});
      going.push_back(url);
    } else if (keeping && !keeping->Chosen("typed address", url)) keep.push_back(url);
    else going.push_back(url);
  }
  const char kTimes[] = "Software\\Microsoft\\Internet Explorer\\TypedURLsTime";
  if (ctx.preview) {
    ctx.regnum += static_cast<double>(going.size()) + EmptyExistingKey(HKEY_CURRENT_USER, kTimes);
    return;
  }
  if (keeping && going.empty()) return;  // every address stays: nothing to rewrite
  {
    // The list is rewritten whole, whichever addresses go: the addresses are the entries.
    RealEraser direct;
    std::unique_ptr<ScopedEraser> whole(keeping ? new ScopedEraser(direct) : nullptr);
    RemoveKey(HKEY_CURRENT_USER, kTypedUrlsKey);
    const std::string key = std::string("HKEY_CURRENT_USER\\") + kTypedUrlsKey;
    CreateKey(key);
    for (size_t i = 0; i < keep.size(); ++i) SetStringValue(key, "url" + std::to_string(i + 1), keep[i]);
  }
  // Internet Explorer 10 and later keep a time per typed address, by its number: after the
  // rewrite no time may point at an erased or moved address, the kept ones' included.
  ctx.regnum += EmptyExistingKey(HKEY_CURRENT_USER, kTimes);
  // What the step erased: the typed URLs that are not written back.
  if (keeping) {
    keeping->keys += static_cast<double>(going.size());
    // The run's report and its window name each address that went, as they name files.
    for (const std::string& url : going) keeping->outcomes.push_back({"typed address", url, ""});
  } else {
    ctx.regnum += static_cast<double>(going.size());
  }
}

namespace {
// What the URL history store holds, as a preview saw it: how many addresses, and the latest
// visit; "" when the store cannot be read.
std::string UrlStoreSeen() {
  try {
    CURLHistory history;
    double latest = 0;
    for (const auto& item : history) latest = std::max(latest, item->LastVisited());
    char buf[96];
    snprintf(buf, sizeof buf, "%ld addresses, last visited %.6f", history.Count(), latest);
    return buf;
  } catch (const std::exception&) {
    return "";
  }
}
}  // namespace

void CleanUrlHistory(RunContext& ctx) {
  if (Previewing(ctx, "Internet Explorer's URL history store", 0, UrlStoreSeen())) return;
  try {
    CURLHistory history;
    history.Clear();
  } catch (const std::exception&) {
    // A store that cannot be reached or cleared is passed over, like every failed step.
  }
}

void CleanInternetCache(RunContext& ctx) {
  const std::string cache = ShellFolder("Cache");
  ctx.filesize += ErasableSize(cache);
  const std::string ie5 = cache + "\\Content.IE5\\";
  for (char letter = 'a'; letter <= 'z'; ++letter)
    if (letter != 'i') DeleteMatching(ie5 + letter + "*.*", false);
  DeleteMatching(ie5 + "*.*", false);
  for (char letter = 'a'; letter <= 'z'; ++letter) DeleteFoldersMatching(ie5 + letter + "*.*", false);
  DeleteFoldersMatching(ie5 + "*.*", false);
  DeleteMatching(cache + "\\*.*", false);
  DeleteFoldersMatching(cache + "\\*.*", false);
  DeleteMatching(cache + "\\*.*", false);
  if (FolderMayBeErased(cache)) ActiveEraser().EraseFile(cache + "\\desktop.ini", true);
}

void CleanCookies(RunContext& ctx) {
  const std::string cookies = ShellFolder("Cookies");
  // The folder comes from the registry: one that may not be erased gives up none of its files.
  if (!FolderMayBeErased(cookies)) return;
  std::vector<std::string> keep;
  if (!ReadListFile(KeepCookieFile(), keep)) return;  // unreadable: every cookie is kept
  ctx.filesize += FolderSize(cookies);
  for (const std::string& path : CurrentCookies(cookies)) {
    if (std::find(keep.begin(), keep.end(), path) == keep.end()) DeleteOneFile(path);
    else PreviewKept(ctx, path, "cookie keep list");
  }
}

void CleanFavorites(RunContext& ctx) {
  const std::string favorites = ShellFolder("Favorites");
  ctx.filesize += ErasableSize(favorites);
  EmptyFolderTree(favorites);
}

void CleanAutocomplete(RunContext& ctx) {
  // Internet Explorer 7 and later keep form data and passwords below this key: a preview notes
  // what it held, before anything of this step goes.
  const std::string forms = KeyFingerprint(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage2");
  RemoveKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW");
  RemoveKey(HKEY_USERS, ".DEFAULT\\Software\\Microsoft\\Internet Explorer\\IntelliForms");
  // Internet Explorer 7 and later clear form data (16) and saved passwords (32) through
  // Internet Options' own entry; older ones keep them only in the keys removed above.
  const std::string rundll = ClearTracksRunner();
  if (rundll.empty() || Previewing(ctx, "form data and passwords, through Internet Options' clear-tracks entry", 0, forms)) return;
  RunHidden(rundll + " inetcpl.cpl,ClearMyTracksByProcess 48", kClearTimeoutMs);
}

void CleanDownloadedPrograms(RunContext& ctx) {
  const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  const std::string folder = CleanFolderPath(GetStringValue(std::string("HKEY_LOCAL_MACHINE\\") + kInternetSettings, "ActiveXCache"));
  ctx.filesize += ErasableSize(folder);
  EmptyFolderTree(folder);
  // On 64-bit Windows the 32-bit view of the machine's keys may name a folder of its own.
  if (!HasTwoRegistryViews()) return;
  RegKey settings;
  std::string value;
  if (settings.Open(HKEY_LOCAL_MACHINE, kInternetSettings, KEY_QUERY_VALUE | KEY_WOW64_32KEY) != ERROR_SUCCESS ||
      !settings.QueryString("ActiveXCache", value))
    return;
  const std::string other = CleanFolderPath(value);
  if (LowerText(other) == LowerText(folder)) return;
  ctx.filesize += ErasableSize(other);
  EmptyFolderTree(other);
}
