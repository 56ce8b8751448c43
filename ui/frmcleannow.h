// The progress dialog: "Clean Now" starts a run and shows it.
#pragma once
#include "engine/CleanRun.h"
#include "ui/Dialog.h"

class App;

class frmcleannow : public Dialog, public RunView {
 public:
  explicit frmcleannow(App& app);
  // Shows the dialog without blocking; opening it starts nothing.
  void Open();
  // Command1: asks once, naming how many entries and how much (a preview counts them), then
  // stamps the start time and runs cleannow. Scheduled and automatic cleaning never ask.
  void CleanNowPressed();

  // RunView
  void SetFrameCaption(const std::string& caption) override;
  void SetBusyPointer(bool busy) override;
  void EnableCleanButton(bool enabled) override;
  void ClearStatus() override;
  void AddStatus(const std::string& line) override;
  void RefreshStatus() override;
  void SetProgress(int value) override;
  void ShowSummary(const std::string& text) override;
  void BringForward() override;
  void EndProgram() override;
  void KeepResponsive() override;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnClose() override { CancelPressed(); }

 private:
  void CancelPressed();
  void AnalyzePressed();  // a preview of the run in a window of its own
  // "Clean these" in that window: its ticked entries, reported here as a run is.
  void CleanThesePressed(const std::vector<PreviewItem>& chosen);
  void Ran(const CleanRun& run);  // what the run did, for "Details"
  App& app_;
  std::vector<CleanRun::ItemReport> lastRun_;
};
