// frmLocate: Search & Erase's window.
#include "ui/frmLocate.h"

#include "access/Listing.h"
#include "access/WidePath.h"
#include "access/Prompts.h"
#include "search/ExtentionHandller.h"
#include "search/FileHuntPrefs.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"
#include "ui/App.h"
#include "ui/frmExtentions.h"
#include "ui/frmLocateRes.h"
#include "ui/frmabout.h"

namespace {

const char kFindCaption[] = "&Find Files";
const char kExitCaption[] = "E&xit";
const char kStopCaption[] = "&Stop";
const WPARAM kStartExtent = 700;

const char kDeleteWarning[] =
    "Deleting file from your Hard Disk is risky... make sure you know what your doing!\r\n"
    "Do you want to continue?\r\n"
    "(if you click yes, this message will no apear again)";

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string ProgramFolderWithSlash() { return WithSlash(ProgramFolder()); }

}  // namespace

void frmLocate::ShowModal(HWND owner) { RunModal(IDD_FRMLOCATE, owner); }

bool frmLocate::OnInit() {
  SaveSetting("StartUp", "AppPath", ProgramFolderWithSlash());
  SetCheck(IDC_LO_DELTYPE, BST_CHECKED);
  SaveSetting("StartUp", "Recycele", "1");
  SetCheck(IDC_LO_CHECK1, BST_CHECKED);
  SaveSetting("StartUp", "SubFolders", "1");
  SaveSetting("General", "TipNumber", "1");
  SaveSetting("General", "Prompt", "1");
  list_.Attach(Item(IDC_LO_LIST1));
  FillDrives();
  // The search string is still empty: this first search returns at once.
  ChangeFolder(ProgramFolderWithSlash());
  SetText(IDC_LO_ACTION0, kFindCaption);
  SetText(IDC_LO_TEXT1, GetSearchString());
  ShowItem(IDC_LO_FRAME1, true);
  list_.SetExtent(kStartExtent);
  return TRUE;
}

void frmLocate::OnClose() {
  // A running search notices the stop at its next step; the window then goes.
  stop_ = true;
  pending_ = Action::None;
  Unload();
}

