// frmabout: the about box.
#include "ui/frmabout.h"

#include "ui/frmaboutRes.h"

frmabout::frmabout() : ProductInfoDialog(IDC_AB_PICTURE1, IDC_AB_LABEL4) {}

void frmabout::ShowModal(HWND owner) { RunModal(IDD_FRMABOUT, owner); }

bool frmabout::OnCommand(int id, int code, HWND control) {
  if (id == IDOK) {
    Unload(IDOK);
    return true;
  }
  return ProductInfoDialog::OnCommand(id, code, control);
}
