#pragma once
// The fatal stop. A routine that meets a condition the run cannot survive
// throws FatalStop carrying the message lines still to be written and the
// console stream they belong on; only the run driver prints them and ends the
// process (exit status 1). Lines hold their text without the line end.

#include <stdexcept>
#include <string>
#include <vector>

namespace hdfe {

enum class Channel { Out, Err };

struct FatalStop : std::runtime_error {
  FatalStop(Channel channel, std::vector<std::string> lines);
  Channel channel;
  std::vector<std::string> lines;
};

// An input reader's failure: one message line on standard error.
[[noreturn]] void inputFailure(std::string line);

}  // namespace hdfe
