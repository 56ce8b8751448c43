// frmcleannow: the progress dialog, which runs Clean Now and reports every run.
#include "ui/frmcleannow.h"

#include <commctrl.h>

#include "settings/AppFolder.h"
#include "ui/App.h"
#include "access/Prompts.h"
#include "ui/KeepListDialog.h"
#include "ui/frmAnalyze.h"
#include "ui/frmRunDetails.h"
#include "ui/frmMainCode.h"
#include "ui/frmcleannowRes.h"

frmcleannow::frmcleannow(App& app) : app_(app) {}

void frmcleannow::Open() {
  if (!CreateModeless(IDD_FRMCLEANNOW)) return;
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

bool frmcleannow::OnInit() {
  SendMessageA(Item(IDC_CN_PROGRESS), PBM_SETRANGE32, 0, 100);
  SetText(IDC_CN_TEXT1, "Text1");
  return TRUE;
}

bool frmcleannow::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_CN_COMMAND1) {
    CleanNowPressed();
    return true;
  }
  if (id == IDC_CN_ANALYZE) {
    AnalyzePressed();
    return true;
  }
  if (id == IDC_CN_DETAILS) {
    frmRunDetails(lastRun_).ShowModal(hwnd());
    return true;
  }
  if (id == IDC_CN_COMMAND2 || id == IDCANCEL) {
    CancelPressed();
    return true;
  }
  return false;
}

void frmcleannow::CleanNowPressed() {
  const std::string settings = SettingsPath();
  // Asked once before anything goes, naming how much, as "Clean these" asks; counting it takes
  // a preview of the same run. No is the default: Enter never erases.
  Dialog::SetBusyPointer(true);
  const std::vector<PreviewItem> preview = CleanRun(*this, app_.Main(), settings).Analyze();
  Dialog::SetBusyPointer(false);
  if (!AskToErase(hwnd(), preview)) return;
  StampLastClean(settings);
  CleanRun run(*this, app_.Main(), settings);
  run.Run();
  Ran(run);
}

void frmcleannow::Ran(const CleanRun& run) {
  if (!IsLoaded()) return;  // the run ended the program
  lastRun_ = run.report();
  Enable(IDC_CN_DETAILS, true);
  app_.Main().ShowLastRun();
}

void frmcleannow::AnalyzePressed() {
  Dialog::SetBusyPointer(true);
  CleanRun run(*this, app_.Main(), SettingsPath());
  std::vector<PreviewItem> items = run.Analyze();
  Dialog::SetBusyPointer(false);
  frmAnalyze(std::move(items), [this](const std::vector<PreviewItem>& chosen) { CleanThesePressed(chosen); }).ShowModal(hwnd());
}

void frmcleannow::CleanThesePressed(const std::vector<PreviewItem>& chosen) {
  const std::string settings = SettingsPath();
  StampLastClean(settings);
  CleanRun run(*this, app_.Main(), settings);
  run.RunSelected(chosen);
  Ran(run);
}

void frmcleannow::CancelPressed() {
  app_.Url().Unload();
  Unload();
  app_.Main().Show();
}

void frmcleannow::SetFrameCaption(const std::string& caption) {
  SetText(IDC_CN_FRAME1, caption);
  RedrawWindow(Item(IDC_CN_FRAME1), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void frmcleannow::SetBusyPointer(bool busy) { Dialog::SetBusyPointer(busy); }

void frmcleannow::EnableCleanButton(bool enabled) { Enable(IDC_CN_COMMAND1, enabled); }

void frmcleannow::ClearStatus() { SendMessageA(Item(IDC_CN_LIST1), LB_RESETCONTENT, 0, 0); }

void frmcleannow::AddStatus(const std::string& line) {
  SendMessageA(Item(IDC_CN_LIST1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void frmcleannow::RefreshStatus() {
  HWND list = Item(IDC_CN_LIST1);
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  if (count > 0) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(count - 1), 0);
  UpdateWindow(list);
}

void frmcleannow::SetProgress(int value) {
  SendMessageA(Item(IDC_CN_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void frmcleannow::ShowSummary(const std::string& text) {
  // The run goes on after the message (it stores its totals): nothing may close it meanwhile.
  ProgramModal hold(hwnd());
  ShowMessage(hwnd(), text, kSummaryTitle, MB_OK | MB_ICONINFORMATION);
}

void frmcleannow::BringForward() {
  if (!IsLoaded()) return;
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

void frmcleannow::EndProgram() { app_.EndAfterRun(); }

void frmcleannow::KeepResponsive() {
  // Only painting: a click meanwhile waits for the run to end, as it does during any item.
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
}
