#pragma once

#include "base/byte_sink.h"
#include "document/dialogue_document.h"
#include "export/document_index.h"
#include "export/script_text.h"

namespace tellwright {

// The walk every generator shares: branches in table order, then each
// branch's lines, each handed to the generator's talk, code, remark or
// responses by its kind; empty slots and unknown kinds give nothing. The
// generated lines go to the output buffer as they are made.
template <typename Generator>
class DocumentWalk {
 public:
  DocumentWalk(const DialogueDocument& document, OutputBuffer& out)
      : document_(document), blocks_(document), out_(out) {}

 protected:
  // The whole document, through the generator's branch().
  void generateAll() {
    for (int b = 0; b < BranchesToVisit(document_); ++b) self().branch(document_.branch(b));
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
