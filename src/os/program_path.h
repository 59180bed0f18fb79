#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellwright {

// The full path of the running executable; nullopt where the system does not
// tell.
std::optional<std::string> RunningProgramPath();

// The editor executable in the same folder as `program` (for instance the
// command-line tool): "tellwright", "tellwright.exe" on Windows.
std::string EditorProgramBeside(std::string_view program);

}  // namespace tellwright
