// A whole site in one window: opened through the folder prompt, filtered, sorted, edited
// many rows at a time, saved after a preview and taken back, and kept in step with the
// page's own document window.

#include "MainWindowScenario.h"
#include "Unprivileged.h"

#include "Document.h"
#include "ProgressBar.h"
#include "toolbar/Rebar.h"
#include "SiteCommands.h"
#include "SiteModel.h"
#include "SiteTableModel.h"
#include "SiteWindow.h"
#include "TextChangeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kBakery = "Fresh bread and pastries baked every morning in our village bakery since 1952.";
const QByteArray kNews = "What the bakery has baked lately: new loaves, seasonal cakes and the summer fair.";
const QString kNewDescription = u"Sourdough, rye and spelt loaves from a wood-fired oven, baked fresh each day."_s;

QByteArray pageWith(const QByteArray &title, const QByteArray &description)
{
    const QByteArray meta
        = description.isNull() ? QByteArray() : "<meta name=\"description\" content=\"" + description + "\">\n";
    return "<html>\n<head>\n<title>" + title + "</title>\n" + meta + "</head>\n<body></body>\n</html>\n";
}

// b has no description, c one too short and the same as its title; a and d are fine.
const QList<std::pair<QString, QByteArray>> kBakerySite = {
    { u"a.html"_s, pageWith("Village bakery", kBakery) },
    { u"b.html"_s, pageWith("Opening hours", QByteArray()) },
    { u"c.html"_s, pageWith("Cakes", "Cakes") },
    { u"news/d.html"_s, pageWith("News", kNews) },
};

// A main window with a site window over a folder of pages, read to the end.
struct SiteScenario
{
    explicit SiteScenario(const QList<std::pair<QString, QByteArray>> &pages = kBakerySite)
    {
        for (const auto &[name, bytes] : pages)
            s.home.write(u"site/"_s + name, bytes);
        // Open to the unprivileged user some checks run as.
        for (const QString &folder : QStringList { s.home.path(), this->folder(), this->folder() + u"/news"_s })
            ::chmod(QFile::encodeName(folder).constData(), 0777);
        for (const auto &page : pages)
            ::chmod(QFile::encodeName(file(page.first)).constData(), 0666);
    }

    QString folder() const { return s.home.path() + u"/site"_s; }
    QString file(const QString &name) const { return folder() + QLatin1Char('/') + name; }
    QByteArray bytes(const QString &name) const { return readFile(file(name)); }

    SiteWindow *openThroughPrompt()
    {
        s.window->prompts().chooseFileNext(folder());
        s.click(u"mnuFile(10)"_s);
        site = s.window->siteCommands().activeWindow();
        if (site && !QTest::qWaitFor([this] { return !site->isLoading(); }, 10000))
            qWarning("the site did not finish loading");
        return site;
    }

    QStringList shownPaths() const
    {
        QStringList paths;
        for (int row = 0; row < site->rows().rowCount(); ++row)
            paths.append(site->rows().index(row, SiteModel::PathColumn).data().toString());
        return paths;
    }
    int row(const QString &name) const { return site->model().rowOf(name); }
    // In the model's order, which is the order the pages happened to be read in.
    QList<int> rows(const QStringList &names) const
    {
        QList<int> numbers;
        for (const QString &name : names)
            numbers.append(row(name));
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    }
    QModelIndex shown(const QString &name, int column) const
    {
        return site->rows().mapFromSource(site->model().index(row(name), column));
    }
    QString value(const QString &name, int column) const
    {
        return site->model().index(row(name), column).data(Qt::EditRole).toString();
    }
    void edit(const QStringList &names, const QString &description) const
    {
        site->model().setDataOnRows(rows(names), SiteModel::DescriptionColumn, description);
    }
    void answer(const QList<QMessageBox::StandardButton> &answers) const
    {
        for (const QMessageBox::StandardButton answer : answers)
            s.window->prompts().answerNext(answer);
    }
    int promptsOf(UserPrompts::Kind kind) const
    {
        return int(std::count_if(s.prompts().cbegin(), s.prompts().cend(),
            [kind](const UserPrompts::Shown &prompt) { return prompt.kind == kind; }));
    }
    QString lastPrompt() const { return s.prompts().isEmpty() ? QString() : s.prompts().constLast().text; }
    SiteCommands &commands() const { return s.window->siteCommands(); }
    // Selects the rows named and makes one cell of them current, as a click with Ctrl would.
    QModelIndex standOn(const QStringList &selected, const QString &name, int column) const
    {
        site->selectRows(rows(selected));
        const QModelIndex target = shown(name, column);
        site->table()->selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
        return target;
    }
    // The cell's editor with its text selected, as F2 opens it; null when none opened.
    QLineEdit *editCell(const QModelIndex &target) const
    {
        site->table()->edit(target);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        if (editor)
            editor->selectAll();
        return editor;
    }
    void clickButton(const QString &text) const
    {
        for (QPushButton *button : site->findChildren<QPushButton *>()) {
            if (button->text() == text)
                return QTest::mouseClick(button, Qt::LeftButton);
        }
        QFAIL(qPrintable(u"no button " + text));
    }

    // The bytes a document window writes for the page given the same description.
    QByteArray documentWindowSave(const QString &name, const QString &description)
    {
        const QString reference = s.home.write(u"reference/"_s + name, bytes(name));
        DocumentWindow *window = s.open(reference);
        if (!window)
            return {};
        window->document().setText(TextField::Description, description);
        s.save(window);
        window->parentWidget()->close();
        return readFile(reference);
    }

