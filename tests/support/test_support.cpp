#include "support/test_support.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <istream>
#include <sstream>
#include <stdexcept>

#include "run/driver.h"

namespace hdfe::testing {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  const auto base = fs::temp_directory_path();
  for (;;) {
    path_ = base / ("hdfe-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    if (fs::create_directory(path_)) break;
  }
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string ScratchDir::write(std::string_view name, std::string_view content) const {
  const auto full = path_ / fs::path(name);
  writeFile(full, content);
  return full.string();
}

std::string ScratchDir::file(std::string_view name) const {
  return (path_ / fs::path(name)).string();
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const fs::path& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path.string());
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

fs::path fixturePath(std::string_view relative) {
  return fs::path(HDFE_SOURCE_DIR) / "tests" / "fixtures" / fs::path(relative);
}

WorkingDirectory::WorkingDirectory(const fs::path& folder) : previous_(fs::current_path()) {
  fs::current_path(folder);
}

WorkingDirectory::~WorkingDirectory() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

void copyExample(std::string_view name, const fs::path& folder) {
  fs::copy(fs::path(HDFE_SOURCE_DIR) / "examples" / fs::path(name), folder,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

RunOutput runHdfeIn(const fs::path& folder, const std::vector<std::string>& args,
                    const std::string& consoleInput) {
  std::istringstream in(consoleInput);
  std::ostringstream out;
  std::ostringstream err;
  Console console{in, out, err};
  RunOutput result;
  {
    WorkingDirectory inside(folder);
    result.status = runHdfe(args, console);
  }
  result.out = out.str();
  result.err = err.str();
  return result;
}

TorqueCurve curveOf(std::initializer_list<std::pair<double, double>> points) {
  TorqueCurve curve;
  curve.Count = static_cast<std::int32_t>(points.size());
  curve.Speed.push_back(0.0);
  curve.Torque.push_back(0.0);
  for (const auto& [speed, torque] : points) {
    curve.Speed.push_back(speed);
    curve.Torque.push_back(torque);
  }
  return curve;
}

std::string crlf(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
    result += text[i];
  }
  return result;
}

}  // namespace hdfe::testing
