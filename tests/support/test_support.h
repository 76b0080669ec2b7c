#pragma once
// Helpers shared by the tests: scratch folders, files written byte for byte,
// and the repository's fixture folder.

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "input/records.h"

namespace hdfe::testing {

// A fresh empty folder under the system's temporary folder, removed when the
// object goes out of scope.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // Writes `content` byte for byte to path()/name and returns the full path.
  std::string write(std::string_view name, std::string_view content) const;
  std::string file(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view content);

// The tests/fixtures folder of the source tree.
std::filesystem::path fixturePath(std::string_view relative);

// A torque curve from (speed, torque) points, entry 0 unused.
TorqueCurve curveOf(std::initializer_list<std::pair<double, double>> points);

// Changes the working directory for the lifetime of the object and comes
// back to the previous one however the scope ends: the names inside the input
// files are relative to the working directory, as for a user.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& folder);
  ~WorkingDirectory();
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

// Copies examples/<name> (every input file and both schedules) into `folder`.
void copyExample(std::string_view name, const std::filesystem::path& folder);

// The outcome of one run of the whole program, in-process.
struct RunOutput {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs hdfe with `args` inside `folder`, the console reading `consoleInput`.
RunOutput runHdfeIn(const std::filesystem::path& folder, const std::vector<std::string>& args,
                    const std::string& consoleInput = "");

// Replaces every "\n" not preceded by "\r" with "\r\n": expected texts can be
// written with plain newlines.
std::string crlf(std::string_view text);

}  // namespace hdfe::testing
