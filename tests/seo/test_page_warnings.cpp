#include "EngineText.h"

#include "seo/PageWarnings.h"

#include <QSet>
#include <QTest>

namespace {

// "kind/target" for each warning, in order.
QString summaryOf(const std::vector<Warning> &warnings)
{
    QStringList parts;
    for (const Warning &warning : warnings)
        parts << textOf(PageWarnings::kindName(warning.kind)) + QLatin1Char('/') + textOf(PageWarnings::targetName(warning.target));
    return parts.join(QLatin1Char(' '));
}

const QByteArray kPlainPage = "<html><head><title>Shop</title></head><body>Bread</body></html>";
const QString kGoodDescription = QStringLiteral("Fresh bread daily");

} // namespace

class TestPageWarnings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void warnings_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<bool>("charset");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("keywords");
        QTest::addColumn<QString>("author");
        QTest::addColumn<bool>("shared");
        QTest::addColumn<QString>("expected");

        const QString good = kGoodDescription;
        QTest::newRow("nothing to say")
            << kPlainPage << false << good << QString() << QString() << false << QString();

        QTest::newRow("charset on over UTF-8 text")
            << QByteArray("<head><title>Caf\xC3\xA9</title>") << true << good << QString() << QString()
            << false << QStringLiteral("charset-mismatch/charset");
        QTest::newRow("charset off over UTF-8 text")
            << QByteArray("<head><title>Caf\xC3\xA9</title>") << false << good << QString() << QString()
            << false << QString();
        QTest::newRow("charset on over ASCII")
            << kPlainPage << true << good << QString() << QString() << false << QString();
        QTest::newRow("charset on over Windows-1252 text")
            << QByteArray("<head><title>Caf\xE9</title>") << true << good << QString() << QString() << false
            << QString();

        QTest::newRow("charset on, page declares UTF-8")
            << QByteArray("<head><meta charset=\"utf-8\">") << true << good << QString() << QString() << false
            << QStringLiteral("charset-conflict/charset");
        QTest::newRow("charset on, page declares UTF-8 and holds it")
            << QByteArray("<head><meta charset=\"utf-8\">\xE2\x80\x94") << true << good << QString()
            << QString() << false << QStringLiteral("charset-mismatch/charset charset-conflict/charset");
        QTest::newRow("charset on, page declares ISO-8859-1")
            << QByteArray("<head><meta charset=\" ISO-8859-1 \">") << true << good << QString() << QString()
            << false << QString();
        QTest::newRow("charset on, page declares windows-1252")
            << QByteArray("<head><meta charset=Windows-1252>") << true << good << QString() << QString()
            << false << QString();
        QTest::newRow("charset on, page declares latin1")
            << QByteArray("<head><meta charset=latin1>") << true << good << QString() << QString() << false
            << QString();
        QTest::newRow("charset off, page declares UTF-8")
            << QByteArray("<head><meta charset=\"utf-8\">") << false << good << QString() << QString()
            << false << QString();

        const QByteArray utf8ContentType
            = "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">";
        QTest::newRow("charset off drops the only UTF-8 declaration")
            << utf8ContentType << false << good << QString() << QString() << false
            << QStringLiteral("charset-dropped/charset");
        QTest::newRow("charset off drops it, but <meta charset> stays")
            << utf8ContentType + "<meta charset=\"utf-8\">" << false << good << QString() << QString() << false
            << QString();
        QTest::newRow("charset off drops the ISO-8859-1 declaration")
            << QByteArray("<head><meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\">")
            << false << good << QString() << QString() << false << QStringLiteral("charset-dropped/charset");
        QTest::newRow("charset on replaces the ISO-8859-1 declaration")
            << QByteArray("<head><meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\">")
            << true << good << QString() << QString() << false << QString();

        QTest::newRow("unread description")
            << QByteArray("<head><meta content='x' name='description'>") << false << good << QString()
            << QString() << false << QStringLiteral("unread-tag-form/description");
        QTest::newRow("unread keywords, author and robots")
            << QByteArray("<head><meta name = keywords><meta  name=\"author\"><meta name='robots'>") << false
            << good << QString() << QString() << false
            << QStringLiteral("unread-tag-form/keywords unread-tag-form/author unread-tag-form/robots");
        QTest::newRow("unread content-type")
            << QByteArray("<head><meta content=\"text/html\" http-equiv=\"Content-Type\">") << false << good
            << QString() << QString() << false << QStringLiteral("unread-tag-form/charset");
        QTest::newRow("canonical tags are replaced, no warning")
            << QByteArray("<head><META name=\"description\" content=\"x\">"
                          "<meta http-equiv=\"content-type\" content=\"text/html\">")
            << false << good << QString() << QString() << false << QString();

        QTest::newRow("quote in description")
            << kPlainPage << false << QStringLiteral("The \"best\" bread") << QString() << QString() << false
            << QStringLiteral("quote-in-value/description");
        QTest::newRow("quote in keywords and author")
            << kPlainPage << false << good << QStringLiteral("bread, \"rye\"")
            << QStringLiteral("Jo \"JJ\" Smith") << false
            << QStringLiteral("quote-in-value/keywords quote-in-value/author");
        QTest::newRow("single quotes are fine")
            << kPlainPage << false << QStringLiteral("Jo's 'best' bread") << QStringLiteral("Jo's")
            << QStringLiteral("O'Brien") << false << QString();

        QTest::newRow("description empty") << kPlainPage << false << QString() << QString() << QString()
                                           << false << QStringLiteral("description-missing/description");
        QTest::newRow("description blank")
            << kPlainPage << false << QStringLiteral(" \t\r\n") << QString() << QString() << false
            << QStringLiteral("description-missing/description");
        QTest::newRow("description of one letter")
            << kPlainPage << false << QStringLiteral("x") << QString() << QString() << false << QString();
        QTest::newRow("description is the no-value text")
            << kPlainPage << false << textOf(MetaElementSet::noValueText(TextField::Description)) << QString()
            << QString() << false << QStringLiteral("description-placeholder/description");
        QTest::newRow("description is the new-document text")
            << kPlainPage << false << textOf(MetaElementSet::newDocumentText(TextField::Description))
            << QString() << QString() << false << QStringLiteral("description-placeholder/description");
        QTest::newRow("placeholder with an extra word is a value")
            << kPlainPage << false
            << textOf(MetaElementSet::noValueText(TextField::Description)) + QStringLiteral(" yet")
            << QString() << QString() << false << QString();
        QTest::newRow("description shared") << kPlainPage << false << good << QString() << QString() << true
                                            << QStringLiteral("description-shared/description");
        QTest::newRow("shared placeholder is only a placeholder")
            << kPlainPage << false << textOf(MetaElementSet::noValueText(TextField::Description)) << QString()
            << QString() << true << QStringLiteral("description-placeholder/description");
        QTest::newRow("shared empty is only missing")
            << kPlainPage << false << QString() << QString() << QString() << true
            << QStringLiteral("description-missing/description");
    }

    void warnings()
    {
        QFETCH(QByteArray, page);
        QFETCH(bool, charset);
        QFETCH(QString, description);
        QFETCH(QString, keywords);
        QFETCH(QString, author);
        QFETCH(bool, shared);
        QFETCH(QString, expected);
        MetaElementSet values;
        values.setCharset(charset);
        values.setText(TextField::Description, utf8Of(description));
        values.setText(TextField::Keywords, utf8Of(keywords));
        values.setText(TextField::Author, utf8Of(author));
        const std::vector<Warning> warnings
            = PageWarnings::evaluate(PageFacts::of(bytesOf(page)), values, shared);
        QCOMPARE(summaryOf(warnings), expected);
        for (const Warning &warning : warnings) {
            QVERIFY(!warning.message.empty());
            QCOMPARE(warning.message.back(), '.');
        }
    }

    void messagesNameWhatTheyAreAbout_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("needle");
        QTest::newRow("the conflicting charset")
            << QByteArray("<meta charset=\"koi8-r\">") << QStringLiteral("koi8-r");
        QTest::newRow("the dropped charset and the tag that keeps it")
            << QByteArray("<head><meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">")
            << QStringLiteral("<meta charset=\"koi8-r\">");
        QTest::newRow("the unread tag as written")
            << QByteArray("<meta content='Bread' name='description'>")
            << QStringLiteral("<meta content='Bread' name='description'>");
    }

    void messagesNameWhatTheyAreAbout()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, needle);
        MetaElementSet values;
        // The flag is on only where the page would conflict with it.
        values.setCharset(page.contains("<meta charset"));
        values.setText(TextField::Description, utf8Of(kGoodDescription));
        const std::vector<Warning> warnings
            = PageWarnings::evaluate(PageFacts::of(bytesOf(page)), values, false);
        QCOMPARE(warnings.size(), std::size_t(1));
        QVERIFY2(textOf(warnings.front().message).contains(needle), warnings.front().message.c_str());
    }

    void kindNamesAreDistinctLowerCaseWords()
    {
        const std::array kinds = { WarningKind::CharsetMismatch, WarningKind::CharsetConflict,
            WarningKind::CharsetDropped, WarningKind::UnreadTagForm, WarningKind::QuoteInValue, WarningKind::DescriptionMissing,
            WarningKind::DescriptionPlaceholder, WarningKind::DescriptionShared };
        QSet<QString> names;
        for (const WarningKind kind : kinds) {
            const QString name = textOf(PageWarnings::kindName(kind));
            QVERIFY2(!name.isEmpty() && name == name.toLower() && !name.contains(QLatin1Char(' ')),
                qPrintable(name));
            names.insert(name);
        }
        QCOMPARE(names.size(), qsizetype(kinds.size()));
    }
};

QTEST_MAIN(TestPageWarnings)
#include "test_page_warnings.moc"
