#include "access/MsgBox.h"

const char kProductTitle[] = "Tracksweep";

namespace {
MessageHandler& Handler() {
  static MessageHandler handler;
  return handler;
}
}  // namespace

int ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT flags) {
  if (Handler()) return Handler()(MessageRequest{owner, text, title, flags});
  return MessageBoxA(owner, text.c_str(), title.c_str(), flags);
}

void SetMessageHandler(MessageHandler handler) { Handler() = std::move(handler); }
