#pragma once
// Helpers shared by the fuzzing harnesses: a private folder for the input
// files the readers open by name, findings that stop the fuzzer, and the
// checks every harness applies to what a reader hands back.

#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "input/failure.h"

namespace hdfe::fuzz {

// A harness found a fault: say what, then stop so that libFuzzer keeps the
// input as a crash.
[[noreturn]] inline void finding(const std::string& what) {
  std::fprintf(stderr, "\n==hdfe-fuzz== FINDING: %s\n", what.c_str());
  std::fflush(stderr);
  __builtin_trap();
}

// The input files of one fuzzing process live in a folder of their own on a
// memory file system when there is one, removed when the process ends.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::string_view harness) {
    namespace fs = std::filesystem;
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    path_ = base / ("hdfe-fuzz-" + std::string(harness) + "-" + std::to_string(::getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes the bytes as they are and returns the file's full name.
  std::string write(std::string_view name, std::string_view bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) finding("cannot write the harness file " + file.string());
    return file.string();
  }

  void remove(std::string_view name) const {
    std::error_code ignored;
    std::filesystem::remove(path_ / name, ignored);
  }

 private:
  std::filesystem::path path_;
};

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Runs one reader call. A FatalStop is the reader refusing the input, the
// expected way out; its lines must say something. (The stop after the
// missing-gear message carries no line: the message is already on the
// console; messageRequired is false for calls that can make it.) Any other
// exception is a finding. Returns true when the call accepted the input.
template <typename Call>
bool acceptedBy(std::string_view reader, Call&& call, bool messageRequired = true) {
  try {
    call();
    return true;
  } catch (const FatalStop& stop) {
    if (messageRequired && (stop.lines.empty() || stop.lines.front().empty())) {
      finding(std::string(reader) + " stopped without a message");
    }
    return false;
  } catch (const std::exception& failure) {
    finding(std::string(reader) + " threw " + failure.what());
  } catch (...) {
    finding(std::string(reader) + " threw something that is not an exception");
  }
}

// A number the free-format read accepted is always a finite double.
inline void requireFinite(double value, const std::string& what) {
  if (!std::isfinite(value)) finding(what + " is not finite");
}

inline void requireFinite(const std::vector<double>& values, std::size_t first, std::size_t last,
                          const std::string& what) {
  if (values.size() <= last) finding(what + ": sequence shorter than its count");
  for (std::size_t k = first; k <= last; ++k) {
    requireFinite(values[k], what + "[" + std::to_string(k) + "]");
  }
}

// The sequences a reader fills count from 1: count + 1 entries.
inline void requireEntries(std::size_t entries, std::int32_t count, const std::string& what) {
  if (count < 0 || entries != static_cast<std::size_t>(count) + 1) {
    finding(what + " holds " + std::to_string(entries) + " entries for a count of " +
            std::to_string(count));
  }
}

// Text fields hold at most 1024 characters, no trailing blank and no line end.
inline void requireTextField(const std::string& text, const std::string& what) {
  if (text.size() > 1024) finding(what + " is longer than its field");
  if (!text.empty() && text.back() == ' ') finding(what + " keeps a trailing blank");
  if (text.find('\n') != std::string::npos) finding(what + " holds a line feed");
}

}  // namespace hdfe::fuzz
