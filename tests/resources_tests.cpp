// What Tsw.exe carries, read back from the file itself: its icon group and its manifest; and
// every dialog of it laid out at 96 and at 144 DPI as Windows lays it out (dialog units of the
// template's own font at that DPI), each static text measured with that font against its control.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/MoreApps.h"
#include "engine/Schedule.h"
#include "settings/AppFolder.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/MoreBrowsersRes.h"
#include "ui/MoreWindowsRes.h"
#include "ui/ProgramIconRes.h"
#include "ui/SubItemRes.h"
#include "ui/frmMainCode.h"
#include "ui/frmMainCodeRes.h"
#include "ui/frmaboutRes.h"
#include "ui/frmtray.h"
#include "ui/BackgroundRes.h"
#include "ui/Dpi.h"
#include "ui/SkinModule.h"
#include "ui/FrmsplashRes.h"
#include "ui/KeepListRes.h"
#include "ui/frmLocateRes.h"
#include "ui/frmcleannowRes.h"

namespace {

const char kProgram[] = "C:\\tsw-bin\\Tsw.exe";

// The program file opened for its resources only.
class ResourceFile {
 public:
  explicit ResourceFile(const char* path) : module_(LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ResourceFile() {
    if (module_) FreeLibrary(module_);
  }
  ResourceFile(const ResourceFile&) = delete;
  ResourceFile& operator=(const ResourceFile&) = delete;
  HMODULE get() const { return module_; }
  // The bytes of one resource; empty when there is none.
  std::string Bytes(LPCSTR type, LPCSTR name) const {
    HRSRC found = module_ ? FindResourceA(module_, name, type) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
    if (!loaded) return std::string();
    return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module_, found));
  }

 private:
  HMODULE module_;
};

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

// ---- Dialog templates (DLGTEMPLATEEX) as the resource compiler wrote them.

struct TemplateControl {
  int id = 0;
  std::string kind;  // "Button", "Static", "Edit", ... or the class name
  DWORD style = 0;
  RECT units = {};   // left, top, right, bottom in dialog units
  std::string text;
};
struct DialogTemplate {
  std::string caption, face;
  int points = 0, weight = 0;
  std::vector<TemplateControl> controls;
};

class TemplateReader {
 public:
  explicit TemplateReader(const std::string& bytes) : b_(bytes) {}
  WORD Word() {
    WORD w = 0;
    if (at_ + 2 <= b_.size()) memcpy(&w, b_.data() + at_, 2);
    at_ += 2;
    return w;
  }
  DWORD Dword() { return Word() | (static_cast<DWORD>(Word()) << 16); }
  // A name or an ordinal; an ordinal comes back as "#n".
  std::string NameOrOrdinal() {
    const WORD first = Word();
    if (first == 0xFFFF) return "#" + std::to_string(Word());
    std::wstring text;
    for (WORD c = first; c; c = Word()) text += static_cast<wchar_t>(c);
    char narrow[1024] = {0};
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
  }
  void AlignDword() { at_ = (at_ + 3) & ~static_cast<size_t>(3); }
  void Skip(size_t n) { at_ += n; }

 private:
  const std::string& b_;
  size_t at_ = 0;
};

