#pragma once

#include <string>
#include <string_view>

#include "document/dialogue_document.h"

namespace tellwright {

// A project as stable, readable text, one record a line, for reading and for
// version control to compare (git's textconv): the engine project path, the
// cast, every branch with its lines numbered from 1 (a responseblock line
// with the responses of its block below it), then the blocks no line runs.
// Windows-1252 like the document's texts; control bytes are written as \xNN
// so every record stays on its line.
std::string ShowProject(const DialogueDocument& document);

// The parts of the text form that comparing projects shows too, without a
// number or a line end.
std::string ShowLine(const DialogueLine& line);
std::string ShowResponse(const Response& response);
std::string ShowCharacter(const Character& character);
// A text in double quotes, control bytes as \xNN.
std::string ShowQuoted(std::string_view text);

}  // namespace tellwright
