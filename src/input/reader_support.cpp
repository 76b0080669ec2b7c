#include "input/reader_support.h"

#include <filesystem>
#include <sstream>
#include <system_error>
#include <utility>

#include "input/failure.h"

namespace hdfe {
namespace {

// A carriage return before the line feed is not part of the line.
std::string withoutLineEnd(const std::string& raw) {
  if (!raw.empty() && raw.back() == '\r') return raw.substr(0, raw.size() - 1);
  return raw;
}

// Lines holding only blanks and tabs carry no value and are passed over.
bool holdsNoValue(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

std::ifstream openInput(const std::string& name) {
  const std::string fileName = trimTrailingBlanks(name);
  std::error_code ignored;
  if (std::filesystem::is_directory(fileName, ignored)) return std::ifstream();
  return std::ifstream(fileName, std::ios::binary);
}

void readOrStop(std::istream& in, std::string_view name, std::initializer_list<FreeItem> items,
                const std::string& failureLine) {
  const ReadStatus status = readFree(in, items);
  if (status == ReadStatus::ReadError) inputFailure(failureLine);
  if (status == ReadStatus::EndOfFile) unguardedFailure(name, status);
}

RecordStatus readRecordLine(LineCursor& cursor, std::initializer_list<FreeItem> items) {
  std::string raw;
  for (;;) {
    if (!std::getline(cursor.in, raw)) {
      return cursor.in.bad() ? RecordStatus::ReadError : RecordStatus::EndOfFile;
    }
    ++cursor.lineNumber;
    cursor.recordText = withoutLineEnd(raw);
    if (!holdsNoValue(cursor.recordText)) break;
  }
  // The raw line, carriage return included, so the read sees exactly the line
  // it would have seen in the file.
  std::istringstream line(raw);
  switch (readFree(line, items)) {
    case ReadStatus::Ok:
      return RecordStatus::Ok;
    case ReadStatus::ReadError:
      return RecordStatus::ReadError;
    case ReadStatus::EndOfFile:
      break;
  }
  return RecordStatus::ShortLine;
}

ReadStatus rereadAcrossLines(LineCursor& cursor, std::initializer_list<FreeItem> items) {
  // The short line with its line end back on, then whatever is left unread.
  std::stringstream rest;
  rest << cursor.recordText << "\r\n";
  if (cursor.in.rdbuf()->sgetc() != std::char_traits<char>::eof()) rest << cursor.in.rdbuf();
  return readFree(rest, items);
}

void gappedInsertionSort(std::vector<double>& key,
                         std::initializer_list<std::vector<double>*> companions, std::int32_t first,
                         std::int32_t last) {
  const std::int32_t count = last - first + 1;
  for (std::int32_t gap = count > 0 ? (count + 1) / 2 : 0; gap > 0; gap /= 2) {
    for (std::int32_t p = first + gap; p <= last; ++p) {
      for (std::int32_t j = p; j - gap >= first && key[j - gap] > key[j]; j -= gap) {
        std::swap(key[j - gap], key[j]);
        for (std::vector<double>* companion : companions) {
          std::swap((*companion)[j - gap], (*companion)[j]);
        }
      }
    }
  }
}

}  // namespace hdfe
