// The cleaning run: every track item in one fixed order, reported to a view.
#pragma once
#include <string>
#include <vector>

#include "access/Eraser.h"
#include "settings/Text.h"

// What the run shows; the progress dialog implements it, tests record it.
class RunView {
 public:
  virtual ~RunView() = default;
  virtual void SetFrameCaption(const std::string& caption) = 0;  // repainted at once
  virtual void SetBusyPointer(bool busy) = 0;
  virtual void EnableCleanButton(bool enabled) = 0;
  virtual void ClearStatus() = 0;
  virtual void AddStatus(const std::string& line) = 0;
  virtual void RefreshStatus() = 0;  // repaint the list and select its last line
  virtual void SetProgress(int value) = 0;
  // Modal "Task Complete" message; returns when the user has closed it.
  virtual void ShowSummary(const std::string& text) = 0;
  virtual void BringForward() = 0;
  // The "Exit after cleaning" option: close the program's windows.
  virtual void EndProgram() = 0;
  // Called while the run waits (for browsers it asked to close): a window answers meanwhile.
  virtual void KeepResponsive() {}
};

// The user's ticks: the current value of a main-window check box, by its number
// (Check12 -> 12); 1 is ticked, 0 unticked, 2 greyed.
class Selection {
 public:
  virtual ~Selection() = default;
  virtual int CheckValue(int checkNumber) const = 0;
};

class CarryingEraser;

// What became of one entry a run was to erase: why is "" when it went, else why it stayed
// ("in use", "changed since the preview", "refused by the folder guard", "a browser running").
struct EntryOutcome {
  std::string kind, target, why;
};

// What a run did with the rows of one database table that an entry counts: how many went, how
// many stayed, and why those stayed ("not ticked", "newer than the preview", ...).
struct TableRows {
  std::string target;  // "...\History: urls"
  unsigned long long erased = 0, left = 0;
  std::string why;
};

// What an item step works with and adds to.
struct RunContext {
  std::string settingsFile;  // prisd.dat
  double regnum = 0;         // registry entries cleaned
  double filesize = 0;       // bytes released
  std::string endLine;       // the item's end line; a step may replace it
  std::vector<std::string> notes;  // lines a step adds between its start and end lines
  // Set while a preview runs: the recording eraser in force. Steps that call the platform
  // directly (not through the eraser) then only say what they would clear, through Previewing.
  RecordingEraser* preview = nullptr;
  // Set while a run carries out what a preview listed (and, for a report, any run): the
  // eraser in force, which steps that call the platform directly ask what is chosen.
  CarryingEraser* carrying = nullptr;
  std::vector<EntryOutcome> outcomes;  // what a step itself passed over, and why
};

// While previewing: what a keep list keeps, listed as kept (unticked, never carried out) with
// the list that keeps it, so that the user sees why it stays.
void PreviewKept(RunContext& ctx, const std::string& target, const std::string& list);
// True while previewing, after recording what the direct call would clear; the step then
// leaves the call out. seen tells what there is to clear now (the Recycle Bin's items and
// size, the clipboard's sequence number): keeping to a preview, the call is left out too when
// that is no longer what the preview saw, and the entry counts as changed.
bool Previewing(RunContext& ctx, const std::string& what, double bytes = 0, const std::string& seen = "");

// What a preview found for one selected item.
struct PreviewItem {
  std::string name;  // the item's name, as its status lines give it
  std::vector<RecordingEraser::Entry> entries;
  double regnum = 0;    // counted by the item, fixed amounts included
  double filesize = 0;  // bytes counted by the item
};

using ItemStep = void (*)(RunContext& ctx);

enum class GateKind {
  CheckBox,  // a main-window check box, value 1
  Always,    // no gate of its own
  Setting,   // a prisd.dat key that reads exactly "1"
  Test,      // a function of prisd.dat answers
};

struct RunItem {
  GateKind gate;
  int check;               // check box number, for GateKind::CheckBox
  const char* gateSection; // for GateKind::Setting
  const char* gateKey;
  const char* startLine;
  const char* endLine;
  bool refresh;            // repaint the list after the end line
  int progress;            // bar value after the item; -1 leaves it
  double addRegnum;        // fixed amounts, counted whether or not anything was there
  double addBytes;
  bool addBeforeStart;     // fixed amounts added before the start line
  ItemStep step;           // the erasure; nullptr erases nothing
  bool (*gateTest)(const std::string& settingsFile) = nullptr;  // for GateKind::Test
};

