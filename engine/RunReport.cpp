#include "engine/RunReport.h"

#include <nlohmann/json.hpp>

#include "access/WidePath.h"

std::string RunReportJson(const CleanRun& run, int exitCode) {
  // Names and paths are ANSI here; JSON is UTF-8.
  auto text = [](const std::string& s) { return Utf8Text(s); };
  nlohmann::json items = nlohmann::json::array();
  for (const CleanRun::ItemReport& r : run.report()) {
    nlohmann::json lines = nlohmann::json::array(), erased = nlohmann::json::array(), passed = nlohmann::json::array();
    for (const std::string& line : r.lines) lines.push_back(text(line));
    for (const EntryOutcome& o : r.outcomes) {
      nlohmann::json entry = {{"kind", text(o.kind)}, {"target", text(o.target)}};
      if (o.why.empty()) {
        erased.push_back(entry);
      } else {
        entry["why"] = text(o.why);
        passed.push_back(entry);
      }
    }
    // Each database table the item concerned: its rows that went and those that stayed.
    nlohmann::json tables = nlohmann::json::array();
    for (const TableRows& t : r.tables) {
      nlohmann::json table = {{"table", text(t.target)}, {"erased", t.erased}, {"left", t.left}};
      if (!t.why.empty()) table["why"] = text(t.why);
      tables.push_back(table);
    }
    items.push_back({{"item", text(r.name)}, {"lines", lines}, {"erased", erased}, {"passedOver", passed}, {"tables", tables}});
  }
  const nlohmann::json report = {
      {"items", items},
      {"totals",
       {{"registryKeys", run.regnum()}, {"bytes", run.filesize()}, {"changedSincePreview", run.changedSincePreview()},
        {"passedOver", run.passedOver()}}},
      {"exitCode", exitCode},
  };
  return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
