#pragma once
// The run driver: names, loading, simulation, figures, checks and reports.

#include <string>
#include <vector>

#include "report/output.h"

namespace hdfe {

inline constexpr const char* kVersionText = "Version 20221014";

// Runs the whole evaluation; args are the command-line arguments after the
// program name. Returns the process exit status: 0 on completion, 1 when the
// run stopped on a failure.
int runHdfe(const std::vector<std::string>& args, Console& console);

// The current local date and time as 24 characters, e.g. "Fri Oct 14 09:05:07 2022".
std::string localDateTime();

}  // namespace hdfe
