#include "TestHome.h"
#include "Unprivileged.h"

#include "Document.h"
#include "DocumentList.h"
#include "SiteFilterModel.h"
#include "SiteModel.h"
#include "TextChange.h"

#include <QDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TextChange)

namespace {

// Wide enough for no warning of its own.
const QByteArray kGood = "Fresh bread and pastries baked every morning in our village bakery since 1952.";

QByteArray pageWith(const QByteArray &title, const QByteArray &description, const QByteArray &more = {})
{
    return "<html>\n<head>\n<title>" + title + "</title>\n<meta name=\"description\" content=\"" + description
        + "\">\n" + more + "</head>\n<body></body>\n</html>\n";
}

struct PageFile
{
    QString name;
    QByteArray bytes;
};

// A model of the pages, read as the loader reads them, in the order given.
class Site
{
public:
    explicit Site(const QList<PageFile> &pages)
    {
        for (const PageFile &page : pages)
            m_home.write(QStringLiteral("site/") + page.name, page.bytes);
        ::chmod(QFile::encodeName(m_home.path()).constData(), 0777);
        ::chmod(QFile::encodeName(folder()).constData(), 0777);
        reload();
    }

    QString folder() const { return m_home.path() + QStringLiteral("/site"); }
    QString file(const QString &name) const { return folder() + QLatin1Char('/') + name; }
    QByteArray bytes(const QString &name) const { return readFile(file(name)); }

    void reload()
    {
        model.reset(folder());
        QList<SitePage> pages;
        for (const QString &name : QDir(folder()).entryList({ QStringLiteral("*.html") }, QDir::Files, QDir::Name))
            pages.append(SitePage::read(folder(), name, WidthLimits::desktop()));
        model.appendPages(pages);
    }

    int row(const QString &name) const { return model.rowOf(name); }
    QVariant value(const QString &name, int column, int role = Qt::EditRole) const
    {
        return model.index(row(name), column).data(role);
    }
    QStringList kindsOf(const QString &name) const
    {
        QStringList kinds;
        for (const Warning &warning : model.warnings(row(name)))
            kinds << QString::fromUtf8(PageWarnings::kindName(warning.kind));
        return kinds;
    }

    SiteModel model;

private:
    TestHome m_home;
};

QStringList shownPaths(const QAbstractItemModel &shown)
{
    QStringList paths;
    for (int row = 0; row < shown.rowCount(); ++row)
        paths << shown.index(row, SiteModel::PathColumn).data().toString();
    return paths;
}

QString outcomesOf(const QList<SiteModel::Outcome> &outcomes)
{
    QStringList lines;
    for (const SiteModel::Outcome &outcome : outcomes)
        lines << outcome.path + (outcome.result == SiteModel::Outcome::Result::Saved ? QStringLiteral(" saved")
                                                                                       : QStringLiteral(" refused"));
    return lines.join(QLatin1Char(','));
}

const Document::SaveSettings kSettings { QStringLiteral("2.01a"), true };

} // namespace

