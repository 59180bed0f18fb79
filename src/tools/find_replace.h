#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/dialogue_document.h"
#include "editing/change_scope.h"
#include "editing/edit_result.h"
#include "lint/lint.h"

namespace tellwright {

// Find and replace over every text of a dialogue. Texts and the text looked
// for are Windows-1252 bytes, as the document keeps them. A talkline's or
// response's text is searched without its string-table key ("/KEY/" in
// front, tools/string_keys.h): the writer does not read the key, and a
// replace keeps it in place.

// The texts a search looks in; a query combines them as flags.
enum SearchField : unsigned {
  kFieldTalkText = 1,         // a talkline's text
  kFieldResponseText = 2,     // a response's text
  kFieldCodeline = 4,         // a codeline's code
  kFieldRemark = 8,           // a remark's text
  kFieldConditions = 16,      // a response's conditions
  kFieldSoundFile = 32,       // a talkline's sound file
  kFieldLink = 64,            // a response's link to a branch
  kFieldBranchName = 128,     // a branch's name
  kFieldCharacterName = 256,  // a character's real name (in the character list)
  kFieldEntityName = 512,     // a character's WME entity name
};
inline constexpr unsigned kAllSearchFields = 1023;

struct SearchQuery {
  std::string text;                    // the bytes to find; an empty text finds nothing
  bool matchCase = false;              // false: letter case does not matter (Windows-1252 letters, text/cp1252_case.h)
  bool wholeWords = false;             // only where no word character stands right before or after the match
  unsigned fields = kAllSearchFields;  // SearchField flags

  friend bool operator==(const SearchQuery&, const SearchQuery&) = default;
};

// Word characters for whole-word search: A-Z, a-z, 0-9, '_' and the letters
// of Windows-1252 (those with a case partner, 0xDF, 0xFF, 0x83, 0xAA, 0xB5
// and 0xBA).
bool IsWordByte1252(char c);

// Where a match is, in the lint's terms, so the editor goes to a match as it
// goes to a problem and DescribePlace (lint/lint.h) names it ("Start, line
// 3, response 2"). Every index counts from 0; -1 where it does not apply.
//   line fields:      branch, line
//   response fields:  blockSlot, response, and the first line that uses the
//                     block (branch, line), or -1 for both when none does
//   branch name:      branch
//   character fields: character
using MatchPlace = ProblemPlace;

inline constexpr size_t kContextBytes = 30;

struct Match {
  MatchPlace place;
  SearchField field = kFieldTalkText;
  // Where the match starts in the field's text as stored, in bytes: behind
  // the key of a text that has one (SplitKeyedText(text).keyLength is where
  // the text shown without its key starts).
  size_t offset = 0;
  size_t length = 0;  // its length in bytes
  // The field's text (without its key) from up to kContextBytes before the
  // match to up to kContextBytes after it, and where the match starts in it.
  std::string context;
  size_t contextOffset = 0;

  friend bool operator==(const Match&, const Match&) = default;
};

// Every match, in document order: branch by branch, a branch's name before
// its lines, line by line (talklines: text, then sound file); right after a
// responseblock line, the responses of its block (response by response:
// text, conditions, link), each block only at the first line that uses it;
// then the blocks no line uses, by slot; then the characters in list order
// (real name, then entity name). Matches in one text do not overlap.
// Searched are branches and lines in use, lines of the four kinds (not those
// of an unknown kind), and in blocks with an id of 1 or more the responses
// the responseblock editor lists (those before the first one without text).
std::vector<Match> FindMatches(const DialogueDocument& document, const SearchQuery& query);

// The same search a piece at a time, for a search that must be able to stop
// (the text looked for changed while it ran): found() gets each match in
// FindMatches' order, and after each branch carryOn() says whether to go
// on. True when the search reached the end.
bool SearchMatches(const DialogueDocument& document, const SearchQuery& query,
                   const std::function<void(Match&&)>& found, const std::function<bool()>& carryOn);

struct ReplaceOptions {
  // With a character's real name: also give the new name to the talklines
  // and responseblock lines that named the character by its old name (the
  // editor asks the user whether to). Without it those lines keep the old
  // name, as after editing the character.
  bool renameSpeakers = false;
};

// Replaces one match (from FindMatches on the document as it is now) with
// `replacement`, in place. Refused, changing nothing, when:
//  - the replacement has a line break;
//  - the match is no longer there (its place is gone or its text differs):
//    search again;
//  - a response's text, its key aside, would become empty
//    (kEmptyResponseMessage);
//  - a branch name would become empty (kEmptyBranchNameMessage);
//  - a character's real name would become empty, or be another character's
//    real name, or its entity name empty (the character editor's messages).
// A branch name is replaced as renaming the branch does (RenameBranch):
// every response linking to the old name then links to the new one. Two
// branches may come to share a name, as renaming allows. A character is
// replaced as editing it does (EditCharacter): characters with the same two
// names change together. Replacing text by the same text changes nothing.
EditResult ReplaceMatch(DialogueDocument& document, const Match& match, std::string_view replacement,
                        const ReplaceOptions& options = {});

struct ReplaceAllResult {
  int replaced = 0;  // matches replaced; 0 when refused
  EditResult edit;
};

// Replaces every match of `query`, in place, all at once: each text is
// replaced as it was before, so a replacement never finds its own result
// (branch links follow the branch's old name to its new one even where a
// new name is another branch's old name). Refused as a whole, changing
// nothing, for any reason ReplaceMatch refuses one of them.
ReplaceAllResult ReplaceAll(DialogueDocument& document, const SearchQuery& query, std::string_view replacement,
                            const ReplaceOptions& options = {});

// The parts of the document a replacement may change, for the editor's undo
// step; nothing outside them changes.
//   talk text, codeline, remark, sound file: the lines of the match's branch
//   response text, conditions, link:          the match's block slot
//   branch name: the branch names and every block (links follow the name)
//   character real name: the character list, and with renameSpeakers the
//                        lines of every branch that has a line with the old name
//   entity name:         the character list
// ReplaceAll: the union of these over every match.
struct ReplaceReach {
  std::vector<int> branches;  // branches whose lines may change, ascending
  bool branchNames = false;   // the names of the branches
  bool blocks = false;        // response blocks
  int blockSlot = -1;         // with blocks: the one slot that may change; -1: any
  bool characters = false;    // the character list

  // As the history records it: the listed branches whole (names, line
  // counts, lines), the branch table for names, the blocks, the characters.
  ChangeScope scope() const;
};
ReplaceReach ReachOfReplace(const DialogueDocument& document, const Match& match, const ReplaceOptions& options = {});
ReplaceReach ReachOfReplaceAll(const DialogueDocument& document, const SearchQuery& query,
                               const ReplaceOptions& options = {});

}  // namespace tellwright
