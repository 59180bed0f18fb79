#pragma once

#include "document/dialogue_document.h"

namespace tellwright::bench {

struct MaxProjectShape {
  // Responses of each block that link to a branch (0 to 20), each to
  // another branch.
  int linksPerBlock = 20;
};

// The largest project the editor holds: 500 branches of 1000 lines each (all
// four kinds, realistic text lengths), 500 response blocks of 100 responses,
// and a cast of 40 characters. Branch i runs block i + 1. Deterministic.
DialogueDocument MakeMaxProject(const MaxProjectShape& shape = {});

// MakeMaxProject(), made once for every benchmark of a program.
const DialogueDocument& MaxProject();

// The bundled example (examples/lighthouse.tlwdlg), loaded once.
const DialogueDocument& ExampleProject();

}  // namespace tellwright::bench
