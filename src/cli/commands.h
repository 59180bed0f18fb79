#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "cli/cli_support.h"

namespace tellwright::cli {

// Refuses an -o value that names no file (OutputNameFault).
inline const CLI::Validator kOutputName([](const std::string& value) { return OutputNameFault(value); }, "");

// A subcommand adds itself to the parser; when it is chosen, its callback
// runs it and stores its exit code.
using AddSubcommand = void (*)(CLI::App& app, int& exitCode);

void AddCheckCommand(CLI::App& app, int& exitCode);
void AddLintCommand(CLI::App& app, int& exitCode);
void AddExportCommand(CLI::App& app, int& exitCode);
void AddResaveCommand(CLI::App& app, int& exitCode);
void AddAssociateCommand(CLI::App& app, int& exitCode);
void AddPlayCommand(CLI::App& app, int& exitCode);
void AddStatsCommand(CLI::App& app, int& exitCode);
void AddShowCommand(CLI::App& app, int& exitCode);
void AddDiffCommand(CLI::App& app, int& exitCode);
void AddMergeCommand(CLI::App& app, int& exitCode);
void AddGraphCommand(CLI::App& app, int& exitCode);
void AddStringsCommand(CLI::App& app, int& exitCode);
void AddSpellCommand(CLI::App& app, int& exitCode);

// "--format text|json", for the subcommands that print either.
inline void AddFormatOption(CLI::App* command, std::string& format) {
  command->add_option("--format", format, "Output format")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"text", "json"}))
      ->default_str("text");
}

// The subcommands, in the order the help lists them.
inline constexpr AddSubcommand kSubcommands[] = {
    AddCheckCommand, AddLintCommand, AddSpellCommand, AddExportCommand,  AddResaveCommand,    AddPlayCommand,
    AddStatsCommand, AddShowCommand, AddDiffCommand,  AddMergeCommand,   AddGraphCommand,     AddStringsCommand,
    AddAssociateCommand,
};

}  // namespace tellwright::cli
