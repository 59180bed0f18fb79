#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>

#include "base/text.h"

namespace tellwright {

// Makes many texts in a few large blocks, as a file reader does: each text
// costs its bytes and an 8-byte header instead of a heap block of its own.
// A block is freed when the last text in it goes (the arena's own hold on
// the block it fills ends with the arena). Texts from one arena may be
// copied and dropped on any thread; the arena itself is for one thread.
class TextArena {
 public:
  static constexpr size_t kBlockBytes = size_t{1} << 18;

  TextArena() = default;
  TextArena(const TextArena&) = delete;
  TextArena& operator=(const TextArena&) = delete;
  ~TextArena();

  // A copy of `bytes` in the arena ("" takes no room).
  Text add(std::string_view bytes);

  // The same, but equal texts given to shared() share one copy: for texts a
  // file repeats (speakers, links). Remembers a bounded number of them.
  Text shared(std::string_view bytes);

 private:
  void closeBlock();
  void openBlock(size_t bytes);

  char* block_ = nullptr;  // the block being filled
  size_t used_ = 0;        // bytes of it in use, its header included
  size_t capacity_ = 0;
  // References taken on the block in advance, one for each text still to
  // be made in it: counting each text as it is made would cost an atomic
  // update per text. What is left over is given back when the block closes.
  size_t advance_ = 0;
  std::unordered_map<std::string_view, Text> shared_;  // keys view their texts' bytes
};

}  // namespace tellwright
