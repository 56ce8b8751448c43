// BrowserWatch: browsers cleaned when they close, and asked to close before a run.
#include "engine/BrowserWatch.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "engine/Preview.h"
#include "settings/Inifun.h"

// ---- Watching ---------------------------------------------------------------------------------

void BrowserWatch::Choose(const std::string& settingsFile) {
  std::vector<Watched> chosen;
  for (const BrowserInfo& info : Browsers()) {
    if (!CleanWhenClosedChosen(settingsFile, info)) continue;
    auto was = std::find_if(watched_.begin(), watched_.end(), [&](const Watched& w) { return w.info == &info; });
    chosen.push_back(was != watched_.end() ? std::move(*was) : Watched{&info, {}});
  }
  watched_ = std::move(chosen);
}

void BrowserWatch::Look() {
  if (watched_.empty()) return;
  std::vector<std::string> names;
  for (const Watched& w : watched_) names.insert(names.end(), w.info->processes.begin(), w.info->processes.end());
  const std::vector<RunningProcess> running = RunningProcesses(names);
  for (Watched& w : watched_) {
    for (const RunningProcess& p : running) {
      if (!ExeNamed(p.exe, w.info->processes) || w.waits.count(p.id)) continue;
      auto wait = std::make_unique<ProcessWait>(p.id, ended_);
      if (wait->ok()) w.waits[p.id] = std::move(wait);
    }
  }
}

std::vector<const BrowserInfo*> BrowserWatch::TakeClosed() {
  std::vector<const BrowserInfo*> closed;
  for (Watched& w : watched_) {
    if (w.waits.empty()) continue;
    for (auto it = w.waits.begin(); it != w.waits.end();) it = it->second->Ended() ? w.waits.erase(it) : std::next(it);
    if (w.waits.empty()) closed.push_back(w.info);
  }
  return closed;
}

// ---- Cleaning one browser that closed -------------------------------------------------------

