// One base class for every window of the program: a dialog over a resource template.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "access/UiHandles.h"

class Dialog {
 public:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  HWND hwnd() const { return hwnd_; }
  // The DPI the window is laid out for: its monitor's.
  UINT Dpi() const { return dpi_; }
  bool IsLoaded() const { return hwnd_ != nullptr; }
  // Modeless: creates the window (hidden unless the template says WS_VISIBLE).
  bool CreateModeless(int templateId, HWND owner = nullptr);
  // Modal: returns the code given to End.
  INT_PTR RunModal(int templateId, HWND owner);
  // The innermost modal dialog of the program that is open now, or 0.
  static HWND OpenModal();
  // Unload: ends a modal dialog or destroys a modeless one; nothing when not loaded.
  void Unload(INT_PTR code = IDCANCEL);

  // Helpers on the dialog's controls, by control ID.
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  void SetText(int id, const std::string& text) const;
  std::string Text(int id) const;
  int CheckValue(int id) const;
  void SetCheck(int id, int value) const;
  void Enable(int id, bool on) const;
  bool IsEnabled(int id) const;
  void ShowItem(int id, bool show) const;
  bool IsItemVisible(int id) const;

  // The hourglass over the whole program.
  static void SetBusyPointer(bool busy);
  static bool BusyPointer();
  // Ends the message loop when the last window of the program is gone.
  static void QuitWhenLastWindowCloses(bool on);
  static int LiveWindowCount();
  // The program's message loop, with keyboard navigation for modeless dialogs.
  static int RunMessageLoop();
  // What the loop does with one message before dispatching it: a key of a window's
  // accelerators, then keyboard navigation of a modeless dialog. True when it was taken.
  static bool TranslateProgramMessage(MSG& msg);

 protected:
  virtual bool OnInit() { return true; }
  virtual bool OnCommand(int id, int code, HWND control) { return false; }
  virtual bool OnTimer(UINT_PTR timerId) { return false; }
  // The window's close control; unloads by default.
  virtual void OnClose() { Unload(); }
  // Anything else; set handled to answer the message.
  virtual INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) { return 0; }
  virtual void OnDestroy() {}
  // The window moved to a monitor of another scaling: true when it laid itself out for the new
  // DPI; otherwise Windows rescales it, as it does every dialog.
  virtual bool OnDpiChanged(UINT dpi, const RECT& suggested) { return false; }
  // The accelerator table (a resource) whose keys act on this window while it or one of its
  // controls has the focus.
  void UseAccelerators(int tableId) const;

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

  // The program's icon in the caption and on the taskbar, at the window's DPI.
  void ShowProgramIcon();

  HWND hwnd_ = nullptr;
  bool modal_ = false;
  UINT dpi_ = 96;
  OwnedIcon bigIcon_, smallIcon_;
};

// A list box's line ("" for none) and all its lines, in order.
std::string ListBoxLine(HWND list, LRESULT index);
std::vector<std::string> ListBoxLines(HWND list);

// Report columns of a list view: title and width in pixels at 96 DPI each, in order.
struct ListColumn {
  const char* title;
  int width;
};
void AddListColumns(HWND listView, const std::vector<ListColumn>& columns);
// A row of a list view: its first cell inserted as row "row", the others set; a text holding
// names the code page cannot spell ("<U+XXXX>") shows them as they are, through the wide message.
void AddListRow(HWND listView, int row, const std::vector<std::string>& cells);

// While it lives, every window of the program but one is disabled: a message box owned by one
// window then holds the whole program, as a modal dialog should, and no other window can close
// what the message's owner is still working on.
class ProgramModal {
 public:
  explicit ProgramModal(HWND except);
  ~ProgramModal();
  ProgramModal(const ProgramModal&) = delete;
  ProgramModal& operator=(const ProgramModal&) = delete;

 private:
  std::vector<HWND> disabled_;
};
