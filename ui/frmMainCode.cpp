// frmMainCode: the main window, its check boxes (the run's selection), links and images.
#include "ui/frmMainCode.h"

#include <commctrl.h>

#include <functional>

#include "access/Favorites.h"
#include "access/Normal.h"
#include "access/Prompts.h"
#include "keeplists/KeepLists.h"
#include "settings/Additional.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "settings/MainTicks.h"
#include "ui/App.h"
#include "ui/CustomItemsPage.h"
#include "ui/SubItemDialog.h"
#include "ui/frmmoreapp.h"
#include "ui/frmmorebrowsers.h"
#include "ui/frmtray.h"
#include "ui/Dpi.h"
#include "ui/MoreLinks.h"
#include "ui/frmmorewindows.h"
#include "ui/NavImage.h"
#include "ui/SkinModule.h"
#include "ui/Frmsplash.h"
#include "ui/KeepListDialog.h"
#include "ui/frmMainCodeRes.h"
#include "ui/frmabout.h"
#include "ui/frmcleannow.h"
#include "ui/frmLocate.h"
#include "ui/frmoptions.h"

namespace {

struct OptionsButton {
  int check;
  int command;
};
// Each Options button is enabled exactly while its box is ticked.
const OptionsButton kOptionsButtons[] = {{1, 7}, {4, 8}, {8, 3}, {24, 1}, {27, 2}, {23, 6}};

const int kBrowserBoxes[] = {1, 2, 3, 4, 5, 6, 7, 8, 24, 27, 25};
const int kWindowsBoxes[] = {10, 11, 12, 13, 14, 15, 16, 17, 26, 28, 29};
const int kSelectAllBrowsers = 9;
const int kSelectAllWindows = 18;

// Navigation images and their caption labels.
struct NavEntry {
  int image;
  int label;
};
const NavEntry kNavigation[] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {9, 13}};

const char kStandardTitle[] = "Standard Items";
const char kStandardSubtitle[] = "Ensure your privacy by erasing kinds of tracks from your computer.";
const char kCustomTitle[] = "Custom Erase items";
const char kCustomSubtitle[] = "Custom File and Folder Item Editor.";

// The Options buttons of Netscape, Opera, MSN Explorer and MS-Office each open their
// sub-item dialog.
const SubItemDescription* OptionsOpenedBy(int id) {
  switch (id) {
    case IDC_COMMAND(3): return &NetscapeOptions();
    case IDC_COMMAND(1): return &OperaOptions();
    case IDC_COMMAND(2): return &MsnOptions();
    case IDC_COMMAND(6): return &OfficeOptions();
    default: return nullptr;
  }
}

// The frame's pages move this far right and down, inside the skin's borders and title bar.
const int kFrameLeft = 19;
const int kFrameTop = 30;
const COLORREF kBackground = RGB(192, 192, 192);
const COLORREF kTitleBand = RGB(32, 96, 192);  // behind the title text, as the skin draws it
const int kTitlePart = 0;                      // lblTitle

struct CaptionTip {
  const char* part;
  const char* text;
};
const CaptionTip kCaptionTips[] = {{"imgTitleClose", "Close"},
                                   {"imgTitleMinimize", "Minimize"},
                                   {"imgTitleHelp", "Help"},
                                   {"imgTitleMaxRestore", "Maximize (Disabled)"},
                                   {"imgTitleMaximize", "Maximize (Disabled)"},
                                   {"imgTitleRestore", "Maximize (Disabled)"}};

bool IsCheckBox(int id) { return id > IDC_CHECK(0) && id <= IDC_CHECK(29); }

int NavImageOf(int id) {
  for (const NavEntry& n : kNavigation)
    if (id == IDC_IMAGE(n.image) || id == IDC_LABEL(n.label)) return n.image;
  return 0;
}

}  // namespace


frmMainCode::frmMainCode(App& app)
    : app_(app), background_(CreateSolidBrush(kBackground)), titleBrush_(CreateSolidBrush(kTitleBand)) {}

frmMainCode::~frmMainCode() {
  DeleteObject(background_);
  DeleteObject(titleBrush_);
}

bool frmMainCode::Load() { return CreateModeless(IDD_FRMMAINCODE); }

