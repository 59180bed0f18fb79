#pragma once

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tellwright::testing {

// What one run of the built tellwright-cli gave.
struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string CliBinary() { return std::string(TELLWRIGHT_BINARY_DIR) + "/tellwright-cli"; }

inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs the program in `folder` with `args`, standard input `input` (a file,
// not a terminal); `environment` (NAME=value words for env(1)) changes its
// environment; `redirections` (">/dev/full", ">&-") replace the files that
// take its output.
inline CliRun RunCli(const TempDir& folder, const std::vector<std::string>& args, const std::string& environment = "",
                     const std::string& input = "", const std::string& redirections = "") {
  std::string inPath = (folder.path() / ".stdin").string();
  std::string outPath = (folder.path() / ".stdout").string();
  std::string errPath = (folder.path() / ".stderr").string();
  if (!input.empty()) WriteBytes(inPath, input);
  std::string command = "cd " + ShellQuoted(folder.path().string()) + " && " +
                        (environment.empty() ? "" : "env " + environment + " ") + ShellQuoted(CliBinary());
  for (const std::string& arg : args) command += " " + ShellQuoted(arg);
  command += " <" + (input.empty() ? std::string("/dev/null") : ShellQuoted(inPath)) + " >" + ShellQuoted(outPath) +
             " 2>" + ShellQuoted(errPath) + " " + redirections;
  int status = std::system(command.c_str());
  CliRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadBytes(outPath);
  run.err = ReadBytes(errPath);
  std::filesystem::remove(inPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return run;
}

// The files in `folder`, by name.
inline std::vector<std::string> FilesIn(const TempDir& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tellwright::testing
