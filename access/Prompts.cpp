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
  BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
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
