#pragma once

#include <QStringList>
#include <memory>

#include "editors/help_window.h"

class QWidget;

namespace tellwright {

class AboutWindow;
class UiTextTable;

// The About and Help windows of a session: each is made when first shown,
// and shown again (raised) on later calls. Neither has a parent widget, so an
// editor window that is modal to the main window leaves them usable and
// closable.
class InfoWindows {
 public:
  explicit InfoWindows(const UiTextTable& texts, QStringList helpFolders = DefaultHelpFolders());
  ~InfoWindows();
  InfoWindows(const InfoWindows&) = delete;
  InfoWindows& operator=(const InfoWindows&) = delete;

  // Opens the About window at its place on the screen of `over` (the primary
  // screen when null), or raises it where it is when it is open.
  void showAbout(QWidget* over);
  // Opens the Help window centred over `over` (when null, over the active
  // window, else on the primary screen), or raises it where it is when it is
  // open. A page that was missing is looked for again on every opening.
  void showHelp(QWidget* over);

  // The windows, null until first shown.
  AboutWindow* about() const { return about_.get(); }
  HelpWindow* help() const { return help_.get(); }

 private:
  const UiTextTable& texts_;
  QStringList helpFolders_;
  std::unique_ptr<AboutWindow> about_;
  std::unique_ptr<HelpWindow> help_;
};

}  // namespace tellwright
