#include "engine/CleanRun.h"

#include "access/Eraser.h"
#include "settings/Inifun.h"

const char kRunningCaption[] = "Cleaning In Progress,Please Waiting a few minutes";
const char kIdleCaption[] = "Status";
const char kBeginLine[] = "Please waiting,Begin Cleaning";
const char kCompleteLine[] = "Task complete Successfully!";
const char kSummaryTitle[] = "Task Complete";

CleanRun::CleanRun(RunView& view, const Selection& selection, std::string settingsFile,
                   const std::vector<RunItem>& items)
    : view_(view), selection_(selection), settingsFile_(std::move(settingsFile)), items_(items) {}

bool CleanRun::GateOpen(const RunItem& item) const {
  switch (item.gate) {
    case GateKind::CheckBox:
      return selection_.CheckValue(item.check) == 1;
    case GateKind::Always:
      return true;
    case GateKind::Setting:
      return TickText(ReadIni(settingsFile_, item.gateSection, item.gateKey));
  }
  return false;
}

void CleanRun::Run() {
  // "Enable Securely Cleaning": every file the run deletes is overwritten first.
  ScopedSecureErasing secure(TickStrict(ReadIni(settingsFile_, "Additional", "securely")));
  view_.SetFrameCaption(kRunningCaption);
  view_.SetBusyPointer(true);
  RunContext ctx;
  ctx.settingsFile = settingsFile_;
  regnum_ = filesize_ = 0;
  view_.EnableCleanButton(false);
  view_.ClearStatus();
  view_.AddStatus(kBeginLine);
  view_.SetProgress(1);

  for (const RunItem& item : items_) {
    if (GateOpen(item)) {
      if (item.addBeforeStart) {
        ctx.regnum += item.addRegnum;
        ctx.filesize += item.addBytes;
      }
      view_.AddStatus(item.startLine);
      ctx.endLine = item.endLine;
      if (item.step) item.step(ctx);
      if (!item.addBeforeStart) {
        ctx.regnum += item.addRegnum;
        ctx.filesize += item.addBytes;
      }
      view_.AddStatus(ctx.endLine);
      if (item.refresh) view_.RefreshStatus();
    }
    if (item.progress >= 0) view_.SetProgress(item.progress);
  }
  regnum_ = ctx.regnum;
  filesize_ = ctx.filesize;

  if (TickText(ReadIni(settingsFile_, "Additional", "exit"))) {
    view_.EndProgram();
    return;
  }

  view_.SetProgress(100);
  view_.AddStatus(kCompleteLine);
  view_.RefreshStatus();
  view_.ShowSummary(SummaryText(regnum_, filesize_));
  view_.BringForward();
  view_.EnableCleanButton(true);
  WriteIni(settingsFile_, "WINDOWS", "regnum", NumberText(regnum_));
  WriteIni(settingsFile_, "WINDOWS", "filesize", FormatMegabytes(filesize_ / 1048576.0));
  view_.SetFrameCaption(kIdleCaption);
  view_.SetBusyPointer(false);
}