namespace {

// The browser the item below cleans, and what it found; set only while CleanClosedBrowser runs.
struct Closing {
  const BrowserInfo* info;
  std::set<BrowserKind> kinds;  // its ticked ones
  ClosedBrowserCleaning* result;
};
Closing* g_closing = nullptr;

// "...\Cookies: cookies of example.com (3 rows)" -> "example.com"; "" for rows of no one site.
std::string SiteOfTarget(const std::string& target) {
  const size_t colon = target.rfind(": ");
  const size_t of = target.find(" of ", colon == std::string::npos ? 0 : colon);
  if (colon == std::string::npos || of == std::string::npos) return "";
  std::string site = target.substr(of + 4);
  const size_t open = site.rfind(" (");
  if (open != std::string::npos) site.erase(open);
  return site;
}

// "...: 12 rows)" or "...: 12 keys": what a database or a store of keys lost.
unsigned long long CountOfTarget(const std::string& target) {
  const std::string keys = " keys";
  if (target.size() > keys.size() && target.compare(target.size() - keys.size(), keys.size(), keys) == 0) {
    const size_t space = target.rfind(' ', target.size() - keys.size() - 1);
    return strtoull(target.c_str() + (space == std::string::npos ? 0 : space + 1), nullptr, 10);
  }
  return RowsOf(target);
}

// The sites whose rows of the kind would go: a run deletes a table's rows of many sites in one
// statement, so they are counted by a preview of the kind just before.
unsigned long long SitesThatWouldGo(const RunContext& ctx, const FoundBrowser& b, BrowserKind kind, const BrowserKeeps& keeps) {
  RecordingEraser recorder;
  ScopedEraser scope(recorder);
  RunContext look;
  look.settingsFile = ctx.settingsFile;
  look.preview = &recorder;
  CleanFoundBrowser(look, b, {kind}, keeps);
  std::set<std::string> sites;
  for (const PreviewEntry& e : recorder.entries) {
    const std::string site = e.kind == "rows" ? SiteOfTarget(e.target) : "";
    if (!site.empty()) sites.insert(site);
  }
  return sites.size();
}

// Kind by kind, so that the notice can say what each one took.
void CleanClosedStep(RunContext& ctx) {
  if (!g_closing) return;
  const BrowserInfo& info = *g_closing->info;
  ClosedBrowserCleaning& result = *g_closing->result;
  const std::vector<FoundBrowser> found = FindBrowsers();
  auto b = std::find_if(found.begin(), found.end(), [&](const FoundBrowser& f) { return f.info == &info; });
  if (b == found.end()) {
    ctx.notes.push_back(std::string(info.name) + " is not found here: nothing to clean");
    return;
  }
  const BrowserKeeps keeps = ReadBrowserKeeps(ctx.settingsFile);
  for (BrowserKind kind : BrowserKinds()) {
    if (!g_closing->kinds.count(kind)) continue;
    CarryingEraser* carrying = ctx.carrying;
    const size_t first = carrying ? carrying->outcomes.size() : 0;
    const double measured = ctx.filesize, deleted = carrying ? carrying->bytes : 0;
    KindErased k{kind};
    if (kind == BrowserKind::Cookies || kind == BrowserKind::SiteData) k.sites = SitesThatWouldGo(ctx, *b, kind, keeps);
    if (!CleanFoundBrowser(ctx, *b, {kind}, keeps)) return;  // started again: the rest waits for its next close
    result.ran = true;
    // A step measures what it clears and the eraser counts what it deleted; both may see the
    // same files, so the larger of the two is what went.
    k.bytes = std::max(ctx.filesize - measured, carrying ? carrying->bytes - deleted : 0.0);
    for (size_t i = first; carrying && i < carrying->outcomes.size(); ++i) {
      const EntryOutcome& o = carrying->outcomes[i];
      if (!o.why.empty()) continue;
      if (o.kind == "rows") k.rows += CountOfTarget(o.target);
      else if (o.kind == "file") ++k.files;
    }
    if (k.rows == 0) k.sites = 0;  // nothing went after all
    result.kinds.push_back(k);
  }
}

// The run's view: no window, the lines kept for the caller.
class QuietView : public RunView {
 public:
  explicit QuietView(std::vector<std::string>& lines) : lines_(lines) {}
  void SetFrameCaption(const std::string&) override {}
  void SetBusyPointer(bool) override {}
  void EnableCleanButton(bool) override {}
  void ClearStatus() override {}
  void AddStatus(const std::string& line) override { lines_.push_back(line); }
  void RefreshStatus() override {}
  void SetProgress(int) override {}
  void ShowSummary(const std::string& text) override { lines_.push_back(text); }
  void BringForward() override {}
  void EndProgram() override {}  // an automatic cleaning never ends the program

 private:
  std::vector<std::string>& lines_;
};

class NothingTicked : public Selection {
 public:
  int CheckValue(int) const override { return 0; }
};

std::string SizeText(double bytes) {
  char buf[32];
  if (bytes >= 0.1 * 1048576) {
    snprintf(buf, sizeof buf, "%.1f MB", bytes / 1048576);
    return buf;
  }
  if (bytes >= 1024) return Grouped(static_cast<unsigned long long>((bytes + 1023) / 1024)) + " KB";
  return Counted(static_cast<unsigned long long>(bytes), "byte", "bytes");
}

// What one kind took, in the measure a user knows it by; "" when it took nothing.
std::string KindText(const KindErased& k) {
  switch (k.kind) {
    case BrowserKind::History: return k.rows ? Counted(k.rows, "history row", "history rows") : "";
    case BrowserKind::Cookies: return k.sites ? Counted(k.sites, "site's cookies", "sites' cookies") : "";
    case BrowserKind::Cache: return k.bytes > 0 ? SizeText(k.bytes) + " of cache" : "";
    case BrowserKind::Session: return k.files ? Counted(k.files, "session file", "session files") : "";
    case BrowserKind::FormEntries: return k.rows ? Counted(k.rows, "form entry", "form entries") : "";
    case BrowserKind::Downloads: return k.rows ? Counted(k.rows, "download list row", "download list rows") : "";
    case BrowserKind::SiteData:
      if (k.bytes > 0) return SizeText(k.bytes) + " of site data";
      return k.sites ? Counted(k.sites, "site's data", "sites' data") : "";
  }
  return "";
}

}  // namespace

