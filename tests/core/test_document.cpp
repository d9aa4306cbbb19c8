// The document model: its values, and what it knows of its page on disk.

#include "TestHome.h"
#include "Document.h"
#include "DocumentList.h"
#include "SharedDescriptions.h"

#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

const QByteArray kPage = "<html>\n<head>\n<title>Kites</title>\n"
                         "<meta name=\"description\" content=\"Hand-made kites\">\n"
                         "</head>\n<body>Flying since 1980</body>\n</html>\n";

// The same length as kPage, so only the stamp's times and inode can tell them apart.
QByteArray otherPageOfTheSameSize()
{
    QByteArray page = kPage;
    page.replace("Hand-made", "Hand-sewn");
    return page;
}

const MetaElementSet kTyped = [] {
    MetaElementSet values;
    values.setText(TextField::Description, "Typed here");
    values.setText(TextField::Keywords, "No, keywords");
    values.setText(TextField::Author, "No author");
    values.setFlag(RobotsFlag::NoFollow, true);
    return values;
}();

bool setModificationTime(const QString &path, const timespec &time)
{
    const timespec times[2] = { time, time };
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

timespec modificationTime(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mtim;
}

bool replaceThroughRename(const QString &path, const QByteArray &bytes)
{
    const QString fresh = path + QStringLiteral(".new");
    QFile file(fresh);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) == 0;
}

// What another program does to the page while it is open.
bool happen(const QString &event, const QString &path)
{
    if (event == "left alone")
        return true;
    if (event == "touched")
        return setModificationTime(path, { 1'000'000, 0 });
    if (event == "mode changed")
        return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    if (event == "rewritten in place with its time kept") {
        const timespec before = modificationTime(path);
        QFile file(path);
        return file.open(QIODevice::ReadWrite) && file.write(otherPageOfTheSameSize()) == kPage.size()
            && (file.close(), setModificationTime(path, before));
    }
    if (event == "replaced by another page")
        return replaceThroughRename(path, otherPageOfTheSameSize());
    if (event == "replaced by a copy of itself")
        return replaceThroughRename(path, kPage);
    if (event == "deleted")
        return QFile::remove(path);
    if (event == "its folder deleted")
        return QDir(QFileInfo(path).path()).removeRecursively();
    if (event == "replaced by a folder")
        return QFile::remove(path) && QDir().mkdir(path);
    if (event == "replaced by a named pipe")
        return QFile::remove(path) && ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    return false;
}

