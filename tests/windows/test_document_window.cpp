#include "TestHome.h"
#include "DocumentCreator.h"
#include "DocumentFile.h"
#include "DocumentWindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

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
    // Flags set by the program, as an open does, follow the same rule as a click.
    void exclusiveFlags_data()
    {
        QTest::addColumn<FlagList>("switchedOn");
        QTest::addColumn<bool>("thenNoIndexOff");
        QTest::addColumn<FlagList>("checked");
        QTest::addColumn<FlagList>("disabled");
        QTest::newRow("noindex after noimageclick switches it off")
            << FlagList { kImageClick, kIndex } << false << FlagList { kIndex } << FlagList { kImageIndex, kImageClick };
        QTest::newRow("switching noindex off enables both, still off")
            << FlagList { kImageClick, kIndex } << true << FlagList {} << FlagList {};
        QTest::newRow("noindex alone") << FlagList { kIndex } << false << FlagList { kIndex }
                                       << FlagList { kImageIndex, kImageClick };
        QTest::newRow("noimageindex alone") << FlagList { kImageIndex } << false << FlagList { kImageIndex }
                                            << FlagList { kIndex, kImageClick };
        QTest::newRow("noimageclick alone") << FlagList { kImageClick } << false << FlagList { kImageClick }
                                            << FlagList { kIndex, kImageIndex };
        QTest::newRow("nofollow goes with any flag") << FlagList { kFollow, kImageIndex } << false
                                                     << FlagList { kFollow, kImageIndex } << FlagList { kIndex, kImageClick };
    }
    void exclusiveFlags()
    {
        QFETCH(FlagList, switchedOn);
        QFETCH(bool, thenNoIndexOff);
        QFETCH(FlagList, checked);
        QFETCH(FlagList, disabled);
        DocumentWindow window;
        for (const RobotsFlag flag : switchedOn)
            window.setFlag(flag, true);
        if (thenNoIndexOff)
            window.setFlag(kIndex, false);
        for (const RobotsFlag flag : MetaElementSet::kRobotsFlags) {
            QCOMPARE(window.flag(flag), checked.contains(flag));
            QCOMPARE(window.flagEnabled(flag), !disabled.contains(flag));
        }
    }

    void clickingEnforcesTheSameRule()
    {
        DocumentWindow window;
        window.show();
        QTest::mouseClick(window.flagBox(kImageIndex), Qt::LeftButton);
        QVERIFY(!window.flagEnabled(kIndex));
        QTest::mouseClick(window.flagBox(kIndex), Qt::LeftButton);
        QVERIFY2(!window.flag(kIndex), "a disabled box cannot be clicked on");
        QTest::mouseClick(window.flagBox(kImageIndex), Qt::LeftButton);
        QVERIFY(window.flagEnabled(kIndex));
        QVERIFY(window.isModified());
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
