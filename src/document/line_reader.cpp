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

// Keeps the unread rest and appends the next chunk of the file.
bool LineReader::refill() {
  if (fileDone_) return false;
  buffer_.erase(0, pos_);
  size_t kept = buffer_.size();
  buffer_.resize(kept + kChunk);
  size_t got = std::fread(buffer_.data() + kept, 1, kChunk, file_);
  buffer_.resize(kept + got);
  if (got < kChunk) {
    fileDone_ = true;
    failed_ = std::ferror(file_) != 0;
  }
  data_ = buffer_;
  pos_ = 0;
  nextCr_ = Find(data_, 0, '\r');
  return got > 0;
}

size_t LineReader::findLineEnd(size_t from) {
  if (nextCr_ < from) nextCr_ = Find(data_, from, '\r');
  size_t lf = Find(data_, from, '\n');
  return lf < nextCr_ ? lf : nextCr_;
}

bool LineReader::atEnd() {
  while (pos_ >= data_.size())
    if (!refill()) return true;
  return false;
}

std::string_view LineReader::next() {
  ++lineNumber_;
  if (atEnd()) return {};
  size_t end = findLineEnd(pos_);
  // A line end must be seen whole: refill when the line, or a CR that may be
  // followed by LF, reaches the end of what is buffered.
  while ((end == data_.size() || (data_[end] == '\r' && end + 1 == data_.size())) && !fileDone_) {
    size_t offset = end - pos_;
    refill();
    end = findLineEnd(pos_ + offset);
  }
  std::string_view line = data_.substr(pos_, end - pos_);
  size_t after = end;
  if (after < data_.size()) {
    after += (data_[after] == '\r' && after + 1 < data_.size() && data_[after + 1] == '\n') ? 2 : 1;
  }
  pos_ = after;
  return line;
}

}  // namespace tellwright