class TestSiteModel : public QObject
{
    Q_OBJECT

private slots:
    void sortsNumbersAsNumbers_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("ascending");
        // As text "110" sorts before "4.4" and "480" before "70".
        QTest::newRow("title widths") << int(SiteModel::TitlePixelsColumn)
                                      << QStringList { "b.html", "c.html", "a.html" };
        QTest::newRow("description widths") << int(SiteModel::DescriptionPixelsColumn)
                                            << QStringList { "a.html", "c.html", "b.html" };
        QTest::newRow("number of warnings") << int(SiteModel::WarningsColumn)
                                            << QStringList { "b.html", "a.html", "c.html" };
    }
    void sortsNumbersAsNumbers()
    {
        QFETCH(int, column);
        QFETCH(QStringList, ascending);
        // Warnings counted 0, 2 and 11: as text "11" sorts before "2".
        const QByteArray outside = "<meta name=\"keywords\" content=\"outside the head\">";
        QByteArray many = pageWith("Medium title", "Short", "<meta name=\"description\" content=\"Short\">\n");
        many.replace("<body>", QByteArray("<body>" + outside.repeated(9)));
        QByteArray two = pageWith("A much longer title than the others", "Short");
        two.replace("<body>", QByteArray("<body>" + outside));
        Site site({ { "a.html", two }, { "b.html", pageWith("i", kGood) }, { "c.html", many } });
        SiteFilterModel sorted;
        sorted.setSourceModel(&site.model);
        sorted.sort(column, Qt::AscendingOrder);
        QCOMPARE(shownPaths(sorted), ascending);
        sorted.sort(column, Qt::DescendingOrder);
        std::reverse(ascending.begin(), ascending.end());
        QCOMPARE(shownPaths(sorted), ascending);
    }

    void filters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("onlyWarnings");
        QTest::addColumn<QList<int>>("kinds");
        QTest::addColumn<QStringList>("shown");
        const QStringList all = { "good.html", "long.html", "missing.html", "repeat.html", "shared1.html",
            "shared2.html", "short.html", "title.html" };
        QTest::newRow("nothing asked") << QString() << false << QList<int> {} << all;
        QTest::newRow("text in a path") << "SHARED" << false << QList<int> {}
                                        << QStringList { "shared1.html", "shared2.html" };
        QTest::newRow("text in a title") << "welcome" << false << QList<int> {} << QStringList { "good.html" };
        QTest::newRow("text in a description") << "bakery" << false << QList<int> {}
                                               << QStringList { "good.html", "long.html", "title.html" };
        QTest::newRow("only with warnings") << QString() << true << QList<int> {}
                                            << all.mid(1);
        QTest::newRow("missing") << QString() << false << QList<int> { int(WarningKind::DescriptionMissing) }
                                 << QStringList { "missing.html" };
        QTest::newRow("too long") << QString() << false << QList<int> { int(WarningKind::DescriptionTooLong) }
                                  << QStringList { "long.html" };
        QTest::newRow("too short") << QString() << false << QList<int> { int(WarningKind::DescriptionTooShort) }
                                   << QStringList { "short.html" };
        QTest::newRow("shared") << QString() << false << QList<int> { int(WarningKind::DescriptionShared) }
                                << QStringList { "shared1.html", "shared2.html" };
        QTest::newRow("same as the title") << QString() << false
                                           << QList<int> { int(WarningKind::DescriptionSameAsTitle) }
                                           << QStringList { "title.html" };
        QTest::newRow("more than one tag") << QString() << false
                                           << QList<int> { int(WarningKind::DescriptionRepeated) }
                                           << QStringList { "repeat.html" };
        QTest::newRow("two kinds: either") << QString() << false
                                           << QList<int> { int(WarningKind::DescriptionMissing),
                                                  int(WarningKind::DescriptionTooShort) }
                                           << QStringList { "missing.html", "short.html" };
        QTest::newRow("a kind and a text") << "missing" << false
                                           << QList<int> { int(WarningKind::DescriptionTooShort) } << QStringList {};
    }
    void filters()
    {
        QFETCH(QString, text);
        QFETCH(bool, onlyWarnings);
        QFETCH(QList<int>, kinds);
        QFETCH(QStringList, shown);
        const QByteArray other = "Another page about something else entirely, which nobody else describes.";
        const QByteArray title = "Our bakery and its bread, baked fresh every single morning of the week";
        Site site({ { "good.html", pageWith("Welcome", kGood) }, { "long.html", pageWith("Long", kGood + kGood + kGood) },
            { "missing.html", "<html><head><title>Missing</title></head></html>" },
            { "repeat.html", pageWith("Repeat", other, "<meta name=\"description\" content=\" and more\">\n") },
            { "shared1.html", pageWith("One", "The same words on two pages, which tells searchers nothing new.") },
            { "shared2.html", pageWith("Two", "The same  words on two pages, which tells searchers nothing new. ") },
            { "short.html", pageWith("Short", "Too short") }, { "title.html", pageWith(title, title) } });
        SiteFilterModel filter;
        filter.setSourceModel(&site.model);
        filter.setText(text);
        filter.setOnlyWithWarnings(onlyWarnings);
        for (const int kind : kinds)
            filter.setKindShown(WarningKind(kind), true);
        filter.sort(SiteModel::PathColumn);
        QCOMPARE(shownPaths(filter), shown);
    }

    // Limits set while the site is open judge every row again: the rows read, the rows
    // edited and the rows still to come from pages read with the old limits.
    void newLimitsJudgeEveryRow_data()
    {
        QTest::addColumn<QString>("limits");
        QTest::addColumn<QStringList>("kinds"); // of each of the three rows
        QTest::addColumn<int>("tooLong"); // pages counted in the summary
        QTest::newRow("mobile: cut") << u"mobile"_s << QStringList { "description-too-long" } << 3;
        QTest::newRow("desktop: whole") << u"desktop"_s << QStringList() << 0;
        QTest::newRow("custom, very wide: bare") << u"580,3000"_s << QStringList { "description-too-short" } << 0;
    }
    void newLimitsJudgeEveryRow()
    {
        QFETCH(QString, limits);
        QFETCH(QStringList, kinds);
        QFETCH(int, tooLong);
        // Shown whole on a desktop, cut on a phone; each its own, so that none is shared.
        const auto longer = [](const QByteArray &where) -> QByteArray {
            return kGood + " Come early for warm rolls, stay for coffee in the " + where + '.';
        };
        Site t({ { u"a.html"_s, pageWith("Bakery", longer("garden")) }, { u"b.html"_s, pageWith("Cafe", kGood) },
            { u"c.html"_s, pageWith("Late", longer("yard")) } });
        t.model.reset(t.folder());
        t.model.appendPages({ SitePage::read(t.folder(), u"a.html"_s, WidthLimits::desktop()),
            SitePage::read(t.folder(), u"b.html"_s, WidthLimits::desktop()) });
        QVERIFY(t.model.setData(t.model.index(t.row(u"b.html"_s), SiteModel::DescriptionColumn),
            QString::fromUtf8(longer("court"))));
        int changedRows = 0;
        connect(&t.model, &QAbstractItemModel::dataChanged, this,
            [&](const QModelIndex &from, const QModelIndex &to) { changedRows += to.row() - from.row() + 1; });
        t.model.setWidthLimits(*WidthLimits::named(limits.toStdString()));
        QCOMPARE(changedRows, 2);
        t.model.appendPages({ SitePage::read(t.folder(), u"c.html"_s, WidthLimits::desktop()) });
        for (const QString &name : { u"a.html"_s, u"b.html"_s, u"c.html"_s })
            QCOMPARE(t.kindsOf(name), kinds);
        QCOMPARE(t.model.summary().warnings[std::size_t(WarningKind::DescriptionTooLong)], tooLong);
        // A new site is read with the limits it is given again.
        t.reload();
        QCOMPARE(t.kindsOf(u"a.html"_s), QStringList());
    }

    void summaryCountsPagesAndKinds()
    {
        Site site({ { "a.html", pageWith("A", "Short") }, { "b.html", pageWith("B", "Short") },
            { "c.html", pageWith("C", kGood) }, { "d.html", "<html><body>no head</body></html>" } });
        const SiteModel::Summary summary = site.model.summary();
        QCOMPARE(summary.pages, 4);
        QCOMPARE(summary.unreadable, 1);
        QCOMPARE(summary.withWarnings, 2);
        QCOMPARE(summary.warnings[std::size_t(WarningKind::DescriptionTooShort)], 2);
        QCOMPARE(summary.warnings[std::size_t(WarningKind::DescriptionShared)], 2);
        QCOMPARE(summary.warnings[std::size_t(WarningKind::DescriptionMissing)], 0);
        QCOMPARE(site.model.rowsSharingDescription(site.row("a.html")), (QList<int> { 0, 1 }));
        QCOMPARE(site.model.rowsSharingDescription(site.row("c.html")), QList<int> {});
    }

    void editsManyRowsAtOnce_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("robots");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QStringList>("kinds");
        QTest::addColumn<bool>("sharedDescription");
        const QString none = QString::fromUtf8(MetaElementSet::noValueText(TextField::Description));
        QTest::newRow("one description for both") << int(SiteModel::DescriptionColumn) << QVariant(QString::fromUtf8(kGood)) << int(Qt::EditRole)
                                                  << "noindex, nofollow" << QString::fromUtf8(kGood)
                                                  << QStringList { "description-shared" } << true;
        QTest::newRow("description emptied") << int(SiteModel::DescriptionColumn) << QVariant(QString()) << int(Qt::EditRole)
                                             << "noindex, nofollow" << ""
                                             << QStringList { "description-missing" } << false;
        QTest::newRow("description set to the placeholder")
            << int(SiteModel::DescriptionColumn) << QVariant(none) << int(Qt::EditRole) << "noindex, nofollow" << none
            << QStringList { "description-placeholder" } << false;
        const QStringList shortAndShared = { "description-too-short", "description-shared" };
        QTest::newRow("noimageindex ends noindex")
            << int(SiteModel::NoImageIndexColumn) << QVariant(true) << int(Qt::EditRole) << "nofollow, noimageindex" << "Short"
            << shortAndShared << true;
        QTest::newRow("noimageclick ends noindex")
            << int(SiteModel::NoImageClickColumn) << QVariant(true) << int(Qt::EditRole) << "nofollow, noimageclick" << "Short"
            << shortAndShared << true;
        QTest::newRow("nofollow off") << int(SiteModel::NoFollowColumn) << QVariant(false) << int(Qt::EditRole) << "noindex" << "Short"
                                      << shortAndShared << true;
        QTest::newRow("charset on by its check box")
            << int(SiteModel::CharsetColumn) << QVariant(int(Qt::Checked)) << int(Qt::CheckStateRole)
            << "noindex, nofollow" << "Short" << shortAndShared << true;
        QTest::newRow("keywords for both") << int(SiteModel::KeywordsColumn) << QVariant(u"bread, rolls"_s)
                                           << int(Qt::EditRole) << "noindex, nofollow" << "Short" << shortAndShared
                                           << true;
    }
    void editsManyRowsAtOnce()
    {
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(int, role);
        QFETCH(QString, robots);
        QFETCH(QString, description);
        QFETCH(QStringList, kinds);
        QFETCH(bool, sharedDescription);
        const QByteArray robotsTag = "<meta name=\"robots\" content=\"noindex, nofollow\">\n";
        Site site({ { "a.html", pageWith("A", "Short") }, { "b.html", pageWith("B", "Short") },
            { "c.html", pageWith("C", "Left alone") }, { "r.html", pageWith("R", "Short", robotsTag) } });
        const int untouched = site.row("c.html");
        QVERIFY(site.model.setDataOnRows({ site.row("a.html"), site.row("r.html") }, column, value, role));
        QVERIFY(site.value("r.html", 0, SiteModel::EditedRole).toBool());
        QCOMPARE(site.value("r.html", column, role), value);
        for (const QString name : { "a.html", "r.html" }) {
            QCOMPARE(site.value(name, SiteModel::DescriptionColumn).toString(), description);
            QCOMPARE(site.kindsOf(name), kinds);
            const double pixels = site.value(name, SiteModel::DescriptionPixelsColumn).toDouble();
            QCOMPARE(pixels > 0, MetaElementSet::hasValue(TextField::Description, description.toStdString()));
        }
        QCOMPARE(site.value("r.html", SiteModel::RobotsColumn).toString(), robots);
        QCOMPARE(site.model.isDescriptionShared(site.row("a.html")), sharedDescription);
        // b.html keeps "Short": shared as long as the edited rows keep it too.
        const bool keptShort = description == u"Short"_s;
        QCOMPARE(site.model.isDescriptionShared(site.row("b.html")), keptShort);
        QCOMPARE(site.model.rowsSharingDescription(site.row("b.html")).size(), keptShort ? 3 : 0);
        QVERIFY(!site.model.data(site.model.index(untouched, 0), SiteModel::EditedRole).toBool());
        QCOMPARE(site.value("c.html", SiteModel::DescriptionColumn).toString(), u"Left alone"_s);

        site.model.revertRow(site.row("a.html"));
        QVERIFY(!site.value("a.html", 0, SiteModel::EditedRole).toBool());
        QCOMPARE(site.value("a.html", SiteModel::DescriptionColumn).toString(), u"Short"_s);
        QCOMPARE(site.kindsOf("a.html"), (QStringList { "description-too-short", "description-shared" }));
        site.model.revertAll();
        QCOMPARE(site.model.summary().edited, 0);
        QCOMPARE(site.value("r.html", SiteModel::RobotsColumn).toString(), u"noindex, nofollow"_s);
    }

    void textChangeOverManyRows_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<TextChange>("change");
        QTest::addColumn<QStringList>("changed");
        QTest::addColumn<QStringList>("values"); // of a, b, c, d and e after the change
        const Qt::CaseSensitivity matchCase = Qt::CaseSensitive;
        const int description = SiteModel::DescriptionColumn;
        QTest::newRow("plain, case matched")
            << description << TextChange::replace("bread", "loaves", matchCase) << QStringList { "a.html", "e.html" }
            << QStringList { "Fresh loaves from the village bakery", "No description", "Cakes and Bread", "", "Pending loaves" };
        QTest::newRow("plain, any case")
            << description << TextChange::replace("bread", "loaves", Qt::CaseInsensitive)
            << QStringList { "a.html", "c.html", "e.html" }
            << QStringList { "Fresh loaves from the village bakery", "No description", "Cakes and loaves", "", "Pending loaves" };
        QTest::newRow("added after: a missing text becomes the addition alone")
            << description << TextChange::addAfter("!") << QStringList { "a.html", "b.html", "c.html", "e.html" }
            << QStringList { "Fresh bread from the village bakery!", "!", "Cakes and Bread!", "", "Pending bread!" };
        QTest::newRow("an expression that fills only what is missing")
            << description << TextChange::replaceMatches("^$", "Baked daily", matchCase) << QStringList { "b.html" }
            << QStringList { "Fresh bread from the village bakery", "Baked daily", "Cakes and Bread", "", "Pending bread" };
        QTest::newRow("emptied, and a missing text left untouched")
            << description << TextChange::replaceMatches(".+", "", matchCase) << QStringList { "a.html", "c.html", "e.html" }
            << QStringList { "", "No description", "", "", "" };
        QTest::newRow("a missing text given its own no-value text is still missing")
            << description << TextChange::replaceMatches("^$", "No description", matchCase) << QStringList {}
            << QStringList { "Fresh bread from the village bakery", "No description", "Cakes and Bread", "", "Pending bread" };
        QTest::newRow("keywords added before") << int(SiteModel::KeywordsColumn) << TextChange::addBefore("bakery, ")
                                               << QStringList { "a.html", "b.html", "c.html", "e.html" }
                                               << QStringList { "bakery, bread, rolls", "bakery, ", "bakery, ", "", "bakery, " };
        QTest::newRow("author with a group") << int(SiteModel::AuthorColumn)
                                             << TextChange::replaceMatches("^(Ann)\\b", "\\1a", matchCase)
                                             << QStringList { "c.html" }
                                             << QStringList { "No author", "No author", "Anna Baker", "", "No author" };
        QTest::newRow("an invalid expression changes nothing")
            << description << TextChange::replaceMatches("(bread", "loaves", matchCase) << QStringList {}
            << QStringList { "Fresh bread from the village bakery", "No description", "Cakes and Bread", "", "Pending bread" };
        QTest::newRow("not a text column") << int(SiteModel::TitleColumn) << TextChange::addAfter("!") << QStringList {}
                                           << QStringList { "A", "B", "C", "", "E" };
    }
    void textChangeOverManyRows()
    {
        QFETCH(int, column);
        QFETCH(TextChange, change);
        QFETCH(QStringList, changed);
        QFETCH(QStringList, values);
        const QStringList names { "a.html", "b.html", "c.html", "d.html", "e.html" };
        Site site({ { "a.html", pageWith("A", "Fresh bread from the village bakery", "<meta name=\"keywords\" content=\"bread, rolls\">\n") },
            { "b.html", "<html><head><title>B</title></head></html>" },
            { "c.html", pageWith("C", "Cakes and Bread", "<meta name=\"author\" content=\"Ann Baker\">\n") },
            { "d.html", "<html><body>no head</body></html>" }, { "e.html", pageWith("E", "Old words") } });
        site.model.setData(site.model.index(site.row("e.html"), SiteModel::DescriptionColumn), u"Pending bread"_s);
        QList<int> rows;
        QStringList before;
        for (const QString &name : names) {
            rows << site.row(name);
            before << site.value(name, column).toString();
        }

        const QList<SiteModel::ChangedText> preview = site.model.textChanges(rows, column, change);
        QCOMPARE(site.model.applyTextChange(rows, column, change), int(changed.size()));
        QStringList previewed;
        for (const SiteModel::ChangedText &text : preview) {
            previewed << text.path;
            QCOMPARE(text.before, before.at(names.indexOf(text.path)));
            QCOMPARE(text.after, site.value(text.path, column).toString());
        }
        QCOMPARE(previewed, changed);
        for (const QString &name : names) {
            QCOMPARE(site.value(name, column).toString(), values.at(names.indexOf(name)));
            const bool edited = changed.contains(name) || name == u"e.html"_s;
            QCOMPARE(site.value(name, 0, SiteModel::EditedRole).toBool(), edited);
        }
        // A description changed is measured and judged again, as any edit is.
        const QString a = site.value("a.html", SiteModel::DescriptionColumn).toString();
        QCOMPARE(site.value("a.html", SiteModel::DescriptionPixelsColumn).toDouble() > 0, !a.isEmpty());
        QCOMPARE(site.kindsOf("a.html").contains(u"description-missing"_s), a.isEmpty());
    }

    void aFailedPageLeavesTheOthersSaved()
    {
        Site site({ { "a.html", pageWith("A", "Old") }, { "b.html", pageWith("B", "Old") },
            { "c.html", pageWith("C", "Old") } });
        for (const QString name : { "a.html", "c.html" })
            ::chmod(QFile::encodeName(site.file(name)).constData(), 0666);
        ::chmod(QFile::encodeName(site.file("b.html")).constData(), 0444);
        site.reload();
        const QByteArray before = site.bytes("b.html");
        const QString report = runUnprivileged([&]() -> QString {
            site.model.setDataOnRows({ 0, 1, 2 }, SiteModel::DescriptionColumn, QString::fromUtf8(kGood));
            const QList<SiteModel::Outcome> outcomes = site.model.save(kSettings);
            return outcomesOf(outcomes) + QLatin1Char('|') + outcomes.value(1).reason + QLatin1Char('|')
                + site.value("b.html", SiteModel::StateColumn).toString() + QLatin1Char('|')
                + QString::number(site.model.summary().edited);
        });
        const QStringList parts = report.split(QLatin1Char('|'));
        QCOMPARE(parts.value(0), u"a.html saved,b.html refused,c.html saved"_s);
        QVERIFY2(parts.value(1).contains(u"Permission denied"_s), qPrintable(report));
        QCOMPARE(parts.value(2), parts.value(1));
        QCOMPARE(parts.value(3), u"1"_s);
        QCOMPARE(site.bytes("b.html"), before);
        for (const QString name : { "a.html", "c.html" })
            QVERIFY(site.bytes(name).contains(kGood));
    }

    void aPageChangedOnDiskIsNotOverwritten()
    {
        Site site({ { "a.html", pageWith("A", "Old") }, { "b.html", pageWith("B", "Old") } });
        QVERIFY(site.model.setDataOnRows({ 0, 1 }, SiteModel::KeywordsColumn, u"bread, rolls"_s));
        QTest::qWait(20);
        const QByteArray changed = pageWith("B", "Changed by someone else");
        QFile file(site.file("b.html"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(changed);
        file.close();
        const QList<SiteModel::Outcome> outcomes = site.model.save(kSettings);
        QCOMPARE(outcomesOf(outcomes), u"a.html saved,b.html refused"_s);
        QCOMPARE(site.bytes("b.html"), changed);
        QVERIFY(!QFile::exists(site.folder() + u"/b.bak"_s));
        QVERIFY(site.value("b.html", SiteModel::StateColumn).toString().contains(u"changed on disk"_s));
        QVERIFY(site.value("b.html", 0, SiteModel::EditedRole).toBool());
        QCOMPARE(site.value("b.html", SiteModel::KeywordsColumn).toString(), u"bread, rolls"_s);
        QVERIFY(!site.value("a.html", 0, SiteModel::EditedRole).toBool());
        QVERIFY(site.bytes("a.html").contains("content=\"bread, rolls\""));
    }

    void undoPutsTheLastSaveBack_data()
    {
        QTest::addColumn<bool>("touchAfterSave");
        QTest::addColumn<QString>("outcomes");
        QTest::newRow("both pages as saved") << false << "a.html saved,b.html saved";
        QTest::newRow("one page changed since") << true << "a.html saved,b.html refused";
    }
    void undoPutsTheLastSaveBack()
    {
        QFETCH(bool, touchAfterSave);
        QFETCH(QString, outcomes);
        const QByteArray a = pageWith("A", "Old").replace("\n", "\r\n");
        const QByteArray b = pageWith("B", "Caf\xE9 old");
        Site site({ { "a.html", a }, { "b.html", b } });
        QVERIFY(!site.model.canUndoLastSave());
        site.model.setDataOnRows({ 0, 1 }, SiteModel::DescriptionColumn, QString::fromUtf8(kGood));
        const QList<SiteModel::Outcome> saved = site.model.save(kSettings);
        QCOMPARE(outcomesOf(saved), u"a.html saved,b.html saved"_s);
        QCOMPARE(saved[0].backupPath, site.folder() + u"/a.bak"_s);
        QVERIFY(site.bytes("a.html") != a);
        const QByteArray other = pageWith("B", "Someone else's words");
        if (touchAfterSave) {
            QTest::qWait(20);
            QFile file(site.file("b.html"));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(other);
        }
        QVERIFY(site.model.canUndoLastSave());
        QCOMPARE(outcomesOf(site.model.undoLastSave()), outcomes);
        QVERIFY(!site.model.canUndoLastSave());
        QCOMPARE(site.bytes("a.html"), a);
        QCOMPARE(site.bytes("b.html"), touchAfterSave ? other : b);
        QCOMPARE(site.value("a.html", SiteModel::DescriptionColumn).toString(), u"Old"_s);
        // The row knows the page as it is again: an edit now saves over the restored page.
        site.model.setData(site.model.index(0, SiteModel::AuthorColumn), u"Ann"_s);
        QCOMPARE(outcomesOf(site.model.save(kSettings)), u"a.html saved"_s);
    }

    void aDryRunShowsTheDiffAndWritesNothing()
    {
        Site site({ { "a.html", pageWith("A", "Old") }, { "b.html", pageWith("B", "Old") } });
        site.model.setData(site.model.index(0, SiteModel::DescriptionColumn), u"New words"_s);
        site.model.setData(site.model.index(1, SiteModel::DescriptionColumn), u"Old"_s);
        const QByteArray before = site.bytes("a.html");
        const QList<SiteModel::Preview> previews = site.model.preview(kSettings);
        QCOMPARE(previews.size(), 1);
        QCOMPARE(previews[0].path, u"a.html"_s);
        QVERIFY2(previews[0].diff.startsWith("--- a/a.html\n+++ b/a.html\n"), previews[0].diff.constData());
        QVERIFY(previews[0].diff.contains("\n-<meta name=\"description\" content=\"Old\">\n"));
        QVERIFY(previews[0].diff.contains("content=\"New words\">"));
        QCOMPARE(site.bytes("a.html"), before);
        QVERIFY(!QFile::exists(site.folder() + u"/a.bak"_s));
    }

    void takesEditsFromATable_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("bareValue");
        QTest::addColumn<QString>("describedValue");
        QTest::addColumn<int>("edited");
        QTest::addColumn<QString>("refused");
        const QString noKeywords = u"No, keywords"_s;
        QTest::newRow("a text for the page without one") << QByteArray("path,description\nbare.html,Rye bread\n")
                                                          << int(SiteModel::DescriptionColumn) << u"Rye bread"_s
                                                          << QString::fromUtf8(kGood) << 1 << QString();
        QTest::newRow("no value for a page without one: untouched")
            << QByteArray("path,keywords\nbare.html,\ndescribed.html,\"No, keywords\"\n") << int(SiteModel::KeywordsColumn)
            << noKeywords << noKeywords << 0 << QString();
        QTest::newRow("an empty cell empties a value held") << QByteArray("path,description\ndescribed.html,\n")
                                                            << int(SiteModel::DescriptionColumn)
                                                            << u"No description"_s << QString() << 1 << QString();
        QTest::newRow("the value held: no edit") << "path,description\ndescribed.html," + kGood + "\n"
                                                 << int(SiteModel::DescriptionColumn) << u"No description"_s
                                                 << QString::fromUtf8(kGood) << 0 << QString();
        QTest::newRow("robots words") << QByteArray("path,robots\nbare.html,noindex\n") << int(SiteModel::NoIndexColumn)
                                      << u"true"_s << u"false"_s << 1 << QString();
        QTest::newRow("a page the table lacks") << QByteArray("path,author\nbare.html,Ann\nmissing.html,Bob\n")
                                                << int(SiteModel::AuthorColumn) << u"Ann"_s << u"No author"_s << 1
                                                << u"missing.html: not in the table"_s;
    }
    void takesEditsFromATable()
    {
        QFETCH(QByteArray, csv);
        QFETCH(int, column);
        QFETCH(QString, bareValue);
        QFETCH(QString, describedValue);
        QFETCH(int, edited);
        QFETCH(QString, refused);
        Site site({ { "bare.html", "<html><head><title>Bare</title></head></html>" },
            { "described.html", pageWith("Described", kGood) } });
        const SiteTableCsv::Import read = SiteTableCsv::importTable(csv, site.folder());
        QVERIFY(read.errors.isEmpty());
        const SiteModel::Import taken = site.model.takeEdits(read.edits);
        QCOMPARE(taken.edited, edited);
        QCOMPARE(taken.refused.join(u'|'), refused);
        QCOMPARE(site.value("bare.html", column).toString(), bareValue);
        QCOMPARE(site.value("described.html", column).toString(), describedValue);
        QCOMPARE(site.model.summary().edited, edited);
    }

    // A table exported and imported as it is edits nothing, whatever the pages hold.
    void anExportImportsAsNoEdit()
    {
        Site site({ { "bare.html", "<html><head><title>Bare</title></head></html>" },
            { "described.html", pageWith("Described", kGood, "<meta name=\"robots\" content=\"noindex\">\n") },
            { "unreadable.html", QByteArray("\0\1binary", 8) } });
        site.model.setData(site.model.index(site.row("described.html"), SiteModel::AuthorColumn), u"Ann"_s);
        QList<SitePageRow> rows;
        for (int row = 0; row < site.model.rowCount(); ++row)
            rows.append(site.model.tableRow(row));
        const SitePageRow bare = rows[site.row("bare.html")];
        QVERIFY(bare.description.isEmpty() && bare.keywords.isEmpty() && bare.author.isEmpty());
        QVERIFY(bare.warnings.contains(WarningKind::DescriptionMissing));
        const SitePageRow described = rows[site.row("described.html")];
        QCOMPARE(described.description, QString::fromUtf8(kGood));
        QCOMPARE(described.author, u"Ann"_s);
        QCOMPARE(described.robots, u"noindex"_s);
        QCOMPARE(described.warnings, QList<WarningKind>());

        const SiteTableCsv::Import read
            = SiteTableCsv::importTable(SiteTableCsv::exportTable(rows), site.folder());
        QVERIFY(read.errors.isEmpty());
        const SiteModel::Import taken = site.model.takeEdits(read.edits);
        QCOMPARE(taken.edited, 0);
        QCOMPARE(taken.refused.size(), 1);
        QVERIFY2(taken.refused[0].startsWith(u"unreadable.html: "_s), qPrintable(taken.refused[0]));
        QCOMPARE(site.model.summary().edited, 1);
    }

    void anOpenDocumentAndItsRowShareValues()
    {
        Site site({ { "a.html", pageWith("A", "Old") }, { "b.html", pageWith("B", "Old") } });
        DocumentList documents;
        site.model.attach(documents);
        auto opened = std::make_unique<Document>();
        opened->takeOpened(site.file("a.html"), DocumentFile::open(site.file("a.html"), DocumentFile::Facts::Take));
        Document *document = documents.add(std::move(opened));

        site.model.setData(site.model.index(0, SiteModel::KeywordsColumn), u"from the row"_s);
        QCOMPARE(document->text(TextField::Keywords), u"from the row"_s);
        QVERIFY(document->isModified());

        document->setText(TextField::Author, u"from the window"_s);
        QCOMPARE(site.value("a.html", SiteModel::AuthorColumn).toString(), u"from the window"_s);
        QCOMPARE(site.value("a.html", SiteModel::KeywordsColumn).toString(), u"from the row"_s);

        QVERIFY(document->save(document->path(), kSettings).ok);
        QVERIFY(!site.value("a.html", 0, SiteModel::EditedRole).toBool());
        QCOMPARE(site.value("a.html", SiteModel::AuthorColumn).toString(), u"from the window"_s);
        // The row holds the page as the window wrote it: saving from the site is no conflict.
        site.model.setData(site.model.index(0, SiteModel::DescriptionColumn), u"Newer"_s);
        QCOMPARE(outcomesOf(site.model.save(kSettings)), u"a.html saved"_s);
        QCOMPARE(document->text(TextField::Description), u"Newer"_s);
        QVERIFY(!document->isModified());
        QCOMPARE(document->diskChange(), Document::DiskChange::Unchanged);
        QVERIFY(!site.value("b.html", 0, SiteModel::EditedRole).toBool());
    }
};

QTEST_MAIN(TestSiteModel)
#include "test_site_model.moc"
