#include "MainWindowScenario.h"
#include "TypedText.h"
#include "TextBox.h"
#include "SnippetPreview.h"
#include "WarningLabel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>

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

bool warns(const DocumentWindow &document, WarningTarget target, WarningKind kind)
{
    bool found = false;
    for (const Warning &warning : document.warnings())
        found = found || (warning.kind == kind && warning.target == target);
    return found && document.warningLabel(target).isVisibleTo(&document);
}

bool sharesDescription(const DocumentWindow &document)
{
    return warns(document, WarningTarget::Description, WarningKind::DescriptionShared);
}

} // namespace

class TestSearchPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The title a save finds: someone's retitling on disk, or a new page's file name.
    void previewTitleFollowsTheSavedPage()
    {
        Scenario s;
        const QString path = s.home.write("shop.html", page("Kite Shop", {}));
        DocumentWindow *document = s.open(path);
        QCOMPARE(document->preview().shownTitle(), "Kite Shop");
        QCOMPARE(document->preview().shownPath(), document->document().path());
        s.home.write("shop.html", page("Kite & Line Shop", {}));
        QCOMPARE(document->preview().shownTitle(), "Kite Shop");
        // Saved over the retitled page, which keeps the new title.
        s.window->prompts().answerNext(QMessageBox::Save);
        s.save(document);
        QCOMPARE(s.window->prompts().shown().size(), 1);
        QCOMPARE(s.window->prompts().shown().first().kind, UserPrompts::Kind::ChangedOnDisk);
        QCOMPARE(document->preview().shownTitle(), "Kite & Line Shop");
        QCOMPARE(document->document().title(), "Kite & Line Shop");
        DocumentWindow *fresh = s.window->commands().newDocument();
        QCOMPARE(fresh->preview().shownTitle(), Document::kNewCaption);
        s.window->prompts().chooseFileNext(s.home.path() + "/fresh.html");
        s.window->commands().saveActive();
        QCOMPARE(fresh->document().path(), s.home.path() + "/fresh.html");
        QVERIFY2(fresh->document().title().isEmpty(), "a created page has an empty title");
        QCOMPARE(fresh->preview().shownTitle(), "fresh.html");
    }

    void openedPageWarnsOfUnreadTagsUntilRemoved_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<WarningTarget>("target");
        QTest::addColumn<bool>("inBody");
        QTest::newRow("single quotes")
            << QByteArray("<meta name='description' content='Old'>") << WarningTarget::Description << false;
        QTest::newRow("content first")
            << QByteArray("<meta content=\"kites\" name=\"keywords\">") << WarningTarget::Keywords << false;
        QTest::newRow("extra spaces")
            << QByteArray("<meta  name = \"author\"  content=\"Ann\">") << WarningTarget::Author << false;
        QTest::newRow("capitals")
            << QByteArray("<META CONTENT=\"noindex\" NAME=\"ROBOTS\">") << WarningTarget::Robots << false;
        QTest::newRow("in the body")
            << QByteArray("<meta name=\"description\" content=\"Body\">") << WarningTarget::Description << true;
        QTest::newRow("charset tag in the body")
            << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">")
            << WarningTarget::Charset << true;
    }

    void openedPageWarnsOfUnreadTagsUntilRemoved()
    {
        QFETCH(QByteArray, tag);
        QFETCH(WarningTarget, target);
        QFETCH(bool, inBody);
        const WarningKind kind = inBody ? WarningKind::OutsideHead : WarningKind::UnreadTagForm;
        Scenario s;
        const QByteArray placed = (inBody ? QByteArray("</head>\r\n<body>") : QByteArray()) + tag + "\r\n";
        const QString path = s.home.write("shop.html", page("Kite Shop", placed));
        DocumentWindow *document = s.open(path);
        QVERIFY(document);
        QVERIFY(warns(*document, target, kind));
        QVERIFY2(document->warningLabel(target).messages().join(QString()).contains(QString::fromUtf8(tag)),
            "the message quotes the tag as written");
        // A save leaves the tag where it is, and so stays the warning.
        s.save(document);
        QVERIFY(warns(*document, target, kind));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().count(tag), 1);
        // Removed by hand: saved over, the page is read again.
        s.home.write("shop.html", page("Kite Shop", {}));
        s.window->prompts().answerNext(QMessageBox::Save);
        s.save(document);
        QVERIFY(!warns(*document, target, kind));
    }

    // The META pane shows the charset tag a save would write, which follows the page's bytes,
    // and a page that declares another charset warns while the box is checked.
    void charsetTagFollowsThePage_data()
    {
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QString>("declared");
        QTest::addColumn<bool>("conflict");
        QTest::newRow("UTF-8 text") << QByteArray("Caf\xC3\xA9 des cerfs-volants") << "UTF-8" << false;
        QTest::newRow("Windows-1252 text") << QByteArray("Caf\xE9 des cerfs-volants") << "ISO-8859-1" << false;
        QTest::newRow("declares another charset")
            << QByteArray("Kites</title><meta charset=\"koi8-r\"><title>") << "ISO-8859-1" << true;
    }
    void charsetTagFollowsThePage()
    {
        QFETCH(QByteArray, title);
        QFETCH(QString, declared);
        QFETCH(bool, conflict);
        Scenario s;
        DocumentWindow *document = s.open(s.home.write("cafe.html", page(title, {})));
        QVERIFY(!s.window->metaText().text().contains(QStringLiteral("charset=")));
        QVERIFY(!warns(*document, WarningTarget::Charset, WarningKind::CharsetConflict));
        document->charsetBox()->click();
        QVERIFY2(s.window->metaText().text().contains(QStringLiteral("charset=") + declared),
            qPrintable(s.window->metaText().text()));
        QCOMPARE(warns(*document, WarningTarget::Charset, WarningKind::CharsetConflict), conflict);
        document->charsetBox()->click();
        QVERIFY(!warns(*document, WarningTarget::Charset, WarningKind::CharsetConflict));
    }

    // Pages open side by side that share a description warn, until one changes or closes.
    void descriptionSharedByOpenDocuments_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<bool>("shared");
        QTest::addColumn<bool>("close");
        QTest::newRow("only spacing differs, one retyped")
            << described("Hand-made  kites ") << described("Hand-made kites") << true << false;
        const QByteArray kites = described("Hand-made kites");
        QTest::newRow("one closed") << kites << kites << true << true;
        QTest::newRow("case differs") << kites << described("hand-made kites") << false << false;
        QTest::newRow("both without description") << page("Kite Shop", {}) << page("Kite Shop", {}) << false
                                                  << false;
    }

    void descriptionSharedByOpenDocuments()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, shared);
        QFETCH(bool, close);
        Scenario s;
        DocumentWindow *one = s.open(s.home.write("one.html", first));
        QVERIFY2(!sharesDescription(*one), "one page alone shares nothing");
        QPointer<DocumentWindow> two = s.open(s.home.write("two.html", second));
        DocumentWindow *three = s.open(s.home.write("three.html", described("Box kites")));
        QCOMPARE(sharesDescription(*one), shared);
        QCOMPARE(sharesDescription(*two), shared);
        QVERIFY(!sharesDescription(*three));
        if (!shared)
            return;
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
