#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/sample_documents.h"
#include "history/document_delta.h"

namespace tellwright::testing {

// Every kind of text the tools read. Start uses block 7 twice (Guy, then
// Élise); block 9 is used by no line. Branch 2 is current, so the others'
// lines are not the current branch's.
inline DialogueDocument ToolsDocument() {
  DialogueDocument d;
  d.engineProjectPath = "C:\\Game\\game.wpr";
  d.characters = {{"Guy", "guy"}, {"\xC9lise", "elise"}};
  SetBranch(d, 0, "Start",
            {Talk("Guy", "Hello there, hello!", "voice\\hello.ogg"), BlockLine("Guy", 7), Code("Game.Hello();"),
             Remark("say hello, bye"), BlockLine("\xC9lise", 7)});
  SetBranch(d, 1, "Hello_World", {Talk("\xC9lise", "\xE9lise, \"caf\xE9\"?"), Talk("Narrator", "Night falls.")});
  SetBranch(d, 2, "StartStart");
  AddBlock(d, 0, 7,
           {{.text = "Hello?", .sayResponse = 1, .linkBranch = "Hello_World", .conditions = "hello_ok"},
            {.text = "Bye", .linkBranch = "Start"}});
  AddBlock(d, 3, 9, {{.text = "hello unused", .linkBranch = "StartStart"}});
  d.currentBranch = 2;
  return d;
}

// Runs `change` on `d` recorded with `scope`, as the editor's undo step
// records it; true when one undo brings back the document as it was and
// one redo the changed one, so the scope held every part the change touched.
template <typename Change>
bool UndoneAndRedone(DialogueDocument& d, const ChangeScope& scope, Change&& change) {
  const DialogueDocument original = d;
  ChangeRecorder recorder(d, scope);
  if (!change(d).changed) return false;
  const DialogueDocument changed = d;
  DocumentDelta delta = recorder.finish(d);
  UndoDelta(d, delta);
  bool undone = d == original;
  RedoDelta(d, delta);
  return undone && d == changed;
}

// Texts with string-table keys: Start says DEMO0001 (with escapes), a text
// without a key and a remark, then block 1 (DEMO0002, DEMO0003); Empty has
// only a codeline; Intro says DEMO0004 (an accent in Windows-1252).
inline DialogueDocument KeyedProject() {
  DialogueDocument d;
  d.characters.push_back({"Guy", "guy"});
  SetBranch(d, 0, "Start",
            {Talk("Guy", "/DEMO0001/Hello~nthere, ~\"you~\""), Talk("Guy", "unkeyed"), Remark("/R/remark"),
             BlockLine("Guy", 1)});
  SetBranch(d, 1, "Empty", {Code("x")});
  SetBranch(d, 2, "Intro", {Talk("Guy", "/DEMO0004/Caf\xE9")});
  AddBlock(d, 1, 1, {{.text = "/DEMO0002/Bye", .leaveLoop = 1}, {.text = "/DEMO0003/Who?"}});
  return d;
}

// The rows of a CSV text as RFC 4180 reads them (rows ended by CR LF).
inline std::vector<std::vector<std::string>> CsvRows(std::string_view text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    std::string& field = rows.back().back();
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().emplace_back();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      rows.emplace_back(1);
      ++i;
    } else {
      field += c;
    }
  }
  if (rows.back() == std::vector<std::string>(1)) rows.pop_back();  // after the last row end
  return rows;
}

}  // namespace tellwright::testing
