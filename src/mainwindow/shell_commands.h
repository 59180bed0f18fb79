#pragma once

namespace tellwright {

class EditorSession;

// Help > Associate files: makes project files open in this editor.
class ShellCommands {
 public:
  explicit ShellCommands(EditorSession& session) : session_(session) {}

  void associateFiles();

 private:
  EditorSession& session_;
};

}  // namespace tellwright
