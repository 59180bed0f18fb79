#pragma once

#include <cstdio>
#include <cstring>
#include <memory>
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
  std::string_view next() {
    ++lineNumber_;
    // Fast path: an LF-ended line with no CR left in the buffer.
    size_t size = data_.size();
    if (pos_ < size && nextCr_ >= size) {
      const char* base = data_.data();
      if (const void* lf = std::memchr(base + pos_, '\n', size - pos_)) {
        size_t end = static_cast<const char*>(lf) - base;
        std::string_view line(base + pos_, end - pos_);
        pos_ = end + 1;
        return line;
      }
    }
    return nextSlow();
  }

  // True when no byte is left to read.
  bool atEnd();

  // True when nothing but line ends is left to read (the blank lines a file
  // may end with). Reads no line.
  bool onlyLineEndsLeft();

  // True once next() was asked for a line past the end.
  bool readPastEnd() const { return pastEndAt_ > 0; }

  // The number of the last line returned that the file really holds (the
  // file's last line once atEnd() or readPastEnd()).
  int lastLineOfFile() const { return pastEndAt_ > 0 ? pastEndAt_ - 1 : lineNumber_; }

  // 1-based number of the line last returned by next().
  int lineNumber() const { return lineNumber_; }

  // True when reading the file failed (as opposed to reaching its end).
  bool failed() const { return failed_; }

 private:
  std::string_view nextSlow();
  bool refill();

  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0;
  std::string_view data_;
  size_t pos_ = 0;
  size_t nextCr_ = 0;  // first CR at or after pos_, or data_.size()
  bool fileDone_ = true;
  bool failed_ = false;
  int lineNumber_ = 0;
  int pastEndAt_ = 0;  // the first line asked for past the end
};

}  // namespace tellwright
