#pragma once
// Helpers shared by the input file readers: opening a file, a read whose
// failure carries the reader's own message, records read one line each, the
// gapped insertion sort of the two-pass readers, and numbers in messages.

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "input/freeformat.h"

namespace hdfe {

// Opens an existing file for reading, byte for byte. The stream is not open
// when the file is missing, unreadable or a folder.
std::ifstream openInput(const std::string& name);

// A free-format read that a reader guards: a read error ends the run with the
// reader's `failureLine`; end of file is not caught and ends the run with the
// unguarded diagnostic naming the file.
void readOrStop(std::istream& in, std::string_view name, std::initializer_list<FreeItem> items,
                const std::string& failureLine);

// Data files that hold one record per line (torque curves, fuel maps, gear
// schedules) are read line by line: a line that ends before its record is
// complete would otherwise take the missing values from the next line and
// shift every later record without a word.
enum class RecordStatus { Ok, ReadError, EndOfFile, ShortLine };

struct LineCursor {
  explicit LineCursor(std::istream& stream) : in(stream) {}
  std::istream& in;
  std::int32_t lineNumber = 0;  // physical lines taken so far
  std::string recordText;       // the last line taken, without its line end
};

// Passes over lines holding no value, then reads the items from the next line
// alone. ShortLine: that line ran out before every item had a value.
RecordStatus readRecordLine(LineCursor& cursor, std::initializer_list<FreeItem> items);

// Reads the items again from the start of the last record line, free to go
// on to the following lines: what a plain free-format read makes of a short
// line, so that a read error or end of file there keeps its usual message.
// Consumes the rest of the input; the reader stops right after it.
ReadStatus rereadAcrossLines(LineCursor& cursor, std::initializer_list<FreeItem> items);

// Gapped insertion sort of positions first..last by `key`, ascending; two
// entries are exchanged only when the earlier key is strictly greater. Every
// sequence of `companions` is exchanged along with the key. The gap starts at
// (m + 1) / 2 for m positions and is halved, rounded down, until it is 0.
void gappedInsertionSort(std::vector<double>& key,
                         std::initializer_list<std::vector<double>*> companions, std::int32_t first,
                         std::int32_t last);

}  // namespace hdfe
