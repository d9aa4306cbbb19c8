#include "TestHome.h"

#include "FileWriter.h"
#include "ReplacementFile.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A disk whose sync fails with one error: on the new file, or on the folder it is named in.
class FailingSync : public FileWriter
{
public:
    FailingSync(bool onFolder, int error)
        : m_onFolder(onFolder)
        , m_error(error)
    {
    }

    int sync(int fd) override
    {
        struct stat status = {};
        ::fstat(fd, &status);
        return S_ISDIR(status.st_mode) == m_onFolder ? m_error : FileWriter::sync(fd);
    }

private:
    bool m_onFolder;
    int m_error;
};

QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestReplacementFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The new file is made in the folder the path names, as it names it.
    void folderIsThePathsOwn_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("in the working folder") << "page.html" << QDir::currentPath();
        QTest::newRow("in the root folder") << "/page.html" << "/";
        QTest::newRow("absolute") << "/www/site/page.html" << "/www/site";
        QTest::newRow("relative") << "site/page.html" << "site";
        QTest::newRow("through a folder and back, not cleaned") << "/www/link/../page.html" << "/www/link/..";
        QTest::newRow("a name with blanks and a line end") << "/www/a b\n/ page.html" << "/www/a b\n";
    }
    void folderIsThePathsOwn()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(ReplacementFile::folderOf(path), folder);
        QCOMPARE(ReplacementFile(path).folder(), folder);
    }

    // A replacement that does not take the name leaves the name's file and the folder as
    // they were, whatever stopped it, and says why; one that does replaces the name alone.
    void replacesOnlyWhenCommitted_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("committed") << "commit" << 0 << true;
        QTest::newRow("given up before the commit") << "abandon" << 0 << false;
        QTest::newRow("a folder that does not exist") << "nofolder" << ENOENT << false;
        QTest::newRow("a folder that is a file") << "filefolder" << ENOTDIR << false;
        QTest::newRow("the new file cannot be synced") << "filesync" << EIO << false;
        QTest::newRow("a folder in the name's place") << "namedfolder" << EISDIR << false;
        QTest::newRow("a folder that cannot be synced on this file system") << "foldersync-einval" << 0 << true;
        QTest::newRow("a folder whose sync fails after the rename") << "foldersync-eio" << EIO << true;
    }
    void replacesOnlyWhenCommitted()
    {
        QFETCH(QString, situation);
        QFETCH(int, error);
        QFETCH(bool, replaced);
        TestHome home;
        const QString folder = home.path() + QStringLiteral("/www");
        QString path = home.write(QStringLiteral("www/index.html"), "old");
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0644), 0);
        if (situation == QLatin1String("nofolder"))
            path = folder + QStringLiteral("/gone/index.html");
        else if (situation == QLatin1String("filefolder"))
            path += QStringLiteral("/index.html");
        else if (situation == QLatin1String("namedfolder"))
            QVERIFY(QDir().mkpath(path = folder + QStringLiteral("/sub")));
        const QStringList before = listing(folder);
        const bool failsOnFolder = situation.startsWith(QLatin1String("foldersync"));
        FailingSync writer(failsOnFolder, situation.endsWith(QLatin1String("einval")) ? EINVAL : EIO);
        FileWriter plainWriter;
        FileWriter &used = failsOnFolder || situation == QLatin1String("filesync") ? writer : plainWriter;
        {
            ReplacementFile file(path);
            int told = file.create();
            if (told == 0) {
                QVERIFY(file.fd() >= 0);
                QCOMPARE(used.writeAt(file.fd(), 0, "new"), 0);
                QVERIFY(file.takeIdentity(0640, std::nullopt));
                if (situation != QLatin1String("abandon"))
                    told = file.commit(used);
            }
            QCOMPARE(qt_error_string(told), qt_error_string(error));
            QCOMPARE(file.hasTakenName(), replaced);
        }
        QCOMPARE(listing(folder), before);
        const QString page = folder + QStringLiteral("/index.html");
        QCOMPARE(readFile(page), replaced ? QByteArray("new") : QByteArray("old"));
        QCOMPARE(QFileInfo(page).permissions().testFlag(QFileDevice::ReadOther), !replaced);
    }

    // The new file takes the owner and group it is given, and the mode after them, so that
    // set-id bits survive the change of owner.
    void takesTheIdentityGiven_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("owner"); // -1: kept
        QTest::newRow("mode alone") << 0604 << -1;
        QTest::newRow("another owner") << 0640 << 65534;
        QTest::newRow("set-id bits with another owner") << 06755 << 65534;
    }
    void takesTheIdentityGiven()
    {
        QFETCH(int, mode);
        QFETCH(int, owner);
        if (owner >= 0 && ::geteuid() != 0)
            QSKIP("giving files to another user needs root");
        TestHome home;
        const QString path = home.path() + QStringLiteral("/page.html");
        ReplacementFile file(path);
        QCOMPARE(file.create(), 0);
        std::optional<ReplacementFile::Owner> identity;
        if (owner >= 0)
            identity = ReplacementFile::Owner { uid_t(owner), gid_t(owner) };
        QVERIFY(file.takeIdentity(mode_t(mode), identity));
        FileWriter writer;
        QCOMPARE(file.commit(writer), 0);
        struct stat status = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(int(status.st_mode & 07777), mode);
        QCOMPARE(int(status.st_uid), owner >= 0 ? owner : int(::geteuid()));
        QCOMPARE(int(status.st_gid), owner >= 0 ? owner : int(::getegid()));
    }
};

QTEST_APPLESS_MAIN(TestReplacementFile)
#include "test_replacement_file.moc"
