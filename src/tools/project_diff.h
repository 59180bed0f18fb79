#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/dialogue_document.h"

namespace tellwright {

// What changed between two versions of a project, by meaning rather than by
// the lines of the file: branches added, removed, renamed (recognised by
// their lines) or moved; lines inserted, deleted, moved or changed, with the
// fields that changed; the responses of the blocks the lines run; blocks no
// line runs; the cast; the engine project path. Positions count from 0.

enum class ChangeKind { Added, Removed, Changed, Moved };

std::string_view ChangeKindName(ChangeKind kind);  // "added", "removed", "changed", "moved"

struct ResponseChange {
  ChangeKind kind = ChangeKind::Changed;
  int oldIndex = -1;  // -1 when added
  int newIndex = -1;  // -1 when removed
  Response before, after;
  std::vector<std::string_view> fields;  // of a changed response (record_identity.h names)
};

struct LineChange {
  ChangeKind kind = ChangeKind::Changed;
  int oldIndex = -1;
  int newIndex = -1;
  DialogueLine before, after;
  // Of a changed line; "responses" when the responses it runs differ.
  std::vector<std::string_view> fields;
  // The responses of a responseblock line that changed; for an added or
  // removed responseblock line, all of them.
  std::vector<ResponseChange> responses;
};

struct BranchChange {
  int oldIndex = -1;  // -1 when added
  int newIndex = -1;  // -1 when removed
  std::string oldName, newName;
  bool renamed = false;
  bool moved = false;  // its place among the other branches changed
  // The stored line count, when it disagrees with the lines differently.
  bool lineCountChanged = false;
  int32_t oldLineCount = 0, newLineCount = 0;
  std::vector<LineChange> lines;  // in the order of the new branch
};

struct CharacterChange {
  ChangeKind kind = ChangeKind::Changed;  // Changed: the entity name
  int oldIndex = -1;
  int newIndex = -1;
  Character before, after;
};

// A block that no line runs on a side (a line runs only the first block with
// its id); the blocks lines run are shown with their lines.
struct BlockChange {
  ChangeKind kind = ChangeKind::Changed;
  int32_t id = 0;
  std::vector<ResponseChange> responses;
};

struct ProjectDiff {
  bool added = false;    // there was no project before
  bool removed = false;  // there is no project after
  bool pathChanged = false;
  std::string oldPath, newPath;
  std::vector<CharacterChange> characters;
  std::vector<BranchChange> branches;  // only branches with a change
  std::vector<BlockChange> blocks;

  bool same() const { return !added && !removed && !pathChanged && characters.empty() && branches.empty() && blocks.empty(); }
};

// nullptr stands for no project on that side (a file added or deleted).
ProjectDiff DiffProjects(const DialogueDocument* before, const DialogueDocument* after);

}  // namespace tellwright
