// Cleaning without being asked: a browser cleaned as soon as it closes, and browsers asked to
// close before a run cleans them.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "access/Processes.h"
#include "engine/Browsers.h"

// Watches the processes of the browsers whose "Clean when it closes" is ticked: it waits on
// their handles (not on their files), and tells when the last process of one has ended.
class BrowserWatch {
 public:
  // ended is called on a thread of the system's pool when a watched process ends; it should
  // only hand the news to the caller's own thread (post a message).
  explicit BrowserWatch(std::function<void()> ended) : ended_(std::move(ended)) {}
  // Reads which browsers are watched; waits on browsers no longer chosen end.
  void Choose(const std::string& settingsFile);
  bool Watching() const { return !watched_.empty(); }
  // Finds the processes of the watched browsers that started since the last look and waits on them.
  void Look();
  // The browsers whose every watched process has ended since the last call.
  std::vector<const BrowserInfo*> TakeClosed();

 private:
  struct Watched {
    const BrowserInfo* info;
    std::map<DWORD, std::unique_ptr<ProcessWait>> waits;  // by process number
  };
  std::function<void()> ended_;
  std::vector<Watched> watched_;
};

// How long after a browser closed its cleaning starts: a browser that restarts itself (an
// update, a profile switch) is back by then, and its cleaning is passed over.
const unsigned kCleanAfterCloseMs = 3000;

// What the cleaning of one closed browser erased, kind by kind.
struct KindErased {
  BrowserKind kind;
  unsigned long long rows = 0;   // database rows and stored keys
  unsigned long long sites = 0;  // sites whose rows went
  unsigned long long files = 0;
  double bytes = 0;
};
struct ClosedBrowserCleaning {
  std::string browser;
  bool ran = false;               // false: nothing chosen, not found here, or running again
  std::vector<KindErased> kinds;  // the chosen kinds, in the table's order
  unsigned long long passedOver = 0;
  std::vector<std::string> lines;  // the status lines of the run
};
// Erases the ticked kinds of one browser that has closed, with the keep lists, the folder guard
// and the report of a run, and stamps the run as the last cleaning.
ClosedBrowserCleaning CleanClosedBrowser(const BrowserInfo& info, const std::string& settingsFile);
// What the notice says: "Firefox closed: 1,240 history rows, 3 sites' cookies, 56.2 MB of cache".
std::string ClosedBrowserNotice(const ClosedBrowserCleaning& cleaning);

// How long a run waits for the browsers it asked to close.
const unsigned kCloseWaitMs = 10000;
// Before a run: each running browser that has a kind ticked is asked to close as a user closes
// it (its windows sent WM_CLOSE; nothing is ever ended by force), and the run waits up to
// kCloseWaitMs for them all. say gets the status lines (which browsers were asked, which closed);
// idle is called while waiting.
void AskBrowsersToClose(const std::string& settingsFile, const std::function<void(const std::string&)>& say,
                        const std::function<void()>& idle);
