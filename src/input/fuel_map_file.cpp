// The fuel map file: two header words, the idle line, then one measured
// point (speed, torque, fuel rate) per line. The points are counted, read
// again, sorted by speed and, within one speed, by torque.

#include <cstdint>
#include <string>

#include "input/failure.h"
#include "input/freeformat.h"
#include "input/reader_support.h"
#include "input/readers.h"

namespace hdfe {
namespace {

struct MapInput {
  LineCursor cursor;
  const std::string& name;
  std::string failure;
};

// A header is a one-item text read: it ends on the first line that holds a
// word, and an empty header line is passed over.
void skipHeader(MapInput& input) {
  std::string header;
  const RecordStatus status = readRecordLine(input.cursor, {&header});
  if (status == RecordStatus::EndOfFile) unguardedFailure(input.name, ReadStatus::EndOfFile);
  if (status != RecordStatus::Ok) inputFailure(input.failure);
}

// The idle line: two numbers not used, then the fuel rate at idle. Its three
// numbers must stand on the line itself, or the second pass, which passes
// over it as one line, would not find the points where the first pass did.
void readIdleLine(MapInput& input, FuelMap& map) {
  double unused1 = 0.0;
  double unused2 = 0.0;
  const RecordStatus status = readRecordLine(input.cursor, {&unused1, &unused2, &map.IdleFuel});
  if (status == RecordStatus::Ok) return;
  if (status == RecordStatus::EndOfFile) unguardedFailure(input.name, ReadStatus::EndOfFile);
  if (status == RecordStatus::ReadError) inputFailure(input.failure);
  // A short line: the values that follow decide which failure it is.
  const std::string shortLine = trimTrailingBlanks(input.cursor.recordText);
  const std::int32_t lineNumber = input.cursor.lineNumber;
  double spread = 0.0;
  const ReadStatus across = rereadAcrossLines(input.cursor, {&unused1, &unused2, &spread});
  if (across == ReadStatus::EndOfFile) unguardedFailure(input.name, across);
  if (across == ReadStatus::ReadError) inputFailure(input.failure);
  inputFailure(" Invalid fuel map [ " + input.name + " ]: line " + std::to_string(lineNumber) +
               " holds fewer than three numbers (" + shortLine + ")");
}

// First pass: the points up to the end of the file. A point missing a value
// is refused, on the last line too.
std::int32_t countPoints(MapInput& input) {
  std::int32_t count = 0;
  double speed = 0.0;
  double torque = 0.0;
  double fuel = 0.0;
  for (;;) {
    const RecordStatus status = readRecordLine(input.cursor, {&speed, &torque, &fuel});
    if (status == RecordStatus::EndOfFile) return count;
    if (status != RecordStatus::Ok) inputFailure(input.failure);
    ++count;
  }
}

void readPoints(MapInput& input, FuelMap& map) {
  for (std::int32_t i = 1; i <= map.Count; ++i) {
    const RecordStatus status =
        readRecordLine(input.cursor, {&map.Speed[i], &map.Torque[i], &map.Fuel[i]});
    if (status == RecordStatus::EndOfFile) unguardedFailure(input.name, ReadStatus::EndOfFile);
    if (status != RecordStatus::Ok) inputFailure(input.failure);
  }
}

// Speed lines are runs of exactly equal speed; each is put in torque order.
void sortEachSpeedByTorque(FuelMap& map) {
  std::int32_t s = 1;
  for (std::int32_t i = 1; i <= map.Count; ++i) {
    if (map.Speed[i] != map.Speed[s]) {
      gappedInsertionSort(map.Torque, {&map.Speed, &map.Fuel}, s, i - 1);
      s = i;
    } else if (i == map.Count) {
      gappedInsertionSort(map.Torque, {&map.Speed, &map.Fuel}, s, map.Count);
    }
  }
}

}  // namespace

void READFMAP(const std::string& fileName, FuelMap& map) {
  const std::string name = trimTrailingBlanks(fileName);
  map.Count = 0;
  std::ifstream file = openInput(name);
  if (!file.is_open()) inputFailure(" Cannot open map data file [ " + name + " ]");

  MapInput first{LineCursor(file), name, " Failed to read fuel map [ " + name + " ]"};
  skipHeader(first);
  skipHeader(first);
  readIdleLine(first, map);
  const std::int32_t count = countPoints(first);
  if (count == 0) inputFailure(" Invalid fuel map [ " + name + " ]: no measured points");
  map.Count = count;
  const auto entries = static_cast<std::size_t>(count) + 1;
  map.Speed.assign(entries, 0.0);
  map.Torque.assign(entries, 0.0);
  map.Fuel.assign(entries, 0.0);

  // Second pass: the headers and the idle line, each passed over as one word.
  rewindInput(file);
  MapInput second{LineCursor(file), name, first.failure};
  skipHeader(second);
  skipHeader(second);
  skipHeader(second);
  readPoints(second, map);
  file.close();

  gappedInsertionSort(map.Speed, {&map.Torque, &map.Fuel}, 1, map.Count);
  sortEachSpeedByTorque(map);
}

}  // namespace hdfe
