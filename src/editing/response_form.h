#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/dialogue_document.h"

namespace tellwright {

// What the response editor shows, and the rules for filling it from a
// response and reading a response back from it. The window copies these
// fields to and from its controls; validating and storing is AddResponse's
// and EditResponse's.
struct ResponseForm {
  std::string text;
  std::vector<std::string> linkEntries;  // the link drop-down: "", then every branch name
  int chosenLink = -1;                   // index into linkEntries; -1 when no entry is chosen
  std::string conditions;
  bool always = false;  // the three visibility option buttons
  bool once = false;
  bool onceGame = false;
  bool leaveLoop = false;
  bool sayResponse = false;
};

// One empty entry, then the names of branches 0..lastBranchIndex in order.
std::vector<std::string> LinkEntries(const DialogueDocument& document);

// The entry to choose for `link`, as the drop-down's exact-match search finds
// it: the first entry equal to it ignoring letter case, or -1 for an empty
// link or a name no branch has. An entry equal in case is preferred, so that
// with branches "Intro" and "intro" each link keeps its own branch.
int FindLinkEntry(const std::vector<std::string>& entries, std::string_view link);

// The form for `response`.
ResponseForm LoadResponseForm(const DialogueDocument& document, const Response& response);

// The response the form holds after OK. The link is the chosen entry's text
// ("" when none or the empty entry is chosen), so a link to a branch that no
// longer exists is stored as "". Visibility: see VisibilityFromOptions,
// starting from `old`.
Response ReadResponseForm(const ResponseForm& form, const Response& old);

// The option buttons are read Always, Once, Once Game, a later one that is
// set overriding an earlier one; with none set `old` stays.
int32_t VisibilityFromOptions(bool always, bool once, bool onceGame, int32_t old);

}  // namespace tellwright
