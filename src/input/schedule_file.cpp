// A gear schedule ("AMT shift") file: a header, then one line per second of
// the cycle holding a time, which is not used, and the gear number.

#include <cstdint>
#include <string>
#include <vector>

#include "input/failure.h"
#include "input/freeformat.h"
#include "input/reader_support.h"
#include "input/readers.h"

namespace hdfe {
namespace {

// The header is a one-item text read: an empty first line is passed over.
void skipHeader(LineCursor& cursor, const std::string& name) {
  std::string header;
  const RecordStatus status = readRecordLine(cursor, {&header});
  if (status == RecordStatus::EndOfFile) unguardedFailure(name, ReadStatus::EndOfFile);
  if (status != RecordStatus::Ok) inputFailure(" Failed to read AMT shift file [ " + name + " ]");
}

// The gear of one second. The time is read as a word and never compared with
// the line's position. A line without a gear number would take it from the
// next line and shift every later second, so it is refused, unless the read
// across lines fails anyway and keeps its own diagnostic.
std::int32_t readGear(LineCursor& cursor, const std::string& name) {
  std::string time;
  std::int32_t gear = 0;
  const RecordStatus status = readRecordLine(cursor, {&time, &gear});
  if (status == RecordStatus::Ok) return gear;
  if (status == RecordStatus::EndOfFile) unguardedFailure(name, ReadStatus::EndOfFile);
  if (status == RecordStatus::ReadError) unguardedFailure(name, ReadStatus::ReadError);
  const std::int32_t lineNumber = cursor.lineNumber;
  const ReadStatus across = rereadAcrossLines(cursor, {&time, &gear});
  if (across != ReadStatus::Ok) unguardedFailure(name, across);
  inputFailure(" Invalid AMT shift file [ " + name + " ]: line " + std::to_string(lineNumber) +
               " holds no gear number");
}

}  // namespace

void READSHIFT(const std::string& fileName, std::int32_t seconds,
               std::vector<std::int32_t>& shift) {
  const std::string name = trimTrailingBlanks(fileName);
  std::ifstream file = openInput(name);
  if (!file.is_open()) inputFailure(" Cannot open AMT shift file [ " + name + " ]");

  LineCursor cursor(file);
  skipHeader(cursor, name);
  if (seconds > 0 && shift.size() < static_cast<std::size_t>(seconds) + 1) {
    shift.resize(static_cast<std::size_t>(seconds) + 1, 0);
  }
  // Lines after the last second of the cycle are never read.
  for (std::int32_t i = 1; i <= seconds; ++i) shift[i] = readGear(cursor, name);
}

}  // namespace hdfe
