#pragma once

#include <functional>
#include <vector>

namespace tellwright {

// The selected rows of a list, as the window hands them over: any order,
// possibly with duplicates or rows that no longer exist.
using RowSelection = std::vector<int>;

// The rows of `rows` that lie in 0..rowCount-1, ascending, each once.
// Commands act only on these, so a stale or repeated row never reaches a table.
std::vector<int> ValidRows(const RowSelection& rows, int rowCount);

// The marks rule of the move commands. Up: for each row i from the first on
// that was selected before the move and is not row 0, swap rows i and i-1.
// Down: for each row i from the last back that was selected and is not the
// last row, swap rows i and i+1. Each row's selection mark travels with it.
// `swap(a, b)` exchanges the contents of two rows. Returns the rows whose mark
// is set afterwards, ascending: the rows to select again.
std::vector<int> MoveSelectedRows(const std::vector<int>& validRows, int rowCount, bool up,
                                  const std::function<void(int, int)>& swap);

}  // namespace tellwright
