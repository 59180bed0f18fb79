#include "export/text_export.h"

#include "document/atomic_write.h"
#include "export/document_index.h"
#include "export/script_text.h"

namespace tellwright {

namespace {

class TextExport {
 public:
  explicit TextExport(const DialogueDocument& document) : document_(document), blocks_(document) {}

  std::string run() {
    out_.bytes().reserve(ScriptSizeHint(document_, blocks_));
    for (int b = 0; b < BranchesToVisit(document_); ++b) branch(document_.branch(b));
    return out_.take();
  }

 private:
  void branch(const DialogueBranch& branch) {
    out_.line(0, branch.name);
    out_.line(0, Repeated{branch.name.size(), '-'});
    out_.line(0);
    for (int l = 0; l < LinesToVisit(branch); ++l) line(branch.lines[l]);
    out_.line(0);
    out_.line(0);
  }

  void line(const DialogueLine& line) {
    switch (KindOf(line.kind)) {
      case LineKind::Talk:
        said(line.character, line.text);
        break;
      case LineKind::Remark:
        out_.line(0, "// ", line.text);
        out_.line(0);
        break;
      case LineKind::Response:
        for (const ResponseBlock* block : blocks_.blocksWithId(line.blockId))
          for (int r = 0, used = block->usedResponses(); r < used; ++r)
            if (FlagSet(block->responses[r].sayResponse)) said(line.character, block->responses[r].text);
        break;
      default:
        break;
    }
  }

  // The name counts in bytes: the listing is in a single-byte code page.
  void said(const std::string& speaker, const std::string& text) {
    size_t width = kSpeakerColumnWidth;
    size_t padding = speaker.size() < width ? width - speaker.size() : 0;
    out_.line(0, speaker, ":", Repeated{padding, ' '}, text);
    out_.line(0);
  }

  const DialogueDocument& document_;
  BlockIndex blocks_;
  ScriptText out_;
};

}  // namespace

std::string ExportTextBytes(const DialogueDocument& document) { return TextExport(document).run(); }

Status ExportText(const DialogueDocument& document, const std::string& path) {
  return WriteFileAtomically(path, ExportTextBytes(document));
}

}  // namespace tellwright
