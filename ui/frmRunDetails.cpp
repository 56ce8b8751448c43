#include "ui/frmRunDetails.h"

#include <commctrl.h>

#include "ui/frmcleannowRes.h"

void frmRunDetails::ShowModal(HWND owner) { RunModal(IDD_FRMRUNDETAILS, owner); }

bool frmRunDetails::OnInit() {
  HWND list = Item(IDC_RD_LIST);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  AddListColumns(list, {{"Item", 120}, {"What became of it", 150}, {"Kind", 60}, {"Target", 400}});
  // What stayed first, with why: that is what the user has to look at.
  int row = 0;
  for (bool stayed : {true, false})
    for (const CleanRun::ItemReport& item : report_)
      for (const EntryOutcome& o : item.outcomes)
        if (o.why.empty() != stayed) AddListRow(list, row++, {item.name, stayed ? "stayed: " + o.why : "went", o.kind, o.target});
  if (row == 0) AddListRow(list, 0, {"", "nothing was to be erased", "", ""});
  for (int c = 0; c < 4; ++c) SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), LVSCW_AUTOSIZE_USEHEADER);
  return TRUE;
}

INT_PTR frmRunDetails::OnMessage(UINT msg, WPARAM, LPARAM, bool&) {
  if (msg == WM_SIZE) {
    RECT client, unit = {6, 6, 60, 15};
    GetClientRect(hwnd(), &client);
    MapDialogRect(hwnd(), &unit);
    MoveWindow(Item(IDC_RD_LIST), unit.left, unit.top, client.right - 2 * unit.left, client.bottom - 3 * unit.top - unit.bottom, TRUE);
    MoveWindow(Item(IDCANCEL), client.right - unit.left - unit.right, client.bottom - unit.top - unit.bottom, unit.right, unit.bottom,
               TRUE);
  }
  return 0;
}
