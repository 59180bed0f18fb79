#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tellwright {

// A word of a text: where it stands in the text as the writer typed it (the
// bytes to underline) and the word as the player reads it, in Windows-1252.
struct TextWord {
  size_t offset = 0;
  size_t length = 0;
  std::string word;

  friend bool operator==(const TextWord&, const TextWord&) = default;
};

// The words a player reads in a talkline's or a response's text: the text as
// the game reads it from the script ("~n" a line break, "~~" a tilde), and of
// a "/KEY/rest" text the rest alone, the key being no word of the game.
// A word is a run of letters, with an apostrophe inside it ("don't"); a
// hyphen parts words; a run that holds a digit ("R2D2", "3rd") is left out.
std::vector<TextWord> SpokenWords(std::string_view written);

// The words of a remark, which no script holds: taken as written.
std::vector<TextWord> RemarkWords(std::string_view text);

// The words of a name, whatever stands between them: "Old_Tom" gives "Old"
// and "Tom".
std::vector<std::string> NameWords(std::string_view name);

}  // namespace tellwright
