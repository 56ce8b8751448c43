// The console cleaner's report of a run, as JSON: per item its status lines, what it erased,
// what it passed over and why; then the totals and the exit code.
#pragma once
#include <string>

#include "engine/CleanRun.h"

std::string RunReportJson(const CleanRun& run, int exitCode);
