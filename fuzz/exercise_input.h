#pragma once

// What the fuzzer does with one input, kept in a header so the regression
// test replays saved inputs through exactly the same steps.

#include <string>
#include <string_view>
#include <vector>

#include "document/character_list_file.h"
#include "document/project_file.h"
#include "export/dialogue_check.h"
#include "export/text_export.h"
#include "export/vexa_export.h"
#include "export/wme_export.h"

namespace tellwright::fuzzing {

// Generated text has CR LF after every line and no other line break; the
// texts in it came from a reader that splits at every CR and LF.
inline bool EveryLineEndsInCrLf(std::string_view bytes) {
  if (!bytes.empty() && !bytes.ends_with("\r\n")) return false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) return false;
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
  }
  return true;
}

// Saving what was loaded and loading it again must give the same file.
inline std::string CheckProjectRoundTrip(const DialogueDocument& document) {
  std::string saved = WriteProject(document);
  DialogueDocument reloaded;
  if (Status status = ReadProject(saved, reloaded); !status)
    return "a saved project does not load again: " + status.message;
  if (WriteProject(reloaded) != saved) return "a saved project changes when loaded and saved again";
  return "";
}

inline std::string CheckCharacterListRoundTrip(const std::vector<Character>& characters) {
  if (ReadCharacterList(WriteCharacterList(characters)) != characters)
    return "a saved character list changes when loaded again";
  return "";
}

inline std::string CheckExports(const DialogueDocument& document) {
  CheckDialogue(document);
  if (!EveryLineEndsInCrLf(ExportWmeScriptBytes(document))) return "WME script with a stray line break";
  if (!EveryLineEndsInCrLf(ExportTextBytes(document))) return "text listing with a stray line break";
  for (const VexaFile& file : ExportVexaScriptFiles(document, "out/dlg"))
    if (!EveryLineEndsInCrLf(file.bytes)) return "Vexa script with a stray line break";
  return "";
}

// Reads `bytes` as a project and as a character list, then checks and
// exports what was read, also from a file refused as damaged (its partly
// filled document must still be safe to use). Returns what went wrong, or "".
inline std::string ExerciseInput(std::string_view bytes) {
  DialogueDocument document;
  bool loaded = ReadProject(bytes, document).ok;
  if (loaded)
    if (std::string fault = CheckProjectRoundTrip(document); !fault.empty()) return fault;
  std::vector<Character> cast = ReadCharacterList(bytes);
  if (std::string fault = CheckCharacterListRoundTrip(cast); !fault.empty()) return fault;
  document.characters.insert(document.characters.end(), cast.begin(), cast.end());
  return CheckExports(document);
}

}  // namespace tellwright::fuzzing
