#pragma once

#include <string>

#include "document/dialogue_document.h"
#include "export/document_index.h"
#include "export/script_text.h"

namespace tellwright {

// The walk every generator shares: branches in table order, then each
// branch's lines, each handed to the generator's talk, code, remark or
// responses by its kind; empty slots and unknown kinds give nothing.
template <typename Generator>
class DocumentWalk {
 public:
  explicit DocumentWalk(const DialogueDocument& document) : document_(document), blocks_(document) {}

 protected:
  // The whole document as one text, through the generator's branch().
  std::string generateAll() {
    out_.bytes().reserve(ScriptSizeHint(document_, blocks_));
    for (int b = 0; b < BranchesToVisit(document_); ++b) self().branch(document_.branch(b));
    return out_.take();
  }

  void walkLines(const DialogueBranch& branch) {
    for (int l = 0; l < LinesToVisit(branch); ++l) {
      const DialogueLine& line = branch.lines[l];
      switch (KindOf(line.kind)) {
        case LineKind::Talk:
          self().talk(line);
          break;
        case LineKind::Code:
          self().code(line);
          break;
        case LineKind::Remark:
          self().remark(line);
          break;
        case LineKind::Response:
          self().responses(branch, line);
          break;
        default:
          break;
      }
    }
  }

  const DialogueDocument& document_;
  BlockIndex blocks_;
  ScriptText out_;

 private:
  Generator& self() { return static_cast<Generator&>(*this); }
};

}  // namespace tellwright
