#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QTextBrowser;

namespace tellwright {

inline constexpr const char* kHelpPageName = "Help.htm";

// Where the help page is looked for, in this order: the program's own folder,
// then the installed data folder.
QStringList DefaultHelpFolders();

// Help > Help: the local help page in Qt's own rich-text browser, in a
// resizable window. A top-level window without a parent, so that an editor
// window that is modal to the main window does not block it.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr QSize kClientSize{600, 300};

  explicit HelpWindow(QStringList folders = DefaultHelpFolders());

  QTextBrowser* browser() const { return browser_; }
  const QStringList& folders() const { return folders_; }
  // The page shown, "" when none of the folders holds it.
  const QString& pagePath() const { return pagePath_; }

  // Shows the page from the first folder that holds it, else a message that
  // names every place looked in.
  void loadPage();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Pictures wider than the page are shown at the page's width, so that the
  // page never scrolls sideways; narrower ones keep their own size.
  void fitPictures();

  QStringList folders_;
  QString pagePath_;
  QTextBrowser* browser_;
};

}  // namespace tellwright
