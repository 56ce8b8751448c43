#include "engine/CleanRun.h"

#include "access/Eraser.h"
#include "access/FolderGuard.h"
#include "engine/BrowserWatch.h"
#include "engine/Preview.h"

#include <algorithm>
#include "settings/Additional.h"
#include "settings/Inifun.h"

const char kRunningCaption[] = "Cleaning In Progress,Please Waiting a few minutes";
const char kIdleCaption[] = "Status";
const char kBeginLine[] = "Please waiting,Begin Cleaning";
const char kCompleteLine[] = "Task complete Successfully!";
const char kSummaryTitle[] = "Task Complete";

namespace {
int g_runsUnderWay = 0;
// Counts a run for as long as it lasts.
class UnderWay {
 public:
  UnderWay() { ++g_runsUnderWay; }
  ~UnderWay() { --g_runsUnderWay; }
  UnderWay(const UnderWay&) = delete;
  UnderWay& operator=(const UnderWay&) = delete;
};
}  // namespace

bool RunUnderWay() { return g_runsUnderWay > 0; }

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

void PreviewKept(RunContext& ctx, const std::string& target, const std::string& list) {
  if (!ctx.preview) return;
  PreviewEntry e{"kept", target, 0};
  e.ticked = false;
  e.seen = list;
  ctx.preview->entries.push_back(e);
}

bool Previewing(RunContext& ctx, const std::string& what, double bytes, const std::string& seen) {
  if (ctx.preview) {
    PreviewEntry e{"clear", what, static_cast<unsigned long long>(bytes)};
    e.seen = seen;
    ctx.preview->entries.push_back(e);
    return true;
  }
  // Keeping to a preview: the platform's own step runs only when its entry is ticked and what
  // it clears is what the preview saw, and counts what the preview measured.
  if (CarryingEraser* keeping = KeepingToPreview(ctx)) {
    if (!keeping->MayCarryOut("clear", what, [&](const PreviewEntry& listed) { return listed.seen.empty() || listed.seen == seen; }))
      return true;
    const PreviewEntry* listed = keeping->Listed("clear", what);
    keeping->bytes += static_cast<double>(listed->size);
    keeping->outcomes.push_back({"clear", what, ""});
  }
  return false;
}

std::vector<PreviewItem> CleanRun::Analyze() {
  UnderWay underWay;
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
    GuardScope guard;  // the protected folders read once for the item's every step
    if (item.step) item.step(ctx);
    // What the run would say of what it passes over shows in the preview too.
    for (const std::string& note : ctx.notes) recorder.entries.push_back({"note", note, 0});
    ctx.notes.clear();
    ctx.outcomes.clear();
    CarryOut(item, ctx, false);
    PreviewItem found;
    found.name = ItemName(item);
    found.entries.assign(recorder.entries.begin() + static_cast<std::ptrdiff_t>(first), recorder.entries.end());
    // Fixed amounts, and items that erase nothing measurable, are entries of their own: the
    // user may untick them too.
    if (item.addRegnum > 0 || item.addBytes > 0) {
      PreviewEntry fixed{"fixed", FixedTarget(item.addRegnum), static_cast<unsigned long long>(item.addBytes)};
      fixed.count = static_cast<unsigned long long>(item.addRegnum);
      found.entries.push_back(fixed);
    } else if (found.entries.empty()) {
      found.entries.push_back({"item", "nothing measured; runs as a run would", 0});
    }
    found.regnum = ctx.regnum - regnum;
    found.filesize = ctx.filesize - filesize;
    items.push_back(found);
  }
  return items;
}

std::string PreviewText(const std::vector<PreviewItem>& items) {
  std::string text;
  for (const PreviewItem& item : items)
    for (const RecordingEraser::Entry& e : item.entries)
      text += item.name + "\t" + e.kind + "\t" + e.target + "\t" + std::to_string(e.size) + "\n";
  return text;
}

std::string ItemName(const RunItem& item) {
  std::string name = item.startLine;
  const std::string prefix = "Please Waiting ,Cleaning ";
  if (name.compare(0, prefix.size(), prefix) == 0) name.erase(0, prefix.size());
  while (!name.empty() && name.back() == '.') name.pop_back();
  return name;
}

std::string FixedTarget(double keys) { return "counts " + NumberText(keys) + (keys == 1 ? " registry key" : " registry keys"); }

void CleanRun::Say(const std::string& line) {
  view_.AddStatus(line);
  if (!report_.empty()) report_.back().lines.push_back(line);
}

const char kChangedReason[] = "changed since the preview";
const char kNotFoundReason[] = "not found";

void CleanRun::SayPassedOver(const std::vector<EntryOutcome>& outcomes) {
  // What could not be erased is said, never left silent; entries changed since the preview
  // have their own line at the end. A long list says how many more there were.
  const size_t kShown = 10;
  size_t passed = 0;
  for (const EntryOutcome& o : outcomes) {
    if (o.why.empty() || o.why == kChangedReason) continue;
    if (passed++ < kShown) Say("Passed over (" + o.why + "): " + o.target);
  }
  if (passed > kShown) Say("... and " + std::to_string(passed - kShown) + " more passed over");
}

void CleanRun::Begin() {
  view_.SetFrameCaption(kRunningCaption);
  view_.SetBusyPointer(true);
  regnum_ = filesize_ = 0;
  report_.clear();
  changed_ = 0;
  view_.EnableCleanButton(false);
  view_.ClearStatus();
  view_.AddStatus(kBeginLine);
  view_.SetProgress(1);
}

