#pragma once

#include "document/dialogue_document.h"

namespace tellwright::bench {

struct MaxProjectShape {
  // Responses of each block that link to a branch (0 to 20), each to
  // another branch.
  int linksPerBlock = 20;
  // Responseblock lines in each branch (1 to 1000), all running the branch's
  // own block: the last line, then lines spread evenly from the first. Every
  // run past a block's first writes the whole block into the WME script
  // again, and the lint warns of each.
  int blockRunsPerBranch = 1;
  // Most words of a response's text (3 at least).
  int responseWords = 9;
  // The first response of each block gets the condition "true", which the
  // lint notes as always true.
  bool constantFirstCondition = false;
};

// A project as large as MakeMaxProject() makes, rich in problems and with a
// WME script far larger than the project: 251 responseblock lines in each
// branch, longer responses and a constant condition in each block. 125,500
// problems (125,000 shared blocks and 500 constant conditions) and a WME
// script of about 2.65 GB from a project file of about 38 MB.
MaxProjectShape ProblemRichShape();

// The largest project the editor holds: 500 branches of 1000 lines each (all
// four kinds, realistic text lengths), 500 response blocks of 100 responses,
// and a cast of 40 characters. Branch i runs block i + 1. Deterministic.
// The default shape lints clean.
DialogueDocument MakeMaxProject(const MaxProjectShape& shape = {});

// MakeMaxProject(), made once for every benchmark of a program.
const DialogueDocument& MaxProject();

// The bundled example (examples/lighthouse.tlwdlg), loaded once.
const DialogueDocument& ExampleProject();

}  // namespace tellwright::bench
