#include "base/text.h"

#include <limits>
#include <new>
#include <ostream>
#include <stdexcept>

namespace tellwright {

namespace text_storage {

void Free(Block* block) {
  block->~Block();
  ::operator delete(block);
}

namespace {

// A block of its own for one text.
const char* NewRecord(std::string_view bytes, bool immortal) {
  if (bytes.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("text too long");
  void* memory = ::operator new(sizeof(Block) + kRecordHeader + bytes.size());
  auto* block = new (memory) Block{{1}, immortal};
  char* record = static_cast<char*>(memory) + sizeof(Block);
  uint32_t size = static_cast<uint32_t>(bytes.size());
  uint32_t offset = sizeof(Block);
  std::memcpy(record, &size, 4);
  std::memcpy(record + 4, &offset, 4);
  std::memcpy(record + kRecordHeader, bytes.data(), bytes.size());
  (void)block;
  return record;
}

}  // namespace

}  // namespace text_storage

Text::Text(std::string_view bytes) {
  if (!bytes.empty()) record_ = text_storage::NewRecord(bytes, false);
}

Text Text::Immortal(std::string_view bytes) {
  if (bytes.empty()) return Text();
  return Text(text_storage::NewRecord(bytes, true), nullptr);
}

std::ostream& operator<<(std::ostream& out, const Text& text) { return out << text.view(); }

}  // namespace tellwright