void CleanRun::RunItemWith(const RunItem& item, RunContext& ctx, const PreviewItem* preview, unsigned long long listWritten) {
  report_.push_back({ItemName(item), {}, {}});
  CarryingEraser carrying(preview, listWritten);
  ScopedEraser scope(carrying);
  ctx.carrying = &carrying;
  // Keeping to a preview, the totals are what was carried out: the fixed amounts when their
  // entry is ticked, and what the carrying eraser removed; the step's own measures are not.
  const double regnum = ctx.regnum, filesize = ctx.filesize;
  if (!preview) CarryOut(item, ctx, true);
  Say(item.startLine);
  ctx.endLine = item.endLine;
  {
    // The protected folders are read once for the item, not for each place it judges.
    GuardScope guard;
    if (item.step) item.step(ctx);
  }
  for (const std::string& note : ctx.notes) Say(note);
  ctx.notes.clear();
  for (const std::string& note : carrying.notes) Say(note);
  if (preview) {
    const bool fixedChosen = carrying.Chosen("fixed", FixedTarget(item.addRegnum));
    ctx.regnum = regnum + carrying.keys + (fixedChosen ? item.addRegnum : 0);
    ctx.filesize = filesize + carrying.bytes + (fixedChosen ? item.addBytes : 0);
  } else {
    CarryOut(item, ctx, false);
  }
  // A ticked line the run never met is said, never dropped in silence.
  for (const PreviewEntry* missed : carrying.NotMet()) carrying.PassOver(missed->kind, missed->target, kNotFoundReason);
  SayPassedOver(carrying.outcomes);
  Say(ctx.endLine);
  if (item.refresh) view_.RefreshStatus();
  ItemReport& r = report_.back();
  r.outcomes = carrying.outcomes;
  r.tables = carrying.tables;
  r.outcomes.insert(r.outcomes.end(), ctx.outcomes.begin(), ctx.outcomes.end());
  ctx.outcomes.clear();
  changed_ += carrying.changed;
  ctx.carrying = nullptr;
}

void CleanRun::Finish(RunContext& ctx) {
  regnum_ = ctx.regnum;
  filesize_ = ctx.filesize;
  if (OptionOn(settingsFile_, Option::ExitAfterRun)) {
    view_.EndProgram();
    return;
  }
  view_.SetProgress(100);
  const unsigned long long passed = passedOver();
  if (changed_ > 0) view_.AddStatus(ChangedLine(changed_));
  // The last line says what happened: no run that passed something over calls itself a success.
  view_.AddStatus(CompleteLine(passed));
  view_.RefreshStatus();
  view_.ShowSummary(SummaryText(regnum_, filesize_, passed));
  view_.BringForward();
  view_.EnableCleanButton(true);
  WriteIni(settingsFile_, "WINDOWS", "regnum", NumberText(regnum_));
  WriteIni(settingsFile_, "WINDOWS", "filesize", FormatMegabytes(filesize_ / 1048576.0));
  view_.SetFrameCaption(kIdleCaption);
  view_.SetBusyPointer(false);
}

void CleanRun::Run() {
  // "Enable Securely Cleaning": every file the run deletes is overwritten first.
  UnderWay underWay;
  ScopedSecureErasing secure(OptionOn(settingsFile_, Option::Securely));
  Begin();
  if (closeBrowsers_ == 1 || (closeBrowsers_ < 0 && OptionOn(settingsFile_, Option::CloseBrowsers)))
    AskBrowsersToClose(settingsFile_, [this](const std::string& line) { Say(line); }, [this] { view_.KeepResponsive(); });
  RunContext ctx;
  ctx.settingsFile = settingsFile_;
  for (const RunItem& item : items_) {
    if (GateOpen(item)) RunItemWith(item, ctx, nullptr, 0);
    if (item.progress >= 0) view_.SetProgress(item.progress);
  }
  Finish(ctx);
}

void CleanRun::ReportUnknownItem(const PreviewItem& item) {
  report_.push_back({item.name, {}, {}});
  for (const PreviewEntry& e : item.entries)
    if (e.ticked && e.kind != "note" && e.kind != "item") report_.back().outcomes.push_back({e.kind, e.target, kNotFoundReason});
  if (report_.back().outcomes.empty()) {
    report_.pop_back();
    return;
  }
  const size_t n = report_.back().outcomes.size();
  Say("No item of this run is called \"" + item.name + "\": its " + Counted(n, "ticked entry is", "ticked entries are") +
      " passed over");
}

void CleanRun::RunSelected(const std::vector<PreviewItem>& preview, unsigned long long listWritten) {
  UnderWay underWay;
  ScopedSecureErasing secure(OptionOn(settingsFile_, Option::Securely));
  Begin();
  RunContext ctx;
  ctx.settingsFile = settingsFile_;
  for (const PreviewItem& p : preview)
    if (std::none_of(items_.begin(), items_.end(), [&](const RunItem& item) { return ItemName(item) == p.name; }))
      ReportUnknownItem(p);
  for (const RunItem& item : items_) {
    const std::string name = ItemName(item);
    auto found = std::find_if(preview.begin(), preview.end(), [&](const PreviewItem& p) { return p.name == name; });
    const bool anyTicked = found != preview.end() &&
                           std::any_of(found->entries.begin(), found->entries.end(), [](const PreviewEntry& e) { return e.ticked; });
    if (anyTicked) RunItemWith(item, ctx, &*found, listWritten);
    if (item.progress >= 0) view_.SetProgress(item.progress);
  }
  Finish(ctx);
}

unsigned long long CleanRun::passedOver() const {
  unsigned long long n = 0;
  for (const ItemReport& r : report_)
    for (const EntryOutcome& o : r.outcomes)
      if (!o.why.empty()) ++n;
  return n;
}
