#include "Document.h"
#include "DocumentFile.h"
#include "DocumentWindow.h"
#include "SnippetPreview.h"
#include "TextWidth.h"
#include "WidthLimits.h"
#include "WarningLabel.h"
#include "WidthCounter.h"

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>

using TargetList = QList<WarningTarget>;

namespace {

// Liberation Sans draws every digit 1139/2048 em wide and a space 569/2048; ideographs, lacking
// from it, one em.
QString digits(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text.append(QChar(u'0' + i % 10));
    return text;
}

double width(const QString &text, double pixelSize)
{
    const QByteArray utf8 = text.toUtf8();
    return TextWidth::pixels(std::string_view(utf8.constData(), std::size_t(utf8.size())), pixelSize);
}

// A page with values of its own, so only the warnings under test show.
struct Window
{
    Window()
        : window(document)
    {
        showTitle({});
        document.setText(TextField::Description, QStringLiteral("Hand-made kites from the coast"));
        document.setText(TextField::Keywords, QStringLiteral("kites, lines"));
        document.setText(TextField::Author, QStringLiteral("Ann Author"));
        window.show();
    }
    void showTitle(const QString &title)
    {
        const QByteArray page = "<html><head><title>" + title.toUtf8() + "</title></head></html>";
        document.takeOpened(QStringLiteral("/site/kites.html"), DocumentFile::fromBytes(page));
    }
    TargetList warned() const
    {
        TargetList targets;
        for (const WarningTarget target : { WarningTarget::Description, WarningTarget::Keywords,
                 WarningTarget::Author, WarningTarget::Robots, WarningTarget::Charset }) {
            if (window.warningLabel(target).isVisibleTo(&window))
                targets.append(target);
        }
        return targets;
    }
    Document document;
    DocumentWindow window;
};

} // namespace

class TestSnippetPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The counters, and the preview that cuts where a result would.
    void countersAndPreviewFollowTheTexts_data()
    {
        QTest::addColumn<bool>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("hue"); // of the description's bar; -1 for none
        QTest::addColumn<QString>("limits"); // as the settings name them; the desktop's when empty
        QTest::newRow("nothing typed") << false << QString() << "0 / 920 px · short" << -1 << QString();
        QTest::newRow("first digit in range") << false << digits(48) << "374 / 920 px" << 137 << QString();
        QTest::newRow("last digit that fits") << false << digits(118) << "919 / 920 px · near the limit" << 40 << QString();
        QTest::newRow("one digit over") << false << digits(119) << "927 / 920 px · 7 px too wide" << 2 << QString();
        QTest::newRow("CJK over by width, not by count")
            << false << QString(66, QChar(0x6F22)) << "924 / 920 px · 4 px too wide" << 2 << QString();
        QTest::newRow("over, cut in words")
            << false << QStringLiteral("0123456789 ").repeated(12).chopped(1) << "977 / 920 px · 57 px too wide"
            << 2 << QString();
        QTest::newRow("title: last digit that fits") << true << digits(52) << "578 / 580 px · near the limit" << 0 << QString();
        QTest::newRow("title: one digit over") << true << digits(53) << "590 / 580 px · 10 px too wide" << 0 << QString();
        QTest::newRow("title: CJK one over") << true << QString(30, QChar(0x6F22)) << "600 / 580 px · 20 px too wide"
                                             << 0 << QString();
        QTest::newRow("phone: last digit that fits") << false << digits(87) << "677 / 680 px · near the limit" << 40
                                                     << "mobile";
        QTest::newRow("phone: one digit over") << false << digits(88) << "685 / 680 px · 5 px too wide" << 2 << "mobile";
        QTest::newRow("title over limits of its own") << true << digits(40) << "445 / 400 px · 45 px too wide" << 0
                                                      << "400,1000";
    }
    void countersAndPreviewFollowTheTexts()
    {
        QFETCH(bool, title);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(int, hue);
        QFETCH(QString, limits);
        Window w;
        const WidthLimits cutAt = limits.isEmpty() ? WidthLimits::desktop() : *WidthLimits::named(limits.toStdString());
        w.window.setWidthLimits(cutAt);
        if (title) {
            w.showTitle(text);
            QCOMPARE(w.window.titleWidth().text(), shown);
        } else {
            // Key by key, as a keyboard or an input method delivers them.
            QLineEdit *field = w.window.field(TextField::Description);
            field->setFocus();
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            for (const QChar c : text)
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
            WidthCounter &counter = w.window.descriptionWidth();
            QCOMPARE(counter.text(), shown);
            const QImage image = counter.grab().toImage();
            const QColor bar = image.pixelColor(3, image.height() / 2);
            QVERIFY2(hue < 0 ? bar.hsvSaturation() < 40
                             : bar.hsvSaturation() > 150 && qAbs(bar.hsvHue() - hue) <= 12,
                qPrintable(bar.name()));
        }
        // The preview follows every keystroke too.
        const SnippetPreview &preview = w.window.preview();
        const QString previewed = title ? preview.shownTitle() : preview.shownDescription().join(QString());
        const bool cut = shown.contains(QLatin1String("too wide"));
        QCOMPARE(previewed.endsWith(QChar(0x2026)), cut);
        QCOMPARE(previewed.chopped(cut ? 1 : 0), cut ? text.left(previewed.size() - 1) : text);
        QVERIFY(title ? width(previewed, TextWidth::kTitlePixelSize) <= cutAt.title
                      : width(previewed, TextWidth::kDescriptionPixelSize) <= cutAt.description);
        QVERIFY(preview.shownDescription().size() <= SnippetPreview::kMaxDescriptionLines);
        // Nothing more of the title would have fitted.
        if (title && cut)
            QVERIFY(width(text.left(previewed.size()) + QChar(0x2026), TextWidth::kTitlePixelSize) > cutAt.title);
    }

    // Qt takes a tip for rich text when it starts like a tag; a user must still read it as written.
    void toolTipShowsTagsAsWritten()
    {
        const QStringList messages { "<meta name=description> stays.", "Write &quot; or '." };
        WarningLabel label;
        label.setMessages(messages);
        QString tip = label.toolTip();
        if (Qt::mightBeRichText(tip)) {
            QTextDocument document;
            document.setHtml(tip);
            tip = document.toPlainText();
        }
        QCOMPARE(tip, messages.join(QLatin1Char('\n')));
    }
};

QTEST_MAIN(TestSnippetPreview)
#include "test_snippet_preview.moc"