void frmMainCode::Show() {
  if (!IsLoaded()) return;
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

int frmMainCode::CheckValue(int checkNumber) const {
  return IsLoaded() ? Dialog::CheckValue(IDC_CHECK(checkNumber)) : 0;
}

bool frmMainCode::OnInit() {
  // The skinned frame is laid out in pixels: the window follows a change of DPI itself.
  LayOutOwnDpiChanges(hwnd());
  laidOutDpi_ = Dpi();
  ShowTitleFont();
  SetText(IDC_LABEL(51), std::string("Visit us at: ") + kWebAddress);

  ShowPage(true);
  LoadTicks();
  ShowMoreLinks();
  ApplySkin();
  UseAccelerators(IDR_MAINKEYS);
  return TRUE;
}

void frmMainCode::ShowMoreLinks() {
  const std::string settings = SettingsPath();
  SetText(IDC_LABEL32, MoreBrowsersCaption(settings));
  SetText(IDC_LABEL31, MoreApplicationsCaption(settings));
}

void frmMainCode::ShowTitleFont() {
  LOGFONTA lf = {};
  lf.lfHeight = -Scaled(16, Dpi());
  lf.lfWeight = FW_BOLD;
  lstrcpyA(lf.lfFaceName, "Arial");
  OwnedFont font = MakeFont(lf);
  SendMessageA(Item(IDC_LABEL(9)), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  titleFont_ = std::move(font);
}

void frmMainCode::ApplySkin() {
  // The pages move inside the frame: below the title bar, right of the left border.
  const int left = Scaled(kFrameLeft, Dpi()), top = Scaled(kFrameTop, Dpi());
  ForEachPageControl([&](HWND c, const RECT& r) {
    SetWindowPos(c, nullptr, r.left + left, r.top + top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  });
  RECT w;
  GetWindowRect(hwnd(), &w);
  SetWindowPos(hwnd(), nullptr, w.left - left, w.top - top, w.right - w.left + 2 * left, w.bottom - w.top + 2 * top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  skin_.LoadSkinImages();
  skin_.LayoutSkinFrame(hwnd(), Dpi());
  AddCaptionTips();
}

void frmMainCode::ForEachPageControl(const std::function<void(HWND, const RECT&)>& act) const {
  for (HWND c = GetWindow(hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(c);
    if (id >= IDC_SKIN_FIRST && id <= IDC_SKIN_LAST) continue;
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    act(c, r);
  }
}

bool frmMainCode::OnDpiChanged(UINT dpi, const RECT& suggested) {
  // Every control keeps its place and size in proportion, with its font made for the new DPI;
  // then the frame is laid out anew around them.
  const UINT old = laidOutDpi_;
  auto scale = [&](LONG v) { return MulDiv(v, static_cast<int>(dpi), static_cast<int>(old)); };
  LOGFONTA lf = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  lf.lfHeight = scale(lf.lfHeight);
  OwnedFont font = MakeFont(lf);
  ForEachPageControl([&](HWND c, const RECT& r) {
    SetWindowPos(c, nullptr, scale(r.left), scale(r.top), scale(r.right) - scale(r.left), scale(r.bottom) - scale(r.top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  });
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  dialogFont_ = std::move(font);
  ShowTitleFont();
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  skin_.LayoutSkinFrame(hwnd(), dpi);
  laidOutDpi_ = dpi;
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return true;
}

void frmMainCode::AddCaptionTips() {
  HWND tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!tips) return;
  for (const CaptionTip& tip : kCaptionTips) {
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(Item(IDC_SKIN(SkinPartIndex(tip.part))));
    ti.lpszText = const_cast<char*>(tip.text);
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void frmMainCode::Minimize() {
  // Minimize stores nothing. The taskbar button stays unless the user chose the tray alone:
  // tray icons often sit out of sight, and a program with neither would seem lost.
  ShowWindow(hwnd(), SW_MINIMIZE);
  if (app_.TrayLoaded() && OptionOn(SettingsPath(), Option::MinimizeToTray)) ShowWindow(hwnd(), SW_HIDE);
}

bool frmMainCode::SkinClicked(int id) {
  const int part = id - IDC_SKIN(0);
  if (part < 0 || static_cast<size_t>(part) >= SkinParts().size()) return false;
  const std::string name = SkinParts()[part].name;
  if (name == "imgTitleClose") CloseHandler();
  else if (name == "imgTitleMinimize") Minimize();
  else if (name == "imgTitleHelp") ShowHelpFile();
  else if (name == "imgTitleLeft" || name == "imgTitleMain" || name == "imgTitleRight") DragWindow(hwnd());
  return true;
}

void frmMainCode::LoadTicks() {
  const std::string file = SettingsPath();
  const std::vector<TickKey>& keys = MainTickKeys();
  for (int i = 0; i < kBrowserTickCount; ++i)
    SetCheck(IDC_CHECK(keys[i].check), TickLenient(ReadIni(file, keys[i].section, keys[i].key)));
  ShowLastRun();
  for (size_t i = kBrowserTickCount; i < keys.size(); ++i)
    SetCheck(IDC_CHECK(keys[i].check), TickLenient(ReadIni(file, keys[i].section, keys[i].key)));
  UpdateOptionButtons();
}

void frmMainCode::ShowLastRun() {
  if (!IsLoaded()) return;
  const LastRunRecord last = ReadLastRun(SettingsPath());
  SetText(IDC_LABEL(12), last.showWhen ? last.when : std::string());
  SetText(IDC_LABEL(14), last.showTotals ? last.totals : std::string());
}

void frmMainCode::StoreTicks() const {
  const std::string file = SettingsPath();
  for (const TickKey& k : MainTickKeys())
    WriteIni(file, k.section, k.key, Dialog::CheckValue(IDC_CHECK(k.check)) == BST_CHECKED ? "1" : "0");
}

void frmMainCode::UpdateOptionButtons() const {
  for (const OptionsButton& b : kOptionsButtons)
    Enable(IDC_COMMAND(b.command), Dialog::CheckValue(IDC_CHECK(b.check)) == BST_CHECKED);
}

void frmMainCode::SelectAll(int selectAllBox) const {
  int value = Dialog::CheckValue(IDC_CHECK(selectAllBox)) == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
  if (selectAllBox == kSelectAllBrowsers)
    for (int n : kBrowserBoxes) SetCheck(IDC_CHECK(n), value);
  else
    for (int n : kWindowsBoxes) SetCheck(IDC_CHECK(n), value);
}

void frmMainCode::ShowPage(bool standard) {
  for (HWND c = GetWindow(hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(c);
    if (id >= IDC_STANDARD_FIRST && id <= IDC_STANDARD_LAST) ShowWindow(c, standard ? SW_SHOW : SW_HIDE);
    if (id >= IDC_CUSTOM_FIRST && id <= IDC_CUSTOM_LAST) ShowWindow(c, standard ? SW_HIDE : SW_SHOW);
  }
  SetText(IDC_LABEL(9), standard ? kStandardTitle : kCustomTitle);
  SetText(IDC_LABEL(8), standard ? kStandardSubtitle : kCustomSubtitle);
}

void frmMainCode::ShowStandardPage() { ShowPage(true); }

void frmMainCode::ShowCustomPage() {
  ShowPage(false);
  CustomItemsPage(*this).Load();
}

void frmMainCode::ClearSelections() { SetHovered(0); }

void frmMainCode::SetHovered(int image) {
  if (image == hovered_) return;
  int old = hovered_;
  hovered_ = image;
  if (old) InvalidateRect(Item(IDC_IMAGE(old)), nullptr, TRUE);
  if (image) InvalidateRect(Item(IDC_IMAGE(image)), nullptr, TRUE);
}

void frmMainCode::NavigationClicked(int image) {
  switch (image) {
    case 1: ShowStandardPage(); break;
    case 2: ShowCustomPage(); break;
    case 3: app_.CleanNow().Open(); break;
    case 4: frmLocate(app_).ShowModal(hwnd()); break;
    case 5: frmoptions(app_).ShowModal(hwnd()); break;
    case 6: app_.About().ShowModal(hwnd()); break;
    case 9: CloseHandler(); break;
    default: break;
  }
}

bool frmMainCode::OnCommand(int id, int code, HWND control) {
  if (IsCheckBox(id)) {
    if (code != BN_CLICKED) return false;
    if (id == IDC_CHECK(kSelectAllBrowsers)) SelectAll(kSelectAllBrowsers);
    if (id == IDC_CHECK(kSelectAllWindows)) SelectAll(kSelectAllWindows);
    UpdateOptionButtons();
    return true;
  }
  // A click (BN_CLICKED and STN_CLICKED are one code), or a key of the accelerators (code 1,
  // from no control).
  const bool accelerator = code == 1 && !control;
  if (code != BN_CLICKED && !accelerator) return false;
  if (accelerator && !IsItemVisible(id)) return true;  // a link of the page not shown
  if (SkinClicked(id)) return true;
  if (int image = NavImageOf(id)) {
    NavigationClicked(image);
    return true;
  }
  if (id == IDC_LABEL(51)) {
    OpenWebAddress();
    return true;
  }
  if (CustomItemsPage(*this).OnCommand(id)) return true;
  if (id == IDC_LABEL31 || id == IDC_LABEL32) {
    if (id == IDC_LABEL31) frmmoreapp().ShowModal(hwnd());
    else frmmorebrowsers().ShowModal(hwnd());
    ShowMoreLinks();  // the links say what the dialog now holds
    if (id == IDC_LABEL32 && app_.TrayLoaded()) app_.Tray().WatchBrowsers();
    return true;
  }
  if (id == IDC_LABEL33) {
    frmmorewindows().ShowModal(hwnd());
    return true;
  }
  if (const SubItemDescription* options = OptionsOpenedBy(id)) {
    SubItemDialog(*options).ShowModal(hwnd());
    return true;
  }
  if (id == IDC_COMMAND(7)) {
    app_.Url().ShowModal(hwnd());
    return true;
  }
  if (id == IDC_COMMAND(8)) {
    app_.Cookie().ShowModal(hwnd());
    return true;
  }
  if (id == IDC_COMMAND(4) || id == IDC_COMMAND(5)) {
    const bool import = id == IDC_COMMAND(5);
    ImportExportFavorites(import, AskFileName(hwnd(), !import, "(*.htm)|*.htm"), ShellFolder("Favorites"));
    return true;
  }
  if (id == IDC_LABEL(7) || id == IDC_PICTURE2) {
    ShowHelpFile();
    return true;
  }
  return false;
}

INT_PTR frmMainCode::OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_SETCURSOR: {
      // Children report the cursor to their parent first: the hover highlight.
      int id = GetDlgCtrlID(reinterpret_cast<HWND>(wp));
      int image = NavImageOf(id);
      if (image && id == IDC_IMAGE(image)) SetHovered(image);
      else if (id == IDC_PICTURE1) ClearSelections();
      return FALSE;
    }
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MINIMIZE) {
        Minimize();
        handled = true;
        return TRUE;
      }
      return FALSE;
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      int id = static_cast<int>(wp);
      if (int image = NavImageOf(id)) DrawNavImage(*dis, image, image == hovered_);
      else if (id == IDC_PICTURE2) DrawHelpImage(*dis);
      else if (!skin_.Draw(*dis)) return FALSE;
      handled = true;
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      HWND c = reinterpret_cast<HWND>(lp);
      int id = GetDlgCtrlID(c);
      HDC dc = reinterpret_cast<HDC>(wp);
      if (id == IDC_PICTURE1 || NavImageOf(id)) {
        handled = true;
        return reinterpret_cast<INT_PTR>(NavigationBackground(dc));
      }
      handled = true;
      if (id == IDC_SKIN(kTitlePart)) {
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, kTitleBand);
        return reinterpret_cast<INT_PTR>(titleBrush_);
      }
      SetBkColor(dc, kBackground);
      return reinterpret_cast<INT_PTR>(background_);
    }
    case WM_CTLCOLORDLG:
      handled = true;
      return reinterpret_cast<INT_PTR>(background_);
    default:
      return FALSE;
  }
}

void frmMainCode::CloseHandler() {
  if (!IsLoaded()) return;
  app_.Splash().Unload();
  app_.UnloadTray();
  app_.Url().Unload();
  app_.CleanNow().Unload();
  app_.Cookie().Unload();
  StoreTicks();
  app_.About().Unload();
  Unload();
}

void frmMainCode::OnDestroy() { hovered_ = 0; }
