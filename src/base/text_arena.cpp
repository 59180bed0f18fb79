#include "base/text_arena.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

namespace tellwright {

using text_storage::Block;
using text_storage::kRecordHeader;

namespace {

// Texts larger than this get a block of their own, so a long one does not
// end the block being filled early.
constexpr size_t kLargeText = TextArena::kBlockBytes / 8;
// Texts shared() remembers at most.
constexpr size_t kMostShared = 4096;

}  // namespace

TextArena::~TextArena() { closeBlock(); }

void TextArena::closeBlock() {
  if (!block_) return;
  auto* block = reinterpret_cast<Block*>(block_);
  // The arena's own reference goes with the ones not used.
  if (block->references.fetch_sub(advance_ + 1, std::memory_order_acq_rel) == advance_ + 1)
    text_storage::Free(block);
  block_ = nullptr;
  advance_ = 0;
}

void TextArena::openBlock(size_t bytes) {
  closeBlock();
  capacity_ = std::max(kBlockBytes, sizeof(Block) + bytes);
  // Every record takes more than kRecordHeader bytes: no more texts than this.
  advance_ = capacity_ / kRecordHeader;
  void* memory = ::operator new(capacity_);
  new (memory) Block{{advance_ + 1}, false};
  block_ = static_cast<char*>(memory);
  used_ = sizeof(Block);
}

Text TextArena::add(std::string_view bytes) {
  if (bytes.empty()) return Text();
  if (bytes.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("text too long");
  size_t needed = kRecordHeader + bytes.size();
  if (needed > kLargeText) return Text(bytes);
  if (!block_ || used_ + needed > capacity_) openBlock(needed);
  char* record = block_ + used_;
  uint32_t size = static_cast<uint32_t>(bytes.size());
  uint32_t offset = static_cast<uint32_t>(used_);
  std::memcpy(record, &size, 4);
  std::memcpy(record + 4, &offset, 4);
  std::memcpy(record + kRecordHeader, bytes.data(), bytes.size());
  used_ += needed;
  --advance_;  // the new text's reference, taken in advance
  return Text(record, nullptr);
}

Text TextArena::shared(std::string_view bytes) {
  if (auto it = shared_.find(bytes); it != shared_.end()) return it->second;
  Text text = add(bytes);
  if (shared_.size() < kMostShared && !text.empty()) shared_.emplace(text.view(), text);
  return text;
}

}  // namespace tellwright