DialogTemplate ReadTemplate(const ResourceFile& file, int id) {
  const std::string bytes = file.Bytes(MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(id));
  DialogTemplate t;
  if (bytes.size() < 26) return t;
  TemplateReader r(bytes);
  r.Word();  // version
  r.Word();  // 0xFFFF: the extended form
  r.Dword();  // help ID
  r.Dword();  // extended style
  const DWORD style = r.Dword();
  const WORD count = r.Word();
  for (int i = 0; i < 4; ++i) r.Word();
  r.NameOrOrdinal();  // menu
  r.NameOrOrdinal();  // class
  t.caption = r.NameOrOrdinal();
  if (style & DS_SETFONT) {
    t.points = r.Word();
    t.weight = r.Word();
    r.Word();  // italic, character set
    t.face = r.NameOrOrdinal();
  }
  static const char* const kKinds[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
  for (WORD i = 0; i < count; ++i) {
    r.AlignDword();
    TemplateControl c;
    r.Dword();  // help ID
    r.Dword();  // extended style
    c.style = r.Dword();
    const short x = static_cast<short>(r.Word()), y = static_cast<short>(r.Word());
    const short cx = static_cast<short>(r.Word()), cy = static_cast<short>(r.Word());
    c.units = {x, y, x + cx, y + cy};
    c.id = static_cast<int>(r.Dword());
    c.kind = r.NameOrOrdinal();
    // The predefined classes by ordinal or by name, in any letter case.
    if (c.kind.size() > 1 && c.kind[0] == '#') {
      const int ordinal = std::stoi(c.kind.substr(1));
      if (ordinal >= 0x80 && ordinal <= 0x85) c.kind = kKinds[ordinal - 0x80];
    }
    for (const char* kind : kKinds)
      if (lstrcmpiA(c.kind.c_str(), kind) == 0) c.kind = kind;
    c.text = r.NameOrOrdinal();
    r.Skip(r.Word());  // creation data
    t.controls.push_back(c);
  }
  return t;
}

// A dialog as Windows shows it at a DPI: its font made for that DPI, and the dialog units that
// font gives (the average width of the letters, the height of a line).
class LaidOutDialog {
 public:
  LaidOutDialog(const DialogTemplate& t, UINT dpi) : dc_(CreateCompatibleDC(nullptr)) {
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(t.points, static_cast<int>(dpi), 72);
    lf.lfWeight = t.weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, t.face.c_str(), LF_FACESIZE);
    font_ = CreateFontIndirectA(&lf);
    old_ = SelectObject(dc_, font_);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc_, &tm);
    SIZE letters = {};
    GetTextExtentPoint32A(dc_, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    baseX_ = (letters.cx / 26 + 1) / 2;
    baseY_ = tm.tmHeight;
    checkBox_ = MulDiv(16, static_cast<int>(dpi), 96);  // the box and the gap before its text
  }
  ~LaidOutDialog() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
    DeleteDC(dc_);
  }
  LaidOutDialog(const LaidOutDialog&) = delete;
  LaidOutDialog& operator=(const LaidOutDialog&) = delete;
  RECT Pixels(const RECT& units) const {
    return {MulDiv(units.left, baseX_, 4), MulDiv(units.top, baseY_, 8), MulDiv(units.right, baseX_, 4),
            MulDiv(units.bottom, baseY_, 8)};
  }
  // Where the text does not fit the control: "" when it fits. Wrapping texts wrap at the
  // control's width; a check box's text stands beside its box on one line.
  std::string Misfit(const TemplateControl& c, const std::string& text) const {
    const RECT box = Pixels(c.units);
    int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const DWORD type = c.style & 0x1F;
    const bool checkBox = c.kind == "Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX);
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    if (c.kind == "Static" && (c.style & SS_NOPREFIX)) format |= DT_NOPREFIX;
    if (checkBox) {
      width -= checkBox_;
      format |= DT_SINGLELINE;
    } else {
      format |= DT_WORDBREAK;
    }
    RECT need = {0, 0, width, 0};
    DrawTextA(dc_, text.c_str(), -1, &need, format);
    if (need.right - need.left <= width && need.bottom - need.top <= height) return "";
    return "needs " + std::to_string(need.right - need.left) + "x" + std::to_string(need.bottom - need.top) +
           " in " + std::to_string(width) + "x" + std::to_string(height);
  }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
  int baseX_ = 0, baseY_ = 0, checkBox_ = 0;
};

