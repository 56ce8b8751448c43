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

bool ItemSelected(const RunItem& item, const Selection& selection, const std::string& settingsFile) {
  switch (item.gate) {
    case GateKind::CheckBox:
      return selection.CheckValue(item.check) == 1;
    case GateKind::Always:
      return true;
    case GateKind::Setting:
      return TickText(ReadIni(settingsFile, item.gateSection, item.gateKey));
    case GateKind::Test:
      return item.gateTest && item.gateTest(settingsFile);
  }
  return false;
}

bool CleanRun::GateOpen(const RunItem& item) const { return ItemSelected(item, selection_, settingsFile_); }

void CleanRun::CarryOut(const RunItem& item, RunContext& ctx, bool beforeStart) const {
  if (item.addBeforeStart != beforeStart) return;
  ctx.regnum += item.addRegnum;
  ctx.filesize += item.addBytes;
}

bool Previewing(RunContext& ctx, const std::string& what, double bytes) {
  if (!ctx.preview) return false;
  ctx.preview->entries.push_back({"clear", what, static_cast<unsigned long long>(bytes)});
  return true;
}

std::vector<PreviewItem> CleanRun::Analyze() {
  RecordingEraser recorder;
  ScopedEraser scope(recorder);
  RunContext ctx;
  ctx.settingsFile = settingsFile_;
  ctx.preview = &recorder;
  std::vector<PreviewItem> items;
  for (const RunItem& item : items_) {
    if (!GateOpen(item)) continue;
    const size_t first = recorder.entries.size();
    const double regnum = ctx.regnum, filesize = ctx.filesize;
    CarryOut(item, ctx, true);
    if (item.step) item.step(ctx);
    // What the run would say of what it passes over shows in the preview too.
    for (const std::string& note : ctx.notes) recorder.entries.push_back({"note", note, 0});
    ctx.notes.clear();
    CarryOut(item, ctx, false);
    PreviewItem found;
    found.name = ItemName(item);
    found.entries.assign(recorder.entries.begin() + static_cast<std::ptrdiff_t>(first), recorder.entries.end());
    found.regnum = ctx.regnum - regnum;
    found.filesize = ctx.filesize - filesize;
    items.push_back(found);
  }
  return items;
}

std::string PreviewText(const std::vector<PreviewItem>& items) {
  std::string text;
  for (const PreviewItem& item : items)
    for (const RecordingEraser::Entry& e : item.entries) text += e.kind + "\t" + e.target + "\t" + std::to_string(e.size) + "\n";
  return text;
}

std::string ItemName(const RunItem& item) {
  std::string name = item.startLine;
  const std::string prefix = "Please Waiting ,Cleaning ";
  if (name.compare(0, prefix.size(), prefix) == 0) name.erase(0, prefix.size());
  while (!name.empty() && name.back() == '.') name.pop_back();
  return name;
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
      CarryOut(item, ctx, true);
      view_.AddStatus(item.startLine);
      ctx.endLine = item.endLine;
      if (item.step) item.step(ctx);
      for (const std::string& note : ctx.notes) view_.AddStatus(note);
      ctx.notes.clear();
      CarryOut(item, ctx, false);
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
