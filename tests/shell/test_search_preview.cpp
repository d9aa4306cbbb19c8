#include "TestHome.h"
#include "document/frmDocument.h"
#include "seo/SnippetPreview.h"
#include "seo/WarningLabel.h"
#include "services/SettingsStore.h"
#include "shell/DocumentCommands.h"
#include "shell/UserPrompts.h"
#include "shell/frmMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(WarningTarget)

namespace {

QByteArray page(const QByteArray &title, const QByteArray &head)
{
    return "<html>\r\n<head>\r\n<title>" + title + "</title>\r\n" + head
        + "</head>\r\n<body>Kites</body>\r\n</html>\r\n";
}

QByteArray described(const QByteArray &description)
{
    return page("Kite Shop", "<meta name=\"description\" content=\"" + description + "\">\r\n");
}

struct Scenario
{
    Scenario()
    {
        SettingsStore().SetValue(QStringLiteral("Version"), QStringLiteral("2.01a"));
        window = std::make_unique<frmMain>();
        window->prompts().setScripted(true);
        window->show();
    }

    frmDocument *open(const QString &path)
    {
        window->OpenCommandLine(path);
        return window->activeDocument();
    }

    void save(frmDocument *document)
    {
        window->mdiArea().setActiveSubWindow(qobject_cast<QMdiSubWindow *>(document->parentWidget()));
        window->commands().Save();
    }

    TestHome home;
    std::unique_ptr<frmMain> window;
};

bool warns(const frmDocument &document, WarningTarget target, WarningKind kind)
{
    bool found = false;
    for (const Warning &warning : document.warnings())
        found = found || (warning.kind == kind && warning.target == target);
    return found && document.warningLabel(target).isVisibleTo(&document);
}

bool sharesDescription(const frmDocument &document)
{
    return warns(document, WarningTarget::Description, WarningKind::DescriptionShared);
}

} // namespace

class TestSearchPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void previewTitleIsThePageTitle_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("title");
        QTest::newRow("title") << page("Kite Shop", {}) << QStringLiteral("Kite Shop");
        QTest::newRow("non-ASCII decoded")
            << page("Caf\xC3\xA9 des cerfs-volants", {}) << QStringLiteral("Caf\u00e9 des cerfs-volants");
        QTest::newRow("no title: the file name") << page({}, {}) << QStringLiteral("shop.html");
    }

    void previewTitleIsThePageTitle()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        Scenario s;
        frmDocument *document = s.open(s.home.write(QStringLiteral("site/shop.html"), bytes));
        QVERIFY(document);
        QCOMPARE(document->preview().shownTitle(), title);
        QCOMPARE(document->preview().shownPath(), document->displayPath());
    }

    void previewTitleFollowsTheSavedPage()
    {
        Scenario s;
        const QString path = s.home.write(QStringLiteral("shop.html"), page("Kite Shop", {}));
        frmDocument *document = s.open(path);
        QCOMPARE(document->preview().shownTitle(), QStringLiteral("Kite Shop"));
        // Someone renames the page on disk; the save keeps their title, and so does the preview.
        s.home.write(QStringLiteral("shop.html"), page("Kite & Line Shop", {}));
        QCOMPARE(document->preview().shownTitle(), QStringLiteral("Kite Shop"));
        s.save(document);
        QVERIFY(s.window->prompts().shown().isEmpty());
        QCOMPARE(document->preview().shownTitle(), QStringLiteral("Kite & Line Shop"));
        QCOMPARE(document->pageTitle(), QStringLiteral("Kite & Line Shop"));
    }

    void newDocumentIsPreviewedByCaptionUntilSaved()
    {
        Scenario s;
        frmDocument *document = s.window->commands().New();
        QCOMPARE(document->preview().shownTitle(), frmDocument::kNewCaption);
        const QString path = s.home.path() + QStringLiteral("/fresh.html");
        s.window->prompts().chooseFileNext(path);
        s.window->commands().Save();
        QCOMPARE(document->filePath(), path);
        QVERIFY2(document->pageTitle().isEmpty(), "a created page has an empty title");
        QCOMPARE(document->preview().shownTitle(), QStringLiteral("fresh.html"));
    }

    void openedPageWarnsOfUnreadTagsUntilRemoved_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<WarningTarget>("target");
        QTest::newRow("description in single quotes")
            << QByteArray("<meta name='description' content='Old kites'>") << WarningTarget::Description;
        QTest::newRow("keywords, content first")
            << QByteArray("<meta content=\"kites\" name=\"keywords\">") << WarningTarget::Keywords;
        QTest::newRow("author, extra spaces")
            << QByteArray("<meta  name = \"author\"  content=\"Ann\">") << WarningTarget::Author;
        QTest::newRow("robots in capitals, content first")
            << QByteArray("<META CONTENT=\"noindex\" NAME=\"ROBOTS\">") << WarningTarget::Robots;
    }

    void openedPageWarnsOfUnreadTagsUntilRemoved()
    {
        QFETCH(QByteArray, tag);
        QFETCH(WarningTarget, target);
        Scenario s;
        const QString path = s.home.write(QStringLiteral("shop.html"), page("Kite Shop", tag + "\r\n"));
        frmDocument *document = s.open(path);
        QVERIFY(document);
        QVERIFY(warns(*document, target, WarningKind::UnreadTagForm));
        QVERIFY2(document->warningLabel(target).messages().join(QString()).contains(QString::fromUtf8(tag)),
            "the message quotes the tag as written");
        // A save leaves the tag where it is, and so stays the warning.
        s.save(document);
        QVERIFY(warns(*document, target, WarningKind::UnreadTagForm));
        // Removed by hand: the next save reads the page again.
        s.home.write(QStringLiteral("shop.html"), page("Kite Shop", {}));
        s.save(document);
        QVERIFY(!warns(*document, target, WarningKind::UnreadTagForm));
    }

    void charsetWarningFollowsTheCheckBox()
    {
        Scenario s;
        const QString path
            = s.home.write(QStringLiteral("cafe.html"), page("Caf\xC3\xA9 des cerfs-volants", {}));
        frmDocument *document = s.open(path);
        QVERIFY(!warns(*document, WarningTarget::Charset, WarningKind::CharsetMismatch));
        document->charsetBox()->click();
        QVERIFY(warns(*document, WarningTarget::Charset, WarningKind::CharsetMismatch));
        document->charsetBox()->click();
        QVERIFY(!warns(*document, WarningTarget::Charset, WarningKind::CharsetMismatch));
    }

    void descriptionSharedByOpenDocuments_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<bool>("shared");
        QTest::newRow("same description")
            << described("Hand-made kites") << described("Hand-made kites") << true;
        QTest::newRow("differing only in spacing")
            << described("Hand-made  kites ") << described("Hand-made kites") << true;
        QTest::newRow("differing in case")
            << described("Hand-made kites") << described("hand-made kites") << false;
        QTest::newRow("both without description") << page("Kite Shop", {}) << page("Kite Shop", {}) << false;
    }

    void descriptionSharedByOpenDocuments()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, shared);
        Scenario s;
        frmDocument *one = s.open(s.home.write(QStringLiteral("one.html"), first));
        QVERIFY2(!sharesDescription(*one), "one page alone shares nothing");
        frmDocument *two = s.open(s.home.write(QStringLiteral("two.html"), second));
        QCOMPARE(sharesDescription(*one), shared);
        QCOMPARE(sharesDescription(*two), shared);
    }

    void sharingEndsWhenOneChangesOrCloses_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("one retyped") << false;
        QTest::newRow("one closed") << true;
    }

    void sharingEndsWhenOneChangesOrCloses()
    {
        QFETCH(bool, close);
        Scenario s;
        frmDocument *one = s.open(s.home.write(QStringLiteral("one.html"), described("Hand-made kites")));
        QPointer<frmDocument> two
            = s.open(s.home.write(QStringLiteral("two.html"), described("Hand-made kites")));
        frmDocument *three = s.open(s.home.write(QStringLiteral("three.html"), described("Box kites")));
        QVERIFY(sharesDescription(*one));
        QVERIFY(!sharesDescription(*three));
        if (close) {
            QVERIFY(qobject_cast<QMdiSubWindow *>(two->parentWidget())->close());
            QTRY_VERIFY(two.isNull());
        } else {
            QLineEdit *field = two->field(TextField::Description);
            field->setFocus();
            field->end(false);
            QTest::keyClicks(field, QStringLiteral(" for the beach"));
            QVERIFY(!sharesDescription(*two));
        }
        QVERIFY(!sharesDescription(*one));
        // And back: typed into the third, the same text is shared again.
        QLineEdit *field = three->field(TextField::Description);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("Hand-made kites"));
        QVERIFY(sharesDescription(*one));
        QVERIFY(sharesDescription(*three));
    }
};

QTEST_MAIN(TestSearchPreview)
#include "test_search_preview.moc"
