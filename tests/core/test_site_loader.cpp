#include "TestHome.h"
#include "Unprivileged.h"

#include "PageAudit.h"
#include "PageWalk.h"
#include "SiteLoader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <numeric>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray pageWith(const QByteArray &title, const QByteArray &description)
{
    return "<html><head><title>" + title + "</title>\n<meta name=\"description\" content=\"" + description
        + "\">\n</head><body></body></html>\n";
}

bool makeLink(const QString &target, const QString &link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
}

// A site with everything a real folder throws at a reader.
QString makeSite(const TestHome &home)
{
    const QString root = home.path() + QStringLiteral("/site");
    home.write(QStringLiteral("site/index.html"), pageWith("Home", "The home page of a small bakery in the hills"));
    home.write(QStringLiteral("site/about.HTM"), pageWith("About", "About"));
    home.write(QStringLiteral("site/news/one.php"), pageWith("News &amp; more", ""));
    home.write(QStringLiteral("site/.drafts/hidden.html"), pageWith("Hidden", "never read"));
    home.write(QStringLiteral("site/.secret.html"), pageWith("Hidden", "never read"));
    home.write(QStringLiteral("site/notes.txt"), "not a page");
    home.write(QStringLiteral("site/binary.html"), QByteArray("\x00\xFF\xFE<head>\x00\x01", 10));
    home.write(QStringLiteral("site/nohead.html"), "<html><body>no head</body></html>");
    home.write(QStringLiteral("site/locked.html"), pageWith("Locked", "Only its owner reads it"));
    ::chmod(QFile::encodeName(root + QStringLiteral("/locked.html")).constData(), 0600);
    home.write(QStringLiteral("site/odd names/a \"quoted\" 'page'.html"), pageWith("Quotes", "Quoted"));
    home.write(QStringLiteral("site/odd names/line\nbreak.html"), pageWith("Break", "Broken name"));
    makeLink(root, root + QStringLiteral("/news/loop"));
    makeLink(root + QStringLiteral("/news"), root + QStringLiteral("/again"));
    for (const QString &folder : QStringList { root, root + QStringLiteral("/news"), root + QStringLiteral("/odd names"), home.path() })
        ::chmod(QFile::encodeName(folder).constData(), 0755);
    return root;
}

// One line per page, every field a row shows next to the audit's.
QString lineOf(const QString &path, bool ok, const QString &error, const std::string &title,
    const std::string &description, const std::string &keywords, const std::string &author, const std::string &robots,
    double titlePixels, double descriptionPixels, const std::vector<Warning> &warnings)
{
    QStringList kinds;
    for (const Warning &warning : warnings)
        kinds << QString::fromUtf8(PageWarnings::kindName(warning.kind));
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9|%10|%11")
        .arg(QString(path).replace(QLatin1Char('\n'), QStringLiteral("\\n")))
        .arg(ok)
        .arg(error, QString::fromStdString(title), QString::fromStdString(description),
            QString::fromStdString(keywords), QString::fromStdString(author), QString::fromStdString(robots))
        .arg(titlePixels)
        .arg(descriptionPixels)
        .arg(kinds.join(QLatin1Char(',')));
}

QStringList loaded(const QString &folder, int threads)
{
    SiteLoader loader;
    loader.setThreads(threads);
    QStringList lines;
    QObject::connect(&loader, &SiteLoader::pagesRead, [&](const QList<SitePage> &pages) {
        for (const SitePage &page : pages) {
            const MetaElementSet values = page.values();
            lines << lineOf(QDir(folder).filePath(page.path), page.ok, page.error, page.title,
                page.ok ? values.text(TextField::Description) : std::string(),
                page.ok ? values.text(TextField::Keywords) : std::string(),
                page.ok ? values.text(TextField::Author) : std::string(), page.ok ? values.robotsValue() : std::string(),
                page.titlePixels, page.descriptionPixels, page.warnings());
        }
    });
    QSignalSpy finished(&loader, &SiteLoader::finished);
    loader.start(folder);
    if (!finished.wait(30000))
        return { QStringLiteral("<never finished>") };
    lines.sort();
    return lines;
}

