// A view that records what a run shows, and a set of ticks, for running the engine headless.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "engine/CleanRun.h"

class RecordingView : public RunView {
 public:
  std::vector<std::string> events;
  std::vector<std::string> lines;
  std::vector<int> progress;
  std::vector<std::string> summaries;
  bool busy = false, buttonEnabled = true, ended = false;
  std::string caption = "Status";

  void SetFrameCaption(const std::string& c) override { caption = c; events.push_back("caption:" + c); }
  void SetBusyPointer(bool b) override { busy = b; events.push_back(b ? "busy" : "idle"); }
  void EnableCleanButton(bool e) override { buttonEnabled = e; events.push_back(e ? "enable" : "disable"); }
  void ClearStatus() override { lines.clear(); events.push_back("clear"); }
  void AddStatus(const std::string& l) override { lines.push_back(l); events.push_back("add:" + l); }
  void RefreshStatus() override { events.push_back("refresh"); }
  void SetProgress(int v) override { progress.push_back(v); }
  void ShowSummary(const std::string& t) override { summaries.push_back(t); events.push_back("summary"); }
  void BringForward() override { events.push_back("forward"); }
  void EndProgram() override { ended = true; events.push_back("end"); }
};

class Ticks : public Selection {
 public:
  std::map<int, int> values;
  int CheckValue(int n) const override {
    auto it = values.find(n);
    return it == values.end() ? 0 : it->second;
  }
  void All(int value) {
    for (int n = 1; n <= 29; ++n) values[n] = value;
  }
};
