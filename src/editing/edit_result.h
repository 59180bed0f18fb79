#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/status.h"

namespace tellwright {

// Title of the message box that shows a refusal.
inline constexpr std::string_view kErrorTitle = "Error";

// What an editing command did, for the window that ran it.
struct EditResult {
  // The document changed: call SetChanged(1) and refresh the lists.
  bool changed = false;
  // Not ok: the command was refused and changed nothing; show the message
  // (title kErrorTitle). A command whose conditions are not met is not a
  // refusal: it does nothing and stays ok.
  Status status;
  // Rows to select again after the refresh (only the move commands fill it;
  // every other refresh drops the selection).
  std::vector<int> selectRows;

  static EditResult Changed(std::vector<int> rows = {}) { return {true, Status::Ok(), std::move(rows)}; }
  static EditResult Unchanged() { return {}; }
  static EditResult Refused(std::string message) { return {false, Status::Error(std::move(message)), {}}; }
};

// The state of the main window's line list that some commands depend on.
struct LineListState {
  bool hasFocus = false;      // the line list has the keyboard focus
  bool cellEditOpen = false;  // the in-place cell editor is open
};

}  // namespace tellwright