QStringList audited(const QString &folder)
{
    QStringList lines;
    PageWalk walk({ folder });
    while (const auto path = walk.next()) {
        const PageAudit page = PageAudit::read(*path, WidthLimits::desktop());
        lines << lineOf(page.path, page.ok, page.error, page.title, page.description, page.keywords, page.author,
            page.robots, page.titlePixels, page.descriptionPixels, page.warnings);
    }
    lines.sort();
    return lines;
}

} // namespace

class TestSiteLoader : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatTheAuditReads_data()
    {
        QTest::addColumn<int>("threads");
        QTest::addColumn<bool>("asNobody");
        QTest::newRow("one thread") << 1 << false;
        QTest::newRow("four threads") << 4 << false;
        QTest::newRow("a page it may not read") << 2 << true;
    }
    void readsWhatTheAuditReads()
    {
        QFETCH(int, threads);
        QFETCH(bool, asNobody);
        TestHome home;
        const QString root = makeSite(home);
        const auto both = [&]() -> QString {
            return loaded(root, threads).join(QLatin1Char('\n')) + QStringLiteral("\n=\n")
                + audited(root).join(QLatin1Char('\n'));
        };
        const QStringList halves = (asNobody ? runUnprivileged(both) : both()).split(QStringLiteral("\n=\n"));
        QCOMPARE(halves.size(), 2);
        QCOMPARE(halves[0], halves[1]);
        // Not two empty lists: the pages are the visible ones, each folder once, odd names whole.
        QStringList paths;
        for (const QString &line : halves[0].split(QLatin1Char('\n')))
            paths << line.section(QLatin1Char('|'), 0, 0).mid(root.size() + 1);
        const QStringList expected = { QStringLiteral("about.HTM"), QStringLiteral("binary.html"),
            QStringLiteral("index.html"), QStringLiteral("locked.html"), QStringLiteral("again/one.php"),
            QStringLiteral("nohead.html"), QStringLiteral("odd names/a \"quoted\" 'page'.html"),
            QStringLiteral("odd names/line\\nbreak.html") };
        for (const QString &path : expected)
            QVERIFY2(paths.contains(path), qPrintable(path));
        QCOMPARE(paths.size(), expected.size());
        const QString locked = halves[0].split(QLatin1Char('\n')).filter(QStringLiteral("/locked.html|")).value(0);
        QCOMPARE(locked.section(QLatin1Char('|'), 1, 1), asNobody ? QStringLiteral("0") : QStringLiteral("1"));
    }

    void cancelStopsTheLoad()
    {
        TestHome home;
        constexpr int kPages = 3000;
        for (int i = 0; i < kPages; ++i)
            home.write(QStringLiteral("site/p%1.html").arg(i), pageWith("Page", "A page among many"));
        SiteLoader loader;
        loader.setThreads(1);
        int rows = 0;
        bool cancelWhenAhead = true;
        connect(&loader, &SiteLoader::pagesRead, this, [&](const QList<SitePage> &pages) { rows += int(pages.size()); });
        // Cancelled once the walk has found far more pages than were read.
        connect(&loader, &SiteLoader::progress, this, [&](qint64 found, qint64 read) {
            if (cancelWhenAhead && found - read >= 100)
                loader.cancel();
        });
        QSignalSpy progress(&loader, &SiteLoader::progress);
        QSignalSpy finished(&loader, &SiteLoader::finished);
        loader.start(home.path() + QStringLiteral("/site"));
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toBool(), true);
        const qint64 found = progress.last().first().toLongLong();
        QVERIFY2(rows < found, qPrintable(QStringLiteral("%1 rows of %2 pages found").arg(rows).arg(found)));
        QVERIFY(!loader.isRunning());
        const int rowsAtCancel = rows;
        QTest::qWait(50);
        QCOMPARE(rows, rowsAtCancel);

        // A load after a cancelled one reads every page, in batches, and counts them all.
        cancelWhenAhead = false;
        rows = 0;
        QSignalSpy batches(&loader, &SiteLoader::pagesRead);
        QElapsedTimer clock;
        clock.start();
        loader.start(home.path() + QStringLiteral("/site"));
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.last().first().toBool(), false);
        QCOMPARE(rows, kPages);
        // The first rows at once, then at most one batch every 20 ms (and one more for a full one).
        QVERIFY2(batches.size() <= 3 + clock.elapsed() / 20,
            qPrintable(QStringLiteral("%1 batches in %2 ms").arg(batches.size()).arg(clock.elapsed())));
        QCOMPARE(progress.last(), (QList<QVariant> { qint64(kPages), qint64(kPages) }));
    }

    // Rows read while the window's thread was busy come in batches it can take in one short
    // turn each, all of them, and none twice.
    void batchesStaySmallWhenRowsPileUp_data()
    {
        QTest::addColumn<int>("busyMs");
        QTest::newRow("the window keeps up") << 0;
        QTest::newRow("the window busy while every page is read") << 1500;
    }
    void batchesStaySmallWhenRowsPileUp()
    {
        QFETCH(int, busyMs);
        constexpr int kPages = 4500;
        constexpr qsizetype kLargestBatch = 2000;
        TestHome home;
        for (int i = 0; i < kPages; ++i)
            home.write(QStringLiteral("site/%1/p%2.html").arg(i % 7).arg(i), pageWith("Page", "A page among many"));
        SiteLoader loader;
        loader.setThreads(2);
        QList<qsizetype> sizes;
        QSet<QString> paths;
        connect(&loader, &SiteLoader::pagesRead, this, [&](const QList<SitePage> &pages) {
            if (sizes.isEmpty())
                QThread::msleep(busyMs);
            sizes.append(pages.size());
            for (const SitePage &page : pages)
                paths.insert(page.path);
        });
        QSignalSpy finished(&loader, &SiteLoader::finished);
        loader.start(home.path() + QStringLiteral("/site"));
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(paths.size(), kPages);
        QCOMPARE(std::accumulate(sizes.cbegin(), sizes.cend(), qsizetype(0)), qsizetype(kPages));
        const qsizetype largest = *std::max_element(sizes.cbegin(), sizes.cend());
        QVERIFY2(largest <= kLargestBatch, qPrintable(QStringLiteral("a batch of %1 rows").arg(largest)));
    }

    // A load started again while the walk is ahead of the reading leaves nothing behind:
    // after three restarts the last load still reads every page.
    void restartingMidwayStillReadsEverything()
    {
        TestHome home;
        constexpr int kPages = 3000;
        for (int i = 0; i < kPages; ++i)
            home.write(QStringLiteral("site/p%1.html").arg(i), pageWith("Page", "A page among many"));
        const QString folder = home.path() + QStringLiteral("/site");
        SiteLoader loader;
        loader.setThreads(1);
        int rows = 0;
        int restarts = 0;
        connect(&loader, &SiteLoader::pagesRead, this, [&](const QList<SitePage> &pages) { rows += int(pages.size()); });
        connect(&loader, &SiteLoader::progress, this, [&](qint64 found, qint64 read) {
            if (restarts < 3 && found - read >= 200) {
                ++restarts;
                rows = 0;
                loader.start(folder);
            }
        });
        QSignalSpy finished(&loader, &SiteLoader::finished);
        loader.start(folder);
        QVERIFY(finished.wait(30000));
        QCOMPARE(restarts, 3);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(rows, kPages);
    }
};

QTEST_MAIN(TestSiteLoader)
#include "test_site_loader.moc"
