// Every message box of the program goes through here, so tests can answer them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

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
