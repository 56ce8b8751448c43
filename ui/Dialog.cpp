#include "ui/Dialog.h"

#include "access/WidePath.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <vector>

#include "access/Prompts.h"
#include "ui/Dpi.h"
#include "ui/NavImage.h"
#include "ui/ProgramIconRes.h"

namespace {
bool g_busy = false;
bool g_quitWhenLast = false;
std::vector<HWND>& LiveWindows() {
  static std::vector<HWND> windows;
  return windows;
}
std::vector<HWND>& ModelessWindows() {
  static std::vector<HWND> windows;
  return windows;
}
// The modal dialogs open now, innermost last.
std::vector<Dialog*>& ModalStack() {
  static std::vector<Dialog*> stack;
  return stack;
}
void Forget(std::vector<HWND>& v, HWND h) { v.erase(std::remove(v.begin(), v.end(), h), v.end()); }
struct WindowKeys {
  HWND window;
  HACCEL keys;
};
std::vector<WindowKeys>& Accelerators() {
  static std::vector<WindowKeys> tables;
  return tables;
}

// A button the window draws (a link, a navigation tile) is pressed by Space as every button
// is, and by Enter too: the dialog manager would otherwise give Enter to the default button.
LRESULT CALLBACK PressedByEnter(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if (msg == WM_GETDLGCODE && lp) {
    const MSG* key = reinterpret_cast<const MSG*>(lp);
    if (key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DefSubclassProc(h, msg, wp, lp) | DLGC_WANTMESSAGE;
  }
  if (msg == WM_KEYDOWN && wp == VK_RETURN) {
    SendMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), BN_CLICKED), reinterpret_cast<LPARAM>(h));
    return 0;
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, PressedByEnter, id);
  return DefSubclassProc(h, msg, wp, lp);
}

bool IsDrawnButton(HWND control) {
  char cls[16] = {0};
  GetClassNameA(control, cls, sizeof cls);
  return lstrcmpiA(cls, "Button") == 0 && (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

// What a window sets in pixels after its controls were made (list-view columns, a list box's
// sideways scroll) Windows does not rescale with the dialog: moved to a monitor of another
// scaling, they are scaled here from the old DPI to the new one.
void RescalePixelWidths(HWND dialog, UINT from, UINT to) {
  if (from == 0 || from == to) return;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[32] = {0};
    GetClassNameA(c, cls, sizeof cls);
    if (lstrcmpiA(cls, WC_LISTVIEWA) == 0) {
      HWND header = reinterpret_cast<HWND>(SendMessageA(c, LVM_GETHEADER, 0, 0));
      const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
      for (int i = 0; i < columns; ++i) {
        const int width = static_cast<int>(SendMessageA(c, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
        SendMessageA(c, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MulDiv(width, static_cast<int>(to), static_cast<int>(from)));
      }
    } else if (lstrcmpiA(cls, "ListBox") == 0) {
      const int extent = static_cast<int>(SendMessageA(c, LB_GETHORIZONTALEXTENT, 0, 0));
      if (extent > 0)
        SendMessageA(c, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(MulDiv(extent, static_cast<int>(to), static_cast<int>(from))), 0);
    }
  }
}

void MakeDrawnButtonsPressable(HWND dialog) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsDrawnButton(c)) SetWindowSubclass(c, PressedByEnter, 0, 0);
}
}  // namespace

Dialog::~Dialog() {
  if (hwnd_) {
    HWND h = hwnd_;
    SetWindowLongPtrA(h, DWLP_USER, 0);
    hwnd_ = nullptr;
    if (!modal_) DestroyWindow(h);
  }
}

bool Dialog::CreateModeless(int templateId, HWND owner) {
  if (hwnd_) return true;
  modal_ = false;
  HWND h = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, Proc,
                              reinterpret_cast<LPARAM>(this));
  if (h) ModelessWindows().push_back(h);
  return h != nullptr;
}

