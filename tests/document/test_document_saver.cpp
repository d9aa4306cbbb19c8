#include "TestHome.h"
#include "Unprivileged.h"

#include "document/DocumentSaver.h"
#include "document/DocumentScanner.h"

#include <QDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QByteArray kPage = "<html>\r\n<head>\r\n<meta name=\"keywords\" "
                         "content=\"old\">\r\n</head>\r\n<body>x</body>\r\n</html>\r\n";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

MetaElementSet newKeywords()
{
    MetaElementSet values;
    values.setText(TextField::Keywords, "new");
    return values;
}

DocumentSaver::Request saveOf(const QString &path, bool backup = true)
{
    return { path, path, path, newKeywords(), QStringLiteral("2.01a"), backup };
}

// A disk that fills up: every write fails the way a full file system makes it fail.
class FullDiskSaveFile : public QSaveFile
{
public:
    using QSaveFile::QSaveFile;

protected:
    qint64 writeData(const char *, qint64) override
    {
        setErrorString(QStringLiteral("No space left on device"));
        return -1;
    }
};

} // namespace

class TestDocumentSaver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveWritesBackupThenPage()
    {
        TestHome home;
        const QString path = home.write(QStringLiteral("site.example/index.html"), kPage);
        const auto result = DocumentSaver::save(saveOf(path));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.backupPath, home.path() + QStringLiteral("/site.example/index.bak"));
        QCOMPARE(contents(result.backupPath), kPage);
        const QByteArray saved = contents(path);
        QVERIFY(saved.contains("<META name=\"keywords\" content=\"new\">\r\n"));
        QVERIFY(!saved.contains("old"));
        QCOMPARE(listing(home.path() + QStringLiteral("/site.example")),
            (QStringList { QStringLiteral("index.bak"), QStringLiteral("index.html") }));
    }

    // A preview writes nothing and shows the very bytes the save then writes.
    void previewShowsWhatTheSaveWrites_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<bool>("changed");
        QTest::newRow("crlf page, new keywords") << kPage << true;
        QTest::newRow("cr page without a final line end")
            << QByteArray("<head>\r<meta name=\"keywords\" content=\"old\">\r</head>") << true;
        QTest::newRow("page already saved with these values")
            << QByteArray("<html>\n<HEAD>\n<META name=\"keywords\" content=\"new\">\n"
                          "<META name=\"distribution\" content=\"global\">\n"
                          "<META name=\"FORMATTER\" content=\"Tagsmith LITE 2.01a\">\n</HEAD>\n</html>\n")
            << false;
    }
    void previewShowsWhatTheSaveWrites()
    {
        QFETCH(QByteArray, page);
        QFETCH(bool, changed);
        TestHome home;
        const QString path = home.write(QStringLiteral("www/index.html"), page);
        const QStringList before = listing(home.path() + QStringLiteral("/www"));

        const DocumentSaver::Preview preview = DocumentSaver::preview(saveOf(path));
        QVERIFY2(preview.result.ok, qPrintable(preview.result.error));
        QCOMPARE(preview.result.changed, changed);
        QCOMPARE(preview.result.backupPath, home.path() + QStringLiteral("/www/index.bak"));
        QCOMPARE(preview.before, page);
        QCOMPARE(listing(home.path() + QStringLiteral("/www")), before);
        QCOMPARE(contents(path), page);

        const DocumentSaver::Result saved = DocumentSaver::save(saveOf(path));
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(saved.changed, changed);
        QCOMPARE(contents(path), preview.after);
        QCOMPARE(preview.after != page, changed);
    }

    // A preview refuses what the save would refuse, and still writes nothing.
    void previewFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing source")
            << QStringLiteral("missing") << QStringLiteral("No such file or directory");
        QTest::newRow("no head start tag")
            << QStringLiteral("nohead") << QStringLiteral("No HEAD section in file...");
        QTest::newRow("backup name taken by a folder")
            << QStringLiteral("backupfolder") << QStringLiteral("index.bak: Is a directory");
        QTest::newRow("read-only folder")
            << QStringLiteral("readonlyfolder") << QStringLiteral("www: Permission denied");
    }
    void previewFailures()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        TestHome home;
        const QString folder = home.path() + QStringLiteral("/www");
        const QString path = home.write(
            QStringLiteral("www/index.html"), kind == QLatin1String("nohead") ? "<p>x</p>" : kPage);
        if (kind == QLatin1String("missing"))
            QFile::remove(path);
        if (kind == QLatin1String("backupfolder"))
            QDir().mkpath(folder + QStringLiteral("/index.bak"));
        if (kind == QLatin1String("readonlyfolder")) {
            QVERIFY(::chmod(QFile::encodeName(home.path()).constData(), 0755) == 0);
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0666) == 0);
        }
        const QStringList before = listing(folder);
        const auto previewError = [&] { return DocumentSaver::preview(saveOf(path)).result.error; };
        const QString error
            = kind == QLatin1String("readonlyfolder") ? runUnprivileged(previewError) : previewError();
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(listing(folder), before);
    }

    void backupsOffWritesNoBackup()
    {
        TestHome home;
        const QString path = home.write(QStringLiteral("index.html"), kPage);
        const auto result = DocumentSaver::save(saveOf(path, false));
        QVERIFY(result.ok);
        QVERIFY(result.backupPath.isEmpty());
        QCOMPARE(listing(home.path()), QStringList { QStringLiteral("index.html") });
    }

    void permissionBitsAreKept_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("private") << 0600;
        QTest::newRow("group readable") << 0640;
        QTest::newRow("executable for server-side includes") << 0755;
    }
    void permissionBitsAreKept()
    {
        QFETCH(int, mode);
        TestHome home;
        const QString path = home.write(QStringLiteral("page.shtml"), kPage);
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0);
        const auto before = QFileInfo(path).permissions();
        const auto result = DocumentSaver::save(saveOf(path));
        QVERIFY(result.ok);
        QCOMPARE(QFileInfo(path).permissions(), before);
        // A new backup is no more readable than the page it copies.
        QCOMPARE(QFileInfo(result.backupPath).permissions(), before);
    }

    void symbolicLinkIsWrittenThrough()
    {
        TestHome home;
        const QString real = home.write(QStringLiteral("real/page.html"), kPage);
        const QString link = home.path() + QStringLiteral("/link.html");
        QVERIFY(QFile::link(real, link));
        const auto result = DocumentSaver::save(saveOf(link));
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(contents(real).contains("content=\"new\""));
    }

    void saveAsLeavesTheOldFile()
    {
        TestHome home;
        const QString old = home.write(QStringLiteral("old.html"), kPage);
        const QString renamed = home.path() + QStringLiteral("/new.html");
        const auto result
            = DocumentSaver::save({ old, renamed, old, newKeywords(), QStringLiteral("2.01a"), true });
        QVERIFY(result.ok);
        QCOMPARE(contents(old), kPage);
        QCOMPARE(result.backupPath, home.path() + QStringLiteral("/old.bak"));
        QVERIFY(contents(renamed).contains("content=\"new\""));
    }

    // Every way a save can fail leaves every file as it was, with no temporary file left.
    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing source")
            << QStringLiteral("missing") << QStringLiteral("No such file or directory");
        QTest::newRow("no head start tag")
            << QStringLiteral("nohead") << QStringLiteral("No HEAD section in file...");
        QTest::newRow("target is a folder") << QStringLiteral("folder") << QStringLiteral("Is a directory");
        QTest::newRow("backup name taken by a folder")
            << QStringLiteral("backupfolder") << QStringLiteral("Is a directory");
        QTest::newRow("link to /dev/full")
            << QStringLiteral("devfull") << QStringLiteral("Not a regular file");
        QTest::newRow("full disk") << QStringLiteral("fulldisk") << QStringLiteral("No space left on device");
        QTest::newRow("read-only folder")
            << QStringLiteral("readonlyfolder") << QStringLiteral("Permission denied");
        QTest::newRow("read-only file")
            << QStringLiteral("readonlyfile") << QStringLiteral("Permission denied");
        QTest::newRow("read-only folder, no backup")
            << QStringLiteral("readonlyfolder-nobackup") << QStringLiteral("Permission denied");
    }
    void failures()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        TestHome home;
        const QString folder = home.path() + QStringLiteral("/www");
        QDir().mkpath(folder);
        QString path = home.write(
            QStringLiteral("www/index.html"), kind == QLatin1String("nohead") ? "<p>x</p>" : kPage);
        DocumentSaver::Request request = saveOf(path);
        DocumentSaver::SaveFileFactory factory;
        bool unprivileged = false;

        if (kind == QLatin1String("missing")) {
            QFile::remove(path);
        } else if (kind == QLatin1String("folder")) {
            request.targetPath = folder + QStringLiteral("/sub");
            QDir().mkpath(request.targetPath);
        } else if (kind == QLatin1String("backupfolder")) {
            QDir().mkpath(folder + QStringLiteral("/index.bak"));
        } else if (kind == QLatin1String("devfull")) {
            request.targetPath = folder + QStringLiteral("/full.html");
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), request.targetPath));
        } else if (kind == QLatin1String("fulldisk")) {
            factory = [](const QString &p) { return std::make_unique<FullDiskSaveFile>(p); };
        } else if (kind.startsWith(QLatin1String("readonlyfolder"))) {
            // Readable for everyone, writable only by its owner (root in CI).
            QVERIFY(::chmod(QFile::encodeName(home.path()).constData(), 0755) == 0);
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0666) == 0);
            request.backup = !kind.endsWith(QLatin1String("nobackup"));
            unprivileged = true;
        } else if (kind == QLatin1String("readonlyfile")) {
            QVERIFY(::chmod(QFile::encodeName(home.path()).constData(), 0755) == 0);
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0777) == 0);
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
            request.backup = false;
            unprivileged = true;
        }

        const QStringList before = listing(folder);
        const QByteArray bytesBefore = contents(path);
        const QString error = unprivileged
            ? runUnprivileged([&] { return DocumentSaver::save(request).error; })
            : DocumentSaver::save(request, factory).error;
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(listing(folder), before);
        QCOMPARE(contents(path), bytesBefore);
    }
};

QTEST_APPLESS_MAIN(TestDocumentSaver)
#include "test_document_saver.moc"
