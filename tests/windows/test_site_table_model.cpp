// How the site table shows a page's texts: the page's own value as it is, a text that writes
// no tag as an empty cell offering its placeholder in grey italics, and a text a person
// emptied as plainly empty; the editor still starts from the text a save would use.

#include "TestHome.h"

#include "PlaceholderItemDelegate.h"
#include "SiteModel.h"
#include "SiteTableModel.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QStyleOptionViewItem>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kFullPage = "<html><head><title>Bakery</title>\n"
                             "<meta name=\"description\" content=\"Bread baked every morning in our village bakery.\">\n"
                             "<meta name=\"keywords\" content=\"bread, cakes\">\n"
                             "<meta name=\"author\" content=\"Ada Baker\">\n"
                             "</head><body></body></html>\n";
const QByteArray kBarePage = "<html><head><title>Hours</title></head><body></body></html>\n";

// What a cell draws, as the table's delegate prepares it.
class DrawnCell : public PlaceholderItemDelegate
{
public:
    DrawnCell()
        : PlaceholderItemDelegate(SiteTableModel::PlaceholderRole)
    {
    }
    QStyleOptionViewItem option(const QModelIndex &index) const
    {
        QStyleOptionViewItem option;
        initStyleOption(&option, index);
        return option;
    }
};

// A site of one page, read as the loader reads it.
struct OnePageSite
{
    explicit OnePageSite(const QByteArray &bytes)
    {
        home.write(u"site/page.html"_s, bytes);
        site.reset(home.path() + u"/site"_s);
        site.appendPages({ SitePage::read(site.folder(), u"page.html"_s, WidthLimits::desktop()) });
    }
    TestHome home;
    SiteModel site;
};

} // namespace

class TestSiteTableModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textsWithoutATagStayApartFromValues_data()
    {
        QTest::addColumn<bool>("bare"); // the page has no description, keywords or author tag
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("editedColumn"); // -1: no edit
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // DisplayRole
        QTest::addColumn<QString>("drawn"); // the text the cell draws
        QTest::addColumn<QString>("editorText"); // EditRole
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("bold");

        const int keywords = SiteModel::KeywordsColumn;
        const int author = SiteModel::AuthorColumn;
        const int description = SiteModel::DescriptionColumn;
        QTest::newRow("the page's keywords") << false << keywords << -1 << QString() << u"bread, cakes"_s
                                             << u"bread, cakes"_s << u"bread, cakes"_s << false << false;
        QTest::newRow("no keywords tag") << true << keywords << -1 << QString() << QString() << u"No, keywords"_s
                                         << u"No, keywords"_s << true << false;
        QTest::newRow("no description tag") << true << description << -1 << QString() << QString()
                                            << u"No description"_s << u"No description"_s << true << false;
        QTest::newRow("no author tag") << true << author << -1 << QString() << QString() << u"No author"_s
                                       << u"No author"_s << true << false;
        QTest::newRow("keywords emptied") << false << keywords << keywords << QString() << QString() << QString()
                                          << QString() << false << true;
        QTest::newRow("missing keywords emptied") << true << keywords << keywords << QString() << QString()
                                                  << QString() << QString() << false << true;
        QTest::newRow("no author tag, description edited")
            << true << author << description << u"Opening hours of the bakery, all week."_s << QString()
            << u"No author"_s << u"No author"_s << true << true;
        QTest::newRow("a new page's keywords typed")
            << false << keywords << keywords << u"Keywords, seperated, with, commas"_s << QString()
            << u"Keywords, seperated, with, commas"_s << u"Keywords, seperated, with, commas"_s << true << true;
        QTest::newRow("a new page's author text typed")
            << false << author << author << u"Your name goes here"_s << QString() << u"Your name goes here"_s
            << u"Your name goes here"_s << true << true;
        // Placeholders are told apart exactly: another letter case is a value.
        QTest::newRow("a placeholder in other letters")
            << false << keywords << keywords << u"no, keywords"_s << u"no, keywords"_s << u"no, keywords"_s
            << u"no, keywords"_s << false << true;
        QTest::newRow("a value typed where the page had none")
            << true << author << author << u"Ada Baker"_s << u"Ada Baker"_s << u"Ada Baker"_s << u"Ada Baker"_s
            << false << true;
    }
    void textsWithoutATagStayApartFromValues()
    {
        QFETCH(bool, bare);
        QFETCH(int, column);
        QFETCH(int, editedColumn);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, drawn);
        QFETCH(QString, editorText);
        QFETCH(bool, italic);
        QFETCH(bool, bold);

        OnePageSite one(bare ? kBarePage : kFullPage);
        SiteModel &site = one.site;
        QVERIFY(site.page(0).ok);
        if (editedColumn >= 0)
            QVERIFY(site.setData(site.index(0, editedColumn), typed));
        SiteTableModel table(site);
        const QModelIndex cell = table.index(0, column);

        QCOMPARE(cell.data(Qt::DisplayRole).toString(), shown);
        QCOMPARE(cell.data(Qt::EditRole).toString(), editorText);
        const QStyleOptionViewItem option = DrawnCell().option(cell);
        QCOMPARE(option.text, drawn);
        QCOMPARE(option.font.italic(), italic);
        QCOMPARE(option.font.bold(), bold);
        const QColor placeholderColour = QGuiApplication::palette().color(QPalette::PlaceholderText);
        QCOMPARE(cell.data(Qt::ForegroundRole).value<QBrush>().color() == placeholderColour, italic);
    }

    // The other columns draw what they hold, flags none: a number of pixels is never taken
    // for a placeholder.
    void otherColumnsShowTheirValues_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("page") << int(SiteModel::PathColumn) << u"page.html"_s;
        QTest::newRow("title") << int(SiteModel::TitleColumn) << u"Hours"_s;
        QTest::newRow("description pixels") << int(SiteModel::DescriptionPixelsColumn) << u"0"_s;
        QTest::newRow("noindex") << int(SiteModel::NoIndexColumn) << QString();
    }
    void otherColumnsShowTheirValues()
    {
        QFETCH(int, column);
        QFETCH(QString, drawn);
        OnePageSite one(kBarePage);
        SiteTableModel table(one.site);
        const QModelIndex cell = table.index(0, column);
        QCOMPARE(DrawnCell().option(cell).text, drawn);
        QVERIFY(!cell.data(SiteTableModel::PlaceholderRole).isValid());
        QVERIFY(!cell.data(Qt::FontRole).isValid());
    }
};

QTEST_MAIN(TestSiteTableModel)
#include "test_site_table_model.moc"
