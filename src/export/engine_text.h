#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellwright {

// How the engine reads what the exports write into a script: the string
// literals (texts, responses, sound file names) with their '~' escapes, the
// "/KEY/rest" texts it looks up in its string table, and the conditions whose
// value it knows without the game. The lint and the player take the
// engine's view from here, so the two never disagree.

// What a text shows when it is written between the double quotes of a
// script string.
struct ScriptStringScan {
  bool quote = false;            // an unescaped double quote: it ends the string early
  bool trailingTilde = false;    // a last '~', which escapes the closing double quote
  std::string_view strayEscape;  // the first '~' with a character that is no escape, such as "~x"
  size_t length = 0;             // bytes of the string once its escapes are read
};
ScriptStringScan ScanScriptString(std::string_view text);

// The text as the game gets it from a script string: "~n" a line break, "~~"
// a tilde, "~\"" a double quote; another character after '~' stands for
// itself (the tilde is dropped); a last '~' stays.
std::string UnescapedScriptString(std::string_view text);

// The same text with where each of its bytes was written: source[i] is the
// offset in the written text of the character or escape that gave text[i];
// source[text.size()] is the written text's size. Lets a checker of the
// game's text mark what it finds in the text as the writer typed it.
struct UnescapedScriptText {
  std::string text;
  std::vector<size_t> source;
};
UnescapedScriptText UnescapedScriptStringWithSource(std::string_view text);

// A text of the form "/KEY/rest" (a '/', a key without '/', a '/'): the
// engine shows the string table's entry for KEY (compared without letter
// case) or, when there is none, rest; a talkline with such a text and no
// sound file plays the speech file named after KEY.
struct StringTableText {
  std::string_view key;
  std::string_view rest;
};
std::optional<StringTableText> SplitStringTableText(std::string_view text);

// Why a string table cannot hold `key` (as the engine reads it, escapes
// read): it is empty, or holds a tab or a line break, which end the key or
// the line, or a blank, which ends the key in a line without a tab;
// nothing when the table can hold it.
std::optional<std::string_view> StringKeyFault(std::string_view key);

// A string-table key as the engine compares keys: without letter case
// (A-Z folded to a-z; other bytes as they are, as the table may be UTF-8).
std::string FoldedStringKey(std::string_view key);

// The value of a condition the engine evaluates without the game: true,
// false, null, a number (0 and 0.0 are false), a string ("1", "yes" and
// "true" without letter case are true, every other string false), in
// parentheses or after '!'. Nothing for a condition that reads the game's
// state or that this reading does not know.
std::optional<bool> ConstantConditionValue(std::string_view condition);

// The engine's truth of a string: "1", "yes" and "true", without letter case.
bool StringValueIsTrue(std::string_view value);

}  // namespace tellwright
