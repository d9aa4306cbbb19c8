#include "TestHome.h"

#include "FileStamp.h"

#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The fields in which two stamps differ, by name.
QStringList differences(const FileStamp &before, const FileStamp &after)
{
    QStringList fields;
    const auto note = [&](bool differs, const char *name) {
        if (differs)
            fields << QLatin1String(name);
    };
    note(before.exists != after.exists, "exists");
    note(before.size != after.size, "size");
    note(before.modifiedNs != after.modifiedNs, "modifiedNs");
    note(before.changedNs != after.changedNs, "changedNs");
    note(before.device != after.device, "device");
    note(before.inode != after.inode, "inode");
    note(before.mode != after.mode, "mode");
    return fields;
}

timespec modificationTimeOf(const QString &path)
{
    struct stat status = {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_mtim;
}

// Sets a file's modification time back, as a copy that keeps times does.
void setModificationTime(const QString &path, const timespec &time)
{
    const timespec times[2] = { { 0, UTIME_OMIT }, time };
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

} // namespace

class TestFileStamp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each way a page can change on disk shows in the fields it touches and in no other;
    // a change that keeps the size and the modification time still shows.
    void changesShow_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("changed");
        QTest::addColumn<bool>("sameFile");
        QTest::newRow("nothing happens") << "none" << QStringList() << true;
        QTest::newRow("read again") << "read" << QStringList() << true;
        QTest::newRow("rewritten in place, same size, modification time set back")
            << "rewrite" << QStringList { "changedNs" } << true;
        QTest::newRow("grown in place")
            << "append" << QStringList { "size", "modifiedNs", "changedNs" } << true;
        QTest::newRow("replaced through a rename by a copy keeping size and times")
            << "replace" << QStringList { "changedNs", "inode" } << false;
        QTest::newRow("made readable to all") << "chmod" << QStringList { "changedNs", "mode" } << true;
        QTest::newRow("removed") << "remove"
                                 << QStringList { "exists", "size", "modifiedNs", "changedNs", "device",
                                        "inode", "mode" }
                                 << false;
    }
    void changesShow()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, changed);
        QFETCH(bool, sameFile);
        TestHome home;
        const QByteArray page = "<html><head><title>Old</title></head></html>\n";
        const QString path = home.write(QStringLiteral("page.html"), page);
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0600), 0);
        const FileStamp before = FileStamp::of(path);
        const timespec modified = modificationTimeOf(path);
        // File times move with the kernel's clock tick, a few milliseconds: a change made
        // within the same tick as the file would show no new time at all.
        QTest::qSleep(20);
        if (change == "read") {
            QCOMPARE(readFile(path), page);
        } else if (change == "rewrite") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QCOMPARE(file.write(QByteArray(page).replace("Old", "New")), page.size());
            file.close();
            setModificationTime(path, modified);
        } else if (change == "append") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::Append));
            QCOMPARE(file.write("<!-- -->\n"), 9);
        } else if (change == "replace") {
            const QString copy
                = home.write(QStringLiteral("copy.html"), QByteArray(page).replace("Old", "New"));
            QCOMPARE(::chmod(QFile::encodeName(copy).constData(), 0600), 0);
            setModificationTime(copy, modified);
            QCOMPARE(
                std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()), 0);
        } else if (change == "chmod") {
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0644), 0);
        } else if (change == "remove") {
            QVERIFY(QFile::remove(path));
        }
        const FileStamp after = FileStamp::of(path);
        QCOMPARE(differences(before, after), changed);
        QCOMPARE(before == after, changed.isEmpty());
        QCOMPARE(before.sameFile(after), sameFile);
        QCOMPARE(after.sameFile(before), sameFile);
    }

    // A stamp taken through an open descriptor, or through a link, is the file's own; its
    // mode is the permission bits alone.
    void descriptorAndLinkGiveTheFilesStamp()
    {
        TestHome home;
        const QString path = home.write(QStringLiteral("page.html"), "<head>");
        const QString link = home.path() + QStringLiteral("/link.html");
        QVERIFY(QFile::link(path, link));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 02640), 0);
        const FileStamp stamp = FileStamp::of(path);
        QVERIFY(stamp.exists);
        QCOMPARE(stamp.size, 6);
        QCOMPARE(stamp.mode, 02640u);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        const FileStamp throughDescriptor = FileStamp::of(fd);
        ::close(fd);
        QCOMPARE(differences(throughDescriptor, stamp), QStringList());
        QCOMPARE(differences(FileStamp::of(link), stamp), QStringList());
    }

    // Stamps are the same only when every field is: a change to any one of them, even where
    // no change on a real disk moves it alone, is a change. The same file is the same device
    // and inode, whatever else changed.
    void everyFieldCounts_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("sameFile");
        QTest::newRow("size") << "size" << true;
        QTest::newRow("modification time") << "modifiedNs" << true;
        QTest::newRow("status change time") << "changedNs" << true;
        QTest::newRow("device") << "device" << false;
        QTest::newRow("inode") << "inode" << false;
        QTest::newRow("mode") << "mode" << true;
    }
    void everyFieldCounts()
    {
        QFETCH(QString, field);
        QFETCH(bool, sameFile);
        const FileStamp stamp { true, 6, 1000, 2000, 8, 99, 0644 };
        FileStamp other = stamp;
        if (field == "size")
            ++other.size;
        else if (field == "modifiedNs")
            ++other.modifiedNs;
        else if (field == "changedNs")
            ++other.changedNs;
        else if (field == "device")
            ++other.device;
        else if (field == "inode")
            ++other.inode;
        else if (field == "mode")
            other.mode = 0600;
        QCOMPARE(differences(stamp, other), QStringList { field });
        QVERIFY(!(stamp == other));
        QVERIFY(stamp == FileStamp(stamp));
        QCOMPARE(stamp.sameFile(other), sameFile);
    }

    // Where nothing can be looked at, there is no stamp, and nothing is the same file as it.
    void nothingToStamp_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << "missing.html";
        QTest::newRow("through a missing folder") << "gone/page.html";
        QTest::newRow("dangling link") << "dangling.html";
        QTest::newRow("no name") << "";
    }
    void nothingToStamp()
    {
        QFETCH(QString, name);
        TestHome home;
        QVERIFY(QFile::link(
            home.path() + QStringLiteral("/nowhere.html"), home.path() + QStringLiteral("/dangling.html")));
        const FileStamp stamp = FileStamp::of(name.isEmpty() ? name : home.path() + QLatin1Char('/') + name);
        QCOMPARE(differences(stamp, FileStamp()), QStringList());
        QVERIFY(!stamp.sameFile(stamp));
        QCOMPARE(differences(FileStamp::of(-1), FileStamp()), QStringList());
    }
};

QTEST_APPLESS_MAIN(TestFileStamp)
#include "test_file_stamp.moc"
