#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tellwright {

// Splits text into lines ended by LF, CR or CR LF, reading either from memory
// or from a file in chunks (so a large file never sits in memory whole).
// Reading past the end gives empty lines, which is how truncated files load.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes);
  explicit LineReader(std::FILE* file);

  // The next line without its line end; valid until the next call. Past the
  // end: "" (and atEnd() stays true).
  std::string_view next();

  // True when no byte is left to read.
  bool atEnd();

  // 1-based number of the line last returned by next().
  int lineNumber() const { return lineNumber_; }

  // True when reading the file failed (as opposed to reaching its end).
  bool failed() const { return failed_; }

 private:
  bool refill();
  size_t findLineEnd(size_t from);

  std::FILE* file_ = nullptr;
  std::string buffer_;
  std::string_view data_;
  size_t pos_ = 0;
  size_t nextCr_ = 0;  // first CR at or after pos_, or data_.size()
  bool fileDone_ = true;
  bool failed_ = false;
  int lineNumber_ = 0;
};

}  // namespace tellwright
