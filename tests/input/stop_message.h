#pragma once
// What the input readers' tests check of a stopped run: the message lines of
// the fatal stop, which all belong on standard error.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "input/failure.h"
#include "input/freeformat.h"

namespace hdfe::testing {

// The lines of the FatalStop that `call` throws; none when it returns.
template <typename Call>
std::vector<std::string> stopLines(Call&& call) {
  try {
    call();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.channel, Channel::Err);
    return stop.lines;
  }
  ADD_FAILURE() << "the run did not stop";
  return {};
}

// The diagnostic line of an unguarded read of `name` that failed with `status`.
inline std::string unguardedLine(std::string_view name, ReadStatus status) {
  try {
    unguardedFailure(name, status);
  } catch (const FatalStop& stop) {
    return stop.lines.at(0);
  }
  return {};
}

}  // namespace hdfe::testing
