#include "export/wme_export.h"

#include "export/document_walk.h"
#include "export/export_file.h"
#include "export/visibility_suffix.h"

namespace tellwright {

namespace {

class WmeExport : public DocumentWalk<WmeExport> {
 public:
  WmeExport(const DialogueDocument& document, OutputBuffer& out)
      : DocumentWalk(document, out), characters_(document.characters) {}

  void run() { generateAll(); }

 private:
  friend class DocumentWalk<WmeExport>;

  void branch(const DialogueBranch& branch) {
    out_.line(0, "function ", branch.name, "()");
    out_.line(0, "{");
    out_.line(0);
    out_.line(3);
    walkLines(branch);
    out_.line(3);
    out_.line(3);
    out_.line(0, "}");
    out_.line(0);
    out_.line(0);
  }

  void code(const DialogueLine& line) { out_.line(3, line.text); }
  void remark(const DialogueLine& line) { out_.line(3, "// ", line.text); }

  void talk(const DialogueLine& line) {
    for (std::string_view entity : characters_.entitiesOf(line.character)) {
      if (line.soundFile.empty())
        out_.line(3, entity, ".Talk(\"", line.text, "\");");
      else
        out_.line(3, entity, ".Talk(\"", line.text, "\",\"", line.soundFile, "\");");
    }
  }

  void responses(const DialogueBranch& branch, const DialogueLine& line) {
    out_.line(3);
    out_.line(3, "Game.StartDlgBranch(\"", branch.name, "\");");
    out_.line(3, "// Start of response loop");
    out_.line(3);
    out_.line(3, "var Select", counter_, ";");
    out_.line(3, "var Loop", counter_, " = true;");
    out_.line(3);
    out_.line(3, "while(Loop", counter_, ")");
    out_.line(3, "{");
    out_.line(6);
    if (const ResponseBlock* block = blocks_.firstWithId(line.blockId)) {
      menu(*block);
      out_.line(6);
      out_.line(6, "Select", counter_, " = Game.GetResponse();");
      out_.line(6);
      handlers(*block, line);
      ++counter_;
    }
    out_.line(3, "}");
    out_.line(3, "Game.EndDlgBranch(\"", branch.name, "\");");
  }

  void menu(const ResponseBlock& block) {
    for (int r = 0, used = block.usedResponses(); r < used; ++r) {
      const Response& response = block.responses[r];
      std::string_view suffix = VisibilitySuffix(response.visibility);
      if (response.conditions.empty())
        out_.line(6, "Game.AddResponse", suffix, "(", r, ",\"", response.text, "\");");
      else
        out_.line(6, "if(", response.conditions, ") Game.AddResponse", suffix, "(", r, ",\"", response.text, "\");");
    }
  }

  void handlers(const ResponseBlock& block, const DialogueLine& line) {
    for (int r = 0, used = block.usedResponses(); r < used; ++r) {
      const Response& response = block.responses[r];
      out_.line(6, "if(Select", counter_, "==", r, ")");
      out_.line(6, "{");
      if (FlagSet(response.sayResponse))
        for (std::string_view entity : characters_.entitiesOf(line.character))
          out_.line(9, entity, ".Talk(\"", response.text, "\");");
      if (!response.linkBranch.empty()) out_.line(9, response.linkBranch, "();");
      if (FlagSet(response.leaveLoop)) out_.line(9, "Loop", counter_, " = false;");
      out_.line(6, "}");
      out_.line(6);
    }
  }

  CharacterIndex characters_;
  int counter_ = 0;  // numbers the Select and Loop variables, across branches
};

}  // namespace

void WriteWmeScript(const DialogueDocument& document, OutputBuffer& out) { WmeExport(document, out).run(); }

std::string ExportWmeScriptBytes(const DialogueDocument& document) {
  OutputBuffer out;
  WriteWmeScript(document, out);
  return out.take();
}

Status ExportWmeScript(const DialogueDocument& document, const std::string& path) {
  return WriteExportFile(document, path, [&](OutputBuffer& out) { WriteWmeScript(document, out); });
}

}  // namespace tellwright