ClosedBrowserCleaning CleanClosedBrowser(const BrowserInfo& info, const std::string& settingsFile) {
  ClosedBrowserCleaning result;
  result.browser = info.name;
  Closing closing{&info, ChosenKinds(settingsFile, info), &result};
  if (closing.kinds.empty()) return result;
  static const std::vector<RunItem> items = {
      RunItem{GateKind::Always, 0, nullptr, nullptr, "Please Waiting ,Cleaning More Browsers......",
              "Cleaning More Browsers......OK", true, -1, 0, 0, false, CleanClosedStep}};
  g_closing = &closing;
  StampLastClean(settingsFile);
  QuietView view(result.lines);
  NothingTicked none;
  CleanRun run(view, none, settingsFile, items);
  run.AskBrowsersToCloseFirst(false);  // the others are none of this cleaning's business
  run.Run();
  g_closing = nullptr;
  result.passedOver = run.passedOver();
  return result;
}

std::string ClosedBrowserNotice(const ClosedBrowserCleaning& cleaning) {
  std::string said;
  for (const KindErased& k : cleaning.kinds) {
    const std::string text = KindText(k);
    if (!text.empty()) said += (said.empty() ? "" : ", ") + text;
  }
  std::string notice = cleaning.browser + " closed: " + (said.empty() ? "nothing of it to erase" : said);
  if (cleaning.passedOver > 0) notice += "; " + Counted(cleaning.passedOver, "entry", "entries") + " passed over";
  return notice;
}

// ---- Asking browsers to close before a run ----------------------------------------------------

void AskBrowsersToClose(const std::string& settingsFile, const std::function<void(const std::string&)>& say,
                        const std::function<void()>& idle) {
  struct Asked {
    std::string name;
    std::vector<const ProcessHandle*> processes;
  };
  std::vector<Asked> asked;
  std::vector<std::unique_ptr<ProcessHandle>> held;  // every process asked, once
  for (const FoundBrowser& b : FindBrowsers()) {
    if (ChosenKinds(settingsFile, *b.info).empty()) continue;
    const std::vector<RunningProcess> running = RunningProcesses(b.info->processes);
    if (running.empty()) continue;
    Asked a{b.info->name, {}};
    std::vector<DWORD> fresh;
    for (const RunningProcess& p : running) {
      // Two browsers of one executable's name share their processes: each is asked once.
      auto same = std::find_if(held.begin(), held.end(), [&](const std::unique_ptr<ProcessHandle>& h) { return h->id() == p.id; });
      if (same != held.end()) {
        a.processes.push_back(same->get());
        continue;
      }
      held.push_back(std::make_unique<ProcessHandle>(p.id));
      if (!held.back()->ok()) continue;
      a.processes.push_back(held.back().get());
      fresh.push_back(p.id);
    }
    if (a.processes.empty()) continue;
    if (!fresh.empty() && AskProcessesToClose(fresh) == 0) {
      say(a.name + " is running without a window to close: it stays open");
      continue;
    }
    say("Asked " + a.name + " to close");
    asked.push_back(a);
  }
  if (asked.empty()) return;
  std::vector<const ProcessHandle*> all;
  for (const Asked& a : asked) all.insert(all.end(), a.processes.begin(), a.processes.end());
  WaitForProcessesToEnd(all, kCloseWaitMs, idle);
  for (const Asked& a : asked) {
    const bool closed = std::all_of(a.processes.begin(), a.processes.end(), [](const ProcessHandle* p) { return p->Ended(); });
    say(closed ? a.name + " closed"
               : a.name + " did not close within " + std::to_string(kCloseWaitMs / 1000) + " seconds: it stays open");
  }
}
