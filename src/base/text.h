#pragma once

#include <atomic>
#include <compare>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

namespace tellwright {

namespace text_storage {

// A block of memory holding one or more texts. Every text in it holds one
// reference; the block is freed with the last. Blocks of texts that live as
// long as the program (the line kinds) are never counted nor freed.
struct Block {
  std::atomic<size_t> references;
  bool immortal = false;
};

// Each text in a block: its size and its distance from the block's start
// (4 bytes each, native byte order), then its bytes.
inline constexpr size_t kRecordHeader = 8;

inline uint32_t ReadField(const char* at) {
  uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}
inline Block* BlockOf(const char* record) {
  return reinterpret_cast<Block*>(const_cast<char*>(record) - ReadField(record + 4));
}
void Free(Block* block);

}  // namespace text_storage

class Text;

// What reads as a text: std::string, std::string_view, a literal.
template <typename T>
concept TextLike = std::convertible_to<const T&, std::string_view> && !std::same_as<T, Text>;

// A text of the document: an immutable run of bytes (Windows-1252, as the
// files hold them) with value semantics. A copy shares the bytes, so copying
// a line or a whole branch costs a few counter updates and no allocation;
// the texts of a loaded file share a few large blocks (TextArena) instead
// of owning a heap block each. Changing a text means assigning a new one.
//
// Reads like a std::string_view (size, empty, data, find, comparison with
// strings, views and literals) and converts to one implicitly; a view stays
// valid while some Text holding the bytes lives. Copies may be made and
// dropped on any thread; one Text object is not for two threads at once,
// as with std::string.
class Text {
 public:
  Text() noexcept = default;
  Text(std::string_view bytes);  // copies the bytes
  Text(const char* bytes) : Text(std::string_view(bytes)) {}
  Text(const std::string& bytes) : Text(std::string_view(bytes)) {}
  Text(std::nullptr_t) = delete;

  Text(const Text& other) noexcept : record_(other.record_) { retain(); }
  Text(Text&& other) noexcept : record_(std::exchange(other.record_, nullptr)) {}
  Text& operator=(const Text& other) noexcept {
    Text copy(other);
    std::swap(record_, copy.record_);
    return *this;
  }
  Text& operator=(Text&& other) noexcept {
    Text moved(std::move(other));
    std::swap(record_, moved.record_);
    return *this;
  }
  ~Text() { release(); }

  // A text that lives as long as the program, shared without counting (the
  // line kinds every line repeats).
  static Text Immortal(std::string_view bytes);

  std::string_view view() const noexcept {
    if (!record_) return {};
    return {record_ + text_storage::kRecordHeader, text_storage::ReadField(record_)};
  }
  operator std::string_view() const noexcept { return view(); }
  explicit operator std::string() const { return std::string(view()); }
  std::string str() const { return std::string(view()); }

  size_t size() const noexcept { return record_ ? text_storage::ReadField(record_) : 0; }
  size_t length() const noexcept { return size(); }
  bool empty() const noexcept { return record_ == nullptr; }
  const char* data() const noexcept { return view().data(); }
  const char* begin() const noexcept { return data(); }
  const char* end() const noexcept { return data() + size(); }
  char operator[](size_t at) const noexcept { return view()[at]; }
  char front() const noexcept { return view().front(); }
  char back() const noexcept { return view().back(); }

  static constexpr size_t npos = std::string_view::npos;
  size_t find(std::string_view what, size_t from = 0) const noexcept { return view().find(what, from); }
  size_t find(char c, size_t from = 0) const noexcept { return view().find(c, from); }
  size_t rfind(std::string_view what, size_t from = npos) const noexcept { return view().rfind(what, from); }
  size_t rfind(char c, size_t from = npos) const noexcept { return view().rfind(c, from); }
  size_t find_first_of(std::string_view set, size_t from = 0) const noexcept {
    return view().find_first_of(set, from);
  }
  size_t find_first_not_of(std::string_view set, size_t from = 0) const noexcept {
    return view().find_first_not_of(set, from);
  }
  size_t find_last_not_of(std::string_view set, size_t from = npos) const noexcept {
    return view().find_last_not_of(set, from);
  }
  std::string_view substr(size_t from, size_t count = npos) const { return view().substr(from, count); }
  bool starts_with(std::string_view prefix) const noexcept { return view().starts_with(prefix); }
  bool starts_with(char c) const noexcept { return view().starts_with(c); }
  bool ends_with(std::string_view suffix) const noexcept { return view().ends_with(suffix); }
  bool ends_with(char c) const noexcept { return view().ends_with(c); }
  int compare(std::string_view other) const noexcept { return view().compare(other); }

  // True when both share their bytes: equal without comparing them.
  bool sharesBytesWith(const Text& other) const noexcept { return record_ == other.record_; }

  friend bool operator==(const Text& a, const Text& b) noexcept {
    return a.record_ == b.record_ || a.view() == b.view();
  }
  friend bool operator==(const Text& a, const TextLike auto& b) noexcept { return a.view() == std::string_view(b); }
  friend std::strong_ordering operator<=>(const Text& a, const Text& b) noexcept { return a.view() <=> b.view(); }
  friend std::strong_ordering operator<=>(const Text& a, const TextLike auto& b) noexcept {
    return a.view() <=> std::string_view(b);
  }

 private:
  friend class TextArena;
  explicit Text(const char* record, std::nullptr_t) noexcept : record_(record) {}  // takes a reference

  void retain() const noexcept {
    if (!record_) return;
    text_storage::Block* block = text_storage::BlockOf(record_);
    if (!block->immortal) block->references.fetch_add(1, std::memory_order_relaxed);
  }
  void release() noexcept {
    if (!record_) return;
    text_storage::Block* block = text_storage::BlockOf(record_);
    if (!block->immortal && block->references.fetch_sub(1, std::memory_order_acq_rel) == 1)
      text_storage::Free(block);
  }

  const char* record_ = nullptr;  // the text's record in its block; nullptr for ""
};

// Joining texts with strings makes a std::string.
template <typename A, typename B>
  requires(std::same_as<A, Text> || std::same_as<B, Text>) && std::convertible_to<const A&, std::string_view> &&
          std::convertible_to<const B&, std::string_view>
std::string operator+(const A& a, const B& b) {
  std::string_view left(a), right(b);
  std::string joined;
  joined.reserve(left.size() + right.size());
  joined.append(left).append(right);
  return joined;
}
inline std::string operator+(const Text& a, char b) {
  std::string joined(a.view());
  joined += b;
  return joined;
}
inline std::string operator+(char a, const Text& b) {
  std::string joined(1, a);
  joined += b.view();
  return joined;
}

std::ostream& operator<<(std::ostream& out, const Text& text);

}  // namespace tellwright

template <>
struct std::hash<tellwright::Text> {
  size_t operator()(const tellwright::Text& text) const noexcept { return std::hash<std::string_view>()(text.view()); }
};