// Texts the program puts into controls as it runs, at their longest.
struct RuntimeText {
  int dialog, control;
  std::string text;
};
std::vector<RuntimeText> RuntimeTexts() {
  const std::string folder = "C:\\Users\\Administrator\\AppData\\Local\\Programs\\Tracksweep";
  std::vector<RuntimeText> texts = {
      {IDD_FRMMAINCODE, IDC_LABEL(12), "12/31/2026 11:59:59 PM"},
      {IDD_FRMMAINCODE, IDC_LABEL(14), "Cleaned Registry Keys: 123456 Released HD Space:9999.99MB"},
      {IDD_FRMMAINCODE, IDC_LABEL(51), std::string("Visit us at: ") + kWebAddress},
      {IDD_FRMMAINCODE, IDC_LABEL32, "More &Browsers: Google Chrome, Microsoft Edge, Firefox and 12 more (105 ticked)"},
      {IDD_FRMMAINCODE, IDC_LABEL31, "More A&pplications: 1234 detected, 1234 ticked"},
      {IDD_FRMABOUT, IDC_AB_LABEL4, std::string("please visit our website ") + kWebAddress},
      {IDD_FRMSPLASH, IDC_SP_LABEL4, std::string("please visit our website ") + kWebAddress},
      {IDD_FRMMOREAPP, IDC_SI_DEFCOUNT, "12345 entries in winapp2.ini, 1234 detected here, 123 could not be used (see help)"},
      {IDD_FRMMOREAPP, IDC_SI_DEFCOUNT,
       "No winapp2.ini yet: that file is the shared list of cleaning rules for today's applications. Put one into " +
           folder + " and the applications of it found here appear in this list (see help)."},
      {IDD_FRMMOREBROWSERS, IDC_MB_LABEL1, "No browser of the list is installed"},
  };
  // The schedule's status line at its longest: a task the system tells only in part, one set up
  // outside the program that last failed, and a system that lacks every trigger or the interface.
  TaskFacts untold;
  untold.present = untold.hasRun = true;
  untold.details.hr = untold.lastResult.hr = E_NOTIMPL;
  untold.lastRunTime = {2026, 12, 4, 31, 23, 59, 59, 0};
  TaskFacts foreign = untold;
  foreign.details.hr = foreign.lastResult.hr = S_OK;
  foreign.triggers = {TaskTrigger{TaskTriggerKind::Weekly, 23, 59, 8}};
  foreign.commands = {TaskCommand{"C:\\other.exe", "", ""}};
  foreign.lastExitCode = 3;
  for (const TaskFacts& facts : {untold, foreign}) texts.push_back({IDD_FRMOPTIONS, IDC_OP_STATUS, RegisteredTaskStatus(facts)});
  texts.push_back({IDD_FRMOPTIONS, IDC_OP_STATUS,
                   "Not scheduled. This system's Task Scheduler has no daily trigger: Not implemented (0x80004001); no weekly "
                   "trigger: Not implemented (0x80004001); no log-on trigger: Not implemented (0x80004001)."});
  texts.push_back({IDD_FRMOPTIONS, IDC_OP_STATUS,
                   "The Task Scheduler is not available here: starting the Task Scheduler's interface (it needs Windows Vista "
                   "or later): Class not registered (0x80040154)."});
  // The 23 boxes of More Applications take their captions from the table.
  for (const MoreApp& app : MoreApplications()) texts.push_back({IDD_FRMMOREAPP, IDC_SI_CHECK(app.check), app.caption});
  return texts;
}

// Every dialog of the program but the hidden tray window. (The More Applications boxes take
// their captions from the table at run time: the template's are empty.)
const int kDialogs[] = {IDD_FRMMAINCODE, IDD_FRMABOUT,   IDD_FRMSPLASH,   IDD_FRMCLEANNOW,    IDD_FRMANALYZE,
                        IDD_FRMRUNDETAILS, IDD_FRMLOCATE, IDD_FRMEXTENTIONS, IDD_FRMCOOKIE,   IDD_FRMURL,
                        IDD_FRMSITES,    IDD_FRMNETSCAPE, IDD_FRMOPERA,    IDD_FRMMSN,         IDD_FRMOFFICE,
                        IDD_FRMMOREAPP,  IDD_FRMMOREBROWSERS, IDD_FRMMOREWINDOWS, IDD_FRMOPTIONS};

}  // namespace

TEST(ProgramFile, CarriesItsIconGroupFrom16To256Pixels) {
  for (const char* program : {kProgram, "C:\\tsw-bin\\tswclean.exe"}) {
    SCOPED_TRACE(program);
    ResourceFile exe(program);
    ASSERT_NE(nullptr, exe.get()) << "the harness copies the programs to C:\\tsw-bin";
    const std::string group = exe.Bytes(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, MAKEINTRESOURCEA(IDI_PROGRAM));
    ASSERT_GE(group.size(), 6u);
    WORD count = 0;
    memcpy(&count, group.data() + 4, 2);
    ASSERT_EQ(group.size(), 6u + count * sizeof(GroupIconEntry));
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
      GroupIconEntry e;
      memcpy(&e, group.data() + 6 + i * sizeof e, sizeof e);
      sizes.push_back(e.width == 0 ? 256 : e.width);
      EXPECT_EQ(32, e.bits);
      // Each image of the group is there, and Windows makes an icon of it.
      const std::string image = exe.Bytes(MAKEINTRESOURCEA(3) /* RT_ICON */, MAKEINTRESOURCEA(e.id));
      ASSERT_EQ(e.bytes, image.size());
      const int side = e.width == 0 ? 256 : e.width;
      HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(const_cast<char*>(image.data())),
                                            static_cast<DWORD>(image.size()), TRUE, 0x00030000, side, side, 0);
      EXPECT_NE(nullptr, icon) << side;
      if (icon) DestroyIcon(icon);
    }
    for (int side : {16, 20, 24, 32, 40, 48, 64, 256})
      EXPECT_NE(sizes.end(), std::find(sizes.begin(), sizes.end(), side)) << side;
  }
}