DocumentFile::OpenResult opened(const QString &path)
{
    return DocumentFile::open(path, DocumentFile::Facts::Take);
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A value set to what it holds already is no edit: nothing to save, nothing to tell.
    void onlyRealChangesAreEdits_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("modified");
        QTest::newRow("the same description") << "description Hand-made kites" << false;
        QTest::newRow("another description") << "description Hand-sewn kites" << true;
        QTest::newRow("an empty author where none was read") << "author " << true;
        QTest::newRow("nofollow on") << "nofollow on" << true;
        QTest::newRow("nofollow off, as read") << "nofollow off" << false;
        QTest::newRow("charset off, as read") << "charset off" << false;
        QTest::newRow("the same values") << "values as read" << false;
    }
    void onlyRealChangesAreEdits()
    {
        QFETCH(QString, change);
        QFETCH(bool, modified);
        TestHome home;
        const QString path = home.write("a.html", kPage);
        Document document;
        document.takeOpened(path, opened(path));
        QVERIFY(!document.isModified());
        QSignalSpy changed(&document, &Document::valuesChanged);
        const QString value = change.section(' ', 1, -1);
        if (change.startsWith("description"))
            document.setText(TextField::Description, value);
        else if (change.startsWith("author"))
            document.setText(TextField::Author, value);
        else if (change.startsWith("nofollow"))
            document.setFlag(RobotsFlag::NoFollow, value == "on");
        else if (change.startsWith("charset"))
            document.setCharset(value == "on");
        else
            document.setValues(MetaElementSet(document.values()));
        QCOMPARE(document.isModified(), modified);
        QCOMPARE(changed.size(), modified ? 1 : 0);
    }

    void anOpenedPageIsTakenWhole()
    {
        TestHome home;
        const QString path = home.write("a.html", kPage);
        Document document;
        document.takeOpened(path, opened(path));
        QCOMPARE(document.path(), path);
        QCOMPARE(document.caption(), QStringLiteral("Kites"));
        QCOMPARE(document.title(), QStringLiteral("Kites"));
        QCOMPARE(document.lineEnd(), LineEnd::Lf);
        QCOMPARE(document.text(TextField::Description), QStringLiteral("Hand-made kites"));
        QCOMPARE(document.text(TextField::Keywords), QStringLiteral("No, keywords"));
        QCOMPARE(document.diskBytes(), kPage);
        QVERIFY(document.diskStamp() == FileStamp::of(path));
        QVERIFY(!document.isNew());
        Document fresh;
        fresh.startNew(QStringLiteral("Ann"), true);
        QVERIFY(fresh.isNew() && fresh.path().isEmpty());
        QCOMPARE(fresh.caption(), Document::kNewCaption);
        QCOMPARE(fresh.text(TextField::Description), QStringLiteral("Description of your homepage"));
        QCOMPARE(fresh.text(TextField::Author), QStringLiteral("Ann"));
        QVERIFY(fresh.values().charset() && !fresh.isModified());
        QCOMPARE(fresh.diskChange(), Document::DiskChange::Unchanged);
    }

    // Whatever another program does, the page's own bytes decide; its stamp only spares the
    // reading when nothing moved.
    void noticesWhatHappenedOnDisk_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<Document::DiskChange>("change");
        using C = Document::DiskChange;
        QTest::newRow("left alone") << "left alone" << C::Unchanged;
        QTest::newRow("touched") << "touched" << C::Unchanged;
        QTest::newRow("mode changed") << "mode changed" << C::Unchanged;
        QTest::newRow("replaced by a copy of itself") << "replaced by a copy of itself" << C::Unchanged;
        QTest::newRow("rewritten in place with its time kept") << "rewritten in place with its time kept" << C::Changed;
        QTest::newRow("replaced by another page") << "replaced by another page" << C::Changed;
        QTest::newRow("deleted") << "deleted" << C::Vanished;
        QTest::newRow("its folder deleted") << "its folder deleted" << C::Vanished;
        // What cannot be read as a page is no evidence of a change; the save says what is wrong.
        QTest::newRow("replaced by a folder") << "replaced by a folder" << C::Unchanged;
        QTest::newRow("replaced by a named pipe") << "replaced by a named pipe" << C::Unchanged;
    }
    void noticesWhatHappenedOnDisk()
    {
        QFETCH(QString, event);
        QFETCH(Document::DiskChange, change);
        TestHome home;
        const QString path = home.write("site/a.html", kPage);
        Document document;
        document.takeOpened(path, opened(path));
        QVERIFY(happen(event, path));
        QCOMPARE(document.diskChange(), change);
        QCOMPARE(document.diskChange(), change);
        if (change == Document::DiskChange::Unchanged && QFileInfo(path).isFile())
            QVERIFY2(document.diskStamp() == FileStamp::of(path), "the stamp of the same bytes is taken");
    }

    // The values typed reach the disk whatever happened to the page; every other byte is the
    // one on disk when there is one, else the one last read.
    void savesWhatWasTypedWhateverHappened_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<QByteArray>("rest"); // the page the values go into
        QTest::newRow("deleted, saved to its path") << "deleted" << false << kPage;
        QTest::newRow("deleted, saved as another page") << "deleted" << true << kPage;
        QTest::newRow("its folder deleted, saved as another page") << "its folder deleted" << true << kPage;
        QTest::newRow("changed, saved over") << "replaced by another page" << false << otherPageOfTheSameSize();
        QTest::newRow("left alone, saved as") << "left alone" << true << kPage;
    }
    void savesWhatWasTypedWhateverHappened()
    {
        QFETCH(QString, event);
        QFETCH(bool, saveAs);
        QFETCH(QByteArray, rest);
        TestHome home;
        const QString path = home.write("site/a.html", kPage);
        const QString target = saveAs ? home.path() + "/b.html" : path;
        Document document;
        document.takeOpened(path, opened(path));
        document.setValues(kTyped);
        QVERIFY(happen(event, path));
        QSignalSpy pageChanged(&document, &Document::pageChanged);
        const DocumentSaver::Result result = document.save(target, { QStringLiteral("2.01a"), true });
        QVERIFY2(result.ok, qPrintable(result.error));
        // The backup keeps the page that was on disk; a page gone from disk leaves none to keep.
        const QString backup = home.path() + "/site/a.bak";
        QCOMPARE(readFile(backup), event == "deleted" || event == "its folder deleted" ? QByteArray() : rest);
        QVERIFY(pageChanged.size() >= 1);

        TestHome expected;
        const QString intact = expected.write("a.html", rest);
        DocumentSaver::Request request { intact, intact, intact, kTyped, QStringLiteral("2.01a"), false };
        QVERIFY(DocumentSaver::save(request).ok);
        QCOMPARE(readFile(target), readFile(intact));
        QCOMPARE(document.path(), target);
        QCOMPARE(document.caption(), saveAs ? target : QStringLiteral("Kites"));
        QCOMPARE(document.values(), kTyped);
        QVERIFY(!document.isModified());
        QCOMPARE(document.diskBytes(), readFile(target));
        QCOMPARE(document.diskChange(), Document::DiskChange::Unchanged);
    }

    void aFailedSaveKeepsEverything()
    {
        TestHome home;
        const QString path = home.write("a.html", kPage);
        Document document;
        document.takeOpened(path, opened(path));
        document.setValues(kTyped);
        const QString folder = home.write("folder/x", "x").section('/', 0, -2);
        const DocumentSaver::Result result = document.save(folder, { QStringLiteral("2.01a"), false });
        QVERIFY(!result.ok);
        QCOMPARE(result.code, DocumentSaver::SaveError::TargetRefused);
        QCOMPARE(document.path(), path);
        QCOMPARE(document.values(), kTyped);
        QVERIFY(document.isModified());
        QCOMPARE(document.diskBytes(), kPage);
        QCOMPARE(readFile(path), kPage);
    }

    // A reload shows what the disk holds and drops the edits; a page that can no longer be
    // read leaves the document as it was.
    void reloadTakesWhatTheDiskHolds_data()
    {
        QTest::addColumn<QByteArray>("now");
        QTest::addColumn<bool>("ok");
        QTest::newRow("changed") << otherPageOfTheSameSize() << true;
        QTest::newRow("no HEAD any more") << QByteArray("<html><body>gone</body></html>") << false;
    }
    void reloadTakesWhatTheDiskHolds()
    {
        QFETCH(QByteArray, now);
        QFETCH(bool, ok);
        TestHome home;
        const QString path = home.write("a.html", kPage);
        Document document;
        document.takeOpened(path, opened(path));
        document.setValues(kTyped);
        home.write("a.html", now);
        const DocumentFile::OpenResult reread = document.reload();
        QCOMPARE(reread.ok, ok);
        QCOMPARE(document.isModified(), !ok);
        QCOMPARE(document.text(TextField::Description), ok ? QStringLiteral("Hand-sewn kites") : QStringLiteral("Typed here"));
        QCOMPARE(document.diskBytes(), ok ? now : kPage);
        QCOMPARE(document.diskChange(), ok ? Document::DiskChange::Unchanged : Document::DiskChange::Changed);
    }

    // A change the user chose to leave is not asked about again, until the page changes again.
    void aSeenChangeStaysSeenUntilTheNext()
    {
        TestHome home;
        const QString path = home.write("a.html", kPage);
        Document document;
        document.takeOpened(path, opened(path));
        QVERIFY(!document.isDiskChangeSeen());
        QVERIFY(replaceThroughRename(path, otherPageOfTheSameSize()));
        document.setDiskChangeSeen();
        QVERIFY(document.isDiskChangeSeen());
        QVERIFY(replaceThroughRename(path, kPage + "<!-- again -->"));
        QVERIFY(!document.isDiskChangeSeen());
    }

    // One document per page, however the page is named.
    void findsThePageByAnyName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        QTest::newRow("its path") << "site/a.html" << true;
        QTest::newRow("a symbolic link to it") << "link.html" << true;
        QTest::newRow("a hard link to it") << "hard.html" << true;
        QTest::newRow("a copy of it") << "copy.html" << false;
        QTest::newRow("nothing there") << "none.html" << false;
        QTest::newRow("no name") << "" << false;
    }
    void findsThePageByAnyName()
    {
        QFETCH(QString, name);
        QFETCH(bool, found);
        TestHome home;
        const QString path = home.write("site/a.html", kPage);
        home.write("copy.html", kPage);
        QVERIFY(QFile::link(path, home.path() + "/link.html"));
        QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(home.path() + "/hard.html").constData()) == 0);
        DocumentList list;
        auto fresh = std::make_unique<Document>();
        fresh->startNew({}, false);
        list.add(std::move(fresh));
        auto document = std::make_unique<Document>();
        document->takeOpened(path, opened(path));
        Document *added = list.add(std::move(document));
        QCOMPARE(list.find(name.isEmpty() ? name : home.path() + '/' + name), found ? added : nullptr);
        QSignalSpy removed(&list, &DocumentList::removed);
        list.remove(added);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(list.find(path), nullptr);
        QCOMPARE(list.documents().size(), 1);
    }

    // Pages open with the same description, as a reader sees it, are marked, those opened
    // before anyone watched too; an edit or a closed window takes the mark away, and a
    // window closed twice is closed once.
    void sharedDescriptionsAreMarked()
    {
        DocumentList list;
        const auto newPage = [&](const QString &description) {
            auto document = std::make_unique<Document>();
            document->startNew({}, false);
            document->setText(TextField::Description, description);
            return list.add(std::move(document));
        };
        Document *first = newPage("Kites  and strings");
        Document *second = newPage("Kites and strings");
        Document *placeholder = newPage("Description of your homepage");
        newPage("Description of your homepage");
        const SharedDescriptions shared(list);
        QVERIFY(first->descriptionShared() && second->descriptionShared());
        QVERIFY(!placeholder->descriptionShared());
        Document *third = newPage("Other");
        QVERIFY(!third->descriptionShared());
        third->setText(TextField::Description, "Kites and strings ");
        QVERIFY(third->descriptionShared());
        second->setText(TextField::Description, "Changed");
        QVERIFY(first->descriptionShared() && !second->descriptionShared());
        QSignalSpy removed(&list, &DocumentList::removed);
        list.remove(third);
        QVERIFY(!first->descriptionShared());
        list.remove(third);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(list.documents().size(), 4);
    }

    // A page deleted while open is still found by its path, so opening it again brings its
    // window forward instead of reading a page that is not there.
    void aVanishedPageIsFoundByItsPath()
    {
        TestHome home;
        const QString path = home.write("a.html", kPage);
        DocumentList list;
        auto document = std::make_unique<Document>();
        document->takeOpened(path, opened(path));
        Document *added = list.add(std::move(document));
        QVERIFY(QFile::remove(path));
        QCOMPARE(list.find(path), added);
    }
};

QTEST_MAIN(TestDocument)
#include "test_document.moc"
