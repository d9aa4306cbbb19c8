// Nothing a document window shows is cut off: it grows to hold its page, scrolls where the
// main window has no more room, and comes back whole from being minimized.

#include "MainWindowScenario.h"
#include "Document.h"
#include "MetaPane.h"
#include "SnippetPreview.h"
#include "TextBox.h"
#include "TypedText.h"
#include "WarningLabel.h"
#include "WidthCounter.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>

namespace {

const QByteArray kPage = "<html>\n<head>\n<title>Kites</title>\n"
                         "<meta name=\"description\" content=\"Hand-made kites of silk and bamboo, built to fly in light winds and strong ones alike\">\n"
                         "</head>\n<body></body>\n</html>\n";

QScrollArea *scrollAreaOf(const DocumentWindow &window)
{
    return window.findChild<QScrollArea *>();
}

// How far below what the window shows the preview's bottom edge lies: 0 when it shows whole.
int hiddenBelow(const DocumentWindow &window)
{
    const QScrollArea *area = scrollAreaOf(window);
    const QWidget &preview = window.preview();
    const int bottom = preview.mapTo(area->viewport(), QPoint(0, preview.height())).y();
    return std::max(0, bottom - area->viewport()->height());
}

// The preview shows whole, or the window scrolls far enough to show it.
bool previewInReach(const DocumentWindow &window)
{
    const QScrollBar *bar = scrollAreaOf(window)->verticalScrollBar();
    const int below = hiddenBelow(window);
    return below == 0 || (bar->isVisible() && bar->maximum() - bar->value() >= below);
}

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Scenario::defaultPage = kPage; }

    // A warning that appears after the page opened makes the window grow when there is room.
    // Each caption stands on its row left of what it names, and names it for assistive tools.
    void everyCaptionStandsBesideWhatItNames()
    {
        Scenario s;
        DocumentWindow *document = s.open(s.page("a.html"));
        QVERIFY(document);
        QStringList captions;
        for (const QLabel *label : document->findChildren<QLabel *>()) {
            const QWidget *named = label->buddy();
            if (!named)
                continue;
            captions.append(label->text());
            const QRect caption(label->mapTo(document, QPoint()), label->size());
            const QRect beside(named->mapTo(document, QPoint()), named->size());
            QVERIFY2(caption.right() < beside.left(), qPrintable(label->text()));
            QVERIFY2(caption.top() < beside.bottom() && beside.top() < caption.bottom(), qPrintable(label->text()));
        }
        captions.sort();
        QCOMPARE(captions, (QStringList { "Author:", "Charset:", "Description:", "Description:", "Keywords:", "Robots:", "Title:" }));
    }

    // A warning stands right under the field it is about, in line with it.
    void aWarningStandsUnderItsField()
    {
        Scenario s;
        DocumentWindow *document = s.open(s.page("a.html"));
        document->field(TextField::Description)->clear();
        const QWidget &warning = document->warningLabel(WarningTarget::Description);
        QTRY_VERIFY(warning.isVisible());
        const auto placed = [document](const QWidget *widget) {
            return QRect(widget->mapTo(document, QPoint()), widget->size());
        };
        const QRect field = placed(document->field(TextField::Description));
        const QRect shown = placed(&warning);
        QCOMPARE(shown.left(), field.left());
        QVERIFY(shown.top() > field.bottom());
        QVERIFY(shown.bottom() < placed(document->field(TextField::Keywords)).top());
    }

    void aWarningGrowsTheWindow_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("koi8-r page, charset flag on")
            << QByteArray("<html><head><meta charset=\"koi8-r\"><title>Kites</title>"
                          "<meta name=\"description\" content=\"Hand-made kites\"></head></html>");
        QTest::newRow("description emptied") << kPage;
    }
    void aWarningGrowsTheWindow()
    {
        QFETCH(QByteArray, page);
        Scenario s;
        s.window->resize(1000, 800);
        DocumentWindow *window = s.open(s.page("a.html", page));
        QCOMPARE(hiddenBelow(*window), 0);
        const int before = window->height();
        if (page.contains("koi8-r"))
            window->charsetBox()->click();
        else
            window->field(TextField::Description)->clear();
        QTRY_VERIFY(window->height() > before);
        QCOMPARE(hiddenBelow(*window), 0);
    }

    // However many windows cascade and however small the main window, every page can be read
    // to its end.
    void cascadedWindowsKeepTheirPagesInReach_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("whole"); // every page shows whole, without scrolling
        QTest::newRow("eight pages in a large window") << QSize(1000, 800) << 8 << true;
        QTest::newRow("eight pages in a window for one") << QSize(700, 470) << 8 << true;
        QTest::newRow("eight pages in a small window") << QSize(640, 420) << 8 << false;
        QTest::newRow("one page in a tiny window") << QSize(360, 260) << 1 << false;
    }
    void cascadedWindowsKeepTheirPagesInReach()
    {
        QFETCH(QSize, size);
        QFETCH(int, pages);
        QFETCH(bool, whole);
        Scenario s;
        s.window->resize(size);
        for (int i = 1; i <= pages; ++i)
            s.open(s.page(QStringLiteral("%1.html").arg(i)));
        const QRect area = s.window->mdiArea().viewport()->rect();
        for (QMdiSubWindow *frame : s.window->mdiArea().subWindowList()) {
            const auto *window = qobject_cast<DocumentWindow *>(frame->widget());
            QVERIFY2(area.contains(frame->geometry()), "the window stands whole inside the area");
            QVERIFY2(previewInReach(*window), qPrintable(frame->windowTitle()));
            if (whole)
                QCOMPARE(hiddenBelow(*window), 0);
        }
    }

    // A page that opened while the main window was still small, as at a start on a busy
    // desktop, gets the room it needs once the main window grows.
    void aWindowCutShortGrowsWithTheMainWindow()
    {
        Scenario s;
        s.window->resize(360, 260);
        DocumentWindow *window = s.open(s.page("a.html"));
        QVERIFY(hiddenBelow(*window) > 0);
        s.window->resize(1000, 800);
        QTRY_COMPARE(hiddenBelow(*window), 0);
        QVERIFY(s.window->mdiArea().viewport()->rect().contains(window->parentWidget()->geometry()));
    }

    // Restored after the main window shrank, a window is moved and sized back inside.
    void aRestoredWindowComesBackInside()
    {
        Scenario s;
        s.window->resize(1000, 800);
        DocumentWindow *window = s.open(s.page("a.html"));
        auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
        frame->move(400, 380);
        frame->showMinimized();
        s.window->resize(700, 560);
        QTest::qWait(20);
        frame->showNormal();
        QVERIFY2(s.window->mdiArea().viewport()->rect().contains(frame->geometry()),
            qPrintable(QStringLiteral("%1,%2 %3x%4").arg(frame->x()).arg(frame->y()).arg(frame->width()).arg(frame->height())));
        QVERIFY(previewInReach(*window));
    }

    // A page not yet saved has no address, and its title is measured as the result shows it.
    void aNewPageShowsNoAddress()
    {
        Scenario s;
        DocumentWindow *window = s.window->commands().newDocument();
        QCOMPARE(window->preview().shownPath(), QString());
        QCOMPARE(window->preview().shownTitle(), Document::kNewCaption);
        QVERIFY2(!window->titleWidth().text().startsWith(QStringLiteral("0 ")), qPrintable(window->titleWidth().text()));
    }

    // Shown only, the META pane never takes the keyboard by itself.
    void thePaneHoldsNoCaretAtStart()
    {
        Scenario s({ { "ViewMeta", "on" } });
        s.window->openCommandLine({});
        QVERIFY(s.window->metaPane().isVisible());
        QWidget *focused = QApplication::focusWidget();
        QVERIFY2(!focused || !s.window->metaPane().isAncestorOf(focused), focused ? focused->metaObject()->className() : "");
    }
};

QTEST_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
