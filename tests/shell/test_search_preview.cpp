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
        SettingsStore().SetValue("Version", "2.01a");
        window = std::make_unique<frmMain>();
        window->prompts().setScripted(true);
        window->show();
    }

    frmDocument *open(const QString &path)
    {
        window->OpenCommandLine({ path });
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

void type(QLineEdit *field, const QString &text, bool over)
{
    field->setFocus();
    if (over)
        field->selectAll();
    else
        field->end(false);
    QTest::keyClicks(field, text);
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
        QTest::newRow("title") << page("Kite Shop", {}) << "Kite Shop";
        QTest::newRow("non-ASCII decoded")
            << page("Caf\xC3\xA9 des cerfs-volants", {}) << QStringLiteral("Caf\u00e9 des cerfs-volants");
        QTest::newRow("no title: the file name") << page({}, {}) << "shop.html";
    }

    void previewTitleIsThePageTitle()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        Scenario s;
        frmDocument *document = s.open(s.home.write("site/shop.html", bytes));
        QVERIFY(document);
        QCOMPARE(document->preview().shownTitle(), title);
        QCOMPARE(document->preview().shownPath(), document->displayPath());
    }

    void previewTitleFollowsTheSavedPage()
    {
        Scenario s;
        const QString path = s.home.write("shop.html", page("Kite Shop", {}));
        frmDocument *document = s.open(path);
        QCOMPARE(document->preview().shownTitle(), "Kite Shop");
        // Someone renames the page on disk; the save keeps their title, and so does the preview.
        s.home.write("shop.html", page("Kite & Line Shop", {}));
        QCOMPARE(document->preview().shownTitle(), "Kite Shop");
        s.save(document);
        QVERIFY(s.window->prompts().shown().isEmpty());
        QCOMPARE(document->preview().shownTitle(), "Kite & Line Shop");
        QCOMPARE(document->pageTitle(), "Kite & Line Shop");
    }

    void newDocumentIsPreviewedByCaptionUntilSaved()
    {
        Scenario s;
        frmDocument *document = s.window->commands().New();
        QCOMPARE(document->preview().shownTitle(), frmDocument::kNewCaption);
        const QString path = s.home.path() + "/fresh.html";
        s.window->prompts().chooseFileNext(path);
        s.window->commands().Save();
        QCOMPARE(document->filePath(), path);
        QVERIFY2(document->pageTitle().isEmpty(), "a created page has an empty title");
        QCOMPARE(document->preview().shownTitle(), "fresh.html");
    }

    void openedPageWarnsOfUnreadTagsUntilRemoved_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<WarningTarget>("target");
        QTest::newRow("single quotes")
            << QByteArray("<meta name='description' content='Old'>") << WarningTarget::Description;
        QTest::newRow("content first")
            << QByteArray("<meta content=\"kites\" name=\"keywords\">") << WarningTarget::Keywords;
        QTest::newRow("extra spaces")
            << QByteArray("<meta  name = \"author\"  content=\"Ann\">") << WarningTarget::Author;
        QTest::newRow("capitals")
            << QByteArray("<META CONTENT=\"noindex\" NAME=\"ROBOTS\">") << WarningTarget::Robots;
    }

    void openedPageWarnsOfUnreadTagsUntilRemoved()
    {
        QFETCH(QByteArray, tag);
        QFETCH(WarningTarget, target);
        Scenario s;
        const QString path = s.home.write("shop.html", page("Kite Shop", tag + "\r\n"));
        frmDocument *document = s.open(path);
        QVERIFY(document);
        QVERIFY(warns(*document, target, WarningKind::UnreadTagForm));
        QVERIFY2(document->warningLabel(target).messages().join(QString()).contains(QString::fromUtf8(tag)),
            "the message quotes the tag as written");
        // A save leaves the tag where it is, and so stays the warning.
        s.save(document);
        QVERIFY(warns(*document, target, WarningKind::UnreadTagForm));
        // Removed by hand: the next save reads the page again.
        s.home.write("shop.html", page("Kite Shop", {}));
        s.save(document);
        QVERIFY(!warns(*document, target, WarningKind::UnreadTagForm));
    }

    void charsetWarningFollowsTheCheckBox()
    {
        Scenario s;
        const QString path
            = s.home.write("cafe.html", page("Caf\xC3\xA9 des cerfs-volants", {}));
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
        QTest::newRow("same") << described("Hand-made kites") << described("Hand-made kites") << true;
        QTest::newRow("only spacing differs")
            << described("Hand-made  kites ") << described("Hand-made kites") << true;
        QTest::newRow("case differs")
            << described("Hand-made kites") << described("hand-made kites") << false;
        QTest::newRow("both without description") << page("Kite Shop", {}) << page("Kite Shop", {}) << false;
    }

    void descriptionSharedByOpenDocuments()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, shared);
        Scenario s;
        frmDocument *one = s.open(s.home.write("one.html", first));
        QVERIFY2(!sharesDescription(*one), "one page alone shares nothing");
        frmDocument *two = s.open(s.home.write("two.html", second));
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
        frmDocument *one = s.open(s.home.write("one.html", described("Hand-made kites")));
        QPointer<frmDocument> two
            = s.open(s.home.write("two.html", described("Hand-made kites")));
        frmDocument *three = s.open(s.home.write("three.html", described("Box kites")));
        QVERIFY(sharesDescription(*one));
        QVERIFY(!sharesDescription(*three));
        if (close) {
            QVERIFY(qobject_cast<QMdiSubWindow *>(two->parentWidget())->close());
            QTRY_VERIFY(two.isNull());
        } else {
            type(two->field(TextField::Description), " for the beach", false);
            QVERIFY(!sharesDescription(*two));
        }
        QVERIFY(!sharesDescription(*one));
        // And back: typed into the third, the same text is shared again.
        type(three->field(TextField::Description), "Hand-made kites", true);
        QVERIFY(sharesDescription(*one));
        QVERIFY(sharesDescription(*three));
    }
};

QTEST_MAIN(TestSearchPreview)
#include "test_search_preview.moc"
