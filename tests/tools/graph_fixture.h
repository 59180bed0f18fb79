#pragma once

#include <string>

#include "export/sample_documents.h"

namespace tellwright::testing {

// Everything the branch map draws. Start (the entry) runs block 1 at lines
// 2 and 5 and block 2 at line 4; Intro runs block 2 too. Block 1 links twice
// to Intro, twice to the missing Atlantis and once to the missing El
// Dorado; block 2 leads back to Start and leaves the loop. Hub links only to
// itself, Lonely is linked only by block 9, which no line runs, and the
// second Intro loses its links to the first one.
inline DialogueDocument MapDocument() {
  DialogueDocument d;
  d.characters = {{"Guy", "guy"}};
  SetBranch(d, 0, "Start",
            {Talk("Guy", "Hello"), BlockLine("Guy", 1), Remark("then"), BlockLine("Guy", 2), BlockLine("Guy", 1)});
  SetBranch(d, 1, "Intro", {BlockLine("Guy", 2)});
  SetBranch(d, 2, "Lonely");
  SetBranch(d, 3, "Hub", {BlockLine("Guy", 3)});
  SetBranch(d, 4, "Intro");
  AddBlock(d, 0, 1,
           {{.text = "Ask about the ship, the storm and the keeper",
             .visibility = kOnce,
             .linkBranch = "Intro",
             .conditions = "Game.GetGlobal(\"met_mara\")"},
            {.text = "Bye", .leaveLoop = 1},
            {.text = "Who?", .linkBranch = "Intro"},
            {.text = "Sail west", .visibility = kOnceGame, .linkBranch = "Atlantis"},
            {.text = "Sail on", .visibility = 7, .linkBranch = "Atlantis"},
            {.text = "Dig", .linkBranch = "El Dorado"}});
  AddBlock(d, 1, 2, {{.text = "Back", .leaveLoop = 1, .linkBranch = "Start"}});
  AddBlock(d, 2, 3, {{.text = "Round", .leaveLoop = 1, .linkBranch = "Hub"}});
  AddBlock(d, 3, 9, {{.text = "Unused", .leaveLoop = 1, .linkBranch = "Lonely"}});
  return d;
}

}  // namespace tellwright::testing
