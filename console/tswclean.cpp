// tswclean.exe: the cleaning run without a window, for the Task Scheduler and for scripts. It
// runs the selection stored in prisd.dat of its own folder, as the progress dialog would, or
// exactly the ticked entries of a preview list; see kUsage for the options and exit codes.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/CleanRun.h"
#include "engine/Preview.h"
#include "engine/RunReport.h"
#include "engine/Schedule.h"
#include "engine/StoredSelection.h"
#include "keeplists/ListFile.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"

namespace {

const char kUsage[] =
    "usage: tswclean [--close-browsers | --analyze [--out FILE] | --from FILE | --items |\n"
    "                 --unschedule | --help | /?] [--report FILE]\n"
    "  (no option)     clean the items ticked in Tracksweep, as its Clean Now button does\n"
    "  --close-browsers  and first ask the running browsers whose tracks are ticked to close\n"
    "                  (their windows, as a user closes them), waiting up to 10 seconds; one\n"
    "                  still running is passed over; nothing is ever ended by force\n"
    "  --analyze       list what a run would erase, a line per entry: item, kind, target and\n"
    "                  size in bytes, tab-separated; nothing is erased\n"
    "    --out FILE    and write that preview to FILE as a list to edit: item, kind, target,\n"
    "                  size and ticked (1 or 0), tab-separated, with a header line\n"
    "  --from FILE     erase exactly the ticked entries of such a list, each checked again\n"
    "                  first: what changed since the list was made stays\n"
    "  --report FILE   after a run, write a JSON report: per item its lines, what it erased,\n"
    "                  what it passed over and why, and the totals\n"
    "  --items         list the items with their stored ticks\n"
    "  --unschedule    remove the scheduled cleaning that Clean Options sets up (the task\n"
    "                  \"Tracksweep\" of the Task Scheduler); nothing is erased\n"
    "  --help, /?      this text\n"
    "exit codes: 0 everything chosen was erased; 1 the run finished but some entries were\n"
    "passed over (in use, changed, refused, a browser running); 2 bad arguments; 3 the program\n"
    "folder, the saved selection or the list cannot be read, or the scheduled cleaning cannot be\n"
    "removed (--unschedule ends with 0 when it is gone or was never there)\n";

struct Options {
  std::string mode;  // "", "--analyze", "--from", "--items", "--unschedule", "--help"
  std::string out, from, report;
  bool closeBrowsers = false;
};

// False for anything else than the forms of kUsage.
bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    // "/?" is how Windows programs are asked for their usage.
    const std::string a = std::string(argv[i]) == "/?" || std::string(argv[i]) == "-?" ? "--help" : argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc || !into.empty()) return false;
      into = argv[++i];
      return !into.empty();
    };
    if (a == "--analyze" || a == "--items" || a == "--unschedule" || a == "--help") {
      if (!o.mode.empty()) return false;
      o.mode = a;
    } else if (a == "--from") {
      if (!o.mode.empty() || !value(o.from)) return false;
      o.mode = a;
    } else if (a == "--out") {
      if (!value(o.out)) return false;
    } else if (a == "--report") {
      if (!value(o.report)) return false;
    } else if (a == "--close-browsers") {
      if (o.closeBrowsers) return false;
      o.closeBrowsers = true;
    } else {
      return false;
    }
  }
  if (!o.out.empty() && o.mode != "--analyze") return false;
  if (o.closeBrowsers && !o.mode.empty()) return false;  // only a whole run asks
  if (!o.report.empty() && !o.mode.empty() && o.mode != "--from") return false;
  return true;
}

bool WriteText(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
  return fclose(f) == 0 && ok;
}

// The list and when it was written: what changed after that has changed since the preview.
bool ReadList(const std::string& path, std::string& text, unsigned long long& written) {
  FileFacts facts;
  if (!FactsOfPath(path, facts) || (facts.attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  written = facts.lastWrite;
  return ReadWholeFile(path, text);
}

// The run's lines on standard output; the summary last.
class ConsoleView : public RunView {
 public:
  void SetFrameCaption(const std::string&) override {}
  void SetBusyPointer(bool) override {}
  void EnableCleanButton(bool) override {}
  void ClearStatus() override {}
  void AddStatus(const std::string& line) override { printf("%s\n", line.c_str()); }
  void RefreshStatus() override { fflush(stdout); }
  void SetProgress(int) override {}
  void ShowSummary(const std::string& text) override { printf("%s\n", text.c_str()); }
  void BringForward() override {}
  void EndProgram() override {}
};

int Fail(int code, const std::string& message) {
  fprintf(stderr, "tswclean: %s\n", message.c_str());
  return code;
}

void ListItems(const std::string& settings, const Selection& selection) {
  for (const RunItem& item : RunItems()) {
    const std::string tick = item.gate == GateKind::Always ? "always" : ItemSelected(item, selection, settings) ? "1" : "0";
    printf("%s\t%s\n", ItemName(item).c_str(), tick.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  Options options;
  if (!ParseOptions(argc, argv, options)) return Fail(2, std::string("unknown arguments\n") + kUsage);
  if (options.mode == "--help") {
    printf("%s", kUsage);
    return 0;
  }
  // Needs neither the saved selection nor the program folder: the uninstaller calls it last.
  if (options.mode == "--unschedule") {
    const std::string failed = RemoveSchedule();
    if (!failed.empty()) return Fail(3, "cannot remove the scheduled cleaning: " + failed);
    printf("No scheduled cleaning (task \"%s\") is registered now.\n", kScheduleTaskName);
    return 0;
  }
  const std::string folder = ProgramFolder();
  const DWORD attrs = GetFileAttributesA(folder.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY))
    return Fail(3, "cannot read the program folder " + folder);
  const std::string settings = SettingsPath();
  if (GetFileAttributesA(settings.c_str()) == INVALID_FILE_ATTRIBUTES)
    return Fail(3, "no saved selection in " + settings + ": open Tracksweep once and choose the items to clean");
  // A list that cannot be read, or is not a preview list, erases nothing.
  std::vector<PreviewItem> list;
  unsigned long long listWritten = 0;
  if (options.mode == "--from") {
    std::string text;
    if (!ReadList(options.from, text, listWritten)) return Fail(3, "cannot read the list " + options.from);
    if (!ReadPreviewList(text, list)) return Fail(3, options.from + " is not a preview list (see tswclean --help)");
  }

  OleInitialize(nullptr);
  StoredSelection selection(settings);
  ConsoleView view;
  CleanRun run(view, selection, settings);
  int code = 0;
  if (options.mode == "--items") {
    ListItems(settings, selection);
  } else if (options.mode == "--analyze") {
    const std::vector<PreviewItem> preview = run.Analyze();
    printf("%s", PreviewText(preview).c_str());
    if (!options.out.empty() && !WriteText(options.out, PreviewListText(preview))) code = Fail(3, "cannot write " + options.out);
  } else {
    StampLastClean(settings);
    if (options.closeBrowsers) run.AskBrowsersToCloseFirst(true);
    if (options.mode == "--from") run.RunSelected(list, listWritten);
    else run.Run();
    code = run.passedOver() > 0 ? 1 : 0;
    if (!options.report.empty() && !WriteText(options.report, RunReportJson(run, code)))
      code = Fail(3, "cannot write the report " + options.report);
  }
  fflush(stdout);
  OleUninitialize();
  return code;
}
