#include "engine/MoreApps.h"
#include "engine/Winapp2.h"

#include <windows.h>

#include "access/Normal.h"
#include "access/RegSequences.h"
#include "access/regfun.h"
#include "keeplists/KeepLists.h"
#include "settings/Inifun.h"

const char kMoreAppsSection[] = "MOREAPPLICATIONS";

namespace {

using E = MoreAppErasure;

// One kind of erasure on several values of one key.
std::vector<E> Values(E::Kind kind, const std::string& key, std::initializer_list<const char*> names) {
  std::vector<E> out;
  for (const char* name : names) out.push_back({kind, key, name});
  return out;
}

// "File1" to "File<n>".
std::vector<E> NumberedFiles(const std::string& key, int n) {
  std::vector<E> out;
  for (int i = 1; i <= n; ++i) out.push_back({E::DeleteValue, key, "File" + std::to_string(i)});
  return out;
}

// The same paths on each drive of a fixed list, drive by drive; paths begin with ":\".
std::vector<E> OnDrives(E::Kind kind, const char* letters, std::initializer_list<const char*> paths) {
  std::vector<E> out;
  for (const char* d = letters; *d; ++d)
    for (const char* path : paths) out.push_back({kind, std::string(1, *d) + path, ""});
  return out;
}

std::vector<E> Join(std::initializer_list<std::vector<E>> parts) {
  std::vector<E> out;
  for (const std::vector<E>& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::vector<MoreApp> BuildTable() {
  const std::string acd = "Software\\ACD Systems\\ACDSee", divx = "Software\\DivXNetworks\\DivX Player";
  return {
      {1, "ACDSee5", "ACDSee 5.0 Recent", 1,
       Join({{{E::DeleteValue, acd, "ImageDB"}},
             Values(E::DeleteValue, acd + "\\50",
                    {"OpenFolder", "HistMCFDestFolder", "HistFileFilters", "HistSearchText", "HistPaths"})})},
      {2, "ACDsee4", "ACDsee 4.0 Recent", 1,
       Values(E::BlankValue, "HKEY_CURRENT_USER\\" + acd, {"Favorites", "LastFolder", "Openfolder"})},
      {3, "AcrobatReader4", "Acrobat Reader 4.0 file list", 1,
       {{E::BlankValue, "HKEY_CURRENT_USER\\Software\\Adobe\\Acrobat Reader\\4.0\\AdobeViewer", "avpRecentFile"}}},
      {4, "AcrobatReader5", "Acrobat Reader 5 Recent Files", 1,
       {{E::RemoveExistingKey, "Software\\Adobe\\Acrobat Reader\\5.0\\AVGeneral\\cRecentFiles", ""}}},
      {5, "AOL", "America Online 6.0 Temp Files", 5, OnDrives(E::DeleteFiles, "cdef", {":\\America Online 6.0\\AOLTEMP\\*.*"})},
      {6, "CuteFTP", "CuteFTP4.0  History Data", 6,
       OnDrives(E::DeleteFiles, "cdefgh",
                {":\\Program Files\\GlobalSCAPE\\CuteFTP\\sm.dat", ":\\Program Files\\GlobalSCAPE\\CuteFTP\\sm.bak",
                 ":\\Program Files\\GlobalSCAPE\\CuteFTP\\log\\*.*"})},
      {7, "DivxPlayer", "Divx Player Playlist", 8,
       Join({{{E::RemoveExistingKey, divx + "\\file", ""}, {E::BlankValue, "HKEY_CURRENT_USER\\" + divx, "file"}},
             NumberedFiles(divx, 8)})},
      {8, "FlashGet", "Flash Get Recent", 1,
       {{E::RemoveExistingKey, "Software\\JetCar\\JetCar\\Recent File List", ""},
        {E::DeleteFiles, "C:\\Program Files\\FlashGet\\Default.*", ""}}},
      {9, "GetRight", "GetRight 4.x Recent", 1,
       {{E::DeleteKey, "HKEY_CURRENT_USER\\Software\\Headlight\\GetRight\\MRU", ""},
        {E::DeleteKey, "HKEY_CURRENT_USER\\Software\\Headlight\\GetRight\\Recent File List", ""},
        {E::DeleteFiles, "C:\\Program Files\\GetRight\\GetRight.hst", ""}}},
      {10, "Hotbar", "Hotbar3.0 History Data", 1,
       {{E::RemoveExistingKey, "Software\\Hotbar\\hotbar\\ImagesHistory", ""},
        {E::EmptyFolder, "c:\\Program Files\\Hotbar\\v3.0\\dynamic", ""},
        {E::DeleteFiles, "c:\\Program Files\\Hotbar\\v3.0\\static\\*.*", ""}}},
      {11, "ICQ", "ICQ 2000B Cache", 1,
       OnDrives(E::DeleteFiles, "cde",
                {":\\Program Files\\ICQ\\2000b\\*.*", ":\\Program Files\\ICQ\\Bookmark\\*.*",
                 ":\\Program Files\\ICQ\\ICQFiles\\*.*", ":\\Program Files\\ICQ\\Pictures\\*.*",
                 ":\\Program Files\\ICQ\\Received Files\\*.*"})},
      {12, "KaZaA", "KaZaA Download Files", 1,
       OnDrives(E::DeleteFiles, "c",
                {":\\Program Files\\KaZaA\\Db\\*.*", ":\\Program Files\\KaZaA\\My Shared Folder\\*.*",
                 ":\\Program Files\\KaZaA\\Promotions\\*.*"})},
      {13, "Morpheus", "Morpheus History Data", 1,
       {{E::RemoveExistingKey, "Software\\Morpheus\\Morpheus\\Recent File List", ""}}},
      {15, "NetVampire", "Net Vampire 3.x Recent", 1,
       OnDrives(E::DeleteFiles, "C",
                {":\\Program Files\\Net Vampire\\Data\\Jobs\\*.*", ":\\Program Files\\Net Vampire\\Data\\Sites\\*.*",
                 ":\\Program Files\\Net Vampire\\Data\\State\\*.*"})},
      {14, "MSNMessager", "MSN Messager Reveived files", 1, {{E::ReceivedFiles, "\\My Received Files\\*.*", ""}}},
      {16, "PowerDVD", "PowerDVD PlayList", 1, {{E::DeleteFiles, "c:\\Program Files\\CyberLink\\PowerDVD\\*.pls", ""}}},
      {17, "QuickTime", "QuickTime Playlist", 1, {}},
      {18, "SWiSH", "SWiSH 2.0 Recent", 1, {{E::RemoveExistingKey, "Software\\DJJ Holdings\\SWiSH\\Recent File List", ""}}},
      {19, "ThePlayer", "The Playe  Playlist", 5, NumberedFiles("Software\\DivXNetworks\\ThePlaya", 5)},
      {20, "Winamp", "Winamp Recent", 4, OnDrives(E::DeleteFiles, "CDefgh", {":\\Program Files\\Winamp\\*.m3u"})},
      {21, "WinRar", "WinRar 2.x Recent", 1, {{E::RemoveExistingKey, "Software\\WinRAR\\ArcHistory", ""}}},
      {22, "Aol70", "AOL 7.0 Chat Log", 4,
       OnDrives(E::DeleteFiles, "cdef", {":\\Program Files\\America Online 7.0\\download\\*.log"})},
      {23, "Yahoo!", "Yahoo! Message History Files", 3,
       OnDrives(E::EmptyFolder, "cdefgh", {":\\Program Files\\Yahoo!\\Messenger\\IMVCache"})},
  };
}

// False when a registry entry it was to erase stays (passed over with the reason).
bool Erase(const MoreAppErasure& e) {
  switch (e.kind) {
    case E::DeleteValue: return DeleteValue(HKEY_CURRENT_USER, e.target, e.value) == ERROR_SUCCESS;
    case E::BlankValue: return BlankValue(e.target, e.value) == ERROR_SUCCESS;
    case E::RemoveExistingKey: return RemoveExistingKey(HKEY_CURRENT_USER, e.target) == ERROR_SUCCESS;
    case E::DeleteKey: return DeleteKey(e.target) == ERROR_SUCCESS;
    case E::DeleteFiles: DeleteMatching(e.target); break;
    case E::EmptyFolder: EmptyFolderTree(e.target); break;
    case E::ReceivedFiles: {
      // An unreadable "Personal" value names no folder, and the guard then erases nothing.
      const std::string documents = ShellFolder("Personal");
      DeleteMatching(documents + e.target);
      break;
    }
  }
  return true;
}

}  // namespace

const std::vector<MoreApp>& MoreApplications() {
  static const std::vector<MoreApp> table = BuildTable();
  return table;
}

void CleanMoreApplications(RunContext& ctx) {
  for (const MoreApp& app : MoreApplications()) {
    if (!TickText(ReadIni(ctx.settingsFile, kMoreAppsSection, app.key))) continue;
    bool allWent = true;
    for (const MoreAppErasure& e : app.erasures) allWent = Erase(e) && allWent;
    // The application's fixed count stands for its registry entries: not when one stayed.
    if (allWent) ctx.regnum += app.regnum;
  }
  // Then the applications of a definition file the user brought.
  CleanDefinitions(ctx);
}