INT_PTR Dialog::RunModal(int templateId, HWND owner) {
  if (hwnd_) return -1;
  modal_ = true;
  ModalStack().push_back(this);
  const INT_PTR code = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, Proc,
                                       reinterpret_cast<LPARAM>(this));
  ModalStack().pop_back();
  return code;
}

HWND Dialog::OpenModal() {
  for (auto it = ModalStack().rbegin(); it != ModalStack().rend(); ++it)
    if ((*it)->hwnd_) return (*it)->hwnd_;
  return nullptr;
}

void Dialog::Unload(INT_PTR code) {
  if (!hwnd_) return;
  if (modal_) EndDialog(hwnd_, code);
  else DestroyWindow(hwnd_);
}

void Dialog::SetText(int id, const std::string& text) const { SetDlgItemTextA(hwnd_, id, text.c_str()); }

std::string Dialog::Text(int id) const {
  HWND h = Item(id);
  int n = GetWindowTextLengthA(h);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  GetWindowTextA(h, &s[0], n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

int Dialog::CheckValue(int id) const { return static_cast<int>(IsDlgButtonChecked(hwnd_, id)); }
void Dialog::SetCheck(int id, int value) const { CheckDlgButton(hwnd_, id, static_cast<UINT>(value)); }
void Dialog::Enable(int id, bool on) const { EnableWindow(Item(id), on ? TRUE : FALSE); }
bool Dialog::IsEnabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
void Dialog::ShowItem(int id, bool show) const { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
bool Dialog::IsItemVisible(int id) const {
  return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Dialog::SetBusyPointer(bool busy) {
  g_busy = busy;
  SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}
bool Dialog::BusyPointer() { return g_busy; }
void Dialog::QuitWhenLastWindowCloses(bool on) { g_quitWhenLast = on; }
int Dialog::LiveWindowCount() { return static_cast<int>(LiveWindows().size()); }

int Dialog::RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (TranslateProgramMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

bool Dialog::TranslateProgramMessage(MSG& msg) {
  for (const WindowKeys& k : Accelerators())
    if ((msg.hwnd == k.window || IsChild(k.window, msg.hwnd)) && IsWindowEnabled(k.window) &&
        TranslateAcceleratorA(k.window, k.keys, &msg))
      return true;
  for (HWND h : ModelessWindows())
    if (IsDialogMessageA(h, &msg)) return true;
  return false;
}

void Dialog::UseAccelerators(int tableId) const {
  // A table loaded from the program's resources is freed with the program.
  HACCEL keys = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(tableId));
  if (keys) Accelerators().push_back({hwnd_, keys});
}

std::string ListBoxLine(HWND list, LRESULT index) {
  if (index < 0) return std::string();
  const LRESULT n = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n <= 0) return std::string();
  std::string s(static_cast<size_t>(n) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&s[0]));
  s.resize(static_cast<size_t>(n));
  return s;
}

std::vector<std::string> ListBoxLines(HWND list) {
  std::vector<std::string> lines;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) lines.push_back(ListBoxLine(list, i));
  return lines;
}

void AddListColumns(HWND listView, const std::vector<ListColumn>& columns) {
  for (size_t i = 0; i < columns.size(); ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(columns[i].title);
    column.cx = Scaled(columns[i].width, WindowDpi(listView));
    SendMessageA(listView, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

void AddListRow(HWND listView, int row, const std::vector<std::string>& cells) {
  for (size_t c = 0; c < cells.size(); ++c) {
    const UINT message = c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW;
    const WPARAM at = c == 0 ? 0 : static_cast<WPARAM>(row);
    if (HasEscapedNames(cells[c])) {
      std::wstring text = WideText(cells[c]);
      LVITEMW it = {};
      it.mask = LVIF_TEXT;
      it.iItem = row;
      it.iSubItem = static_cast<int>(c);
      it.pszText = &text[0];
      SendMessageW(listView, message, at, reinterpret_cast<LPARAM>(&it));
    } else {
      LVITEMA it = {};
      it.mask = LVIF_TEXT;
      it.iItem = row;
      it.iSubItem = static_cast<int>(c);
      it.pszText = const_cast<char*>(cells[c].c_str());
      SendMessageA(listView, c == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&it));
    }
  }
}

namespace {
BOOL CALLBACK CollectWindow(HWND h, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
  return TRUE;
}
}  // namespace

ProgramModal::ProgramModal(HWND except) {
  // The program's windows are the top-level windows of its one thread.
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND h : windows) {
    if (h == except || !IsWindowEnabled(h)) continue;
    EnableWindow(h, FALSE);
    disabled_.push_back(h);
  }
}

ProgramModal::~ProgramModal() {
  for (HWND h : disabled_)
    if (IsWindow(h)) EnableWindow(h, TRUE);
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Dialog* self = nullptr;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lp);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    LiveWindows().push_back(hwnd);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  if (msg == WM_NCDESTROY) {
    Forget(LiveWindows(), hwnd);
    Forget(ModelessWindows(), hwnd);
    auto& tables = Accelerators();
    tables.erase(std::remove_if(tables.begin(), tables.end(), [&](const WindowKeys& k) { return k.window == hwnd; }),
                 tables.end());
    if (self) {
      // Cleared before anything else can reach the half-destroyed object.
      SetWindowLongPtrA(hwnd, DWLP_USER, 0);
      self->hwnd_ = nullptr;
    }
    if (g_quitWhenLast && LiveWindows().empty()) PostQuitMessage(0);
    return FALSE;
  }
  if (msg == WM_SETCURSOR && g_busy) {
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
    return TRUE;
  }
  if (!self) return FALSE;
  try {
    bool handled = false;
    INT_PTR r = self->Dispatch(msg, wp, lp, handled);
    return handled ? r : FALSE;
  } catch (const std::exception& e) {
    ShowMessage(hwnd, e.what(), kProductTitle, MB_OK);
  } catch (...) {
    ShowMessage(hwnd, "Unexpected error", kProductTitle, MB_OK);
  }
  return FALSE;
}

void Dialog::ShowProgramIcon() {
  // The icons the window shows go only once it shows the new ones.
  OwnedIcon large = LoadProgramIcon(IDI_PROGRAM, SystemMetricAt(SM_CXICON, dpi_));
  OwnedIcon little = LoadProgramIcon(IDI_PROGRAM, SystemMetricAt(SM_CXSMICON, dpi_));
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large.get()));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little.get()));
  bigIcon_ = std::move(large);
  smallIcon_ = std::move(little);
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == kDpiChangedMessage) {
    const UINT old = dpi_;
    dpi_ = LOWORD(wp);
    ShowProgramIcon();
    RescalePixelWidths(hwnd_, old, dpi_);
    handled = OnDpiChanged(dpi_, *reinterpret_cast<const RECT*>(lp));
    return handled ? TRUE : FALSE;
  }
  switch (msg) {
    case WM_INITDIALOG:
      handled = true;
      dpi_ = WindowDpi(hwnd_);
      ShowProgramIcon();
      MakeDrawnButtonsPressable(hwnd_);
      return OnInit() ? TRUE : FALSE;
    case WM_COMMAND:
      handled = OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      if (!handled && modal_ && LOWORD(wp) == IDCANCEL) {
        // Esc in a modal dialog closes it; a modeless window ignores it.
        OnClose();
        handled = true;
      }
      return handled ? TRUE : FALSE;
    case WM_TIMER:
      handled = OnTimer(wp);
      return handled ? TRUE : FALSE;
    case WM_CLOSE:
      OnClose();
      handled = true;
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default: {
      const INT_PTR result = OnMessage(msg, wp, lp, handled);
      if (!handled && msg == WM_DRAWITEM && reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->CtlType == ODT_BUTTON) {
        // A drawn button the window does not draw itself is a link.
        DrawLink(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        handled = true;
        return TRUE;
      }
      return result;
    }
  }
}
