#include "editors/info_windows.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include "editors/about_window.h"
#include "ui/ui_text_table.h"
#include "ui/window_placement.h"

namespace tellwright {

namespace {

QScreen* ScreenOf(const QWidget* widget) {
  QScreen* screen = widget ? widget->screen() : nullptr;
  return screen ? screen : QGuiApplication::primaryScreen();
}

}  // namespace

InfoWindows::InfoWindows(const UiTextTable& texts, QStringList helpFolders)
    : texts_(texts), helpFolders_(std::move(helpFolders)) {}

InfoWindows::~InfoWindows() = default;

void InfoWindows::showAbout(QWidget* over) {
  if (!about_) about_ = std::make_unique<AboutWindow>(texts_[kTextAboutText]);
  if (!about_->isVisible()) {
    const QScreen* screen = ScreenOf(over);
    QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    about_->move(origin + AboutWindow::kPosition);
  }
  RaiseWindow(about_.get());
}

void InfoWindows::showHelp(QWidget* over) {
  if (!help_) {
    help_ = std::make_unique<HelpWindow>(helpFolders_);
  } else if (!help_->isVisible() && help_->pagePath().isEmpty()) {
    help_->loadPage();
  }
  if (!help_->isVisible()) {
    QWidget* centre = over ? over->window() : QApplication::activeWindow();
    if (centre == help_.get()) centre = nullptr;
    const QScreen* screen = ScreenOf(centre);
    QRect rect(QPoint(), help_->size());
    rect.moveCenter(centre ? centre->geometry().center() : screen ? screen->availableGeometry().center() : QPoint());
    // Kept whole on the screen's free area.
    if (screen) rect.moveTopLeft(OnScreenPosition(rect.topLeft(), rect.size(), screen->availableGeometry()));
    help_->setGeometry(rect);
  }
  RaiseWindow(help_.get());
}

}  // namespace tellwright
