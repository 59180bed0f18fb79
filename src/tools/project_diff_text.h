#pragma once

#include <string>

#include "tools/project_diff.h"

namespace tellwright {

// The changes between two projects as text in the look of a unified diff,
// records written as ShowProject writes them: the project path and the cast
// first, then per branch a header "@@ Branch ... @@" and its lines, "-" for
// the old version, "+" for the new one, ">" for a line that moved, and the
// responses of a responseblock line indented below it. Numbers count from 1.
// Windows-1252; "" when nothing changed.
std::string DiffText(const ProjectDiff& diff);

}  // namespace tellwright