TEST(ProgramFile, DeclaresPerMonitorDpiAwarenessInItsManifest) {
  ResourceFile exe(kProgram);
  ASSERT_NE(nullptr, exe.get());
  const std::string manifest = exe.Bytes(MAKEINTRESOURCEA(24) /* RT_MANIFEST */, MAKEINTRESOURCEA(1));
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(std::string::npos, manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                                             "PerMonitorV2, PerMonitor</dpiAwareness>"));
  EXPECT_NE(std::string::npos, manifest.find(">true/pm</dpiAware>"));  // Windows 8.1 and earlier
  EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
  // Every dialog asks for Segoe UI, 9 points.
  for (int id : kDialogs) {
    const DialogTemplate t = ReadTemplate(exe, id);
    EXPECT_EQ("Segoe UI", t.face) << id;
    EXPECT_EQ(9, t.points) << id;
  }
}

TEST(ProgramFile, EveryStaticTextOfEveryDialogFitsItsControlAt96And144Dpi) {
  ResourceFile exe(kProgram);
  ASSERT_NE(nullptr, exe.get());
  const std::vector<RuntimeText> runtime = RuntimeTexts();
  size_t measured = 0;
  for (UINT dpi : {96u, 144u}) {
    for (int id : kDialogs) {
      const DialogTemplate t = ReadTemplate(exe, id);
      ASSERT_FALSE(t.controls.empty()) << id;
      const LaidOutDialog dialog(t, dpi);
      for (const TemplateControl& c : t.controls) {
        const DWORD type = c.style & 0x1F;
        const bool text = (c.kind == "Static" && type <= SS_SIMPLE && type != SS_ICON) ||
                          (c.kind == "Button" && (type == BS_OWNERDRAW || type == BS_AUTOCHECKBOX));
        if (!text) continue;
        std::vector<std::string> texts;
        if (!c.text.empty()) texts.push_back(c.text);
        for (const RuntimeText& r : runtime)
          if (r.dialog == id && r.control == c.id) texts.push_back(r.text);
        for (const std::string& s : texts) {
          ++measured;
          EXPECT_EQ("", dialog.Misfit(c, s)) << "dialog " << id << ", control " << c.id << " at " << dpi << " DPI: \"" << s << "\"";
        }
      }
    }
  }
  EXPECT_GT(measured, 200u);
}

// The window, the taskbar and the tray show the program's icon, at their sizes.
class ProgramIconTest : public ProgramFolderTest {
 protected:
  App app;
};

