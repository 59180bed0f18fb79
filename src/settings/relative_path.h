#pragma once

#include <string>
#include <string_view>

namespace tellwright {

// The sound path a talkline stores for a picked file: every occurrence of the
// engine project's folder (the path part of `engineProjectPath`, up to and
// including its last "\" or "/") removed from `pickedPath`, letters compared
// regardless of case in Windows-1252. Without a folder the path stays whole.
std::string RelativeSoundPath(std::string_view pickedPath, std::string_view engineProjectPath);

}  // namespace tellwright
