#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/user_folders.h"

namespace tellwright {

// The full path of the executable `name` in the first folder of $PATH that
// has one; nullopt when none has. Empty $PATH entries (the current folder)
// are not searched.
std::optional<std::string> FindOnPath(std::string_view name, const EnvironmentLookup& environment);

struct ProgramRun {
  bool started = false;
  bool timedOut = false;
  int exitStatus = -1;  // when it ended by itself
  int signal = 0;       // when a signal ended it
  std::string output;   // standard output and error together, cut at kMaxCapturedOutput
  bool succeeded() const { return started && !timedOut && signal == 0 && exitStatus == 0; }
};

inline constexpr size_t kMaxCapturedOutput = 64 * 1024;

// Runs `program` with `arguments` directly, without a shell, in this
// process's environment, standard input from /dev/null. A program still
// running after `timeout` is killed.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      std::chrono::milliseconds timeout = std::chrono::seconds(60));

// "" for a run that succeeded, else why it did not, for a message.
std::string DescribeRunFailure(const ProgramRun& run);

}  // namespace tellwright
