#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tellwright {

// Reads a decimal number the way the file formats do: leading blanks and
// tabs are skipped, one sign is accepted, reading stops at the first
// non-digit; empty or non-numeric text gives 0. Values beyond the int32
// range saturate.
int32_t ParseDecimal(std::string_view text);

// The part of `text` ParseDecimal reads, as written: the sign and the digits
// after the leading blanks and tabs. Messages quote a number with it, so that
// one too large for int32 is shown as the file holds it.
std::string_view DecimalText(std::string_view text);

// Appends `value` in plain decimal, a minus sign for negatives.
void AppendDecimal(std::string& out, int64_t value);

}  // namespace tellwright
