#include "resources/ProgramIcons.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

namespace {

const QString kNoTheme = QStringLiteral("tagsmith-no-such-theme");

// Pictures get compared as images, so a theme may never sneak in between.
void useNoTheme()
{
    QIcon::setThemeSearchPaths({});
    QIcon::setFallbackSearchPaths({});
    QIcon::setFallbackThemeName(kNoTheme);
    QIcon::setThemeName(kNoTheme);
}

QImage image16(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

struct Coverage
{
    int visible = 0;
    int colours = 0;
};

Coverage coverage(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    Coverage result;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb pixel = argb.pixel(x, y);
            if (qAlpha(pixel) > 0) {
                ++result.visible;
                colours.insert(pixel);
            }
        }
    }
    result.colours = static_cast<int>(colours.size());
    return result;
}

// A theme folder holding one flat-coloured icon under the given name.
bool writeTheme(const QString &root, const QString &theme, const QString &iconName, QColor colour)
{
    QDir dir(root);
    if (!dir.mkpath(theme + QStringLiteral("/16x16/actions")))
        return false;
    QFile index(dir.filePath(theme + QStringLiteral("/index.theme")));
    if (!index.open(QIODevice::WriteOnly))
        return false;
    index.write("[Icon Theme]\nName=" + theme.toUtf8()
        + "\nDirectories=16x16/actions\n\n[16x16/actions]\nSize=16\nType=Fixed\n");
    index.close();
    QImage flat(16, 16, QImage::Format_ARGB32);
    flat.fill(colour);
    return flat.save(
        dir.filePath(theme + QStringLiteral("/16x16/actions/") + iconName + QStringLiteral(".png")));
}

} // namespace

class TestProgramIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useNoTheme(); }
    void cleanup() { useNoTheme(); }

    void everyPictureShowsWithoutTheme_data()
    {
        QTest::addColumn<int>("number");
        const char *meanings[ProgramIcons::kPictureCount] = { "new", "open", "save", "standard author",
            "META element tags", "toolbar", "program settings", "help", "web page document", "web link",
            "exit", "properties", "undo", "cut", "copy", "paste", "copy META element tags", "program mark" };
        for (int number = 1; number <= ProgramIcons::kPictureCount; ++number)
            QTest::addRow("%d %s", number, meanings[number - 1]) << number;
    }
    void everyPictureShowsWithoutTheme()
    {
        QFETCH(int, number);
        const QIcon icon = ProgramIcons::picture(number);
        QVERIFY(!icon.isNull());
        for (const int side : { 16, 32 }) {
            const QPixmap pixmap = icon.pixmap(QSize(side, side));
            QCOMPARE(pixmap.size(), QSize(side, side));
            const Coverage seen = coverage(pixmap.toImage());
            // An eighth of the square at least (scissors and arrows are sparse), in shades
            // rather than one flat colour.
            QVERIFY2(seen.visible >= side * side / 8, qPrintable(QString::number(seen.visible)));
            QVERIFY2(seen.colours >= 3, qPrintable(QString::number(seen.colours)));
        }
    }

    void warningMarkShowsWithoutThemeAndStandsOut()
    {
        const QIcon icon = ProgramIcons::warning();
        for (const int side : { 16, 32 }) {
            const QPixmap pixmap = icon.pixmap(QSize(side, side));
            QCOMPARE(pixmap.size(), QSize(side, side));
            const Coverage seen = coverage(pixmap.toImage());
            QVERIFY2(seen.visible >= side * side / 4, qPrintable(QString::number(seen.visible)));
            QVERIFY2(seen.colours >= 3, qPrintable(QString::number(seen.colours)));
        }
        for (int number = 1; number <= ProgramIcons::kPictureCount; ++number)
            QVERIFY2(
                image16(icon) != image16(ProgramIcons::picture(number)), qPrintable(QString::number(number)));
    }

    void neighboursDiffer_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::newRow("new, open") << 1 << 2;
        QTest::newRow("open, save") << 2 << 3;
        QTest::newRow("cut, copy") << 14 << 15;
        QTest::newRow("copy, paste") << 15 << 16;
        QTest::newRow("paste, copy META") << 16 << 17;
        QTest::newRow("copy, copy META") << 15 << 17;
        QTest::newRow("copy META, undo") << 17 << 13;
        QTest::newRow("author, META tags") << 4 << 5;
        QTest::newRow("web link, help") << 10 << 8;
        QTest::newRow("status: modified, idle") << 8 << 9;
        QTest::newRow("status: idle, opening") << 9 << 2;
        QTest::newRow("menu: toolbar on, toolbar") << 5 << 6;
    }
    void neighboursDiffer()
    {
        QFETCH(int, left);
        QFETCH(int, right);
        QVERIFY(image16(ProgramIcons::picture(left)) != image16(ProgramIcons::picture(right)));
    }

    void noTwoPicturesAlike()
    {
        QList<QImage> seen;
        for (int number = 1; number <= ProgramIcons::kPictureCount; ++number) {
            const QImage image = image16(ProgramIcons::picture(number));
            for (qsizetype earlier = 0; earlier < seen.size(); ++earlier)
                QVERIFY2(image != seen[earlier],
                    qPrintable(QStringLiteral("%1 looks like %2").arg(number).arg(earlier + 1)));
            seen.append(image);
        }
    }

    void numbersOutsideListGiveNoPicture_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("zero, the list's own first index") << 0;
        QTest::newRow("one past the last") << ProgramIcons::kPictureCount + 1;
        QTest::newRow("minus one, no image") << -1;
        QTest::newRow("lowest int") << std::numeric_limits<int>::min();
        QTest::newRow("highest int") << std::numeric_limits<int>::max();
    }
    void numbersOutsideListGiveNoPicture()
    {
        QFETCH(int, number);
        QVERIFY(ProgramIcons::picture(number).isNull());
    }

    void themeIconWins_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("themeName");
        QTest::newRow("new") << 1 << QStringLiteral("document-new");
        QTest::newRow("cut") << 14 << QStringLiteral("edit-cut");
        QTest::newRow("exit") << 11 << QStringLiteral("application-exit");
        QTest::newRow("exit by its second name") << 11 << QStringLiteral("system-log-out");
        QTest::newRow("web link by its third name") << 10 << QStringLiteral("applications-internet");
        QTest::newRow("program mark by the program's name") << 18 << QStringLiteral("tagsmith");
    }
    void themeIconWins()
    {
        QFETCH(int, number);
        QFETCH(QString, themeName);
        const QColor marker(0xff, 0x00, 0xcc);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        // A theme of its own per row: the icon loader caches by theme name.
        const QString theme = QStringLiteral("tagsmith-test-%1").arg(++m_themeCount);
        QVERIFY(writeTheme(root.path(), theme, themeName, marker));
        QIcon::setThemeSearchPaths({ root.path() });
        QIcon::setThemeName(theme);

        QCOMPARE(image16(ProgramIcons::picture(number)).pixelColor(8, 8), marker);
    }

    void pictureWithoutThemeIconKeepsBundledOne()
    {
        const QImage bundled = image16(ProgramIcons::picture(15));
        QTemporaryDir root;
        QVERIFY(root.isValid());
        QVERIFY(writeTheme(
            root.path(), QStringLiteral("tagsmith-cut-only"), QStringLiteral("edit-cut"), Qt::magenta));
        QIcon::setThemeSearchPaths({ root.path() });
        QIcon::setThemeName(QStringLiteral("tagsmith-cut-only"));

        QCOMPARE(image16(ProgramIcons::picture(15)), bundled);
    }

    void bannersHaveTheirSizes_data()
    {
        QTest::addColumn<QPixmap>("banner");
        QTest::addColumn<QSize>("size");
        QTest::newRow("logo for the rebar band") << ProgramIcons::logo() << QSize(120, 24);
        QTest::newRow("splash") << ProgramIcons::splash() << QSize(400, 240);
    }
    void bannersHaveTheirSizes()
    {
        QFETCH(QPixmap, banner);
        QFETCH(QSize, size);
        QCOMPARE(banner.size(), size);
        const Coverage seen = coverage(banner.toImage());
        QVERIFY(seen.visible >= size.width() * size.height() / 10);
        QVERIFY(seen.colours >= 8);
    }

    void splashCarriesTitleAndVersion_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::newRow("title") << QRect(116, 72, 268, 40);
        QTest::newRow("version") << QRect(118, 116, 120, 22);
    }
    void splashCarriesTitleAndVersion()
    {
        QFETCH(QRect, area);
        const QImage painted = ProgramIcons::splash().toImage().copy(area);
        const QImage background = QImage(QStringLiteral(":/tagsmith/splash.png")).copy(area);
        QVERIFY(!background.isNull());
        int changed = 0;
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                changed += background.pixel(x, y) != painted.pixel(x, y) ? 1 : 0;
        QVERIFY2(changed >= 40, qPrintable(QString::number(changed)));
    }

private:
    int m_themeCount = 0;
};

QTEST_MAIN(TestProgramIcons)
#include "test_program_icons.moc"
