#pragma once
// The free-format (list-directed) read and the whole-line read.
//
// Each read starts at the beginning of the next line not yet touched and, once
// its last item has a value, discards the rest of that line. The stream's read
// position is the only state; a file is opened in binary mode and a carriage
// return before the line feed is not part of a line.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <istream>
#include <string>
#include <string_view>
#include <variant>

namespace hdfe {

inline constexpr std::size_t kTextFieldLength = 1024;

enum class ReadStatus { Ok, ReadError, EndOfFile };

// One item of a read: the variable that receives the value. A text item stores
// at most 1024 characters and never keeps trailing blanks (a blank-padded
// field). An item that gets no value (null value, slash) keeps its old value.
using FreeItem = std::variant<std::string*, std::int32_t*, double*>;

ReadStatus readFree(std::istream& in, std::initializer_list<FreeItem> items);

// Reads one whole line (at most 1024 characters kept, trailing blanks
// dropped), even an empty one.
ReadStatus readWholeLine(std::istream& in, std::string& line);

// Returns to the start of the file, for the two-pass readers.
void rewindInput(std::istream& in);

// Unguarded reads: any failure ends the run with a diagnostic on standard
// error naming the file (or the console) and the condition.
void readFreeUnguarded(std::istream& in, std::string_view name,
                       std::initializer_list<FreeItem> items);
void readWholeLineUnguarded(std::istream& in, std::string_view name, std::string& line);

// The diagnostic of an unguarded read that failed with `status`.
[[noreturn]] void unguardedFailure(std::string_view name, ReadStatus status);

// Trailing blanks are not part of a name.
std::string trimTrailingBlanks(std::string_view text);

}  // namespace hdfe
