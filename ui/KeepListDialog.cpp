#include "ui/KeepListDialog.h"

#include "access/Prompts.h"
#include "keeplists/KeepLists.h"
#include "keeplists/ListFile.h"
#include "settings/Text.h"
#include "ui/Dpi.h"
#include "ui/KeepListRes.h"

namespace {
const int kListWidth = 1500;  // pixels at 96 DPI: long paths scroll sideways

void Fill(HWND list, const std::vector<std::string>& entries) {
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& e : entries) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
  SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(Scaled(kListWidth, WindowDpi(list))), 0);
}

}  // namespace

void KeepListDialog::ShowModal(HWND owner) { RunModal(templateId_, owner); }

bool KeepListDialog::OnInit() {
  Fill(Item(IDC_KL_CURRENT), CurrentEntries());
  std::vector<std::string> kept;
  const bool readable = ReadListFile(ListFile(), kept);
  Fill(Item(IDC_KL_KEEP), kept);
  if (!readable) {
    // Add and Remove would write over a list the user cannot see: both wait until it reads.
    Enable(IDC_KL_CMDADD, false);
    Enable(IDC_KL_CMDREMOVE, false);
    ShowMessage(hwnd(), "The keep list " + ListFile() + " could not be read.\n\nIt is left as it is, and cleaning "
                "runs erase nothing of this kind until it can be read again.",
                kProductTitle, MB_OK | MB_ICONEXCLAMATION);
  }
  return TRUE;
}

bool KeepListDialog::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_KL_CMDADD) AddPressed();
  else if (id == IDC_KL_CMDREMOVE) RemovePressed();
  else return false;
  return true;
}

void KeepListDialog::AddPressed() {
  HWND current = Item(IDC_KL_CURRENT), keep = Item(IDC_KL_KEEP);
  const std::string text = TrimRightSpaces(ListBoxLine(current, SendMessageA(current, LB_GETCURSEL, 0, 0)));
  // Nothing chosen adds nothing; an entry already kept is shown rather than kept twice. Lists
  // written before, blank lines and twins included, are still read as they are.
  if (TrimSpaces(text).empty()) return;
  const std::vector<std::string> kept = ListBoxLines(keep);
  for (size_t i = 0; i < kept.size(); ++i) {
    if (TrimRightSpaces(kept[i]) != text) continue;
    SendMessageA(keep, LB_SETSEL, FALSE, -1);
    SendMessageA(keep, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    return;
  }
  SendMessageA(keep, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  AppendListLine(ListFile(), text);
}

void KeepListDialog::RemovePressed() {
  HWND keep = Item(IDC_KL_KEEP);
  LRESULT count = SendMessageA(keep, LB_GETCOUNT, 0, 0);
  for (LRESULT i = count - 1; i >= 0; --i)
    if (SendMessageA(keep, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
      SendMessageA(keep, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
  WriteListFile(ListFile(), ListBoxLines(keep));
  InvalidateRect(keep, nullptr, TRUE);
}

frmcookie::frmcookie() : KeepListDialog(IDD_FRMCOOKIE) {}
std::vector<std::string> frmcookie::CurrentEntries() const { return CurrentCookies(ShellFolder("Cookies")); }
std::string frmcookie::ListFile() const { return KeepCookieFile(); }

frmurl::frmurl() : KeepListDialog(IDD_FRMURL) {}
std::vector<std::string> frmurl::CurrentEntries() const { return CurrentTypedUrls(); }
std::string frmurl::ListFile() const { return KeepUrlFile(); }
