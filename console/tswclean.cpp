// tswclean.exe: the cleaning run without a window, for the Task Scheduler. It runs the
// selection stored in prisd.dat of its own folder, as the progress dialog would.
//   tswclean              clean, print every status line and the summary
//   tswclean --analyze    print what a run would erase: kind, target, size (tab-separated)
//   tswclean --items      the items with their stored ticks
//   tswclean --help
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>

#include "engine/CleanRun.h"
#include "engine/StoredSelection.h"
#include "settings/AppFolder.h"
#include "settings/Inifun.h"

namespace {

const char kUsage[] =
    "usage: tswclean [--analyze | --items | --help]\n"
    "  (no option)  clean the items ticked in Tracksweep, as its Clean Now button does\n"
    "  --analyze    list what a run would erase (kind, target, size in bytes), erasing nothing\n"
    "  --items      list the items with their stored ticks\n"
    "  --help       this text\n";

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
  const std::string option = argc > 1 ? argv[1] : "";
  if (argc > 2 || (!option.empty() && option != "--analyze" && option != "--items" && option != "--help"))
    return Fail(2, std::string("unknown arguments\n") + kUsage);
  if (option == "--help") {
    printf("%s", kUsage);
    return 0;
  }
  const std::string folder = ProgramFolder();
  const DWORD attrs = GetFileAttributesA(folder.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY))
    return Fail(3, "cannot read the program folder " + folder);
  const std::string settings = SettingsPath();
  if (GetFileAttributesA(settings.c_str()) == INVALID_FILE_ATTRIBUTES)
    return Fail(3, "no saved selection in " + settings + ": open Tracksweep once and choose the items to clean");

  OleInitialize(nullptr);
  StoredSelection selection(settings);
  ConsoleView view;
  CleanRun run(view, selection, settings);
  if (option == "--items") {
    ListItems(settings, selection);
  } else if (option == "--analyze") {
    printf("%s", PreviewText(run.Analyze()).c_str());
  } else {
    StampLastClean(settings);
    run.Run();
  }
  fflush(stdout);
  OleUninitialize();
  return 0;
}
