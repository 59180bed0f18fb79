#pragma once

#include <string_view>

namespace tellwright {

// Extensions the export save requesters complete a chosen name with; the
// Vexa export also ends every branch file in ".script".
inline constexpr std::string_view kScriptExtension = ".script";
inline constexpr std::string_view kTextExtension = ".txt";

}  // namespace tellwright
