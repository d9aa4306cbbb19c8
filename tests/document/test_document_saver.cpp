#include "TestHome.h"
#include "Unprivileged.h"

#include "document/DocumentSaver.h"

#include <QDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QByteArray kPage = "<html>\r\n<head>\r\n<meta name=\"keywords\" content=\"old\">\r\n</head>\r\n</html>\r\n";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

DocumentSaver::Request saveOf(const QString &path, bool backup = true, const QString &target = {})
{
    MetaElementSet values;
    values.setText(TextField::Keywords, "new");
    return { path, target.isEmpty() ? path : target, path, values, QStringLiteral("2.01a"), backup };
}

void chmodOrFail(const QString &path, mode_t mode)
{
    QVERIFY2(::chmod(QFile::encodeName(path).constData(), mode) == 0, qPrintable(path));
}

// Every write fails the way a full file system makes it fail.
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
    void saveWritesBackupThenPage_data()
    {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("with backup") << true << QStringList { "index.bak", "index.html" };
        QTest::newRow("backups off") << false << QStringList { "index.html" };
    }
    void saveWritesBackupThenPage()
    {
        QFETCH(bool, backup);
        QFETCH(QStringList, files);
        TestHome home;
        const QString path = home.write(QStringLiteral("site.example/index.html"), kPage);
        const auto result = DocumentSaver::save(saveOf(path, backup));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(listing(home.path() + QStringLiteral("/site.example")), files);
        if (backup)
            QCOMPARE(contents(result.backupPath), kPage);
        QVERIFY(contents(path).contains("<META name=\"keywords\" content=\"new\">\r\n"));
        QVERIFY(!contents(path).contains("old"));
    }

    // A preview writes nothing and shows the very bytes the save then writes.
    void previewShowsWhatTheSaveWrites_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<bool>("changed");
        QTest::newRow("crlf page, new keywords") << kPage << true;
        QTest::newRow("page already saved with these values")
            << QByteArray("<html>\n<HEAD>\n<META name=\"keywords\" content=\"new\">\n<META name=\"distribution\" "
                          "content=\"global\">\n<META name=\"FORMATTER\" content=\"Tagsmith LITE 2.01a\">\n</HEAD>\n")
            << false;
    }
    void previewShowsWhatTheSaveWrites()
    {
        QFETCH(QByteArray, page);
        QFETCH(bool, changed);
        TestHome home;
        const QString path = home.write(QStringLiteral("index.html"), page);
        const DocumentSaver::Preview preview = DocumentSaver::preview(saveOf(path));
        QVERIFY2(preview.result.ok, qPrintable(preview.result.error));
        QCOMPARE(preview.result.changed, changed);
        QCOMPARE(preview.before, page);
        QCOMPARE(listing(home.path()), QStringList { "index.html" });
        const DocumentSaver::Result saved = DocumentSaver::save(saveOf(path));
        QCOMPARE(saved.changed, changed);
        QCOMPARE(contents(path), preview.after);
        QCOMPARE(preview.after != page, changed);
    }

    // Written through a link, keeping the page's mode, the old file left alone by a Save As.
    void linkModeAndSaveAs()
    {
        TestHome home;
        const QString real = home.write(QStringLiteral("real/page.shtml"), kPage);
        const QString link = home.path() + QStringLiteral("/link.shtml");
        QVERIFY(QFile::link(real, link));
        chmodOrFail(real, 0750);
        const auto before = QFileInfo(real).permissions();
        const auto result = DocumentSaver::save(saveOf(link));
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(contents(real).contains("content=\"new\""));
        QCOMPARE(QFileInfo(real).permissions(), before);
        // A new backup is no more readable than the page it copies.
        QCOMPARE(QFileInfo(result.backupPath).permissions(), before);

        const QString renamed = home.path() + QStringLiteral("/new.html");
        const QByteArray saved = contents(real);
        QVERIFY(DocumentSaver::save(saveOf(real, false, renamed)).ok);
        QCOMPARE(contents(real), saved);
        QVERIFY(contents(renamed).contains("content=\"new\""));
    }

    // Every way a save can fail leaves every file as it was, with no temporary file left;
    // a preview refuses what the save would refuse where it can know it without writing.
    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("previewRefuses");
        QTest::newRow("missing source") << "missing" << "No such file or directory" << true;
        QTest::newRow("no head start tag") << "nohead" << "No HEAD section in file..." << true;
        QTest::newRow("backup name taken by a folder") << "backupfolder" << "index.bak: Is a directory" << true;
        QTest::newRow("link to /dev/full") << "devfull" << "Not a regular file" << false;
        QTest::newRow("full disk") << "fulldisk" << "No space left on device" << false;
        QTest::newRow("read-only folder") << "readonlyfolder" << "Permission denied" << true;
        QTest::newRow("read-only folder, no backup") << "readonlyfolder-nobackup" << "Permission denied" << false;
        QTest::newRow("read-only file") << "readonlyfile" << "Permission denied" << false;
    }
    void failures()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QFETCH(bool, previewRefuses);
        TestHome home;
        const QString folder = home.path() + QStringLiteral("/www");
        const QString path = home.write(QStringLiteral("www/index.html"), kind == "nohead" ? "<p>x</p>" : kPage);
        DocumentSaver::Request request = saveOf(path);
        DocumentSaver::SaveFileFactory factory;
        const bool unprivileged = kind.startsWith(QLatin1String("readonly"));
        if (kind == "missing") {
            QFile::remove(path);
        } else if (kind == "backupfolder") {
            QDir().mkpath(folder + QStringLiteral("/index.bak"));
        } else if (kind == "devfull") {
            request.targetPath = folder + QStringLiteral("/full.html");
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), request.targetPath));
        } else if (kind == "fulldisk") {
            factory = [](const QString &p) { return std::make_unique<FullDiskSaveFile>(p); };
        } else if (unprivileged) {
            // Open to everyone but writable only by its owner, root in CI; or the file alone read-only.
            const bool fileOnly = kind == "readonlyfile";
            chmodOrFail(home.path(), 0755);
            chmodOrFail(folder, fileOnly ? 0777 : 0755);
            chmodOrFail(path, fileOnly ? 0444 : 0666);
            request.backup = kind == "readonlyfolder";
        }
        const QStringList before = listing(folder);
        const QByteArray bytesBefore = contents(path);
        const auto run = [&](bool preview) {
            return preview ? DocumentSaver::preview(request).result.error : DocumentSaver::save(request, factory).error;
        };
        for (const bool preview : { true, false }) {
            if (preview && !previewRefuses)
                continue;
            const QString error = unprivileged ? runUnprivileged([&] { return run(preview); }) : run(preview);
            QVERIFY2(error.contains(reason), qPrintable(error));
            QCOMPARE(listing(folder), before);
            QCOMPARE(contents(path), bytesBefore);
        }
    }
};

QTEST_APPLESS_MAIN(TestDocumentSaver)
#include "test_document_saver.moc"
