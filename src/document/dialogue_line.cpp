#include "document/dialogue_line.h"

namespace tellwright {

LineKind KindOf(std::string_view kind) {
  if (kind.empty()) return LineKind::Empty;
  std::string_view head = kind.substr(0, 4);
  if (head == "Talk") return LineKind::Talk;
  if (head == "Code") return LineKind::Code;
  if (head == "Rema") return LineKind::Remark;
  if (head == "Resp") return LineKind::Response;
  return LineKind::Other;
}

Text KindText(std::string_view kind) {
  static const Text kKnown[] = {Text::Immortal(kTalkline), Text::Immortal(kCodeline), Text::Immortal(kRemark),
                                Text::Immortal(kResponseblock)};
  for (const Text& known : kKnown)
    if (known == kind) return known;
  return Text(kind);
}

}  // namespace tellwright
