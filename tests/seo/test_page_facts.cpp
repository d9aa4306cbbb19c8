#include "EngineText.h"

#include "document/TextEncoding.h"
#include "seo/PageFacts.h"

#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

QString kindsOf(const PageFacts &page)
{
    QStringList kinds;
    for (const UnreadTag &tag : page.unreadTags) {
        switch (tag.kind) {
        case TagKind::Description:
            kinds << QStringLiteral("description");
            break;
        case TagKind::Keywords:
            kinds << QStringLiteral("keywords");
            break;
        case TagKind::Author:
            kinds << QStringLiteral("author");
            break;
        case TagKind::Robots:
            kinds << QStringLiteral("robots");
            break;
        case TagKind::ContentType:
            kinds << QStringLiteral("content-type");
            break;
        default:
            kinds << QStringLiteral("other");
        }
    }
    return kinds.join(QLatin1Char(','));
}

QString corpusFolder()
{
    return QString::fromLocal8Bit(qgetenv("TAGSMITH_CORPUS"));
}

} // namespace

class TestPageFacts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unreadTags_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("unread");
        QTest::newRow("canonical forms are read") << QByteArray(
            "<head><meta name=\"description\" content=\"x\"><META NAME=\"Keywords\" content='a, b'>"
            "<meta name=\"author\" content=\"me\"><meta name=\"robots\" content=\"noindex\">"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">")
                                                  << QString();
        QTest::newRow("content before name")
            << QByteArray("<meta content=\"x\" name=\"description\">") << QStringLiteral("description");
        QTest::newRow("single quotes")
            << QByteArray("<meta name='keywords' content='a'>") << QStringLiteral("keywords");
        QTest::newRow("spaces around equals")
            << QByteArray("<meta name = \"author\" content=\"a\">") << QStringLiteral("author");
        QTest::newRow("two spaces after meta")
            << QByteArray("<meta  name=\"robots\" content=\"noindex\">") << QStringLiteral("robots");
        QTest::newRow("newline after meta")
            << QByteArray("<meta\r\nname=\"description\" content=\"x\">") << QStringLiteral("description");
        QTest::newRow("unquoted") << QByteArray("<meta name=description content=x>")
                                  << QStringLiteral("description");
        QTest::newRow("name in capitals, spaced value")
            << QByteArray("<META content=\"x\" NAME=\" ROBOTS \">") << QStringLiteral("robots");
        QTest::newRow("content-type in another form")
            << QByteArray("<meta content=\"text/html; charset=utf-8\" http-equiv=\"content-type\">")
            << QStringLiteral("content-type");
        QTest::newRow("content-type unquoted")
            << QByteArray("<meta http-equiv=Content-Type content=\"text/html\">")
            << QStringLiteral("content-type");
        QTest::newRow("self-closing with slash")
            << QByteArray("<meta/name='author'/>") << QStringLiteral("author");
        QTest::newRow("several in page order")
            << QByteArray("<meta name='robots' content='x'>text<meta content='y' name='keywords'>")
            << QStringLiteral("robots,keywords");
        QTest::newRow("tags the program does not manage") << QByteArray(
            "<meta content=\"width=device-width\" name=\"viewport\"><meta name='generator' content='x'>"
            "<meta property='og:description' content='x'><meta http-equiv='refresh' content='5'>")
                                                          << QString();
        QTest::newRow("longer names are other tags")
            << QByteArray("<meta name='authorship' content='x'><meta name='description2'>") << QString();
        QTest::newRow("metadata is no meta tag") << QByteArray("<metadata name='description'>") << QString();
        QTest::newRow("name inside a quoted value")
            << QByteArray("<meta content=\" name='description' \">") << QString();
        QTest::newRow("truncated at the end of the page")
            << QByteArray("<head><meta name=\"description") << QStringLiteral("description");
        QTest::newRow("ends right after meta") << QByteArray("<meta") << QString();
        QTest::newRow("value without closing quote swallows the rest")
            << QByteArray("<meta content='x name=\"description\">") << QString();
        QTest::newRow("empty page") << QByteArray() << QString();
    }

    void unreadTags()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, unread);
        QCOMPARE(kindsOf(PageFacts::of(bytesOf(page))), unread);
    }

    void declaredCharset_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("charset");
        QTest::newRow("double quotes") << QByteArray("<meta charset=\"UTF-8\">") << QStringLiteral("UTF-8");
        QTest::newRow("capitals, no quotes") << QByteArray("<META CHARSET=utf-8>") << QStringLiteral("utf-8");
        QTest::newRow("single quotes, self-closing")
            << QByteArray("<meta charset='windows-1251'/>") << QStringLiteral("windows-1251");
        QTest::newRow("spaces around")
            << QByteArray("<meta charset = \" koi8-r \" >") << QStringLiteral("koi8-r");
        QTest::newRow("first one counts")
            << QByteArray("<meta charset=utf-8><meta charset=latin1>") << QStringLiteral("utf-8");
        QTest::newRow("content-type is not the charset attribute")
            << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">")
            << QString();
        QTest::newRow("charset outside a meta tag") << QByteArray("<script charset=\"utf-8\">") << QString();
        QTest::newRow("none") << QByteArray("<head><title>x</title>") << QString();
    }

    void declaredCharset()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, charset);
        QCOMPARE(textOf(PageFacts::of(bytesOf(page)).declaredCharset), charset);
    }

    void removedCharset_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("charset");
        QTest::newRow("canonical tag, UTF-8")
            << QByteArray("<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">")
            << QStringLiteral("utf-8");
        QTest::newRow("capitals, spaces and quotes in the value")
            << QByteArray("<HEAD><META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html;  CHARSET = 'Shift_JIS' ; x\">")
            << QStringLiteral("Shift_JIS");
        QTest::newRow("no charset parameter")
            << QByteArray("<head><meta http-equiv=\"content-type\" content=\"text/html\">") << QString();
        QTest::newRow("first removed tag counts")
            << QByteArray("<head><meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\">"
                          "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">")
            << QStringLiteral("iso-8859-1");
        QTest::newRow("a form the save keeps is not removed")
            << QByteArray("<head><meta content=\"text/html; charset=utf-8\" http-equiv=\"Content-Type\">")
            << QString();
        QTest::newRow("after the HEAD end tag nothing is removed")
            << QByteArray("<head></head><meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">")
            << QString();
        QTest::newRow("before the HEAD start tag it is")
            << QByteArray("<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\"><head>")
            << QStringLiteral("utf-8");
    }

    void removedCharset()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, charset);
        QCOMPARE(textOf(PageFacts::of(bytesOf(page)).removedCharset), charset);
    }

    void pageFacts_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<bool>("hasHead");
        QTest::addColumn<bool>("utf8WithNonAscii");
        QTest::newRow("ASCII page") << QByteArray("<html><head><title>x</title>") << true << false;
        QTest::newRow("UTF-8 accent") << QByteArray("<HEAD><title>Caf\xC3\xA9</title>") << true << true;
        QTest::newRow("non-ASCII at the very end") << QByteArray("<head>\xE2\x80\x94") << true << true;
        QTest::newRow("Windows-1252 accent") << QByteArray("<head><title>Caf\xE9</title>") << true << false;
        QTest::newRow("UTF-8 then a stray byte") << QByteArray("<head>\xC3\xA9 \xFF") << true << false;
        QTest::newRow("no head") << QByteArray("<html><body>\xC3\xA9") << false << true;
    }

    void pageFacts()
    {
        QFETCH(QByteArray, page);
        QFETCH(bool, hasHead);
        QFETCH(bool, utf8WithNonAscii);
        const PageFacts facts = PageFacts::of(bytesOf(page));
        QCOMPARE(facts.hasHead, hasHead);
        QCOMPARE(facts.utf8WithNonAscii, utf8WithNonAscii);
    }

    void unreadTagTellsWhereAndWhat_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("text");
        QTest::newRow("short tag on one line")
            << QByteArray("<head>\n<meta content=\"x\"\r\n name=\"author\">")
            << QStringLiteral("<meta content=\"x\"   name=\"author\">");
        QTest::newRow("Windows-1252 value decoded")
            << QByteArray("<head>\n<meta content='Caf\xE9' name='author'>")
            << QStringLiteral(u"<meta content='Café' name='author'>");
        QTest::newRow("long tag shortened")
            << QByteArray("<head>\n<meta content='" + QByteArray(200, 'x') + "' name='author'>")
            << QStringLiteral("<meta content='") + QString(105, QLatin1Char('x')) + QStringLiteral(u"…");
        QTest::newRow("shortened before a split character")
            << QByteArray("<head>\n<meta content='" + QByteArray(104, 'x') + "\xE2\x80\x94' name='author'>")
            << QStringLiteral("<meta content='") + QString(104, QLatin1Char('x')) + QStringLiteral(u"…");
    }

    void unreadTagTellsWhereAndWhat()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, text);
        const PageFacts facts = PageFacts::of(bytesOf(page));
        QCOMPARE(facts.unreadTags.size(), std::size_t(1));
        QCOMPARE(facts.unreadTags.front().offset, std::uint64_t(7));
        QCOMPARE(textOf(facts.unreadTags.front().text), text);
    }

    void manyBrokenTagsAreReadInLinearTime()
    {
        // Quadratic rescans of these would take hours, not the test's few seconds.
        QByteArray page = "<head>";
        for (int i = 0; i < 200000; ++i)
            page += "<meta content=\"x\" name='robots'>";
        QCOMPARE(PageFacts::of(bytesOf(page)).unreadTags.size(), std::size_t(200000));
        QByteArray neverClosed = "<head>";
        for (int i = 0; i < 1000000; ++i)
            neverClosed += "<meta name=robots x='<meta' ";
        QCOMPARE(PageFacts::of(bytesOf(neverClosed)).unreadTags.size(), std::size_t(1));
        const QByteArray unclosedQuote = "<head><meta content='" + QByteArray(20'000'000, '<') + "meta";
        QVERIFY(PageFacts::of(bytesOf(unclosedQuote)).unreadTags.empty());
    }

    void scrambledTagsRead()
    {
        // Pieces that make up managed tags, in random order, ends cut anywhere.
        const QList<QByteArray> pieces
            = { "<", "meta", "META", " ", "\n", "=", "\"", "'", ">", "/", "name", "content", "http-equiv",
                  "charset", "description", "robots", "content-type", "x", "\xC3\xA9", "\xE9", "\xE2\x80" };
        QRandomGenerator random(20261206);
        for (int round = 0; round < 20000; ++round) {
            QByteArray page;
            const int count = random.bounded(1, 80);
            for (int i = 0; i < count; ++i)
                page += pieces.at(random.bounded(pieces.size()));
            const PageFacts facts = PageFacts::of(bytesOf(page));
            for (const UnreadTag &tag : facts.unreadTags) {
                QVERIFY(tag.offset < std::uint64_t(page.size()));
                QCOMPARE(page.at(qsizetype(tag.offset)), '<');
                QVERIFY(TextEncoding::isValidUtf8(tag.text));
            }
            QVERIFY(TextEncoding::isValidUtf8(facts.declaredCharset));
        }
    }

    void corpusPagesRead()
    {
        const QString folder = corpusFolder();
        if (folder.isEmpty() || !QFileInfo::exists(folder))
            QSKIP("no corpus");
        int pages = 0;
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const PageFacts facts = PageFacts::of(bytesOf(bytes));
            for (const UnreadTag &tag : facts.unreadTags) {
                QVERIFY(tag.offset < std::uint64_t(bytes.size()));
                QCOMPARE(bytes.at(qsizetype(tag.offset)), '<');
                QVERIFY(TextEncoding::isValidUtf8(tag.text));
                // 120 bytes of the page, each at most three in UTF-8, and the ellipsis.
                QVERIFY(tag.text.size() <= 3 * 120 + 3);
            }
            QVERIFY(TextEncoding::isValidUtf8(facts.declaredCharset));
            ++pages;
        }
        QVERIFY(pages > 0);
    }
};

QTEST_MAIN(TestPageFacts)
#include "test_page_facts.moc"
