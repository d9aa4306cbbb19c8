#include "DeferredIconEngine.h"
#include "ProgramIcons.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Pictures are compared as images, so no desktop theme may sneak in between.
void useNoTheme()
{
    QIcon::setThemeSearchPaths({});
    QIcon::setFallbackSearchPaths({});
    QIcon::setFallbackThemeName(u"tagsmith-no-such-theme"_s);
    QIcon::setThemeName(u"tagsmith-no-such-theme"_s);
}

QImage image16(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Visible pixels and how many colours they use: a blank or flat picture fails both.
std::pair<int, int> coverage(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    int visible = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) > 0 && (++visible, true))
                colours.insert(argb.pixel(x, y));
    return { visible, int(colours.size()) };
}

// A theme folder holding one flat-coloured icon under the given name.
bool useTheme(const QString &root, const QString &theme, const QString &iconName, QColor colour)
{
    QDir dir(root);
    QFile index(dir.filePath(theme + u"/index.theme"_s));
    if (!dir.mkpath(theme + u"/16x16/actions"_s) || !index.open(QIODevice::WriteOnly))
        return false;
    index.write("[Icon Theme]\nName=" + theme.toUtf8()
        + "\nDirectories=16x16/actions\n\n[16x16/actions]\nSize=16\nType=Fixed\n");
    index.close();
    QImage flat(16, 16, QImage::Format_ARGB32);
    flat.fill(colour);
    QIcon::setThemeSearchPaths({ root });
    QIcon::setThemeName(theme);
    return flat.save(dir.filePath(theme + u"/16x16/actions/"_s + iconName + u".png"_s));
}

// Whatever one may ask of an icon, as a value to compare.
using IconQuestion = std::function<QVariant(const QIcon &)>;

