#include "editors/info_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include "editors/about_window.h"
#include "editors/help_window.h"
#include "support/temp_dir.h"
#include "ui/ui_text_table.h"

namespace tellwright::testing {
namespace {

QString Folder(const TempDir& temp, const char* name = nullptr) {
  return QString::fromStdString(name ? temp.folder(name) : temp.path().string());
}
QString PageIn(const QString& folder) { return QDir(folder).filePath(QStringLiteral("Help.htm")); }
void WritePage(const QString& folder, std::string_view html) { WriteBytes(PageIn(folder).toStdString(), html); }

// Receives the links that the help page hands to the desktop's browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> urls;
  Q_INVOKABLE void open(const QUrl& url) { urls << url; }
};

// Counts the mouse presses that reach a widget.
class PressCounter : public QObject {
 public:
  int presses = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    presses += event->type() == QEvent::MouseButtonPress;
    return false;
  }
};

// Whether a click on `widget` reaches it. The click goes to its window as the
// desktop hands it over, so that a modal window can block it.
bool TakesClicks(QWidget* widget) {
  PressCounter counter;
  widget->installEventFilter(&counter);
  QWidget* window = widget->window();
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, QPoint(5, 5)));
  widget->removeEventFilter(&counter);
  return counter.presses > 0;
}

std::vector<QTextFragment> Fragments(const QTextDocument* document) {
  std::vector<QTextFragment> fragments;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it) fragments.push_back(it.fragment());
  return fragments;
}

// Clicks the middle of the link to `href`.
void ClickLink(QTextBrowser* browser, const QString& href) {
  for (const QTextFragment& fragment : Fragments(browser->document()))
    if (fragment.charFormat().anchorHref() == href) {
      QTextCursor cursor(browser->document());
      cursor.setPosition(fragment.position() + fragment.length() / 2);
      QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(cursor).center());
      return;
    }
  ADD_FAILURE() << "no link to " << href.toStdString();
}

constexpr std::string_view kTestPage =
    "<p><a href=\"#far\">to the end</a> <a href=\"https://example.invalid/x\">web</a></p>"
    "<pre>\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n</pre>"
    "<h2><a name=\"far\">The end</a></h2>";

TEST(AboutWindow, ShowsEachRunOfTheAboutTextOnALineOfItsOwn) {
  const std::pair<QString, QStringList> cases[] = {
      {QStringLiteral("A   B"), {QStringLiteral("A"), QStringLiteral("B")}},
      {QStringLiteral("One line  Two"), {QStringLiteral("One line"), QStringLiteral("Two")}},
      {QStringLiteral("  A  "), {QStringLiteral("A")}},
      {QString(), {}},
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(AboutLines(text), lines) << text.toStdString();

  UiTextTable texts;
  QStringList lines = AboutLines(texts[kTextAboutText]);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], QStringLiteral("%1 %2").arg(kProductName, kProductVersion));
  AboutWindow about(texts[kTextAboutText]);
  EXPECT_EQ(about.textLabel()->text(), lines.join(QLatin1Char('\n')));
  QFontMetrics metrics(about.textLabel()->font());  // each line whole in the fitted font
  for (const QString& line : lines) EXPECT_LE(metrics.horizontalAdvance(line), AboutWindow::kTextRect.width());
  EXPECT_LE(metrics.lineSpacing() * lines.size(), AboutWindow::kTextRect.height());
}

TEST(InfoWindows, HaveTheirTitlesSizesAndPlaces) {
  UiTextTable texts;
  InfoWindows windows(texts);
  windows.showAbout(nullptr);
  windows.showHelp(nullptr);
  AboutWindow* about = windows.about();
  HelpWindow* help = windows.help();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(help));

  EXPECT_EQ(about->windowTitle(), QStringLiteral("About"));
  EXPECT_EQ(about->size(), AboutWindow::kClientSize);
  EXPECT_EQ(about->minimumSize(), about->maximumSize());  // not resizable
  EXPECT_FALSE(about->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(about->textLabel()->geometry(), AboutWindow::kTextRect);
  EXPECT_EQ(about->pos(), QGuiApplication::primaryScreen()->geometry().topLeft() + AboutWindow::kPosition);

  EXPECT_EQ(help->windowTitle(), QStringLiteral("Help"));
  EXPECT_EQ(help->size(), HelpWindow::kClientSize);
  EXPECT_EQ(help->minimumSize(), HelpWindow::kClientSize);
  EXPECT_TRUE(help->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(help->windowFlags() & Qt::WindowMaximizeButtonHint);
  help->resize(820, 470);  // grows, the browser filling it on all four sides
  ASSERT_TRUE(QTest::qWaitFor([&] { return help->browser()->geometry() == help->rect(); }));
  EXPECT_EQ(help->size(), QSize(820, 470));
  help->resize(300, 100);  // not below its first size
  EXPECT_EQ(help->size(), HelpWindow::kClientSize);

  for (QWidget* window : {static_cast<QWidget*>(about), static_cast<QWidget*>(help)}) {
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_FALSE(window->testAttribute(Qt::WA_QuitOnClose));  // the program ends with its main window
  }
  about->activateWindow();  // Escape closes About, as it closes a dialog
  ASSERT_TRUE(QTest::qWaitForWindowActive(about));
  QTest::keyClick(about, Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !about->isVisible(); }));
}

