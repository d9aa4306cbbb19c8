#include "TestHome.h"
#include "document/DocumentCreator.h"
#include "document/DocumentFile.h"
#include "document/DocumentState.h"
#include "document/frmDocument.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using FlagList = QList<RobotsFlag>;
Q_DECLARE_METATYPE(FlagList)
Q_DECLARE_METATYPE(MetaElementSet)
Q_DECLARE_METATYPE(TextField)

namespace {

MetaElementSet valueSet(
    const char *description, const char *keywords, const char *author, FlagList flags, bool charset)
{
    MetaElementSet values;
    values.setText(TextField::Description, description);
    values.setText(TextField::Keywords, keywords);
    values.setText(TextField::Author, author);
    for (const RobotsFlag flag : flags)
        values.setFlag(flag, true);
    values.setCharset(charset);
    return values;
}

QStringList labelTexts(const QWidget &window)
{
    QStringList texts;
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        if (label->isVisibleTo(&window))
            texts.append(label->text());
    }
    return texts;
}

} // namespace

class TestDocumentWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newWindowShowsCaptionsAndDefaults()
    {
        frmDocument window;
        window.applyNewDefaults(QStringLiteral("Ann Author"), true);
        QCOMPARE(window.caption(), QStringLiteral("Unsaved HTML Document"));
        const QStringList labels = labelTexts(window);
        for (const char *caption : { "Description:", "Keywords:", "Author:", "Robots:", "Charset:" })
            QVERIFY2(labels.contains(QString::fromLatin1(caption)), caption);
        QCOMPARE(window.text(TextField::Description), QStringLiteral("Description of your homepage"));
        QCOMPARE(window.text(TextField::Keywords), QStringLiteral("Keywords, seperated, with, commas"));
        QCOMPARE(window.text(TextField::Author), QStringLiteral("Ann Author"));
        QCOMPARE(window.charsetBox()->text(), QStringLiteral("USE DEFAULT CHARSET"));
        QVERIFY(window.charset());
        const QStringList boxes = { window.flagBox(RobotsFlag::NoIndex)->text(),
            window.flagBox(RobotsFlag::NoFollow)->text(), window.flagBox(RobotsFlag::NoImageIndex)->text(),
            window.flagBox(RobotsFlag::NoImageClick)->text() };
        QCOMPARE(boxes, (QStringList { "NOINDEX", "NOFOLLOW", "NOIMAGESINDEX", "NOIMAGECLICK" }));
        QVERIFY(window.isNew());
        QCOMPARE(window.displayPath(), QStringLiteral("NONE"));
        QVERIFY2(!window.isModified(), "the defaults are not an edit");
    }

    void exclusiveFlags_data()
    {
        QTest::addColumn<FlagList>("clickedOn");
        QTest::addColumn<FlagList>("clickedOff");
        QTest::addColumn<FlagList>("checked");
        QTest::addColumn<FlagList>("disabled");
        QTest::newRow("noindex disables the other two")
            << FlagList { RobotsFlag::NoIndex } << FlagList {} << FlagList { RobotsFlag::NoIndex }
            << FlagList { RobotsFlag::NoImageIndex, RobotsFlag::NoImageClick };
        QTest::newRow("noindex after noimageclick switches it off")
            << FlagList { RobotsFlag::NoImageClick, RobotsFlag::NoIndex } << FlagList {}
            << FlagList { RobotsFlag::NoIndex }
            << FlagList { RobotsFlag::NoImageIndex, RobotsFlag::NoImageClick };
        QTest::newRow("switching noindex off enables both, still off")
            << FlagList { RobotsFlag::NoImageClick, RobotsFlag::NoIndex } << FlagList { RobotsFlag::NoIndex }
            << FlagList {} << FlagList {};
        QTest::newRow("nofollow goes with any flag")
            << FlagList { RobotsFlag::NoFollow, RobotsFlag::NoImageIndex } << FlagList {}
            << FlagList { RobotsFlag::NoFollow, RobotsFlag::NoImageIndex }
            << FlagList { RobotsFlag::NoIndex, RobotsFlag::NoImageClick };
        QTest::newRow("nofollow alone disables nothing") << FlagList { RobotsFlag::NoFollow } << FlagList {}
                                                         << FlagList { RobotsFlag::NoFollow } << FlagList {};
    }

    void exclusiveFlags()
    {
        QFETCH(FlagList, clickedOn);
        QFETCH(FlagList, clickedOff);
        QFETCH(FlagList, checked);
        QFETCH(FlagList, disabled);
        frmDocument window;
        window.applyNewDefaults({}, false);
        // Set by the program, as an open does: the same rule as a click.
        for (const RobotsFlag flag : clickedOn)
            window.setFlag(flag, true);
        for (const RobotsFlag flag : clickedOff)
            window.setFlag(flag, false);
        for (const RobotsFlag flag : MetaElementSet::kRobotsFlags) {
            const int row = static_cast<int>(flag);
            QVERIFY2(window.flag(flag) == checked.contains(flag), qPrintable(QString::number(row)));
            QVERIFY2(window.flagEnabled(flag) == !disabled.contains(flag), qPrintable(QString::number(row)));
        }
    }

    void clickingEnforcesTheSameRule()
    {
        frmDocument window;
        window.applyNewDefaults({}, false);
        window.show();
        QTest::mouseClick(window.flagBox(RobotsFlag::NoImageIndex), Qt::LeftButton);
        QVERIFY(window.flag(RobotsFlag::NoImageIndex));
        QVERIFY(!window.flagEnabled(RobotsFlag::NoIndex));
        QTest::mouseClick(window.flagBox(RobotsFlag::NoIndex), Qt::LeftButton);
        QVERIFY2(!window.flag(RobotsFlag::NoIndex), "a disabled box cannot be clicked on");
        QTest::mouseClick(window.flagBox(RobotsFlag::NoImageIndex), Qt::LeftButton);
        QVERIFY(window.flagEnabled(RobotsFlag::NoIndex));
        QVERIFY(window.isModified());
    }

    void valuesComeBackAsSet_data()
    {
        QTest::addColumn<MetaElementSet>("values");
        QTest::newRow("texts and flags") << valueSet(
            "Kites", "kites, lines", "A. Flyer", { RobotsFlag::NoIndex, RobotsFlag::NoFollow }, true);
        QTest::newRow("placeholders and nothing on")
            << valueSet("No description", "No, keywords", "No author", {}, false);
        QTest::newRow("non-ASCII and quotes kept")
            << valueSet("Ça \"marche\" — oui", "ä, ö", "Zoë <z@x>", { RobotsFlag::NoImageClick }, false);
        QTest::newRow("empty texts") << valueSet(
            "", "", "", { RobotsFlag::NoImageIndex, RobotsFlag::NoFollow }, true);
    }

    void valuesComeBackAsSet()
    {
        QFETCH(MetaElementSet, values);
        frmDocument window;
        window.applyNewDefaults(QStringLiteral("Someone"), true);
        QSignalSpy changed(&window, &frmDocument::valuesChanged);
        window.setValues(values);
        QVERIFY(window.values() == values);
        QVERIFY2(!changed.isEmpty(), "the main window hears of every change the program makes");
        QVERIFY(window.isModified());
    }

    void editsBelongToTheirOwnWindow()
    {
        frmDocument first;
        frmDocument second;
        first.applyNewDefaults({}, false);
        second.applyNewDefaults({}, false);
        first.show();
        first.field(TextField::Keywords)->setFocus();
        QTest::keyClicks(first.field(TextField::Keywords), QStringLiteral("x"));
        QVERIFY(first.isModified());
        QVERIFY(!second.isModified());
    }

    void focusNamesTheActiveField_data()
    {
        QTest::addColumn<TextField>("field");
        QTest::addColumn<QString>("name");
        QTest::newRow("description") << TextField::Description << QStringLiteral("Description");
        QTest::newRow("keywords") << TextField::Keywords << QStringLiteral("Keywords");
        QTest::newRow("author") << TextField::Author << QStringLiteral("Author");
    }

    void focusNamesTheActiveField()
    {
        QFETCH(TextField, field);
        QFETCH(QString, name);
        frmDocument window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QSignalSpy focused(&window, &frmDocument::fieldFocused);
        window.charsetBox()->setFocus();
        window.field(field)->setFocus();
        QTRY_COMPARE(window.activeField(), name);
        QCOMPARE(focused.last().at(0).toString(), name);
        // Moving the focus elsewhere keeps the last text field.
        window.charsetBox()->setFocus();
        QCOMPARE(window.activeField(), name);
    }

    void closeGuardCanKeepTheWindow()
    {
        frmDocument window;
        window.show();
        int asked = 0;
        bool allow = false;
        window.setCloseGuard([&](frmDocument &) {
            ++asked;
            return allow;
        });
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        allow = true;
        QVERIFY(window.close());
        QCOMPARE(asked, 2);
    }

    void saveNeedsSaveAsOnlyForANewDocument_data()
    {
        QTest::addColumn<QString>("filePath");
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("never saved") << QStringLiteral("NONE") << true;
        QTest::newRow("a file") << QStringLiteral("/site/index.html") << false;
        QTest::newRow("other case is a file name") << QStringLiteral("none") << false;
    }

    void saveNeedsSaveAsOnlyForANewDocument()
    {
        QFETCH(QString, filePath);
        QFETCH(bool, saveAs);
        DocumentState state;
        state.SourcePath = QStringLiteral("/old");
        state.TargetPath = QStringLiteral("/old");
        QCOMPARE(state.prepareSave(filePath), saveAs);
        QCOMPARE(state.IsNewDocument, saveAs);
        const QString expected = saveAs ? QStringLiteral("/old") : filePath;
        QCOMPARE(state.SourcePath, expected);
        QCOMPARE(state.TargetPath, expected);
    }

    void createdPageTakesTheTags()
    {
        TestHome home;
        const QString path = home.path() + QStringLiteral("/new page.html");
        const DocumentCreator::Result created
            = DocumentCreator::CreateDocument(path, QStringLiteral("Tagsmith LITE 2.01a"));
        QVERIFY2(created.ok, qPrintable(created.error));
        const DocumentFile::ReadResult read = DocumentFile::readBytes(path);
        QVERIFY(read.bytes.contains("<head>"));
        QVERIFY(read.bytes.indexOf("<head>") < read.bytes.indexOf("</head>"));
        const DocumentFile::OpenResult opened = DocumentFile::open(path);
        QVERIFY(opened.ok);
        QVERIFY2(
            opened.document.values().text(TextField::Author) == "No author", "a new page carries no tags");
    }

    void creatingWhereNoFolderIsReportsWhy()
    {
        TestHome home;
        const DocumentCreator::Result created = DocumentCreator::CreateDocument(
            home.path() + QStringLiteral("/missing/page.html"), QStringLiteral("x"));
        QVERIFY(!created.ok);
        QVERIFY(!created.error.isEmpty());
    }
};

QTEST_MAIN(TestDocumentWindow)
#include "test_document_window.moc"
