#include "EngineText.h"

#include "TextEncoding.h"
#include "PageFacts.h"
#include "PageWarnings.h"
#include "TextWidth.h"

#include <QDirIterator>
#include <QFile>
#include <QTest>

namespace {

PageFacts factsOf(const QByteArray &page)
{
    return PageFacts::of(bytesOf(page));
}

// What a page tells, one word or name=value a fact; "kinds" lists the unread tags.
QString told(const PageFacts &facts)
{
    QStringList parts;
    if (!facts.hasHead)
        parts << QStringLiteral("nohead");
    if (facts.charset.readAs == Encoding::Utf8 && facts.charset.keptNonAscii)
        parts << QStringLiteral("utf8");
    if (!facts.declaredCharset.empty())
        parts << QStringLiteral("declared=") + textOf(facts.declaredCharset);
    if (!facts.removedCharset.empty())
        parts << QStringLiteral("removed=") + textOf(facts.removedCharset);
    const std::pair<TagKind, const char *> names[] = { { TagKind::Description, "description" },
        { TagKind::Keywords, "keywords" }, { TagKind::Author, "author" }, { TagKind::Robots, "robots" },
        { TagKind::ContentType, "content-type" } };
    const auto name = [&](TagKind kind) {
        const auto named = std::find_if(std::begin(names), std::end(names), [&](auto n) { return n.first == kind; });
        return QLatin1String(named == std::end(names) ? "other" : named->second);
    };
    for (const UnreadTag &tag : facts.unreadTags)
        parts << QStringLiteral("unread=") + name(tag.kind);
    for (const UnreadTag &tag : facts.outsideTags)
        parts << QStringLiteral("outside=") + name(tag.kind);
    return parts.join(QLatin1Char(' '));
}

// Whatever the bytes, an unread tag points at its "<" and tells of it in valid UTF-8, shortened.
void checkSane(const QByteArray &page)
{
    const PageFacts facts = factsOf(page);
    for (const UnreadTag &tag : facts.unreadTags) {
        QVERIFY(tag.offset < std::uint64_t(page.size()));
        QCOMPARE(page.at(qsizetype(tag.offset)), '<');
        QVERIFY(TextEncoding::isValidUtf8(tag.text));
        QVERIFY(tag.text.size() <= 3 * 120 + 3);
    }
    QVERIFY(TextEncoding::isValidUtf8(facts.declaredCharset));
}

const QByteArray kPlainPage = "<html><head><title>Shop</title></head><body>Bread</body></html>";
// Wide enough to say something, short enough for a search result.
const QString kGood = QStringLiteral("Fresh bread daily, baked before dawn in our stone oven from local flour.");

// Keywords and author hold the description's text too: quotes and markup in any value are fine.
std::vector<Warning> warningsFor(const QByteArray &page, bool charset, const QString &text, bool shared = false,
    const WidthLimits &limits = WidthLimits::desktop())
{
    MetaElementSet values;
    values.setCharset(charset);
    for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author })
        values.setText(field, utf8Of(text));
    return PageWarnings::evaluate(PageFacts::of(bytesOf(page)), values, shared, limits);
}

// Digits are all as wide, so a run of them is as wide as asked, give or take one.
QString digitsAbout(double pixels)
{
    QString text;
    while (TextWidth::descriptionPixels(utf8Of(text + u'0')) <= pixels)
        text += QChar(char16_t(u'0' + text.size() % 10));
    return text;
}

} // namespace