    Scenario s;
    SiteWindow *site = nullptr;
};

} // namespace

class TestSiteWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openSite_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("windows");
        QTest::newRow("a folder chosen") << u"menu"_s << 1;
        QTest::newRow("the prompt cancelled") << u"cancelled"_s << 0;
        QTest::newRow("the command line") << u"command line"_s << 1;
    }
    void openSite()
    {
        QFETCH(QString, how);
        QFETCH(int, windows);
        SiteScenario t;
        QCOMPARE(t.s.fileMenu().mid(0, 3), QStringList({ "mnuFile(0)", "mnuFile(1)", "mnuFile(10)" }));
        QSignalSpy progress(&t.commands(), &SiteCommands::loadProgress);
        if (how == u"command line"_s) {
            t.s.window->openSite(t.folder());
        } else {
            if (how == u"menu"_s)
                t.s.window->prompts().chooseFileNext(t.folder());
            t.s.click(u"mnuFile(10)"_s);
            QCOMPARE(t.s.prompts().constLast().kind, UserPrompts::Kind::OpenFolder);
        }
        QCOMPARE(t.s.windows(), windows);
        if (windows == 0)
            return;
        SiteWindow *site = t.commands().activeWindow();
        QVERIFY(site);
        QVERIFY(site->cancelButton()->isVisibleTo(site));
        QTRY_VERIFY_WITH_TIMEOUT(!site->isLoading(), 10000);
        QCOMPARE(site->model().rowCount(), int(kBakerySite.size()));
        QVERIFY(site->cancelButton()->isHidden());
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.constLast(), QVariantList({ qint64(4), qint64(4) }));
        QVERIFY2(t.s.msg().startsWith(u"4 pages read"_s), qPrintable(t.s.msg()));
        QCOMPARE(site->windowTitle(), t.folder());
        QCOMPARE(QApplication::focusWidget(), site->filterBox());
    }

    void aSiteOpenComesForward_data()
    {
        QTest::addColumn<QString>("again");
        QTest::newRow("the same folder") << u"site"_s;
        QTest::newRow("the same folder, spelt with a trailing slash") << u"site/"_s;
    }
    void aSiteOpenComesForward()
    {
        QFETCH(QString, again);
        SiteScenario t;
        SiteWindow *first = t.openThroughPrompt();
        QVERIFY(first);
        t.edit({ u"b.html"_s }, kNewDescription);
        t.s.open(t.file(u"a.html"_s));
        QCOMPARE(t.commands().activeWindow(), nullptr);
        QCOMPARE(t.commands().open(t.s.home.path() + u'/' + again), first);
        QCOMPARE(t.commands().activeWindow(), first);
        QCOMPARE(t.s.windows(), 2);
        QCOMPARE(first->model().summary().edited, 1);
    }

    void cancelWhileReading()
    {
        SiteScenario t;
        SiteWindow *site = t.commands().open(t.folder());
        QVERIFY(site && site->isLoading());
        QTest::mouseClick(site->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!site->isLoading(), 10000);
        QVERIFY(site->cancelButton()->isHidden());
        QVERIFY2(t.s.msg().startsWith(u"Reading stopped"_s), qPrintable(t.s.msg()));
        QVERIFY(site->model().rowCount() <= int(kBakerySite.size()));
    }

    void progressInTheMainWindow_data()
    {
        QTest::addColumn<bool>("pageOpenedMeanwhile");
        QTest::newRow("the site alone") << false;
        QTest::newRow("a page opened meanwhile") << true;
    }
    void progressInTheMainWindow()
    {
        QFETCH(bool, pageOpenedMeanwhile);
        SiteScenario t;
        Rebar &rebar = t.s.window->rebar();
        auto *bar = t.s.window->toolbarStrip().findChild<ProgressBar *>();
        QVERIFY(bar);
        const auto bandShown = [&rebar] { return rebar.bandVisible(rebar.bandIndexForData(u"ProgressBar"_s)); };
        // Before the first page is found the bar stands at its start.
        emit t.commands().loadProgress(0, 0);
        QCOMPARE(bar->position(), bar->min());
        emit t.commands().loadProgress(12, 3);
        QCOMPARE(t.s.msg(), u"Reading the site: 3 of 12 pages found so far..."_s);
        QVERIFY(bandShown());
        const int quarter = bar->position();
        emit t.commands().loadProgress(12, 9);
        QVERIFY2(bar->min() < quarter && quarter < bar->position() && bar->position() < bar->max(),
            qPrintable(u"%1 %2"_s.arg(quarter).arg(bar->position())));
        if (pageOpenedMeanwhile) {
            QVERIFY(t.s.open(t.file(u"a.html"_s)));
            QVERIFY(bandShown());
        }
        emit t.commands().loadFinished();
        QVERIFY(!bandShown());
        QCOMPARE(bar->position(), bar->min());
    }

    void filters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("onlyWithWarnings");
        QTest::addColumn<QList<WarningKind>>("kinds");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("nothing asked") << QString() << false << QList<WarningKind>()
                                       << QStringList { "a.html", "b.html", "c.html", "news/d.html" };
        QTest::newRow("text in the path") << u"news"_s << false << QList<WarningKind>() << QStringList { "news/d.html" };
        QTest::newRow("text in a description, any case") << u"PASTRIES"_s << false << QList<WarningKind>()
                                                         << QStringList { "a.html" };
        QTest::newRow("text in a title") << u"hours"_s << false << QList<WarningKind>() << QStringList { "b.html" };
        QTest::newRow("only pages with warnings") << QString() << true << QList<WarningKind>()
                                                  << QStringList { "b.html", "c.html" };
        QTest::newRow("one kind") << QString() << false << QList<WarningKind> { WarningKind::DescriptionMissing }
                                  << QStringList { "b.html" };
        QTest::newRow("two kinds")
            << QString() << false
            << QList<WarningKind> { WarningKind::DescriptionMissing, WarningKind::DescriptionSameAsTitle }
            << QStringList { "b.html", "c.html" };
        QTest::newRow("a kind and a text") << u"village"_s << true
                                           << QList<WarningKind> { WarningKind::DescriptionTooShort }
                                           << QStringList();
    }
    void filters()
    {
        QFETCH(QString, text);
        QFETCH(bool, onlyWithWarnings);
        QFETCH(QList<WarningKind>, kinds);
        QFETCH(QStringList, shown);
        SiteScenario t;
        SiteWindow *site = t.openThroughPrompt();
        QVERIFY(site);
        QTest::keyClicks(site->filterBox(), text);
        if (onlyWithWarnings)
            QTest::mouseClick(site->onlyWithWarningsBox(), Qt::LeftButton);
        for (const WarningKind kind : kinds)
            QTest::mouseClick(site->kindBox(kind), Qt::LeftButton);
        QCOMPARE(t.shownPaths(), shown);
        const QString expected = u"%1 shown of 4 pages, 0 unreadable, 2 with warnings, 0 edited"_s.arg(shown.size());
        QTRY_VERIFY2(site->summaryLabel()->text().startsWith(expected), qPrintable(site->summaryLabel()->text()));
        QVERIFY2(site->summaryLabel()->text().contains(u"Description missing (1)"_s), qPrintable(site->summaryLabel()->text()));
        QCOMPARE(site->kindBox(WarningKind::DescriptionTooShort)->text(), u"Description too short (1)"_s);
        QCOMPARE(site->kindBox(WarningKind::CharsetConflict)->text(), u"Charset conflict (0)"_s);
        // Words, not tsmeta's machine names, and each kind its own.
        QSet<QString> names;
        for (std::size_t i = 0; i < kWarningKindCount; ++i)
            names.insert(site->kindBox(static_cast<WarningKind>(i))->text().section(u" ("_s, 0, 0));
        QCOMPARE(names.size(), qsizetype(kWarningKindCount));
        QVERIFY(std::none_of(names.cbegin(), names.cend(), [](const QString &name) { return name.contains(u'-'); }));
    }

    void exportWritesTheRowsShown_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("lines");
        const QString header = u"path,title,title width,description,description width,keywords,author,robots,charset,warnings"_s;
        QTest::newRow("every row") << QString() << u"site.csv"_s
                                   << QStringList { header, "a.html,Village bakery,", "b.html,Opening hours,",
                                          "c.html,Cakes,", "news/d.html,News," };
        QTest::newRow("the rows the filter shows") << u"news"_s << u"site.csv"_s
                                                   << QStringList { header, "news/d.html,News," };
        QTest::newRow("a folder that is not there") << QString() << u"missing/site.csv"_s << QStringList();
        QTest::newRow("the prompt cancelled") << QString() << QString() << QStringList();
    }
    void exportWritesTheRowsShown()
    {
        QFETCH(QString, filter);
        QFETCH(QString, target);
        QFETCH(QStringList, lines);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        t.site->filterBox()->setText(filter);
        const QString csv = target.isEmpty() ? QString() : t.s.home.path() + u'/' + target;
        t.s.window->prompts().chooseFileNext(csv);
        t.clickButton(u"E&xport CSV..."_s);
        QCOMPARE(t.s.prompts().constLast().kind == UserPrompts::Kind::Critical, !csv.isEmpty() && lines.isEmpty());
        const QStringList written = QString::fromUtf8(readFile(csv)).split(u"\r\n"_s, Qt::SkipEmptyParts);
        QCOMPARE(written.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QVERIFY2(written[i].startsWith(lines[i]), qPrintable(written[i]));
    }

    void importTakesEditsAllOrNone_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("edited");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("two descriptions") << QByteArray("path,description\nb.html,Opening hours of the bakery\nnews/d.html,\n")
                                          << QStringList { "b.html", "news/d.html" } << QString();
        QTest::newRow("a page named twice: nothing")
            << QByteArray("path,description\nb.html,One\nb.html,Two\n") << QStringList() << u"Nothing was taken"_s;
        QTest::newRow("a page not in the table, the others taken")
            << QByteArray("Path,Author\nnew.html,Ann\nc.html,Ann\n") << QStringList { "c.html" }
            << u"new.html: not in the table"_s;
        QTest::newRow("the values held: nothing edited")
            << "path,description\na.html," + kBakery + "\nb.html,\n" << QStringList() << QString();
    }
    void importTakesEditsAllOrNone()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, edited);
        QFETCH(QString, complaint);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        t.s.window->prompts().chooseFileNext(t.s.home.write(u"edits.csv"_s, csv));
        t.clickButton(u"&Import CSV..."_s);
        QStringList marked;
        for (int row = 0; row < t.site->model().rowCount(); ++row) {
            if (t.site->model().page(row).isEdited())
                marked.append(t.site->model().page(row).path);
        }
        marked.sort();
        QCOMPARE(marked, edited);
        QCOMPARE(t.promptsOf(UserPrompts::Kind::Critical), int(!complaint.isEmpty()));
        QVERIFY2(t.lastPrompt().contains(complaint), qPrintable(t.lastPrompt()));
        if (edited.contains(u"b.html"_s))
            QCOMPARE(t.value(u"b.html"_s, SiteModel::DescriptionColumn), u"Opening hours of the bakery"_s);
    }

    // A description a phone cuts and a desktop shows whole: too long by the limits set.
    void tooLongByTheWidthLimitsSet_data()
    {
        QTest::addColumn<QString>("limits");
        QTest::addColumn<QString>("tooLong");
        QTest::newRow("desktop") << u"desktop"_s << u"Description too long (0)"_s;
        QTest::newRow("mobile") << u"mobile"_s << u"Description too long (1)"_s;
    }
    void tooLongByTheWidthLimitsSet()
    {
        QFETCH(QString, limits);
        QFETCH(QString, tooLong);
        const QByteArray longer = kBakery + " Come early for warm rolls, stay for coffee in the garden.";
        SiteScenario t({ { u"a.html"_s, pageWith("Village bakery", longer) } });
        SettingsStore().setValue(u"Width Limits"_s, limits);
        QVERIFY(t.openThroughPrompt());
        QCOMPARE(t.site->kindBox(WarningKind::DescriptionTooLong)->text(), tooLong);
    }

    // What a site command could not do, it says in the status bar, and it writes nothing.
    void commandsSayWhyNothingHappened_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("said"); // %1: the site's folder
        QTest::newRow("a file is no site") << u"file"_s << u"Not a folder... (%1/a.html)"_s;
        QTest::newRow("Save All with no edits") << u"save"_s << u"No page has edits to save... (%1)"_s;
        QTest::newRow("Undo Last Save before any save") << u"undo"_s << u"4 pages read... (%1)"_s;
    }
    void commandsSayWhyNothingHappened()
    {
        QFETCH(QString, what);
        QFETCH(QString, said);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        const qsizetype prompts = t.s.prompts().size();
        if (what == u"file")
            QCOMPARE(t.commands().open(t.file(u"a.html"_s)), nullptr);
        else if (what == u"save")
            QVERIFY(!t.commands().saveAll(*t.site));
        else
            t.commands().undoLastSave(*t.site);
        QCOMPARE(t.s.msg(), said.arg(t.folder()));
        QCOMPARE(t.s.prompts().size(), prompts);
        QCOMPARE(t.bytes(u"a.html"_s), kBakerySite.first().second);
    }

    // A page changed on disk since it was read is named in the preview as one not written.
    void previewNamesAPageThatWillNotBeWritten()
    {
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        t.edit({ u"a.html"_s, u"b.html"_s }, kNewDescription);
        const QByteArray elsewhere = pageWith("Opening hours", "Changed by another program meanwhile.");
        t.s.home.write(u"site/b.html"_s, elsewhere);
        t.answer({ QMessageBox::Cancel });
        QVERIFY(!t.commands().saveAll(*t.site));
        QVERIFY2(t.lastPrompt().contains(u"b.html (will not be written: "_s), qPrintable(t.lastPrompt()));
        QCOMPARE(t.bytes(u"b.html"_s), elsewhere);
    }

    // A right click on a row offers to open its page; anywhere else only the commands on the
    // selection.
    void contextMenuOpensThePageClicked_data()
    {
        QTest::addColumn<bool>("onARow");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("on a row") << true
                                  << QStringList { "Open Page", "Select Pages Sharing This &Description", "Revert Selected",
                                         "Find and Re&place..." };
        QTest::newRow("below the rows") << false << QStringList { "Select Pages Sharing This &Description", "Revert Selected",
                                                   "Find and Re&place..." };
    }
    void contextMenuOpensThePageClicked()
    {
        QFETCH(bool, onARow);
        QFETCH(QStringList, offered);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        QTableView *table = t.site->table();
        const QModelIndex shown = t.shown(u"news/d.html"_s, SiteModel::TitleColumn);
        const QPoint position = onARow ? table->visualRect(shown).center() : QPoint(5, table->viewport()->height() - 2);
        const std::unique_ptr<QMenu> menu = t.site->contextMenu(position);
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts.append(action->text());
        QCOMPARE(texts, offered);
        if (!onARow)
            return;
        menu->actions().first()->trigger();
        QVERIFY(t.s.window->activeDocument());
        QCOMPARE(t.s.window->activeDocument()->document().path(), t.file(u"news/d.html"_s));
    }

    void summaryFollowsEdits()
    {
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        t.edit({ u"b.html"_s }, kNewDescription);
        const QLabel *summary = t.site->summaryLabel();
        QTRY_VERIFY2(summary->text().startsWith(u"4 shown of 4 pages, 0 unreadable, 1 with warnings, 1 edited"_s),
            qPrintable(summary->text()));
        QVERIFY2(!summary->text().contains(u"Description missing"_s), qPrintable(summary->text()));
        QVERIFY(t.shown(u"b.html"_s, SiteModel::PathColumn).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!t.shown(u"a.html"_s, SiteModel::PathColumn).data(Qt::FontRole).value<QFont>().bold());
    }

    void widthsSortAsNumbers_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("order");
        // Widths of one, two and three digits: as text, "2..." would come before "5...".
        QTest::newRow("one click: narrow first") << 1 << QStringList { "narrow.html", "medium.html", "wide.html" };
        QTest::newRow("two clicks: wide first") << 2 << QStringList { "wide.html", "medium.html", "narrow.html" };
    }
    void widthsSortAsNumbers()
    {
        QFETCH(int, clicks);
        QFETCH(QStringList, order);
        SiteScenario t({ { u"wide.html"_s, pageWith("A much longer title for the village bakery on the hill", kBakery) },
            { u"narrow.html"_s, pageWith("I", kBakery) }, { u"medium.html"_s, pageWith("Cakes", kNews) } });
        QVERIFY(t.openThroughPrompt());
        const double narrow = t.value(u"narrow.html"_s, SiteModel::TitlePixelsColumn).toDouble();
        const double medium = t.value(u"medium.html"_s, SiteModel::TitlePixelsColumn).toDouble();
        const double wide = t.value(u"wide.html"_s, SiteModel::TitlePixelsColumn).toDouble();
        QVERIFY2(narrow < 10 && medium >= 10 && medium < 100 && wide >= 100,
            qPrintable(u"%1 %2 %3"_s.arg(narrow).arg(medium).arg(wide)));
        QHeaderView *header = t.site->table()->horizontalHeader();
        const int column = SiteModel::TitlePixelsColumn;
        const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
        QCOMPARE(header->sortIndicatorSection(), column);
        QCOMPARE(t.shownPaths(), order);
    }

    void editOfManyRows_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("description typed") << int(SiteModel::DescriptionColumn) << kNewDescription << kNewDescription;
        QTest::newRow("keywords typed") << int(SiteModel::KeywordsColumn) << u"bread, rye"_s << u"bread, rye"_s;
        QTest::newRow("noindex ticked with the space bar") << int(SiteModel::NoIndexColumn) << QString() << u"true"_s;
    }
    void editOfManyRows()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        const QStringList selected { "a.html", "c.html", "news/d.html" };
        const QModelIndex target = t.standOn(selected, u"c.html"_s, column);
        QCOMPARE(t.site->selectedRows(), t.rows(selected));
        t.site->table()->setFocus();
        if (typed.isNull()) {
            QTest::keyClick(t.site->table(), Qt::Key_Space);
        } else {
            QLineEdit *editor = t.editCell(target);
            QVERIFY(editor);
            QTest::keyClicks(editor, typed);
            QTest::keyClick(editor, Qt::Key_Return);
        }
        // The editor hands its value over once its key press is done.
        QTRY_COMPARE(t.value(u"c.html"_s, column), expected);
        for (const QString &name : selected)
            QCOMPARE(t.value(name, column), expected);
        QVERIFY(t.value(u"b.html"_s, column) != expected);
        QCOMPARE(t.site->model().summary().edited, 3);
        // One change: one revert of the rows takes it back whole.
        t.site->revertSelected();
        QCOMPARE(t.site->model().summary().edited, 0);
    }

    // Typing a description into pages filtered for having none keeps them in view, and
    // selected, until the filter is asked again.
    void anEditedRowStaysShownUntilTheFilterChanges_data()
    {
        QTest::addColumn<QStringList>("selected");
        QTest::newRow("one row") << QStringList { "b.html" };
        QTest::newRow("every row shown") << QStringList { "b.html", "c.html" };
    }
    void anEditedRowStaysShownUntilTheFilterChanges()
    {
        QFETCH(QStringList, selected);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        QTest::mouseClick(t.site->onlyWithWarningsBox(), Qt::LeftButton);
        QLineEdit *editor = t.editCell(t.standOn(selected, u"b.html"_s, SiteModel::DescriptionColumn));
        QVERIFY(editor);
        editor->setText(kNewDescription);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(t.value(u"b.html"_s, SiteModel::DescriptionColumn), kNewDescription);
        QCOMPARE(t.shownPaths(), QStringList({ "b.html", "c.html" }));
        QCOMPARE(t.site->selectedRows(), t.rows(selected));
        QCOMPARE(QApplication::focusWidget(), t.site->table());
        t.site->onlyWithWarningsBox()->setChecked(false);
        t.site->filterBox()->setText(u"sourdough"_s);
        QCOMPARE(t.shownPaths(), selected);
    }

    // The width shown while typing is the width the rows get when Enter commits the text;
    // Escape leaves the widths they had.
    void widthsFollowTyping_data()
    {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("commit");
        QTest::newRow("one row, committed") << QStringList { "c.html" } << true;
        QTest::newRow("three rows, committed") << QStringList { "a.html", "c.html", "news/d.html" } << true;
        QTest::newRow("three rows, given up") << QStringList { "a.html", "c.html", "news/d.html" } << false;
    }
    void widthsFollowTyping()
    {
        QFETCH(QStringList, selected);
        QFETCH(bool, commit);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        const auto widths = [&t] {
            QStringList shown;
            for (const QString &name : { u"a.html"_s, u"b.html"_s, u"c.html"_s, u"news/d.html"_s })
                shown << t.shown(name, SiteModel::DescriptionPixelsColumn).data().toString();
            return shown;
        };
        const QStringList before = widths();
        const QModelIndex target = t.standOn(selected, u"c.html"_s, SiteModel::DescriptionColumn);
        QLineEdit *editor = t.editCell(target);
        QVERIFY(editor);
        QTest::keyClicks(editor, kNewDescription);
        const QStringList typing = widths();
        QCOMPARE(t.site->model().summary().edited, 0);
        QTest::keyClick(editor, commit ? Qt::Key_Return : Qt::Key_Escape);
        QTRY_VERIFY(!t.site->table()->isPersistentEditorOpen(target) && QApplication::focusWidget() != editor);
        QCOMPARE(widths(), commit ? typing : before);
        QCOMPARE(t.site->model().summary().edited, commit ? int(selected.size()) : 0);
        for (int i = 0; i < before.size(); ++i) {
            const bool typedInto = selected.contains(QStringList { "a.html", "b.html", "c.html", "news/d.html" }[i]);
            QCOMPARE(typing[i] != before[i], typedInto);
        }
    }

    void sharedDescriptionSelectsItsPages()
    {
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        t.edit({ u"c.html"_s, u"news/d.html"_s }, QString::fromUtf8(kBakery));
        t.site->table()->setCurrentIndex(t.shown(u"news/d.html"_s, SiteModel::PathColumn));
        t.site->sharingAction()->trigger();
        QCOMPARE(t.site->selectedRows(), t.rows({ u"a.html"_s, u"c.html"_s, u"news/d.html"_s }));
    }

    // The dialog opens on the column the user stands in, over the rows selected.
    void findAndReplaceReachedFromTheWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("selected");
        QTest::newRow("its button") << u"button"_s << true;
        QTest::newRow("the context menu") << u"menu"_s << true;
        QTest::newRow("Ctrl+H in the table") << u"keys"_s << true;
        QTest::newRow("nothing selected: no dialog") << u"keys"_s << false;
    }
    void findAndReplaceReachedFromTheWindow()
    {
        QFETCH(QString, how);
        QFETCH(bool, selected);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        QTableView *table = t.site->table();
        t.standOn(selected ? QStringList { "a.html", "c.html" } : QStringList(), u"c.html"_s, SiteModel::KeywordsColumn);
        int column = -1;
        QString count;
        t.s.window->prompts().answerDialogNext([&](QDialog &shown) {
            auto *dialog = qobject_cast<TextChangeDialog *>(&shown);
            QVERIFY(dialog);
            column = dialog->column();
            QTest::keyClicks(dialog->findBox(), u"a"_s);
            count = dialog->countLabel()->text();
        });
        table->setFocus();
        if (how == u"button"_s) {
            t.clickButton(t.site->textChangeAction()->text());
        } else if (how == u"menu"_s) {
            const std::unique_ptr<QMenu> menu = t.site->contextMenu(table->visualRect(t.shown(u"c.html"_s, 0)).center());
            menu->actions().constLast()->trigger();
        } else {
            QTest::keySequence(table, QKeySequence(u"Ctrl+H"_s));
        }
        QCOMPARE(t.promptsOf(UserPrompts::Kind::Dialog), selected ? 1 : 0);
        QCOMPARE(column, selected ? int(SiteModel::KeywordsColumn) : -1);
        // Keywords lacking on both pages: nothing for "a" to be found in.
        QCOMPARE(count, selected ? u"0 of 2 selected pages change"_s : QString());
        if (!selected)
            QCOMPARE(t.s.msg(), u"Select the pages to change first... (%1)"_s.arg(t.folder()));
        QCOMPARE(t.site->model().summary().edited, 0);
    }

    void findAndReplaceShowsThenApplies_data()
    {
        QTest::addColumn<int>("mode"); // as the dialog lists them: replace, add before, add after
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expression");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("previewed");
        QTest::addColumn<QString>("a"); // a.html's description as the preview shows it
        QTest::addColumn<bool>("error");
        const QString bakery = QString::fromUtf8(kBakery);
        QTest::newRow("plain text in any case, selected pages only")
            << 0 << u"BAKERY"_s << u"bakehouse"_s << false << true << QStringList { "a.html" }
            << QString(bakery).replace(u"bakery"_s, u"bakehouse"_s) << false;
        QTest::newRow("an expression with a group") << 0 << u"^(\\w+)"_s << u"\\1!"_s << true << true
                                                    << QStringList { "a.html", "c.html" } << u"Fresh!"_s + bakery.mid(5) << false;
        QTest::newRow("added before, a page without one gets it alone")
            << 1 << u"ignored"_s << u"Bakery: "_s << false << true << QStringList { "a.html", "b.html", "c.html" }
            << u"Bakery: "_s + bakery << false;
        QTest::newRow("an invalid expression offers no OK") << 0 << u"(bakery"_s << u"x"_s << true << true << QStringList()
                                                            << bakery << true;
        QTest::newRow("cancelled") << 2 << QString() << u" Since 1952."_s << false << false
                                   << QStringList { "a.html", "b.html", "c.html" } << bakery + u" Since 1952."_s << false;
    }
    void findAndReplaceShowsThenApplies()
    {
        QFETCH(int, mode);
        QFETCH(QString, find);
        QFETCH(QString, text);
        QFETCH(bool, expression);
        QFETCH(bool, ok);
        QFETCH(QStringList, previewed);
        QFETCH(QString, a);
        QFETCH(bool, error);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        t.site->selectRows(t.rows({ u"a.html"_s, u"b.html"_s, u"c.html"_s }));
        QStringList shown;
        QString after;
        t.s.window->prompts().answerDialogNext([&](QDialog &asked) {
            auto *dialog = qobject_cast<TextChangeDialog *>(&asked);
            QVERIFY(dialog);
            dialog->modeBox()->setCurrentIndex(mode);
            if (expression)
                QTest::mouseClick(dialog->expressionBox(), Qt::LeftButton);
            QTest::keyClicks(dialog->findBox(), find);
            QTest::keyClicks(dialog->textBox(), text);
            for (int row = 0; row < dialog->previewTable()->rowCount(); ++row) {
                shown << dialog->previewTable()->item(row, 0)->text();
                if (shown.constLast() == u"a.html"_s)
                    after = dialog->previewTable()->item(row, 2)->text();
            }
            QCOMPARE(dialog->errorLabel()->isVisible(), error);
            QCOMPARE(dialog->errorLabel()->text().isEmpty(), !error);
            QCOMPARE(dialog->okButton()->isEnabled(), !previewed.isEmpty());
            QCOMPARE(dialog->findBox()->isEnabled(), mode == 0);
            if (ok)
                QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        });
        t.site->textChangeAction()->trigger();
        QCOMPARE(shown, previewed);
        QCOMPARE(after, previewed.contains(u"a.html"_s) ? a : QString());
        const int edited = ok ? int(previewed.size()) : 0;
        QCOMPARE(t.value(u"a.html"_s, SiteModel::DescriptionColumn), edited > 0 ? a : QString::fromUtf8(kBakery));
        QCOMPARE(t.value(u"news/d.html"_s, SiteModel::DescriptionColumn), QString::fromUtf8(kNews));
        QCOMPARE(t.site->model().summary().edited, edited);
        if (edited == 0)
            return;
        QCOMPARE(t.s.msg(), u"%1 pages changed, to be written by Save All... (%2)"_s.arg(edited).arg(t.folder()));
        t.answer({ QMessageBox::Cancel });
        QVERIFY(!t.commands().saveAll(*t.site));
        QVERIFY2(t.lastPrompt().contains(u"+<META name=\"description\" content=\"%1\">"_s.arg(a)), qPrintable(t.lastPrompt()));
        t.site->revertAll();
        QCOMPARE(t.value(u"a.html"_s, SiteModel::DescriptionColumn), QString::fromUtf8(kBakery));
    }

    void saveAllPreviewsFirst_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("written");
        QTest::newRow("saved after the preview") << QMessageBox::Save << true;
        QTest::newRow("cancelled in the preview") << QMessageBox::Cancel << false;
    }
    void saveAllPreviewsFirst()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, written);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        const QByteArray before = t.bytes(u"b.html"_s);
        const QByteArray expected = t.documentWindowSave(u"b.html"_s, kNewDescription);
        QVERIFY(!expected.isEmpty() && expected != before);
        t.edit({ u"b.html"_s, u"news/d.html"_s }, kNewDescription);
        t.answer({ answer });
        QTest::mouseClick(t.site->saveAllButton(), Qt::LeftButton);
        QCOMPARE(t.s.prompts().constLast().kind, UserPrompts::Kind::SavePreview);
        const QString preview = t.lastPrompt();
        QVERIFY2(preview.startsWith(u"These 2 pages change:\n  b.html\n  news/d.html\n"_s), qPrintable(preview));
        QVERIFY2(!preview.contains(u"\n  a.html"_s), qPrintable(preview));
        QVERIFY2(preview.contains(u"+<META name=\"description\" content=\"%1\">"_s.arg(kNewDescription)),
            qPrintable(preview));
        QCOMPARE(t.bytes(u"b.html"_s), written ? expected : before);
        QCOMPARE(t.site->model().summary().edited, written ? 0 : 2);
        QCOMPARE(t.site->undoButton()->isEnabled(), written);
    }

    void readOnlyPageRefusedInItsRow()
    {
        SiteScenario t;
        ::chmod(QFile::encodeName(t.file(u"c.html"_s)).constData(), 0444);
        QVERIFY(t.openThroughPrompt());
        const QByteArray before = t.bytes(u"c.html"_s);
        const QByteArray expected = t.documentWindowSave(u"b.html"_s, kNewDescription);
        t.edit({ u"b.html"_s, u"c.html"_s }, kNewDescription);
        const QString report = runUnprivileged([&]() -> QString {
            t.answer({ QMessageBox::Save });
            const bool allSaved = t.commands().saveAll(*t.site);
            const QModelIndex state = t.shown(u"c.html"_s, SiteModel::StateColumn);
            return QString::number(allSaved) + u'|' + state.data().toString() + u'|'
                + state.data(Qt::ToolTipRole).toString() + u'|' + QString::number(t.site->model().summary().edited)
                + u'|' + state.data(Qt::BackgroundRole).value<QBrush>().color().name() + u'|'
                + t.shown(u"c.html"_s, SiteModel::KeywordsColumn).data(Qt::ToolTipRole).toString() + u'|'
                + t.shown(u"b.html"_s, SiteModel::KeywordsColumn).data(Qt::ToolTipRole).toString();
        });
        const QStringList parts = report.split(u'|');
        QCOMPARE(parts.size(), 7);
        QCOMPARE(parts.at(0), u"0"_s);
        QVERIFY2(parts.at(1).contains(u"Permission denied"_s), qPrintable(report));
        QCOMPARE(parts.at(2), parts.at(1));
        QCOMPARE(parts.at(3), u"1"_s);
        QVERIFY2(parts.at(4) != u"#000000"_s, qPrintable(report));
        QCOMPARE(parts.at(5), parts.at(1));
        QCOMPARE(parts.at(6), QString());
        QCOMPARE(t.bytes(u"c.html"_s), before);
        QCOMPARE(t.bytes(u"b.html"_s), expected);
    }

    void undoLastSave_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("restored");
        QTest::newRow("confirmed: the pages as they were") << QMessageBox::Yes << true;
        QTest::newRow("declined: the pages as saved") << QMessageBox::No << false;
    }
    void undoLastSave()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, restored);
        SiteScenario t({ kBakerySite.at(0), kBakerySite.at(1), kBakerySite.at(2) });
        QVERIFY(t.openThroughPrompt());
        const QByteArray before = t.bytes(u"b.html"_s);
        t.edit({ u"b.html"_s, u"c.html"_s }, kNewDescription);
        t.answer({ QMessageBox::Save });
        QVERIFY(t.commands().saveAll(*t.site));
        const QByteArray saved = t.bytes(u"b.html"_s);
        QVERIFY(saved != before);
        t.answer({ answer });
        QTest::mouseClick(t.site->undoButton(), Qt::LeftButton);
        QCOMPARE(t.s.prompts().constLast().kind, UserPrompts::Kind::Confirm);
        for (const QString &name : { u"\n  b.html"_s, u"\n  c.html"_s })
            QVERIFY2(t.lastPrompt().contains(name), qPrintable(t.lastPrompt()));
        QCOMPARE(t.bytes(u"b.html"_s), restored ? before : saved);
        QCOMPARE(t.site->undoButton()->isEnabled(), !restored);
    }

    void closingWithEditsAsks_data()
    {
        QTest::addColumn<QString>("closing");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("written");
        using B = QList<QMessageBox::StandardButton>;
        QTest::newRow("no edits: no question") << u"window"_s << false << B() << true << false;
        QTest::newRow("cancel keeps the window") << u"window"_s << true << B { QMessageBox::Cancel } << false << false;
        QTest::newRow("no discards") << u"window"_s << true << B { QMessageBox::No } << true << false;
        QTest::newRow("yes saves after the preview")
            << u"window"_s << true << B { QMessageBox::Yes, QMessageBox::Save } << true << true;
        QTest::newRow("yes, then cancelled in the preview")
            << u"window"_s << true << B { QMessageBox::Yes, QMessageBox::Cancel } << false << false;
        QTest::newRow("program: cancel keeps it running")
            << u"program"_s << true << B { QMessageBox::Cancel } << false << false;
        QTest::newRow("program: yes saves") << u"program"_s << true << B { QMessageBox::Yes, QMessageBox::Save } << true
                                            << true;
    }
    void closingWithEditsAsks()
    {
        QFETCH(QString, closing);
        QFETCH(bool, edited);
        QFETCH(QList<QMessageBox::StandardButton>, answers);
        QFETCH(bool, closed);
        QFETCH(bool, written);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        const QByteArray before = t.bytes(u"b.html"_s);
        if (edited)
            t.edit({ u"b.html"_s }, kNewDescription);
        t.answer(answers);
        QWidget *frame = t.site->parentWidget();
        const bool gone = closing == u"program"_s ? t.s.window->close() : frame->close();
        QCOMPARE(gone, closed);
        QCOMPARE(t.promptsOf(UserPrompts::Kind::SaveChanges), edited ? 1 : 0);
        QCOMPARE(t.bytes(u"b.html"_s) != before, written);
        if (!closed)
            QCOMPARE(t.site->model().summary().edited, 1);
    }

    void documentWindowAndRowShareEdits_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("double-click on the path") << u"double-click"_s;
        QTest::newRow("enter on the title") << u"enter"_s;
    }
    void documentWindowAndRowShareEdits()
    {
        QFETCH(QString, how);
        SiteScenario t;
        QVERIFY(t.openThroughPrompt());
        QTableView *table = t.site->table();
        if (how == u"double-click"_s) {
            const QRect cell = table->visualRect(t.shown(u"a.html"_s, SiteModel::PathColumn));
            // The second press of a double-click follows a first click.
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        } else {
            table->setCurrentIndex(t.shown(u"a.html"_s, SiteModel::TitleColumn));
            table->setFocus();
            QTest::keyClick(table, Qt::Key_Return);
        }
        QCOMPARE(t.s.windows(), 2);
        DocumentWindow *window = t.s.window->activeDocument();
        QVERIFY(window);
        QCOMPARE(window->document().path(), t.file(u"a.html"_s));
        Document &document = window->document();
        document.setText(TextField::Description, u"Typed in the page's window"_s);
        QCOMPARE(t.value(u"a.html"_s, SiteModel::DescriptionColumn), u"Typed in the page's window"_s);
        t.edit({ u"a.html"_s }, u"Typed in the site's row"_s);
        QCOMPARE(QString::fromStdString(document.values().text(TextField::Description)), u"Typed in the site's row"_s);
    }
};

QTEST_MAIN(TestSiteWindow)
#include "test_site_window.moc"
