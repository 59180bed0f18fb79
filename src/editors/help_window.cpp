#include "editors/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace tellwright {

// The build gives the installed data folder (<prefix>/share/tellwright).
#ifndef TELLWRIGHT_DATA_DIR
#define TELLWRIGHT_DATA_DIR ""
#endif

QStringList DefaultHelpFolders() {
  QStringList folders{QCoreApplication::applicationDirPath()};
  if (QString data = QStringLiteral(TELLWRIGHT_DATA_DIR); !data.isEmpty()) folders << data;
  return folders;
}

namespace {

constexpr int kPageMargin = 10;  // around the page, inside the window's edge

QString PageIn(const QString& folder) { return QDir(folder).filePath(QString::fromLatin1(kHelpPageName)); }

QString MissingPageHtml(const QStringList& folders) {
  QString places;
  for (const QString& folder : folders)
    places += QStringLiteral("<li>%1</li>").arg(QDir::toNativeSeparators(PageIn(folder)).toHtmlEscaped());
  return QStringLiteral(
             "<h2>The help page was not found</h2>"
             "<p>%1 is not in any of the places the editor looks for it:</p><ul>%2</ul>"
             "<p>Install the editor again, or copy %1 and its folder <i>help</i> from the "
             "<i>resources</i> folder of the editor's sources to one of these places.</p>")
      .arg(QString::fromLatin1(kHelpPageName), places);
}

}  // namespace

HelpWindow::HelpWindow(QStringList folders)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                           Qt::WindowCloseButtonHint),
      folders_(std::move(folders)),
      browser_(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("helpWindow"));
  setWindowTitle(QStringLiteral("Help"));
  setAccessibleName(windowTitle());
  // Closing it must not keep the program running once the main window is gone.
  setAttribute(Qt::WA_QuitOnClose, false);

  browser_->setObjectName(QStringLiteral("helpBrowser"));
  browser_->setAccessibleName(QStringLiteral("Help page"));
  // Anchors move within the page; links to the web open in the desktop's browser.
  browser_->setOpenExternalLinks(true);
  browser_->setFrameShape(QFrame::NoFrame);
  browser_->document()->setDocumentMargin(kPageMargin);

  // The browser fills the window on all four sides as it is resized.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);

  resize(kClientSize);
  setMinimumSize(kClientSize);
  loadPage();
}

void HelpWindow::loadPage() {
  pagePath_.clear();
  for (const QString& folder : folders_) {
    QFileInfo page(PageIn(folder));
    if (page.isFile() && page.isReadable()) {
      pagePath_ = page.absoluteFilePath();
      break;
    }
  }
  browser_->clearHistory();
  if (pagePath_.isEmpty())
    browser_->setHtml(MissingPageHtml(folders_));
  else
    browser_->setSource(QUrl::fromLocalFile(pagePath_), QTextDocument::HtmlResource);
}

}  // namespace tellwright
