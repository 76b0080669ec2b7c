#include "input/failure.h"

#include <utility>

namespace hdfe {

FatalStop::FatalStop(Channel channel_, std::vector<std::string> lines_)
    : std::runtime_error(lines_.empty() ? std::string("run stopped") : lines_.front()),
      channel(channel_),
      lines(std::move(lines_)) {}

void inputFailure(std::string line) { throw FatalStop(Channel::Err, {std::move(line)}); }

}  // namespace hdfe