bool frmLocate::OnCommand(int id, int code, HWND control) {
  if (id == IDC_LO_TEXT1 && code == EN_CHANGE) {
    if (!Text(IDC_LO_TEXT1).empty() && !IsEnabled(IDC_LO_ACTION0)) Enable(IDC_LO_ACTION0, true);
    return true;
  }
  if (id == IDC_LO_DRIVE1 && code == CBN_SELCHANGE) {
    HWND drives = Item(IDC_LO_DRIVE1);
    char root[8] = {0};
    SendMessageA(drives, CB_GETLBTEXT, SendMessageA(drives, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(root));
    ChangeFolder(std::string(root, 2) + "\\");
    return true;
  }
  if (id == IDC_LO_DIR1 && code == LBN_DBLCLK) {
    OpenHighlightedFolder();
    return true;
  }
  if (id == IDOK) {  // Enter: Find in the search string, open in the folder list
    if (GetFocus() == Item(IDC_LO_TEXT1)) Request(Action::Find);
    else if (GetFocus() == Item(IDC_LO_DIR1)) OpenHighlightedFolder();
    return true;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_LO_ACTION0: FindPressed(); return true;
    case IDC_LO_ACTION1:
      if (Text(IDC_LO_ACTION1) == kStopCaption) {
        stop_ = true;
        SetText(IDC_LO_ACTION1, kExitCaption);
      } else {
        OnClose();
      }
      return true;
    case IDM_LO_FILEEXIT: OnClose(); return true;
    case IDC_LO_CHECK1:
      SaveSetting("StartUp", "SubFolders", CheckValue(IDC_LO_CHECK1) == BST_CHECKED ? "1" : "0");
      return true;
    case IDC_LO_DELTYPE:
      SaveSetting("StartUp", "Recycele", CheckValue(IDC_LO_DELTYPE) == BST_CHECKED ? "1" : "0");
      return true;
    case IDC_LO_SELECTALL:
    case IDC_LO_UNSELECTALL:
      SendMessageA(Item(IDC_LO_LIST1), LB_SETSEL, id == IDC_LO_SELECTALL, -1);
      return true;
    case IDC_LO_DELETE: DeletePressed(); return true;
    case IDC_LO_OPTION:
    case IDM_LO_OPTIONS: ShowOptions(); return true;
    case IDM_LO_RESETALL: ResetAll(); return true;
    case IDM_LO_ABOUT: app_.About().ShowModal(hwnd()); return true;
    default: return false;
  }
}

void frmLocate::FindPressed() { Request(Action::Find); }

void frmLocate::ChangeFolder(const std::string& folder) {
  folder_ = WithSlash(folder);
  FillFolders();
  SaveSetting("StartUp", "AppPath", folder_);
  Request(Action::FolderSearch);
}

void frmLocate::DeletePressed() { Request(Action::Delete); }

void frmLocate::Request(Action action) {
  if (searching_) {
    stop_ = true;
    pending_ = action;
    return;
  }
  pending_ = action;
  while (pending_ != Action::None && IsLoaded()) {
    const Action next = pending_;
    pending_ = Action::None;
    Perform(next);
  }
}

void frmLocate::Perform(Action action) {
  switch (action) {
    case Action::None: break;
    case Action::Find:
      list_.SetExtent(kStartExtent);
      Dialog::SetBusyPointer(true);
      Search();
      Dialog::SetBusyPointer(false);
      break;
    case Action::FolderSearch:
      Dialog::SetBusyPointer(true);
      Search();
      Dialog::SetBusyPointer(false);
      if (!stop_) SetText(IDC_LO_ACTION1, kExitCaption);
      break;
    case Action::Delete: {
      if (!ReadsAsZero(GetSetting("General", "Prompt", "1"))) {
        if (ShowMessage(hwnd(), kDeleteWarning, "Note", MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
        SaveSetting("General", "Prompt", "0");
      }
      HWND list = Item(IDC_LO_LIST1);
      const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
      const std::vector<std::string>& paths = list_.paths();
      std::vector<std::string> chosen;
      for (LRESULT i = 0; i < count && static_cast<size_t>(i) < paths.size(); ++i)
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) chosen.push_back(paths[static_cast<size_t>(i)]);
      const HuntDeletion done = DeleteFoundFiles(chosen, CheckValue(IDC_LO_DELTYPE) == BST_CHECKED);
      SetCheck(IDC_LO_CHECK1, BST_UNCHECKED);
      SaveSetting("StartUp", "SubFolders", "0");
      Search();
      SetText(IDC_LO_ACTION1, kExitCaption);
      const std::string note = DeletionNote(done);
      if (!note.empty()) SetText(IDC_LO_STATUS, Text(IDC_LO_STATUS) + "\r\n" + note);
      break;
    }
  }
}

void frmLocate::Search() {
  // Every search starts from an empty list and a cleared stop.
  list_.Clear();
  stop_ = false;
  list_.BeginSearch();
  searching_ = true;
  FindFiles(folder_, Text(IDC_LO_TEXT1), CheckValue(IDC_LO_CHECK1) == BST_CHECKED, *this);
  searching_ = false;
  list_.EndSearch();
}

void frmLocate::FillDrives() {
  HWND drives = Item(IDC_LO_DRIVE1);
  SendMessageA(drives, CB_RESETCONTENT, 0, 0);
  char roots[512] = {0};
  const DWORD n = GetLogicalDriveStringsA(sizeof roots - 1, roots);
  for (const char* r = roots; n && n < sizeof roots && *r; r += lstrlenA(r) + 1) {
    std::string drive = LowerText(std::string(r, 2));
    SendMessageA(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.c_str()));
  }
}

void frmLocate::FillFolders() {
  HWND dir = Item(IDC_LO_DIR1);
  SendMessageA(dir, LB_RESETCONTENT, 0, 0);
  dirPaths_.clear();
  auto add = [&](size_t depth, const std::string& name, const std::string& path) {
    const std::string text = std::string(depth * 2, ' ') + name;
    if (HasEscapedNames(text)) SendMessageW(dir, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(text).c_str()));
    else SendMessageA(dir, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    dirPaths_.push_back(path);
  };
  // The chosen folder and every folder above it, then its sub-folders.
  size_t depth = 0, start = 0;
  for (size_t slash = folder_.find('\\'); slash != std::string::npos; slash = folder_.find('\\', slash + 1)) {
    add(depth, depth == 0 ? folder_.substr(0, slash + 1) : folder_.substr(start, slash - start), folder_.substr(0, slash + 1));
    start = slash + 1;
    ++depth;
  }
  const LRESULT current = static_cast<LRESULT>(dirPaths_.size()) - 1;
  ForEachEntry(folder_, [&](const ListedEntry& e) {
    if (IsFolder(e) && !IsLink(e)) add(depth, e.name, folder_ + e.name + "\\");
    return true;
  });
  SendMessageA(dir, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  // The drive list shows the chosen folder's drive.
  HWND drives = Item(IDC_LO_DRIVE1);
  SendMessageA(drives, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(LowerText(folder_.substr(0, 2)).c_str()));
}

void frmLocate::OpenHighlightedFolder() {
  const LRESULT sel = SendMessageA(Item(IDC_LO_DIR1), LB_GETCURSEL, 0, 0);
  if (sel < 0 || static_cast<size_t>(sel) >= dirPaths_.size()) return;
  if (LowerText(dirPaths_[static_cast<size_t>(sel)]) != LowerText(folder_)) ChangeFolder(dirPaths_[static_cast<size_t>(sel)]);
}

void frmLocate::ShowOptions() {
  frmExtentions(
      [this](const std::string& searchString) { SetText(IDC_LO_TEXT1, searchString); })
      .ShowModal(hwnd());
}

void frmLocate::ResetAll() {
  double uses = 1;
  if (ReadsAsNumber(GetSetting("General", "Uses", "1"), &uses) && uses > 2 &&
      ShowMessage(hwnd(), "Do you want to reset all of the parameters to default? ", "Are you sure?", MB_YESNO) != IDYES)
    return;
  SaveSetting("StartUp", "AppPath", ProgramFolderWithSlash());
  SaveSetting("StartUp", "Log", "1");
  SetCheck(IDC_LO_DELTYPE, BST_CHECKED);
  SaveSetting("StartUp", "Recycele", "1");
  SetCheck(IDC_LO_CHECK1, BST_CHECKED);
  SaveSetting("StartUp", "SubFolders", "1");
  for (const char* key : {"Tips", "TipNumber", "Prompt"}) SaveSetting("General", key, "1");
  SaveSetting("General", "DeleteDirs", "c:\\windows\\temp\\;C:\\WINDOWS\\Temporary Internet Files\\;");
  SaveSetting("General", "MaxLogSize", "80");
  WriteDefaultTypes();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void frmLocate::SetSearching(bool searching) { SetText(IDC_LO_ACTION1, searching ? kStopCaption : kExitCaption); }

void frmLocate::ShowFolder(const std::string& folder) { SetText(IDC_LO_STATUS, folder); }

void frmLocate::HandleMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {  // the program is ending: pass it on and stop
      PostQuitMessage(static_cast<int>(msg.wParam));
      stop_ = true;
      return;
    }
    if (IsLoaded() && IsDialogMessageA(hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void frmLocate::BeginFolderLines(size_t files) { list_.BeginFolder(files); }
void frmLocate::EndFolderLines() { list_.EndFolder(); }
void frmLocate::AddLine(const std::string& line, const std::string& path) { list_.Add(line, path); }
int frmLocate::TextWidth(const std::string& text) { return list_.Width(text); }

void frmLocate::Finish(const std::string& summary, int widestLine) {
  list_.Finish(widestLine);
  SetText(IDC_LO_STATUS, summary);
  SetText(IDC_LO_ACTION1, kExitCaption);
}