class TestPageFacts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void facts_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("facts");
        const QByteArray head = "<head>";
        const QByteArray utf8Type = "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">";
        QTest::newRow("canonical forms are read")
            << head + "<meta name=\"description\" content=\"x\"><META NAME=\"Keywords\" content='a, b'>" + utf8Type
            << "removed=utf-8";
        QTest::newRow("content before name") << head + "<meta content=\"x\" name=\"description\">"
                                             << "unread=description";
        QTest::newRow("spaces around equals") << head + "<meta name = \"author\">" << "unread=author";
        QTest::newRow("unquoted, in page order") << head + "<meta name=robots><meta name=description content=x>"
                                                 << "unread=robots unread=description";
        QTest::newRow("self-closing with slash") << head + "<meta/name='author'/>" << "unread=author";
        QTest::newRow("content-type kept by a save is unread, not removed")
            << head + "<meta content=\"text/html; charset=utf-8\" http-equiv=\"Content-Type\">"
            << "declared=utf-8 unread=content-type";
        QTest::newRow("tags the program does not manage")
            << head + "<meta name=\"viewport\"><meta property='og:description'><meta http-equiv='refresh'>"
                      "<meta name='authorship'><metadata name='description'>" << "";
        QTest::newRow("value without closing quote swallows the rest")
            << head + "<meta content='x name=\"description\">" << "";
        QTest::newRow("truncated at the end of the page") << head + "<meta name=\"description" << "";
        QTest::newRow("declared charset, spaced") << head + "<meta charset = \" koi8-r \" >" << "declared=koi8-r";
        QTest::newRow("first declared charset counts") << head + "<META CHARSET=utf-8><meta charset='x'/>"
                                                       << "declared=utf-8";
        QTest::newRow("removed charset in capitals, spaced and quoted")
            << head + "<META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html;  CHARSET = 'Shift_JIS' ; x\">"
            << "removed=Shift_JIS";
        QTest::newRow("after the HEAD end: outside") << "<head></head>" + utf8Type << "outside=content-type";
        QTest::newRow("before the HEAD start: outside") << utf8Type + head << "outside=content-type";
        QTest::newRow("in the body, in any form: outside")
            << head + "</head><body><meta name=\"description\" content=\"x\"><meta content=y name=AUTHOR>"
            << "outside=description outside=author";
        QTest::newRow("in a comment: neither") << "<!-- <meta name=\"author\" content=\"x\"> -->" + head << "";
        QTest::newRow("no HEAD region at all: every one outside")
            << QByteArray("<header><meta name=\"keywords\" content=\"k\">") << "outside=keywords";
        QTest::newRow("non-ASCII UTF-8 at the very end") << head + "\xE2\x80\x94" << "utf8";
        QTest::newRow("UTF-8 then a stray byte") << head + "\xC3\xA9 \xFF" << "";
        QTest::newRow("no head") << QByteArray("<html><body>\xC3\xA9") << "nohead utf8";
    }
    void facts()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, facts);
        QCOMPARE(told(factsOf(page)), facts);
    }

    void unreadTagTellsWhereAndWhat_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<QString>("text");
        QTest::newRow("on one line, decoded") << QByteArray("<meta content='Caf\xE9'\r\n name='author'>")
                                              << QStringLiteral(u"<meta content='Café'   name='author'>");
        QTest::newRow("shortened before a split character")
            << QByteArray("<meta content='" + QByteArray(104, 'x') + "\xE2\x80\x94' name='author'>")
            << QStringLiteral("<meta content='") + QString(104, QLatin1Char('x')) + QStringLiteral(u"…");
    }
    void unreadTagTellsWhereAndWhat()
    {
        QFETCH(QByteArray, tag);
        QFETCH(QString, text);
        const PageFacts facts = factsOf("<head>\n" + tag);
        QCOMPARE(facts.unreadTags.size(), std::size_t(1));
        QCOMPARE(facts.unreadTags.front().offset, std::uint64_t(7));
        QCOMPARE(textOf(facts.unreadTags.front().text), text);
    }

    // Pages are searched sixteen bytes at a time: the tag must be found wherever the filler
    // before it puts it, across every block edge.
    void outsideTagFoundAfterAnyFiller_data()
    {
        QTest::addColumn<QByteArray>("filler");
        QTest::newRow("less-thans") << QByteArray("<");
        QTest::newRow("tags starting with m") << QByteArray("<mark><M>");
        QTest::newRow("declarations") << QByteArray("<!x>");
        QTest::newRow("comment holding a tag") << QByteArray("<!-- <meta name=\"robots\" content=\"x\"> -->");
        QTest::newRow("text") << QByteArray("m!m!");
    }
    void outsideTagFoundAfterAnyFiller()
    {
        QFETCH(QByteArray, filler);
        const QByteArray head = "<head></head>";
        for (int repeats = 0; repeats < 40; ++repeats) {
            const QByteArray before = head + filler.repeated(repeats);
            const PageFacts facts = factsOf(before + "<Meta name=\"robots\" content=\"x\">" + filler);
            QCOMPARE(facts.outsideTags.size(), std::size_t(1));
            QCOMPARE(facts.outsideTags.front().offset, std::uint64_t(before.size()));
        }
    }

    // Quadratic rescans of these would take hours, not the test's few seconds.
    void manyBrokenTagsAreReadInLinearTime()
    {
        QCOMPARE(factsOf("<head>" + QByteArray("<meta content=\"x\" name='robots'>").repeated(200000)).unreadTags.size(),
            std::size_t(200000));
        QCOMPARE(factsOf("<head>" + QByteArray("<meta name=robots x='<meta' ").repeated(1000000)).unreadTags.size(),
            std::size_t(0));
        QVERIFY(factsOf("<head><meta content='" + QByteArray(20'000'000, '<') + "meta").unreadTags.empty());
    }

    void corpusPagesRead()
    {
        const QString folder = QString::fromLocal8Bit(qgetenv("TAGSMITH_CORPUS"));
        if (folder.isEmpty() || !QFileInfo::exists(folder))
            QSKIP("no corpus");
        int pages = 0;
        for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++pages) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            checkSane(file.readAll());
            if (QTest::currentTestFailed())
                return qWarning("page: %s", qPrintable(file.fileName()));
        }
        QVERIFY(pages > 0);
    }
    void warnings_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<bool>("charset");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("shared");
        QTest::addColumn<QString>("warned");
        const QByteArray utf8Text = "<head><title>Caf\xC3\xA9</title>";
        const QByteArray utf8Type = "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">";
        const QByteArray isoType = "<head><meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\">";
        const QString none = textOf(MetaElementSet::noValueText(TextField::Description));
        QTest::newRow("nothing to say") << kPlainPage << true << kGood << false << "";
        QTest::newRow("charset on over UTF-8 text: it declares UTF-8") << utf8Text << true << kGood << false << "";
        QTest::newRow("charset off over UTF-8 text") << utf8Text << false << kGood << false << "";
        QTest::newRow("charset on over Windows-1252 text")
            << QByteArray("<head><title>Caf\xE9</title>") << true << kGood << false << "";
        QTest::newRow("charset on, page declares UTF-8 and holds it")
            << QByteArray("<head><meta charset=\"utf-8\">\xE2\x80\x94") << true << kGood << false << "";
        QTest::newRow("charset on, page declares UTF-8 but is ASCII")
            << QByteArray("<head><meta charset=\"utf-8\">") << true << kGood << false << "charset-conflict/charset";
        QTest::newRow("charset on, page declares another charset")
            << QByteArray("<head><meta charset=\"koi8-r\">") << true << kGood << false << "charset-conflict/charset";
        QTest::newRow("charset on, page declares ISO-8859-1")
            << QByteArray("<head><meta charset=\" ISO-8859-1 \">") << true << kGood << false << "";
        QTest::newRow("charset off drops the only UTF-8 declaration") << utf8Type << false << kGood << false
                                                                      << "charset-dropped/charset";
        QTest::newRow("charset off drops it, but <meta charset> stays")
            << utf8Type + "<meta charset=\"utf-8\">" << false << kGood << false << "";
        QTest::newRow("charset on replaces it") << isoType << true << kGood << false << "";
        QTest::newRow("unread description and content-type")
            << QByteArray("<head><meta content='x' name='description'><meta content=\"text/html\" "
                          "http-equiv=\"Content-Type\">")
            << false << kGood << false << "unread-tag-form/description unread-tag-form/charset";
        QTest::newRow("quotes and markup in values are fine")
            << kPlainPage << false << "The \"best\" <bread> & more, baked before dawn in our old stone oven" << false << "";
        QTest::newRow("managed tags outside the HEAD")
            << QByteArray("<head></head><body><meta name=\"robots\" content=\"noindex\"><meta name=\"keywords\">")
            << false << kGood << false << "outside-head/robots outside-head/keywords";
        QTest::newRow("single quotes are fine")
            << kPlainPage << false << "Jo's 'best' bread, baked before dawn in our old stone oven from local flour" << false << "";
        QTest::newRow("description blank") << kPlainPage << false << " \t\r\n" << false
                                           << "description-missing/description";
        QTest::newRow("description is the no-value text") << kPlainPage << false << none << false
                                                          << "description-placeholder/description";
        QTest::newRow("placeholder with an extra word is a value")
            << kPlainPage << false << none + QStringLiteral(" yet, though the page has plenty to say about bread and rolls")
            << false << "";
        QTest::newRow("description too short") << kPlainPage << false << "Bread" << false
                                               << "description-too-short/description";
        QTest::newRow("description too long") << kPlainPage << false << kGood + kGood + kGood << false
                                              << "description-too-long/description";
        QTest::newRow("too short and shared: both") << kPlainPage << false << "Bread" << true
                                                    << "description-too-short/description description-shared/description";
        const QString title = kGood.left(40);
        QTest::newRow("a title that only starts the description")
            << QByteArray("<head><title>" + title.toUtf8() + "</title>") << false << kGood << false << "";
        QTest::newRow("description is the title as a result shows it")
            << QByteArray("<head><title> Fresh   bread &amp; rolls, baked before dawn in our old stone oven from local flour \n</title>")
            << false << "Fresh bread & rolls, baked before dawn in our old stone oven from local flour" << false
            << "description-same-as-title/description";
        QTest::newRow("two description tags")
            << QByteArray("<head><meta name=\"description\" content=\"One\"><meta name=\"description\" content=\"Two\">")
            << false << kGood << false << "description-repeated/description";
        QTest::newRow("one description tag and one in the body")
            << QByteArray("<head><meta name=\"description\" content=\"One\"></head><meta name=\"description\" content=\"Two\">")
            << false << kGood << false << "outside-head/description";
        QTest::newRow("description shared") << kPlainPage << false << kGood << true
                                            << "description-shared/description";
        QTest::newRow("shared placeholder is only a placeholder") << kPlainPage << false << none << true
                                                                  << "description-placeholder/description";
        QTest::newRow("shared empty is only missing") << kPlainPage << false << "" << true
                                                      << "description-missing/description";
    }
    void warnings()
    {
        QFETCH(QByteArray, page);
        QFETCH(bool, charset);
        QFETCH(QString, description);
        QFETCH(bool, shared);
        QFETCH(QString, warned);
        QStringList parts;
        for (const Warning &warning : warningsFor(page, charset, description, shared)) {
            parts << textOf(PageWarnings::kindName(warning.kind)) + QLatin1Char('/')
                    + textOf(PageWarnings::targetName(warning.target));
            QVERIFY(warning.message.ends_with('.'));
        }
        QCOMPARE(parts.join(QLatin1Char(' ')), warned);
    }

    // Too long and too short are measured against the width limits set, a phone's or a desktop's.
    void descriptionSizeFollowsTheLimits_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("limits");
        QTest::addColumn<QString>("warned");
        const QString phoneLong = digitsAbout(700);
        const QString desktopShort = digitsAbout(300);
        QTest::newRow("700 px on a desktop") << phoneLong << "desktop" << "";
        QTest::newRow("700 px on a phone") << phoneLong << "mobile" << "description-too-long";
        QTest::newRow("300 px on a desktop") << desktopShort << "desktop" << "description-too-short";
        QTest::newRow("300 px on a phone") << desktopShort << "mobile" << "";
        QTest::newRow("300 px within limits of its own") << desktopShort << "500,600" << "";
        QTest::newRow("one digit past limits of its own") << digitsAbout(600) + u'0' << "500,600" << "description-too-long";
    }
    void descriptionSizeFollowsTheLimits()
    {
        QFETCH(QString, description);
        QFETCH(QString, limits);
        QFETCH(QString, warned);
        QStringList kinds;
        for (const Warning &warning :
            warningsFor(kPlainPage, false, description, false, *WidthLimits::named(limits.toStdString())))
            kinds << textOf(PageWarnings::kindName(warning.kind));
        QCOMPARE(kinds.join(u' '), warned);
    }

    void messagesNameWhatTheyAreAbout_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("needle");
        QTest::newRow("the dropped charset and the tag that keeps it")
            << QByteArray("<head><meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">")
            << "<meta charset=\"koi8-r\">";
        QTest::newRow("the unread tag as written") << QByteArray("<head><meta content='Bread' name='description'>")
                                                   << "<meta content='Bread' name='description'>";
        QTest::newRow("the tag outside the HEAD as written")
            << QByteArray("<head></head><meta name=\"description\" content=\"Body\">")
            << "<meta name=\"description\" content=\"Body\">";
    }
    void messagesNameWhatTheyAreAbout()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, needle);
        // The flag is on only where the page would conflict with it.
        const std::vector<Warning> warnings = warningsFor(page, page.contains("<meta charset"), kGood);
        QCOMPARE(warnings.size(), std::size_t(1));
        QVERIFY2(textOf(warnings.front().message).contains(needle), warnings.front().message.c_str());
    }
};

QTEST_MAIN(TestPageFacts)
#include "test_page_facts.moc"
