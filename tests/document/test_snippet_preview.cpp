#include "document/frmDocument.h"
#include "seo/PageFacts.h"
#include "seo/SnippetPreview.h"
#include "seo/TextWidth.h"
#include "seo/WarningLabel.h"
#include "seo/WidthCounter.h"

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>

using TargetList = QList<WarningTarget>;
Q_DECLARE_METATYPE(TargetList)
Q_DECLARE_METATYPE(WarningTarget)
Q_DECLARE_METATYPE(WidthCounter::Rating)

namespace {

constexpr WarningTarget kTargets[] = { WarningTarget::Description, WarningTarget::Keywords,
    WarningTarget::Author, WarningTarget::Robots, WarningTarget::Charset };

// Liberation Sans draws every digit 1139/2048 em wide: 7.786 px at 14 px, 11.12 px at 20 px.
QString digits(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text.append(QChar(u'0' + i % 10));
    return text;
}

// Ideographs are not in the font: a browser draws them one em wide.
QString ideographs(int count)
{
    return QString(count, QChar(0x6F22));
}

double engineWidth(const QString &text, double pixelSize)
{
    const QByteArray utf8 = text.toUtf8();
    return TextWidth::pixels(std::string_view(utf8.constData(), std::size_t(utf8.size())), pixelSize);
}

PageFacts factsOf(const QByteArray &page)
{
    return PageFacts::of(std::string_view(page.constData(), std::size_t(page.size())));
}

// A new document with a description of its own, so only the warnings under test show.
struct Window
{
    Window()
    {
        window.applyNewDefaults(QStringLiteral("Ann Author"), false);
        window.setText(TextField::Description, QStringLiteral("Hand-made kites from the coast"));
        window.setText(TextField::Keywords, QStringLiteral("kites, lines"));
        window.show();
    }

    TargetList warnedTargets() const
    {
        TargetList targets;
        for (const WarningTarget target : kTargets) {
            if (window.warningLabel(target).isVisibleTo(&window))
                targets.append(target);
        }
        return targets;
    }

    frmDocument window;
};

// Key by key, as a keyboard or an input method delivers them.
void type(QLineEdit *field, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(field, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Where the bar's filled part begins, as drawn.
QColor barColour(WidthCounter &counter)
{
    const QImage image = counter.grab().toImage();
    return image.pixelColor(3, image.height() / 2);
}

// The tool tip as a user reads it: Qt shows it as rich text when it looks like it.
QString shownToolTip(const QWidget &widget)
{
    const QString tip = widget.toolTip();
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}

} // namespace

class TestSnippetPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void descriptionCounterFollowsTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<WidthCounter::Rating>("rating");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("hue"); // of the bar; -1 for no bar
        QTest::newRow("nothing") << QString() << WidthCounter::Rating::Short << "0 / 920 px · short" << -1;
        QTest::newRow("short") << digits(10) << WidthCounter::Rating::Short << "78 / 920 px · short" << 40;
        QTest::newRow("last digit still short")
            << digits(47) << WidthCounter::Rating::Short << "366 / 920 px · short" << 40;
        QTest::newRow("first digit in range")
            << digits(48) << WidthCounter::Rating::Good << "374 / 920 px" << 137;
        QTest::newRow("within range") << digits(60) << WidthCounter::Rating::Good << "467 / 920 px" << 137;
        QTest::newRow("near the limit")
            << digits(113) << WidthCounter::Rating::NearLimit << "880 / 920 px · near the limit" << 40;
        QTest::newRow("last digit that fits")
            << digits(118) << WidthCounter::Rating::NearLimit << "919 / 920 px · near the limit" << 40;
        QTest::newRow("one digit over")
            << digits(119) << WidthCounter::Rating::OverLimit << "927 / 920 px · 7 px too wide" << 2;
        QTest::newRow("wide CJK within range")
            << ideographs(40) << WidthCounter::Rating::Good << "560 / 920 px" << 137;
        QTest::newRow("wide CJK over by width, not by count")
            << ideographs(66) << WidthCounter::Rating::OverLimit << "924 / 920 px · 4 px too wide" << 2;
    }

    void descriptionCounterFollowsTyping()
    {
        QFETCH(QString, typed);
        QFETCH(WidthCounter::Rating, rating);
        QFETCH(QString, shown);
        QFETCH(int, hue);
        Window w;
        QLineEdit *field = w.window.field(TextField::Description);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        type(field, typed);
        WidthCounter &counter = w.window.descriptionWidth();
        QCOMPARE(counter.rating(), rating);
        QCOMPARE(counter.text(), shown);
        const QColor bar = barColour(counter);
        if (hue < 0) {
            QVERIFY2(bar.hsvSaturation() < 40, qPrintable(bar.name()));
        } else {
            QVERIFY2(bar.hsvSaturation() > 150, qPrintable(bar.name()));
            QVERIFY2(qAbs(bar.hsvHue() - hue) <= 12, qPrintable(bar.name()));
        }
    }

    void titleCounterFollowsThePageTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<WidthCounter::Rating>("rating");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no title") << QString() << WidthCounter::Rating::Short << "0 / 580 px · short";
        QTest::newRow("within range") << digits(30) << WidthCounter::Rating::Good << "334 / 580 px";
        QTest::newRow("last digit that fits")
            << digits(52) << WidthCounter::Rating::NearLimit << "578 / 580 px · near the limit";
        QTest::newRow("one digit over")
            << digits(53) << WidthCounter::Rating::OverLimit << "590 / 580 px · 10 px too wide";
        QTest::newRow("CJK exactly at the limit")
            << ideographs(29) << WidthCounter::Rating::NearLimit << "580 / 580 px · near the limit";
        QTest::newRow("CJK one over")
            << ideographs(30) << WidthCounter::Rating::OverLimit << "600 / 580 px · 20 px too wide";
    }

    void titleCounterFollowsThePageTitle()
    {
        QFETCH(QString, title);
        QFETCH(WidthCounter::Rating, rating);
        QFETCH(QString, shown);
        Window w;
        w.window.setFilePath(QStringLiteral("/site/kites.html"));
        w.window.setPageTitle(title);
        QCOMPARE(w.window.titleWidth().rating(), rating);
        QCOMPARE(w.window.titleWidth().text(), shown);
    }

    void previewCutsWhereAResultWould_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("titleCut");
        QTest::addColumn<bool>("descriptionCut");
        QTest::newRow("both fit") << QStringLiteral("Kite Shop") << QStringLiteral("Hand-made kites") << false
                                  << false;
        QTest::newRow("title at its limit") << digits(52) << QStringLiteral("Kites") << false << false;
        QTest::newRow("title one digit over") << digits(53) << QStringLiteral("Kites") << true << false;
        QTest::newRow("CJK title over") << ideographs(30) << QStringLiteral("Kites") << true << false;
        QTest::newRow("description at its limit") << QStringLiteral("Kites") << digits(118) << false << false;
        QTest::newRow("description over, in words")
            << QStringLiteral("Kites")
            << QStringLiteral("Kites and lines for the beach, the park and the hill. ").repeated(4) << false
            << true;
        QTest::newRow("CJK description over") << QStringLiteral("Kites") << ideographs(70) << false << true;
    }

    void previewCutsWhereAResultWould()
    {
        QFETCH(QString, title);
        QFETCH(QString, description);
        QFETCH(bool, titleCut);
        QFETCH(bool, descriptionCut);
        Window w;
        w.window.setFilePath(QStringLiteral("/site/kites.html"));
        w.window.setPageTitle(title);
        w.window.setText(TextField::Description, description);
        const SnippetPreview &preview = w.window.preview();
        const QString shownTitle = preview.shownTitle();
        const QString shownDescription = preview.shownDescription().join(QString());
        QCOMPARE(shownTitle.endsWith(QChar(0x2026)), titleCut);
        QCOMPARE(shownDescription.endsWith(QChar(0x2026)), descriptionCut);
        QVERIFY(engineWidth(shownTitle, TextWidth::kTitlePixelSize) <= TextWidth::kTitleLimit);
        QVERIFY(
            engineWidth(shownDescription, TextWidth::kDescriptionPixelSize) <= TextWidth::kDescriptionLimit);
        QVERIFY(preview.shownDescription().size() <= SnippetPreview::kMaxDescriptionLines);
        QVERIFY2(title.startsWith(shownTitle.chopped(titleCut ? 1 : 0)), qPrintable(shownTitle));
        QVERIFY2(description.startsWith(shownDescription.chopped(descriptionCut ? 1 : 0)),
            qPrintable(shownDescription));
        if (titleCut) {
            // Nothing more of the title would have fitted.
            const QString longer = title.left(shownTitle.size()) + QChar(0x2026);
            QVERIFY(engineWidth(longer, TextWidth::kTitlePixelSize) > TextWidth::kTitleLimit);
        }
    }

    void previewFollowsEveryKeystroke()
    {
        Window w;
        QLineEdit *field = w.window.field(TextField::Description);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("Box kites"));
        QCOMPARE(w.window.preview().shownDescription(), QStringList { QStringLiteral("Box kites") });
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(w.window.preview().shownDescription(), QStringList { QStringLiteral("Box kite") });
    }

    void previewTitleOfANewDocumentIsItsCaption()
    {
        Window w;
        QCOMPARE(w.window.preview().shownTitle(), frmDocument::kNewCaption);
        w.window.setFilePath(QStringLiteral("/site/kites.html"));
        w.window.setDisplayPath(QStringLiteral("/site/kites.html"));
        QCOMPARE(w.window.preview().shownTitle(), QStringLiteral("kites.html"));
        QCOMPARE(w.window.preview().shownPath(), QStringLiteral("/site/kites.html"));
    }

    void toolTipShowsTagsAsWritten_data()
    {
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("a quoted tag") << QStringList { QStringLiteral("Add <meta charset=\"utf-8\"> by hand.") };
        QTest::newRow("a tag first, then an ampersand")
            << QStringList { QStringLiteral("<meta name=description> stays."), QStringLiteral("Write &quot; or '.") };
        QTest::newRow("plain words") << QStringList { QStringLiteral("The description is empty.") };
    }

    void toolTipShowsTagsAsWritten()
    {
        QFETCH(QStringList, messages);
        WarningLabel label;
        label.setMessages(messages);
        QCOMPARE(shownToolTip(label), messages.join(QLatin1Char('\n')));
    }

    void warningsShowBesideTheirField_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<TextField>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("charset");
        QTest::addColumn<WarningTarget>("target");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QString>("fixedText");
        const QByteArray ascii = "<html><head><title>Kites</title></head><body>Kites</body></html>";
        const QByteArray utf8
            = "<html><head><title>Cr\xC3\xAApes</title></head><body>\xC3\xA9t\xC3\xA9</body></html>";
        const QByteArray utf8Declared
            = "<html><head><meta charset=\"utf-8\"><title>Cr\xC3\xAApes</title></head></html>";
        QTest::newRow("quote in keywords") << ascii << TextField::Keywords << "kites, \"red\" lines" << false
                                           << WarningTarget::Keywords << 1 << "kites, red lines";
        QTest::newRow("quote in author") << ascii << TextField::Author << "Ann \"Kite\" Author" << false
                                         << WarningTarget::Author << 1 << "Ann Author";
        QTest::newRow("quote in description") << ascii << TextField::Description << "The \"best\" kites"
                                              << false << WarningTarget::Description << 1 << "The best kites";
        QTest::newRow("empty description")
            << ascii << TextField::Description << "" << false << WarningTarget::Description << 1 << "Kites";
        QTest::newRow("charset on over a UTF-8 page")
            << utf8 << TextField::Keywords << "kites" << true << WarningTarget::Charset << 1 << "kites";
        QTest::newRow("charset on over a page declaring UTF-8: two warnings together")
            << utf8Declared << TextField::Keywords << "kites" << true << WarningTarget::Charset << 2
            << "kites";
        QTest::newRow("charset on over an ASCII page warns of nothing")
            << ascii << TextField::Keywords << "kites" << true << WarningTarget::Charset << 0 << "kites";
    }

    void warningsShowBesideTheirField()
    {
        QFETCH(QByteArray, page);
        QFETCH(TextField, field);
        QFETCH(QString, text);
        QFETCH(bool, charset);
        QFETCH(WarningTarget, target);
        QFETCH(int, messages);
        QFETCH(QString, fixedText);
        Window w;
        w.window.setPageFacts(factsOf(page));
        QCOMPARE(w.warnedTargets(), TargetList {});
        w.window.setText(field, text);
        w.window.setCharset(charset);
        const WarningLabel &label = w.window.warningLabel(target);
        QCOMPARE(label.messages().size(), messages);
        QCOMPARE(w.warnedTargets(), messages > 0 ? TargetList { target } : TargetList {});
        if (messages > 0) {
            QCOMPARE(shownToolTip(label), label.messages().join(QLatin1Char('\n')));
            QCOMPARE(int(w.window.warnings().size()), messages);
        }
        // Fixed by the user: the warning goes at once.
        w.window.setText(field, fixedText);
        if (charset)
            w.window.charsetBox()->click();
        QCOMPARE(w.warnedTargets(), TargetList {});
        QVERIFY(label.messages().isEmpty());
    }

    void typedQuoteWarnsAtOnce()
    {
        Window w;
        QLineEdit *field = w.window.field(TextField::Keywords);
        field->setFocus();
        field->end(false);
        QTest::keyClick(field, Qt::Key_QuoteDbl);
        QCOMPARE(w.warnedTargets(), TargetList { WarningTarget::Keywords });
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(w.warnedTargets(), TargetList {});
    }

    void sharedDescriptionWarnsUntilNoLongerShared()
    {
        Window w;
        w.window.setDescriptionShared(true);
        QCOMPARE(w.warnedTargets(), TargetList { WarningTarget::Description });
        w.window.setDescriptionShared(false);
        QCOMPARE(w.warnedTargets(), TargetList {});
    }
};

QTEST_MAIN(TestSnippetPreview)
#include "test_snippet_preview.moc"