TEST(HelpWindow, ShowsThePageFromTheFirstFolderThatHoldsItElseNamesThePlaces) {
  TempDir temp;
  const QString program = Folder(temp, "program"), data = Folder(temp, "data");
  const std::pair<QStringList, QString> cases[] = {
      // folders holding the page, the folder it is shown from ("": none)
      {{program}, program},
      {{data}, data},
      {{program, data}, program},
      {{}, QString()},
  };
  for (const auto& [holding, found] : cases) {
    for (const QString& folder : {program, data}) QFile::remove(PageIn(folder));
    for (const QString& folder : holding) WritePage(folder, "<p>page in " + folder.toStdString());
    HelpWindow help({program, data});
    QString shown = help.browser()->toPlainText();
    if (found.isEmpty()) {
      EXPECT_TRUE(help.pagePath().isEmpty());
      EXPECT_TRUE(shown.contains(QStringLiteral("not found")));
      for (const QString& folder : {program, data})
        EXPECT_TRUE(shown.contains(QDir::toNativeSeparators(PageIn(folder)))) << shown.toStdString();
    } else {
      EXPECT_EQ(help.pagePath(), PageIn(found));
      EXPECT_EQ(shown, QStringLiteral("page in ") + found);
    }
  }

  // The program's folder first, then the installed data folder; on Windows,
  // where the program is unzipped with its page beside it, only its folder.
  QStringList defaults = DefaultHelpFolders();
  EXPECT_EQ(defaults.value(0), QCoreApplication::applicationDirPath());
#ifdef Q_OS_WIN
  EXPECT_EQ(defaults.size(), 1);
#else
  ASSERT_EQ(defaults.size(), 2);
  EXPECT_TRUE(defaults[1].endsWith(QStringLiteral("/share/tellwright"))) << defaults[1].toStdString();
#endif
}

TEST(HelpWindow, FollowsAnchorsInThePageAndHandsWebLinksToTheDesktop) {
  TempDir temp;
  WritePage(Folder(temp), kTestPage);
  UrlCatcher desktop;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &desktop, "open");
  HelpWindow help({Folder(temp)});
  help.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
  QTextBrowser* browser = help.browser();
  QUrl page = browser->source();

  ClickLink(browser, QStringLiteral("https://example.invalid/x"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !desktop.urls.isEmpty(); }));
  EXPECT_EQ(desktop.urls, QList<QUrl>{QUrl(QStringLiteral("https://example.invalid/x"))});
  EXPECT_EQ(browser->source(), page);

  ClickLink(browser, QStringLiteral("#far"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return browser->source().fragment() == QStringLiteral("far"); }));
  EXPECT_GT(browser->verticalScrollBar()->value(), 0);
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

TEST(HelpWindow, TheHelpPageHasATargetForEveryLinkAndAFileForEveryPicture) {
  const QString resources = QStringLiteral(TELLWRIGHT_SOURCE_DIR "/resources");
  HelpWindow help({resources});
  ASSERT_FALSE(help.pagePath().isEmpty());
  QSet<QString> anchors, links, pictures;
  for (const QTextFragment& fragment : Fragments(help.browser()->document())) {
    QTextCharFormat format = fragment.charFormat();
    for (const QString& name : format.anchorNames()) anchors << name;
    if (format.anchorHref().startsWith(QLatin1Char('#'))) links << format.anchorHref().mid(1);
    if (format.isImageFormat()) pictures << format.toImageFormat().name();
  }
  EXPECT_GT(links.size(), 10);
  for (const QString& link : links) EXPECT_TRUE(anchors.contains(link)) << "no target for #" << link.toStdString();
  EXPECT_GE(pictures.size(), 6);
  for (const QString& picture : pictures)
    EXPECT_TRUE(QFileInfo(QDir(resources).filePath(picture)).isFile()) << "missing " << picture.toStdString();
}

