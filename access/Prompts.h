// Every message box and file prompt of the program goes through here, so tests can answer them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

extern const char kProductTitle[];  // "Tracksweep"

struct MessageRequest {
  HWND owner;
  std::string text;
  std::string title;
  UINT flags;
};
using MessageHandler = std::function<int(const MessageRequest&)>;

// Shows a message box (or asks the handler installed) and returns the button pressed.
int ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT flags);
// Installs a handler in place of the real message box; an empty one restores it.
void SetMessageHandler(MessageHandler handler);

struct FileRequest {
  HWND owner;
  bool save;           // a Save dialog, else an Open dialog
  std::string filter;  // "(*.htm)|*.htm"
};
using FileHandler = std::function<std::string(const FileRequest&)>;

// The standard Open or Save dialog; "" when the user cancels.
std::string AskFileName(HWND owner, bool save, const std::string& filter);
void SetFileHandler(FileHandler handler);

struct FolderRequest {
  HWND owner;
  std::string title;
  UINT flags;  // BROWSEINFO flags
};
using FolderHandler = std::function<std::string(const FolderRequest&)>;

struct MenuRequest {
  HWND owner;
  std::vector<std::string> items;  // each command's text, in order
  std::vector<int> commands;
  std::vector<bool> enabled;
  int defaultCommand = 0;  // the item shown in bold, which a double click would choose; 0: none
};
using MenuHandler = std::function<int(const MenuRequest&)>;

// A popup menu at a point of the screen; the command chosen, 0 for none.
int ChooseFromMenu(HWND owner, HMENU menu, POINT at);
void SetMenuHandler(MenuHandler handler);

// The shell's folder picker over the whole namespace; the chosen folder's path, or "" when
// the user cancels or the choice has no path.
std::string AskFolder(HWND owner, const std::string& title, UINT flags);
void SetFolderHandler(FolderHandler handler);
