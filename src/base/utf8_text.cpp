#include "base/utf8_text.h"

#include "base/cp1252.h"

namespace tellwright {

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendCp1252AsUtf8(out, text);
  return out;
}

void AppendCp1252AsUtf8(std::string& out, std::string_view text) {
  out.reserve(out.size() + text.size());
  for (size_t at = 0; at < text.size();) {
    // ASCII reads the same in both: a run of it is copied whole.
    size_t ascii = at;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
    out.append(text.data() + at, ascii - at);
    if (ascii == text.size()) break;
    char32_t u = Cp1252ToUnicode(static_cast<unsigned char>(text[ascii]));
    if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
    at = ascii + 1;
  }
}

Utf8Char DecodeUtf8At(std::string_view text, size_t at) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  if (lead < 0x80) return {lead, 1};
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return {};
  char32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return {};
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  unsigned char second = byte(at + 1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second >= 0x90)) {
    return {};
  }
  return {code, length};
}

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    size_t length = DecodeUtf8At(text, i).length;
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::optional<std::string> Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    Utf8Char decoded = DecodeUtf8At(text, i);
    if (decoded.length == 0) return std::nullopt;
    std::optional<unsigned char> byte = UnicodeToCp1252(decoded.code);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
    i += decoded.length;
  }
  return out;
}

std::string Utf8ToCp1252Replacing(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    Utf8Char decoded = DecodeUtf8At(text, i);
    std::optional<unsigned char> byte = decoded.length ? UnicodeToCp1252(decoded.code) : std::nullopt;
    out += byte ? static_cast<char>(*byte) : '?';
    i += decoded.length ? decoded.length : 1;
  }
  return out;
}

}  // namespace tellwright
