#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tellwright {

// Texts cross between the document's Windows-1252 bytes and Qt strings here
// and nowhere else. Every byte has a character, so a text shown and stored
// again unchanged keeps every byte.
QString TextToQString(std::string_view bytes);

// A typed text as document bytes, or why it cannot be stored.
struct EncodedText {
  std::string bytes;
  QString fault;  // empty when the text can be stored
  bool ok() const { return fault.isEmpty(); }
};

// Refuses, naming the first one, a character Windows-1252 has no byte for
// and any line break: every text is one line of the project file.
EncodedText EncodeText(const QString& text);

// File system paths (the project file, recent files, export targets) are in
// the system's own encoding, not in the document's.
QString PathToQString(std::string_view path);
std::string PathFromQString(const QString& path);

}  // namespace tellwright
