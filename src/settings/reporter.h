#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tellwright {

// Where the settings code tells the user about faults. The editor shows each
// error as a message box with the given title; the command-line tool prints
// it; tests record it.
class Reporter {
 public:
  virtual ~Reporter() = default;
  virtual void ReportError(std::string_view title, std::string_view message) = 0;
  // Progress worth a line on a console (files written, tools run or
  // skipped); the editor may ignore it.
  virtual void ReportNote(std::string_view message) { (void)message; }
};

struct ReportedError {
  std::string title;
  std::string message;
};

// Keeps everything it is told, in order.
class RecordingReporter : public Reporter {
 public:
  void ReportError(std::string_view title, std::string_view message) override {
    errors.push_back({std::string(title), std::string(message)});
  }
  void ReportNote(std::string_view message) override { notes.emplace_back(message); }

  std::vector<ReportedError> errors;
  std::vector<std::string> notes;
};

}  // namespace tellwright