// The page reads without scrolling sideways: pictures wider than the window
// are shown smaller, long lines of examples wrap.
TEST(HelpWindow, OpensWithoutAHorizontalScrollBar) {
  HelpWindow help({QStringLiteral(TELLWRIGHT_SOURCE_DIR "/resources")});
  help.show();
  QScrollBar* sideways = help.browser()->horizontalScrollBar();
  for (QSize size : {HelpWindow::kClientSize, QSize(900, 500), HelpWindow::kClientSize}) {
    help.resize(size);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sideways->maximum() == 0; })) << size.width() << ": " << sideways->maximum();
  }
}

TEST(InfoWindows, AreMadeOnceCentredOverTheGivenOrActiveWindowAndRaisedAgain) {
  TempDir temp;
  UiTextTable texts;
  InfoWindows windows(texts, {Folder(temp)});
  QWidget main;
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect middle(area.topLeft() + QPoint(50, 40), QSize(700, 500));
  const QRect corner(area.bottomRight() - QPoint(300, 200), QSize(400, 300));
  const QPoint helpHalf(HelpWindow::kClientSize.width() / 2, HelpWindow::kClientSize.height() / 2);
  struct Case {
    const char* name;
    QRect mainGeometry;
    bool givenMain;  // else the active window, the main window, is taken
    QPoint helpCentre;
  };
  const Case cases[] = {
      {"given", middle, true, middle.center()},
      {"active", middle, false, middle.center()},
      {"kept on the screen", corner, true, area.bottomRight() - helpHalf},
  };
  for (const Case& c : cases) {
    main.setGeometry(c.mainGeometry);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main)) << c.name;
    windows.showHelp(c.givenMain ? &main : nullptr);
    HelpWindow* help = windows.help();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help)) << c.name;
    EXPECT_EQ(help->geometry().center(), c.helpCentre) << c.name;
    help->move(help->pos() - QPoint(40, 30));  // moved by the user: shown again, it stays there
    QPoint moved = help->pos();
    windows.showHelp(&main);
    EXPECT_EQ(windows.help(), help) << c.name;
    EXPECT_EQ(help->pos(), moved) << c.name;
    help->close();
  }

  EXPECT_TRUE(windows.help()->pagePath().isEmpty());  // a missing page is looked for again on opening
  WritePage(Folder(temp), "<p>now here");
  windows.showHelp(&main);
  EXPECT_EQ(windows.help()->browser()->toPlainText(), QStringLiteral("now here"));

  windows.showAbout(&main);
  AboutWindow* about = windows.about();
  about->move(about->pos() + QPoint(10, 10));
  QPoint moved = about->pos();
  windows.showAbout(&main);
  EXPECT_EQ(windows.about(), about);
  EXPECT_EQ(about->pos(), moved);
}

TEST(InfoWindows, StayUsableAndClosableWhileAnEditorIsModalToTheMainWindow) {
  TempDir temp;
  WritePage(Folder(temp), kTestPage);
  UiTextTable texts;
  InfoWindows windows(texts, {Folder(temp)});
  QWidget main;
  main.setGeometry(100, 100, 640, 480);
  main.show();
  windows.showAbout(&main);
  windows.showHelp(&main);
  QDialog editor(&main);
  editor.setWindowModality(Qt::WindowModal);
  editor.open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));

  const std::tuple<const char*, QWidget*, bool> cases[] = {
      {"main window (blocked by the editor)", &main, false},
      {"About", windows.about()->textLabel(), true},
      {"Help", windows.help()->browser()->viewport(), true},
  };
  for (const auto& [name, target, takesClicks] : cases) EXPECT_EQ(TakesClicks(target), takesClicks) << name;

  EXPECT_TRUE(windows.about()->close());
  EXPECT_TRUE(windows.help()->close());
  EXPECT_FALSE(windows.about()->isVisible());
  EXPECT_FALSE(windows.help()->isVisible());
  EXPECT_TRUE(editor.isVisible());
}

}  // namespace
}  // namespace tellwright::testing

#include "info_windows_test.moc"