// The items of a run, in run order: the 29 of the main window and its options, then More Browsers
// and More Windows Tracks.
const std::vector<RunItem>& RunItems();

// Whether a run takes the item: its check box, its setting or its test, as the run reads them.
bool ItemSelected(const RunItem& item, const Selection& selection, const std::string& settingsFile);

class CleanRun {
 public:
  CleanRun(RunView& view, const Selection& selection, std::string settingsFile,
           const std::vector<RunItem>& items = RunItems());
  // cleannow: one whole run; totals start from zero each time.
  void Run();
  // Whether Run first asks the running browsers that have kinds ticked to close; unless told
  // here, as the option "closebrowsers" says.
  void AskBrowsersToCloseFirst(bool ask) { closeBrowsers_ = ask ? 1 : 0; }
  // The same items, gates and steps with a recording eraser in force: nothing is erased,
  // nothing is shown and nothing is stored.
  std::vector<PreviewItem> Analyze();
  // "Clean these": the items of the preview that have a ticked entry, in run order, each
  // erasing only its ticked entries, checked again first (see CarryingEraser); reported in the
  // view as a run is, with a line for the entries that changed since the preview. listWritten:
  // for a list read from a file, when it was written (0 when the entries carry their times).
  void RunSelected(const std::vector<PreviewItem>& preview, unsigned long long listWritten = 0);
  struct ItemReport {
    std::string name;
    std::vector<std::string> lines;
    std::vector<EntryOutcome> outcomes;
    std::vector<TableRows> tables;
  };
  // What the last Run or RunSelected did, item by item.
  const std::vector<ItemReport>& report() const { return report_; }
  unsigned long long changedSincePreview() const { return changed_; }
  unsigned long long passedOver() const;
  double regnum() const { return regnum_; }
  double filesize() const { return filesize_; }

 private:
  bool GateOpen(const RunItem& item) const;
  // The item's fixed amounts and step, as a run or a preview carries them out.
  void CarryOut(const RunItem& item, RunContext& ctx, bool beforeStart) const;
  // The run's opening and closing, shared by Run and RunSelected.
  void Begin();
  void Finish(RunContext& ctx);
  void Say(const std::string& line);
  void SayPassedOver(const std::vector<EntryOutcome>& outcomes);
  // One item: its lines, its step under the carrying eraser, what it passed over.
  void RunItemWith(const RunItem& item, RunContext& ctx, const PreviewItem* preview, unsigned long long listWritten);
  // The ticked lines of a preview item that no item of the run takes: each passed over.
  void ReportUnknownItem(const PreviewItem& item);

  RunView& view_;
  const Selection& selection_;
  std::string settingsFile_;
  const std::vector<RunItem>& items_;
  double regnum_ = 0;
  double filesize_ = 0;
  std::vector<ItemReport> report_;
  unsigned long long changed_ = 0;
  int closeBrowsers_ = -1;  // -1: as the option says
};

// True while a run, a preview or a run that keeps to one is under way: an automatic cleaning
// waits for it to end.
bool RunUnderWay();

// "1 entry changed since the preview, left as it is", "3 entries ... left as they are".
std::string ChangedLine(unsigned long long changed);
extern const char kNotFoundReason[];  // "not found": a ticked line of a preview the run never met
extern const char kChangedReason[];  // "changed since the preview"

// A preview as text: one line per entry, "item<TAB>kind<TAB>target<TAB>size in bytes".
std::string PreviewText(const std::vector<PreviewItem>& items);

// The target of an item's entry for its fixed amounts: "counts 15 registry keys", "counts 1
// registry key".
std::string FixedTarget(double keys);
// "IE Cookies" for the item whose start line is "Please Waiting ,Cleaning IE Cookies.......".
std::string ItemName(const RunItem& item);

// Texts of the run.
extern const char kRunningCaption[];
extern const char kIdleCaption[];
extern const char kBeginLine[];
extern const char kCompleteLine[];
extern const char kSummaryTitle[];

// "####.##": no leading zero, point always written, at most two decimals.
std::string FormatMegabytes(double megabytes);
std::string NumberText(double value);
// The run's last status line: "Task complete Successfully!", or when something was passed
// over "Task complete: 2 entries passed over".
std::string CompleteLine(unsigned long long passedOver);
// The summary: the last line, then the totals; "Successfully" only when nothing was passed over.
std::string SummaryText(double regnum, double filesize, unsigned long long passedOver = 0);
// "Clean Now": stores the start time as WINDOWS/lastclean.
void StampLastClean(const std::string& settingsFile);