// A picture in two sizes, red at 16 and blue at 32 pixels.
QIcon twoSizes()
{
    QIcon icon;
    for (const auto &[side, colour] : { std::pair { 16, Qt::red }, std::pair { 32, Qt::blue } }) {
        QPixmap pixmap(side, side);
        pixmap.fill(colour);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

Q_DECLARE_METATYPE(IconQuestion)

class TestProgramIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useNoTheme(); }
    void cleanup() { useNoTheme(); }

    void everyPictureShowsWithoutTheme_data()
    {
        QTest::addColumn<int>("number");
        for (int number = 0; number <= ProgramIcons::kPictureCount; ++number)
            QTest::addRow("%s %d", number ? "picture" : "warning mark", number) << number;
    }
    void everyPictureShowsWithoutTheme()
    {
        QFETCH(int, number);
        const QIcon icon = number ? ProgramIcons::picture(number) : ProgramIcons::warning();
        for (const int side : { 16, 32 }) {
            const QPixmap pixmap = icon.pixmap(QSize(side, side));
            QCOMPARE(pixmap.size(), QSize(side, side));
            // An eighth of the square at least (scissors and arrows are sparse), in shades.
            const auto [visible, colours] = coverage(pixmap.toImage());
            QVERIFY2(visible >= side * side / 8 && colours >= 3, qPrintable(u"%1 %2"_s.arg(visible).arg(colours)));
        }
    }

    void noTwoPicturesAlikeAndNoneOutsideTheList()
    {
        QList<QImage> seen { image16(ProgramIcons::warning()) };
        for (int number = 1; number <= ProgramIcons::kPictureCount; ++number) {
            const QImage image = image16(ProgramIcons::picture(number));
            const qsizetype twin = seen.indexOf(image);
            QVERIFY2(twin < 0, qPrintable(u"%1 looks like %2"_s.arg(number).arg(twin)));
            seen.append(image);
        }
        // Numbers outside the list give no picture.
        for (const int number : { 0, -1, ProgramIcons::kPictureCount + 1, std::numeric_limits<int>::min() })
            QVERIFY2(ProgramIcons::picture(number).isNull(), qPrintable(QString::number(number)));
    }

    // A theme icon under one of the picture's names wins over the bundled picture; one under
    // another picture's name leaves it alone.
    void themeIcon_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("themeName");
        QTest::addColumn<bool>("wins");
        QTest::newRow("new") << 1 << u"document-new"_s << true;
        QTest::newRow("exit by its second name") << 11 << u"system-log-out"_s << true;
        QTest::newRow("copy with only cut in the theme") << 15 << u"edit-cut"_s << false;
    }
    void themeIcon()
    {
        QFETCH(int, number);
        QFETCH(QString, themeName);
        QFETCH(bool, wins);
        const QImage bundled = image16(ProgramIcons::picture(number));
        QTemporaryDir root;
        // A theme of its own per row: the icon loader caches by theme name.
        QVERIFY(useTheme(root.path(), u"tagsmith-test-%1"_s.arg(++m_themes), themeName, QColor(0xff00cc)));
        const QImage shown = image16(ProgramIcons::picture(number));
        QCOMPARE(shown.pixelColor(8, 8) == QColor(0xff00cc), wins);
        QCOMPARE(shown == bundled, !wins);
    }

    // A deferred icon is made on the first question that needs its picture, once, and then
    // answers as the picture itself would; until then it counts as an icon that is there.
    void deferredIconIsMadeWhenFirstNeeded_data()
    {
        QTest::addColumn<IconQuestion>("question");
        const auto row = [](const char *name, IconQuestion question) { QTest::newRow(name) << question; };
        row("pixmap", [](const QIcon &i) { return QVariant(i.pixmap(QSize(32, 32)).toImage()); });
        row("pixmap at twice the scale", [](const QIcon &i) { return QVariant(i.pixmap(QSize(16, 16), 2.0).toImage()); });
        row("painted", [](const QIcon &i) {
            QImage canvas(20, 20, QImage::Format_ARGB32);
            canvas.fill(Qt::white);
            QPainter painter(&canvas);
            i.paint(&painter, QRect(2, 2, 16, 16));
            return QVariant(canvas);
        });
        row("actual size", [](const QIcon &i) { return QVariant(i.actualSize(QSize(64, 64))); });
        row("available sizes", [](const QIcon &i) { return QVariant::fromValue(i.availableSizes()); });
        row("name", [](const QIcon &i) { return QVariant(i.name()); });
        row("a copy changed after drawing", [](const QIcon &i) {
            i.pixmap(QSize(16, 16));
            QIcon copy = i;
            copy.setIsMask(true);
            return QVariant(copy.pixmap(QSize(16, 16)).toImage());
        });
    }
    void deferredIconIsMadeWhenFirstNeeded()
    {
        QFETCH(IconQuestion, question);
        int made = 0;
        const QIcon deferred(new DeferredIconEngine([&made] {
            ++made;
            return twoSizes();
        }));
        QVERIFY(!deferred.isNull());
        QCOMPARE(made, 0);
        const QVariant answer = question(deferred);
        QCOMPARE(made, 1);
        QCOMPARE(question(deferred), answer);
        QCOMPARE(made, 1);
        QCOMPARE(answer, question(twoSizes()));
    }

    // Once made, a deferred icon whose maker gave no picture is null like that picture.
    void deferredIconWithoutPictureIsNullOnceMade()
    {
        const QIcon deferred(new DeferredIconEngine([] { return QIcon(); }));
        QVERIFY(!deferred.isNull());
        QVERIFY(deferred.pixmap(QSize(16, 16)).isNull());
        QVERIFY(deferred.isNull());
    }

    void bannersArePainted()
    {
        for (const QPixmap &banner : { ProgramIcons::logo(), ProgramIcons::splash() }) {
            const auto [visible, colours] = coverage(banner.toImage());
            QVERIFY(visible >= banner.width() * banner.height() / 10 && colours >= 8);
        }
        // The build drew the title and version over the background it was given.
        const QImage painted = ProgramIcons::splash().toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage background
            = QImage(QStringLiteral(TAGSMITH_SPLASH_BACKGROUND)).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(painted.size(), background.size());
        int changed = 0;
        for (int y = 0; y < painted.height(); ++y)
            for (int x = 0; x < painted.width(); ++x)
                changed += painted.pixel(x, y) != background.pixel(x, y);
        QVERIFY2(changed >= 80, qPrintable(QString::number(changed)));
    }

private:
    int m_themes = 0;
};

QTEST_MAIN(TestProgramIcons)
#include "test_program_icons.moc"
