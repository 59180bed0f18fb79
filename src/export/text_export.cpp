#include "export/text_export.h"

#include "export/document_walk.h"
#include "export/export_file.h"

namespace tellwright {

namespace {

class TextExport : public DocumentWalk<TextExport> {
 public:
  using DocumentWalk::DocumentWalk;

  void run() { generateAll(); }

 private:
  friend class DocumentWalk<TextExport>;

  void branch(const DialogueBranch& branch) {
    out_.line(0, branch.name);
    out_.line(0, Repeated{branch.name.size(), '-'});
    out_.line(0);
    walkLines(branch);
    out_.line(0);
    out_.line(0);
  }

  void talk(const DialogueLine& line) { said(line.character, line.text); }
  void code(const DialogueLine&) {}  // code is no part of the screenplay
  void remark(const DialogueLine& line) {
    out_.line(0, "// ", line.text);
    out_.line(0);
  }

  // Every block with the line's id, and of it only the responses said.
  void responses(const DialogueBranch&, const DialogueLine& line) {
    for (const ResponseBlock* block : blocks_.blocksWithId(line.blockId))
      for (int r = 0, used = block->usedResponses(); r < used; ++r)
        if (FlagSet(block->responses[r].sayResponse)) said(line.character, block->responses[r].text);
  }

  // The name counts in bytes: the listing is in a single-byte code page.
  void said(std::string_view speaker, std::string_view text) {
    size_t width = kSpeakerColumnWidth;
    size_t padding = speaker.size() < width ? width - speaker.size() : 0;
    out_.line(0, speaker, ":", Repeated{padding, ' '}, text);
    out_.line(0);
  }
};

}  // namespace

void WriteTextListing(const DialogueDocument& document, OutputBuffer& out) { TextExport(document, out).run(); }

std::string ExportTextBytes(const DialogueDocument& document) {
  OutputBuffer out;
  WriteTextListing(document, out);
  return out.take();
}

Status ExportText(const DialogueDocument& document, const std::string& path) {
  return WriteExportFile(document, path, [&](OutputBuffer& out) { WriteTextListing(document, out); });
}

}  // namespace tellwright
