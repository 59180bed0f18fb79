#pragma once

#include "document/dialogue_document.h"

namespace tellwright::bench {

// The largest project the editor holds: 500 branches of 1000 lines each (all
// four kinds, realistic text lengths), 500 response blocks of 100 responses,
// and a cast of 40 characters. Deterministic.
DialogueDocument MakeMaxProject();

}  // namespace tellwright::bench
