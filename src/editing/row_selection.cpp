#include "editing/row_selection.h"

#include <algorithm>
#include <utility>

namespace tellwright {

std::vector<int> ValidRows(const RowSelection& rows, int rowCount) {
  std::vector<int> valid;
  for (int row : rows)
    if (row >= 0 && row < rowCount) valid.push_back(row);
  std::sort(valid.begin(), valid.end());
  valid.erase(std::unique(valid.begin(), valid.end()), valid.end());
  return valid;
}

std::vector<int> MoveSelectedRows(const std::vector<int>& validRows, int rowCount, bool up,
                                  const std::function<void(int, int)>& swap) {
  std::vector<char> selected(rowCount, 0);
  for (int row : validRows) selected[row] = 1;
  std::vector<char> marks = selected;
  auto exchange = [&](int a, int b) {
    swap(a, b);
    std::swap(marks[a], marks[b]);
  };
  if (up) {
    for (int i = 1; i < rowCount; ++i)
      if (selected[i]) exchange(i, i - 1);
  } else {
    for (int i = rowCount - 2; i >= 0; --i)
      if (selected[i]) exchange(i, i + 1);
  }
  std::vector<int> rows;
  for (int i = 0; i < rowCount; ++i)
    if (marks[i]) rows.push_back(i);
  return rows;
}

}  // namespace tellwright