TEST_F(ProgramIconTest, TheWindowAndTheTrayShowTheProgramsIcon) {
  ASSERT_TRUE(app.Main().Load());
  app.LoadTray();
  for (WPARAM which : {static_cast<WPARAM>(ICON_SMALL), static_cast<WPARAM>(ICON_BIG)}) {
    HICON icon = reinterpret_cast<HICON>(SendMessageA(app.Main().hwnd(), WM_GETICON, which, 0));
    ASSERT_NE(nullptr, icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(GetSystemMetrics(which == ICON_SMALL ? SM_CXSMICON : SM_CXICON), bm.bmWidth);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  EXPECT_NE(nullptr, app.Tray().Icon());
  EXPECT_NE(LoadIcon(nullptr, IDI_APPLICATION), app.Tray().Icon());
  app.UnloadTray();
  app.Main().Unload();
}

namespace {
RECT RectIn(HWND window, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  RECT w;
  GetWindowRect(window, &w);
  OffsetRect(&r, -w.left, -w.top);
  return r;
}
LONG FontHeight(HWND control) {
  LOGFONTA lf = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
}
int IconWidth(HICON icon) {
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return 0;
  BITMAP bm = {};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return bm.bmWidth;
}
}  // namespace

// Moved to a monitor at 150 %, the main window lays out its frame, its controls, its fonts, its
// rounded corners and its icons anew for 144 DPI, as Windows asks with WM_DPICHANGED.
TEST_F(ProgramIconTest, TheMainWindowLaysItselfOutAgainWhenItsDpiChanges) {
  ASSERT_TRUE(app.Main().Load());
  HWND main = app.Main().hwnd();
  ASSERT_EQ(96u, app.Main().Dpi());
  const int closePart = IDC_SKIN(SkinPartIndex("imgTitleClose"));
  RECT window, box;
  GetWindowRect(main, &window);
  const int w = window.right - window.left, h = window.bottom - window.top;
  const RECT boxBefore = RectIn(main, GetDlgItem(main, IDC_CHECK(1)));
  const LONG textBefore = FontHeight(GetDlgItem(main, IDC_CHECK(1)));
  EXPECT_EQ(16, FontHeight(GetDlgItem(main, IDC_LABEL(9))));

  RECT suggested = {window.left, window.top, window.left + w * 3 / 2, window.top + h * 3 / 2};
  SendMessageA(main, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(144u, app.Main().Dpi());
  GetWindowRect(main, &window);
  EXPECT_EQ(w * 3 / 2, window.right - window.left);
  EXPECT_EQ(h * 3 / 2, window.bottom - window.top);
  // The frame: the close button 33 pixels from the right edge, 12 from the top, half as large again.
  box = RectIn(main, GetDlgItem(main, closePart));
  EXPECT_EQ(w * 3 / 2 - 33, box.left);
  EXPECT_EQ(12, box.top);
  EXPECT_EQ(Scaled(15, 144), box.right - box.left);
  // The page's controls and their fonts, in proportion.
  const RECT boxAfter = RectIn(main, GetDlgItem(main, IDC_CHECK(1)));
  EXPECT_NEAR((boxBefore.right - boxBefore.left) * 3 / 2, boxAfter.right - boxAfter.left, 1);
  EXPECT_NEAR(boxBefore.top * 3 / 2, boxAfter.top, 1);
  EXPECT_NEAR(textBefore * 3 / 2, FontHeight(GetDlgItem(main, IDC_CHECK(1))), 1);
  EXPECT_EQ(24, FontHeight(GetDlgItem(main, IDC_LABEL(9))));
  // The rounded region covers the new size, its corners cut wider.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(main, region));
  RECT bounds;
  GetRgnBox(region, &bounds);
  EXPECT_NEAR(w * 3 / 2, bounds.right, 1);  // a rounded region ends a pixel short
  EXPECT_FALSE(PtInRegion(region, 4, 4));
  DeleteObject(region);
  // The icons, drawn for the new size.
  EXPECT_EQ(SystemMetricAt(SM_CXSMICON, 144),
            IconWidth(reinterpret_cast<HICON>(SendMessageA(main, WM_GETICON, ICON_SMALL, 0))));
  app.Main().Unload();
}

// Moved to a monitor of another scaling, a dialog's list columns and a list's sideways scroll
// grow with it, as Windows grows the dialog's controls.
TEST_F(ProgramIconTest, ADialogsListColumnsAndScrollGrowWhenItsDpiChanges) {
  ASSERT_TRUE(app.Main().Load());
  HWND main = app.Main().hwnd();
  auto atDpi144 = [](HWND dlg) {
    RECT r;
    GetWindowRect(dlg, &r);
    SendMessageA(dlg, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&r));
  };
  std::vector<int> before, after;
  WithModal("More Applications", [&](HWND dlg) {
    HWND list = GetDlgItem(dlg, IDC_SI_DEFLIST);
    for (int c = 0; c < 2; ++c) before.push_back(static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0)));
    atDpi144(dlg);
    for (int c = 0; c < 2; ++c) after.push_back(static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0)));
  }, [&] { SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_LABEL31, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_LABEL31))); });
  ASSERT_TRUE(ModalActionsRan());
  ASSERT_EQ(2u, after.size());
  for (int c = 0; c < 2; ++c) {
    EXPECT_GT(before[c], 0) << c;
    EXPECT_NEAR(before[c] * 3 / 2, after[c], 1) << c;
  }
  int extentBefore = 0, extentAfter = 0;
  WithModal("Cookies Options", [&](HWND dlg) {
    HWND list = GetDlgItem(dlg, IDC_KL_KEEP);
    extentBefore = static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
    atDpi144(dlg);
    extentAfter = static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
  }, [&] { SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_COMMAND(8), BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_COMMAND(8)))); });
  ASSERT_TRUE(ModalActionsRan());
  EXPECT_GT(extentBefore, 0);
  EXPECT_NEAR(extentBefore * 3 / 2, extentAfter, 1);
  app.Main().Unload();
}
