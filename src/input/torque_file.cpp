// A torque curve file (full-load or motoring): two header lines, then one
// speed and torque per line. The points are counted, read again and sorted
// by speed.

#include <cstdint>
#include <string>

#include "input/failure.h"
#include "input/freeformat.h"
#include "input/reader_support.h"
#include "input/readers.h"
#include "report/output.h"

namespace hdfe {
namespace {

[[noreturn]] void failedPoint(const std::string& name, std::int32_t dataNumber) {
  inputFailure(" Failed to read torque data. Data No.= " + std::to_string(dataNumber) + " in [ " +
               name + " ]");
}

// The two header lines hold anything, even nothing.
void skipHeaders(std::istream& in, const std::string& name) {
  std::string header;
  readWholeLineUnguarded(in, name, header);
  readWholeLineUnguarded(in, name, header);
}

// First pass: the points up to the end of the file. A line with a speed but
// no torque is refused, the last line included.
std::int32_t countPoints(std::istream& in, const std::string& name) {
  LineCursor cursor(in);
  std::int32_t count = 0;
  double speed = 0.0;
  double torque = 0.0;
  for (;;) {
    const RecordStatus status = readRecordLine(cursor, {&speed, &torque});
    if (status == RecordStatus::EndOfFile) return count;
    if (status != RecordStatus::Ok) failedPoint(name, count + 1);
    ++count;
  }
}

// Second pass over the points that the first pass found.
void readPoints(std::istream& in, const std::string& name, TorqueCurve& curve) {
  LineCursor cursor(in);
  for (std::int32_t i = 1; i <= curve.Count; ++i) {
    const RecordStatus status = readRecordLine(cursor, {&curve.Speed[i], &curve.Torque[i]});
    if (status == RecordStatus::EndOfFile) unguardedFailure(name, ReadStatus::EndOfFile);
    if (status != RecordStatus::Ok) failedPoint(name, i);
  }
}

// The lookup extends the first and the last segment of the curve, which need
// two points of different speed each.
void refuseDegenerateCurve(const std::string& name, const TorqueCurve& curve) {
  const std::string prefix = " Invalid torque curve [ " + name + " ]: ";
  const std::int32_t n = curve.Count;
  if (n < 2) inputFailure(prefix + "fewer than two points (" + std::to_string(n) + ")");
  if (curve.Speed[1] == curve.Speed[2]) {
    inputFailure(prefix + "equal speeds in its first two points (" +
                 formatShortest(curve.Speed[1]) + ")");
  }
  if (curve.Speed[n - 1] == curve.Speed[n]) {
    inputFailure(prefix + "equal speeds in its last two points (" + formatShortest(curve.Speed[n]) +
                 ")");
  }
}

}  // namespace

void READTORQUE(const std::string& fileName, TorqueCurve& curve) {
  const std::string name = trimTrailingBlanks(fileName);
  curve.Count = 0;
  std::ifstream file = openInput(name);
  if (!file.is_open()) inputFailure(" Cannot open torque data file [ " + name + " ]");

  skipHeaders(file, name);
  const std::int32_t count = countPoints(file, name);
  curve.Count = count;
  curve.Speed.assign(static_cast<std::size_t>(count) + 1, 0.0);
  curve.Torque.assign(static_cast<std::size_t>(count) + 1, 0.0);

  rewindInput(file);
  skipHeaders(file, name);
  readPoints(file, name, curve);
  file.close();

  gappedInsertionSort(curve.Speed, {&curve.Torque}, 1, curve.Count);
  refuseDegenerateCurve(name, curve);
}

}  // namespace hdfe
