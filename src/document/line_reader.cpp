#include "document/line_reader.h"

#include <cstring>

namespace tellwright {

namespace {
constexpr size_t kChunk = 1 << 18;

size_t Find(std::string_view data, size_t from, char c) {
  if (from >= data.size()) return data.size();
  const void* hit = std::memchr(data.data() + from, c, data.size() - from);
  return hit ? static_cast<const char*>(hit) - data.data() : data.size();
}
}  // namespace

LineReader::LineReader(std::string_view bytes) : data_(bytes), nextCr_(Find(bytes, 0, '\r')) {}

LineReader::LineReader(std::FILE* file) : file_(file), fileDone_(false) {}

// Keeps the unread rest at the front of the buffer and appends the next
// chunk of the file behind it.
bool LineReader::refill() {
  if (fileDone_) return false;
  size_t kept = data_.size() - pos_;
  if (kept + kChunk > capacity_) {
    size_t capacity = kept + kChunk;
    auto larger = std::make_unique<char[]>(capacity);
    if (kept > 0) std::memcpy(larger.get(), data_.data() + pos_, kept);
    buffer_ = std::move(larger);
    capacity_ = capacity;
  } else if (kept > 0) {
    std::memmove(buffer_.get(), data_.data() + pos_, kept);
  }
  size_t got = std::fread(buffer_.get() + kept, 1, kChunk, file_);
  if (got < kChunk) {
    fileDone_ = true;
    failed_ = std::ferror(file_) != 0;
  }
  data_ = std::string_view(buffer_.get(), kept + got);
  pos_ = 0;
  nextCr_ = Find(data_, 0, '\r');
  return got > 0;
}

bool LineReader::atEnd() {
  while (pos_ >= data_.size())
    if (!refill()) return true;
  return false;
}

bool LineReader::onlyLineEndsLeft() {
  // Scans ahead without consuming; refill() keeps the unread rest, so the
  // buffer grows only while the bytes seen are line ends.
  size_t scanned = 0;
  for (;;) {
    for (size_t at = pos_ + scanned; at < data_.size(); ++at, ++scanned)
      if (data_[at] != '\n' && data_[at] != '\r') return false;
    if (!refill()) return true;
  }
}

std::string_view LineReader::nextSlow() {
  for (;;) {
    const char* base = data_.data();
    size_t size = data_.size();
    if (pos_ < size) {
      if (nextCr_ < pos_) nextCr_ = Find(data_, pos_, '\r');
      const void* lf = std::memchr(base + pos_, '\n', size - pos_);
      size_t end = lf ? static_cast<const char*>(lf) - base : size;
      if (nextCr_ < end) end = nextCr_;
      // A line end must be seen whole: a line running to the end of the
      // buffer, or a CR there that may be followed by LF, waits for more.
      bool complete = end < size && !(end == nextCr_ && end + 1 == size);
      if (complete || fileDone_) {
        std::string_view line(base + pos_, end - pos_);
        pos_ = end;
        if (pos_ < size) pos_ += (base[pos_] == '\r' && pos_ + 1 < size && base[pos_ + 1] == '\n') ? 2 : 1;
        return line;
      }
    } else if (fileDone_) {
      if (pastEndAt_ == 0) pastEndAt_ = lineNumber_;
      return {};
    }
    refill();
  }
}

}  // namespace tellwright
