#pragma once

#include <vector>

#include "document/dialogue_document.h"
#include "lint/lint.h"

namespace tellwright {

// Where the parts of a document stand in its project file, as WriteProject
// writes it and so as a loaded file has them (a file without the version
// line has them a line earlier). Line numbers count from 1.
class ProjectFileLines {
 public:
  explicit ProjectFileLines(const DialogueDocument& document);

  // The file line of a place: the first of a character's real name, a
  // response's text, a dialogue line's kind, a block's id and a branch's
  // name that the file holds (it keeps no line or response after the first empty
  // one, and no block out of use); 0 when it holds none of them. With a
  // field, the line of that field of the character, response or dialogue
  // line found.
  int lineOf(const ProblemPlace& place, ProblemField field = ProblemField::Record) const;

 private:
  int characterLine(int character) const;
  int branchNameLine(int branch) const;
  int dialogueLine(int branch, int line) const;
  int blockIdLine(int slot) const;
  int responseLine(int slot, int response) const;

  int characters_ = 0;
  std::vector<int> branchStart_;     // file line of each branch's marker
  std::vector<int> branchLines_;     // lines each branch writes
  std::vector<int> blockStart_;      // file line of each block's marker; 0 when not written
  std::vector<int> blockResponses_;  // responses each block writes
};

}  // namespace tellwright
