#include "access/Prompts.h"

#include <commdlg.h>
#include <shlobj.h>

const char kProductTitle[] = "Tracksweep";

namespace {
MessageHandler& Messages() {
  static MessageHandler handler;
  return handler;
}
FileHandler& Files() {
  static FileHandler handler;
  return handler;
}
FolderHandler& Folders() {
  static FolderHandler handler;
  return handler;
}
MenuHandler& Menus() {
  static MenuHandler handler;
  return handler;
}
}  // namespace

int ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT flags) {
  if (Messages()) return Messages()(MessageRequest{owner, text, title, flags});
  return MessageBoxA(owner, text.c_str(), title.c_str(), flags);
}

void SetMessageHandler(MessageHandler handler) { Messages() = std::move(handler); }

std::string AskFileName(HWND owner, bool save, const std::string& filter) {
  if (Files()) return Files()(FileRequest{owner, save, filter});
  // "text|pattern" becomes "text\0pattern\0\0".
  std::string f = filter;
  for (char& c : f)
    if (c == '|') c = '\0';
  f.append(2, '\0');
  char name[MAX_PATH] = {0};
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = f.c_str();
  ofn.lpstrFile = name;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = "htm";
  ofn.Flags = OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  // The common dialogs are loaded when first asked for: a program that never shows one (the
  // console cleaner) loads neither them nor the common controls, whose start needs the desktop
  // (under Wine, a desktop process of its own).
  using FileDialog = BOOL(WINAPI*)(LPOPENFILENAMEA);
  static const HMODULE dialogs = LoadLibraryA("comdlg32.dll");
  const auto ask = dialogs ? reinterpret_cast<FileDialog>(GetProcAddress(dialogs, save ? "GetSaveFileNameA" : "GetOpenFileNameA")) : nullptr;
  BOOL ok = ask && ask(&ofn);
  return ok ? std::string(name) : std::string();
}

void SetFileHandler(FileHandler handler) { Files() = std::move(handler); }

std::string AskFolder(HWND owner, const std::string& title, UINT flags) {
  if (Folders()) return Folders()(FolderRequest{owner, title, flags});
  BROWSEINFOA bi = {};
  bi.hwndOwner = owner;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = flags;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&bi);
  if (!chosen) return "";
  char path[MAX_PATH + 1] = {0};  // one more, so the text always ends in a NUL
  const bool ok = SHGetPathFromIDListA(chosen, path) != FALSE;
  CoTaskMemFree(chosen);
  return ok ? std::string(path) : std::string();
}

void SetFolderHandler(FolderHandler handler) { Folders() = std::move(handler); }

int ChooseFromMenu(HWND owner, HMENU menu, POINT at) {
  if (Menus()) {
    MenuRequest request{owner, {}, {}, {}};
    const UINT bold = GetMenuDefaultItem(menu, FALSE, 0);
    request.defaultCommand = bold == static_cast<UINT>(-1) ? 0 : static_cast<int>(bold);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[256] = {0};
      GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      request.items.push_back(text);
      request.commands.push_back(static_cast<int>(GetMenuItemID(menu, i)));
      request.enabled.push_back(!(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)));
    }
    return Menus()(request);
  }
  // The owner comes first, or the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  return TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}

void SetMenuHandler(MenuHandler handler) { Menus() = std::move(handler); }
