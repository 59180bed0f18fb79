#include "editors/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

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
  // Long lines of command-line examples wrap rather than widen the page.
  browser_->document()->setDefaultStyleSheet(QStringLiteral("pre { white-space: pre-wrap; }"));

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
  fitPictures();
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  fitPictures();
}

void HelpWindow::fitPictures() {
  QTextDocument* page = browser_->document();
  qreal room = browser_->viewport()->width() - 2 * page->documentMargin();
  if (room <= 0) return;
  QTextCursor cursor(page);
  for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      QTextFragment part = fragment.fragment();
      if (!part.charFormat().isImageFormat()) continue;
      QTextImageFormat picture = part.charFormat().toImageFormat();
      QImage image = page->resource(QTextDocument::ImageResource, QUrl(picture.name())).value<QImage>();
      if (image.isNull()) continue;
      qreal width = std::min<qreal>(image.width(), room);
      if (qFuzzyCompare(picture.width(), width)) continue;
      picture.setWidth(width);
      picture.setHeight(image.height() * width / image.width());
      cursor.setPosition(part.position());
      cursor.setPosition(part.position() + part.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(picture);
    }
  }
}

}  // namespace tellwright
