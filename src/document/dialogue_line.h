#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"

namespace tellwright {

inline constexpr std::string_view kTalkline = "Talkline";
inline constexpr std::string_view kCodeline = "Codeline";
inline constexpr std::string_view kRemark = "Remark";
inline constexpr std::string_view kResponseblock = "Responseblock";

// What a line is, judged by the first four characters of its kind text
// ("Talk", "Code", "Rema", "Resp", case-sensitive). An empty kind marks a free
// slot; any other text is a line the exporters skip.
enum class LineKind { Empty, Talk, Code, Remark, Response, Other };

LineKind KindOf(std::string_view kind);

// `kind` as a text the lines share: the four known kinds are kept once for
// the whole program, as every line repeats one of them.
Text KindText(std::string_view kind);

struct DialogueLine {
  Text kind;       // "" marks a free slot
  Text character;  // realName of the speaker (talklines, responseblock lines)
  Text text;       // said text, script code or remark
  Text soundFile;  // talklines: voice-over file
  int32_t blockId = 0;    // responseblock lines: id of their ResponseBlock

  bool empty() const { return kind.empty(); }
  friend bool operator==(const DialogueLine&, const DialogueLine&) = default;
};

}  // namespace tellwright
