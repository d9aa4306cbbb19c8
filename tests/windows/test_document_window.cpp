#include "TestHome.h"
#include "Document.h"
#include "DocumentCreator.h"
#include "DocumentFile.h"
#include "DocumentWindow.h"
#include "TextContrast.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QWindow>

using FlagList = QList<RobotsFlag>;
Q_DECLARE_METATYPE(FlagList)

namespace {
constexpr RobotsFlag kIndex = RobotsFlag::NoIndex, kFollow = RobotsFlag::NoFollow,
                     kImageIndex = RobotsFlag::NoImageIndex, kImageClick = RobotsFlag::NoImageClick;
}

class TestDocumentWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each listed flag is toggled, by the program as an open does or by a click; both follow
    // the same rule.
    void exclusiveFlags_data()
    {
        QTest::addColumn<bool>("clicked");
        QTest::addColumn<FlagList>("switched");
        QTest::addColumn<FlagList>("checked");
        QTest::addColumn<FlagList>("disabled");
        QTest::newRow("noindex after noimageclick switches it off")
            << false << FlagList { kImageClick, kIndex } << FlagList { kIndex }
            << FlagList { kImageIndex, kImageClick };
        QTest::newRow("switching noindex off enables both, still off")
            << false << FlagList { kImageClick, kIndex, kIndex } << FlagList {} << FlagList {};
        QTest::newRow("noindex alone") << false << FlagList { kIndex } << FlagList { kIndex }
                                       << FlagList { kImageIndex, kImageClick };
        QTest::newRow("noimageindex alone") << false << FlagList { kImageIndex } << FlagList { kImageIndex }
                                            << FlagList { kIndex, kImageClick };
        QTest::newRow("noimageclick alone") << false << FlagList { kImageClick } << FlagList { kImageClick }
                                            << FlagList { kIndex, kImageIndex };
        QTest::newRow("nofollow goes with any flag") << false << FlagList { kFollow, kImageIndex }
                                                     << FlagList { kFollow, kImageIndex }
                                                     << FlagList { kIndex, kImageClick };
        // A disabled box cannot be clicked on, so noindex stays off.
        QTest::newRow("clicks on noimageindex, the disabled noindex, noimageindex")
            << true << FlagList { kImageIndex, kIndex, kImageIndex } << FlagList {} << FlagList {};
    }
    void exclusiveFlags()
    {
        QFETCH(bool, clicked);
        QFETCH(FlagList, switched);
        QFETCH(FlagList, checked);
        QFETCH(FlagList, disabled);
        Document document;
        DocumentWindow window(document);
        window.show();
        for (const RobotsFlag flag : switched) {
            if (clicked)
                QTest::mouseClick(window.flagBox(flag), Qt::LeftButton);
            else
                document.setFlag(flag, !document.values().flag(flag));
        }
        for (const RobotsFlag flag : MetaElementSet::kRobotsFlags) {
            QCOMPARE(window.flag(flag), checked.contains(flag));
            QCOMPARE(document.values().flag(flag), checked.contains(flag));
            QCOMPARE(window.flagEnabled(flag), !disabled.contains(flag));
        }
        QVERIFY(document.isModified());
    }

    // A page opens with the caret in its description; Tab goes down the window.
    void tabGoesDownTheWindow()
    {
        Document document;
        QMdiArea area;
        QMdiSubWindow *frame = area.addSubWindow(new DocumentWindow(document));
        area.show();
        frame->show();
        area.setActiveSubWindow(frame);
        QVERIFY(QTest::qWaitForWindowActive(&area));
        const auto *window = qobject_cast<DocumentWindow *>(frame->widget());
        QCOMPARE(QApplication::focusWidget(), window->field(TextField::Description));
        const QList<QWidget *> order { window->field(TextField::Keywords), window->field(TextField::Author),
            window->flagBox(kIndex), window->flagBox(kFollow), window->flagBox(kImageIndex), window->flagBox(kImageClick),
            window->charsetBox() };
        for (QWidget *next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    // Every control stands on screen in the order it is read, none on top of another: the
    // three fields one under the other, the four robots flags two by two below them, then the
    // charset flag.
    void controlsStandInReadingOrder()
    {
        Document document;
        DocumentWindow window(document);
        window.resize(700, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QList<QWidget *> controls { window.field(TextField::Description), window.field(TextField::Keywords),
            window.field(TextField::Author), window.flagBox(kIndex), window.flagBox(kFollow), window.flagBox(kImageIndex),
            window.flagBox(kImageClick), window.charsetBox() };
        QList<QRect> places;
        for (QWidget *control : controls) {
            QVERIFY(control->isVisible());
            const QRect place(control->mapTo(&window, QPoint(0, 0)), control->size());
            QVERIFY2(place.width() > 20 && place.height() > 10, qPrintable(control->objectName()));
            for (const QRect &other : places)
                QVERIFY2(!place.intersects(other), "two controls overlap");
            places.append(place);
        }
        const auto below = [&](int lower, int upper) { return places[lower].top() >= places[upper].bottom(); };
        QVERIFY(below(1, 0) && below(2, 1) && below(3, 2));
        // The fields make one column, right of their captions.
        for (int field : { 1, 2 }) {
            QCOMPARE(places[field].left(), places[0].left());
            QCOMPARE(places[field].width(), places[0].width());
        }
        QVERIFY(places[0].left() > 20);
        QCOMPARE(places[4].top(), places[3].top());
        QVERIFY(places[4].left() > places[3].left());
        QVERIFY(below(5, 3) && below(6, 4) && below(7, 5));
        QCOMPARE(places[6].top(), places[5].top());
    }

    // The title carries Qt's modified mark, shown as "*" while the page has edits; a "[*]" the
    // page's own title holds shows as written.
    void theTitleMarksEdits_data()
    {
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QByteArray("Kites") << "Kites";
        QTest::newRow("a mark of its own") << QByteArray("Kites [*] sale") << "Kites [*] sale";
    }
    void theTitleMarksEdits()
    {
        QFETCH(QByteArray, title);
        QFETCH(QString, shown);
        Document document;
        document.takeOpened(QStringLiteral("/site/a.html"),
            DocumentFile::fromBytes("<html><head><title>" + title + "</title></head></html>"));
        DocumentWindow window(document);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowHandle()->title(), shown);
        document.setText(TextField::Author, QStringLiteral("Jo"));
        QCOMPARE(window.windowHandle()->title(), shown + '*');
        document.setModified(false);
        QCOMPARE(window.windowHandle()->title(), shown);
    }

    // Grey, the path still reads against the window.
    void thePathReads()
    {
        Document document;
        document.takeOpened(QStringLiteral("/site/a.html"), DocumentFile::fromBytes("<html><head></head></html>"));
        DocumentWindow window(document);
        const QList<QLabel *> labels = window.findChildren<QLabel *>();
        const auto path = std::find_if(labels.cbegin(), labels.cend(),
            [](const QLabel *label) { return label->text() == QStringLiteral("/site/a.html"); });
        QVERIFY(path != labels.cend());
        const QPalette palette = (*path)->palette();
        QVERIFY(TextContrast::ratio(palette.color(QPalette::WindowText), palette.color(QPalette::Window))
            >= TextContrast::kReadable);
        QVERIFY(palette.color(QPalette::WindowText) != window.palette().color(QPalette::WindowText));
    }

    void createdPageOpensWithNoTags_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ok");
        QTest::newRow("new page") << "new page.html" << true;
        QTest::newRow("no such folder") << "missing/page.html" << false;
    }
    void createdPageOpensWithNoTags()
    {
        QFETCH(QString, name);
        QFETCH(bool, ok);
        TestHome home;
        const QString path = home.path() + QLatin1Char('/') + name;
        const auto created = DocumentCreator::createDocument(path, QStringLiteral("Tagsmith LITE 2.01a"));
        QCOMPARE(created.ok, ok);
        QCOMPARE(created.error.isEmpty(), ok);
        if (ok) {
            const DocumentFile::OpenResult opened = DocumentFile::open(path);
            QVERIFY2(opened.ok, qPrintable(opened.error));
            QVERIFY(opened.document.values() == ScannedDocument().values());
        }
    }
};

QTEST_MAIN(TestDocumentWindow)
#include "test_document_window.moc"
