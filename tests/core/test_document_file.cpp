#include "TestHome.h"
#include "Unprivileged.h"

#include "ByteView.h"
#include "DocumentFile.h"
#include "PageRead.h"

#include <QDirIterator>

#include <QTest>

#include <chrono>
#include <future>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

using OpenError = DocumentFile::OpenError;

namespace {

// The pages below a folder, as the editor opens them.
QStringList pagesIn(const QString &folder)
{
    QStringList pages;
    QDirIterator found(folder, { QStringLiteral("*.htm*") }, QDir::Files, QDirIterator::Subdirectories);
    while (found.hasNext())
        pages << found.next();
    return pages;
}

// A page of the given size whose HEAD comes first.
QByteArray pageOfSize(qsizetype size)
{
    return QByteArray("<html><head><title>Large</title></head><body>").leftJustified(size, 'x');
}

} // namespace

class TestDocumentFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Large files are read in two halves at once; every size must come back whole.
    void bytesComeBackExactly_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("just below the split") << 8 * 1024 * 1024 - 1;
        QTest::newRow("odd size above it") << 9 * 1024 * 1024 + 7;
    }
    void bytesComeBackExactly()
    {
        QFETCH(int, size);
        TestHome home;
        QByteArray bytes(size, Qt::Uninitialized);
        quint32 state = 2463534242u;
        for (char &c : bytes) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            c = static_cast<char>(state);
        }
        const auto read = DocumentFile::readBytes(home.write(QStringLiteral("page.html"), bytes));
        QVERIFY(read.ok);
        QVERIFY(read.bytes == bytes);
    }

    // Each cause of a page not opening is told in words and by its code, the same whether
    // the page is read by need or whole.
    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<OpenError>("code");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing file") << "missing" << OpenError::Missing << "No such file or directory";
        QTest::newRow("through a missing folder")
            << "gone/page.html" << OpenError::Missing << "No such file or directory";
        QTest::newRow("through a file") << "file/page.html" << OpenError::ReadFailed << "Not a directory";
        QTest::newRow("folder") << "folder" << OpenError::NotAPage << "Is a directory";
        QTest::newRow("named pipe") << "fifo" << OpenError::NotAPage << "Not a regular file";
        QTest::newRow("device") << "/dev/null" << OpenError::NotAPage << "Not a regular file";
        QTest::newRow("empty path") << "emptypath" << OpenError::NotAPage << "No file name given";
        QTest::newRow("sparse file over the limit")
            << "sparse" << OpenError::TooLarge
            << "File is too large (513 MB; pages up to 512 MB can be opened)";
        QTest::newRow("a file the system fails to read") << "/proc/self/mem" << OpenError::ReadFailed
                                                         << "Input/output error";
        QTest::newRow("no head") << "nohead" << OpenError::NoHead << "No HEAD section in file...";
        QTest::newRow("unreadable") << "secret" << OpenError::AccessDenied << "Permission denied";
        QTest::newRow("a good page") << "good" << OpenError::None << "";
    }
    void failures()
    {
        QFETCH(QString, kind);
        QFETCH(OpenError, code);
        QFETCH(QString, error);
        TestHome home;
        QString path = kind.startsWith(QLatin1Char('/')) ? kind : home.path() + QStringLiteral("/") + kind;
        if (kind == QLatin1String("folder"))
            QDir().mkpath(path);
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("nohead"))
            path = home.write(kind, "<html><body>fragment</body></html>");
        else if (kind == QLatin1String("good"))
            path = home.write(kind, "<html><head><title>Fine</title></head></html>");
        else if (kind == QLatin1String("file/page.html"))
            home.write(QStringLiteral("file"), "<head>");
        else if (kind == QLatin1String("sparse"))
            QCOMPARE(::truncate(QFile::encodeName(home.write(kind, "<head>")).constData(),
                         DocumentFile::kMaxBytes + 1),
                0);
        else if (kind == QLatin1String("emptypath"))
            path.clear();
        const auto outcome = [](const DocumentFile::OpenResult &opened) {
            return QStringLiteral("ok=%1 code=%2 error=%3")
                .arg(opened.ok)
                .arg(int(opened.code))
                .arg(opened.error);
        };
        // Reading by need and reading with the facts check the same things first.
        const auto reason = [&] {
            const QString byNeed = outcome(DocumentFile::open(path));
            const QString whole = outcome(DocumentFile::open(path, DocumentFile::Facts::Take));
            return byNeed == whole ? byNeed : byNeed + QStringLiteral(" but whole ") + whole;
        };
        const QString expected
            = QStringLiteral("ok=%1 code=%2 error=%3").arg(code == OpenError::None).arg(int(code)).arg(error);
        if (kind == QLatin1String("secret")) {
            // The folder is open to all, so only the file's own mode can refuse.
            QVERIFY(::chmod(QFile::encodeName(home.path()).constData(), 0755) == 0);
            path = home.write(kind, "<head>");
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0600) == 0);
            QCOMPARE(runUnprivileged(reason), expected);
        } else {
            QCOMPARE(reason(), expected);
        }
    }

    // The largest page opens: only its HEAD is read, however large the rest.
    void pageAtTheLimitOpens()
    {
        TestHome home;
        const QString path = home.write(QStringLiteral("page.html"), "<head><meta charset=\"utf-8\"><title>Edge</title></head>\n");
        QCOMPARE(::truncate(QFile::encodeName(path).constData(), DocumentFile::kMaxBytes), 0);
        const DocumentFile::OpenResult opened = DocumentFile::open(path);
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QCOMPARE(opened.document.title, std::string("Edge"));
    }

    // A file may hold more than its size said when it was looked at, as one that grew
    // meanwhile does, and as the system's own files always do: all of it is read.
    void readsPastTheSizeFirstSeen()
    {
        const QString path = QStringLiteral("/proc/self/cmdline");
        const QByteArray bytes = readFile(path);
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(QFileInfo(path).size(), 0);
        const DocumentFile::ReadResult read = DocumentFile::readBytes(path);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.bytes, bytes);
    }

    // An open keeps the stamp of the file it read in either mode, and the page's bytes when
    // it read them whole; bytes handed in have no file and so no stamp.
    void whatAnOpenKeeps_data()
    {
        QTest::addColumn<DocumentFile::Facts>("facts");
        QTest::newRow("by need") << DocumentFile::Facts::Skip;
        QTest::newRow("whole, with the facts") << DocumentFile::Facts::Take;
    }
    void whatAnOpenKeeps()
    {
        QFETCH(DocumentFile::Facts, facts);
        TestHome home;
        const QByteArray bytes = "<html>\n<head><title>Kept</title></head>\n<body>x</body></html>\n";
        const QString path = home.write(QStringLiteral("page.html"), bytes);
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0604), 0);
        const DocumentFile::OpenResult opened = DocumentFile::open(path, facts);
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QVERIFY(opened.stamp.exists);
        QVERIFY(opened.stamp == FileStamp::of(path));
        const bool whole = facts == DocumentFile::Facts::Take;
        QCOMPARE(opened.bytes, whole ? bytes : QByteArray());
        QCOMPARE(opened.facts.hasHead, whole);
        QVERIFY(DocumentFile::fromBytes(bytes).stamp == FileStamp());
    }

    // Bytes in memory read as the same bytes in a file: the same document, facts, refusal
    // and bytes kept.
    void fromBytesReadsAsTheFile_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("the examples") << QStringLiteral(TAGSMITH_EXAMPLES);
        QTest::newRow("the shared corpus") << QString::fromLocal8Bit(qgetenv("TAGSMITH_CORPUS"));
        QTest::newRow("pages made here") << QString();
    }
    void fromBytesReadsAsTheFile()
    {
        QFETCH(QString, folder);
        TestHome home;
        if (folder.isEmpty()) {
            home.write(QStringLiteral("nohead.html"), "<html><body>no head</body></html>");
            home.write(QStringLiteral("empty.html"), "");
            home.write(
                QStringLiteral("latin1.html"), "<head><meta name=\"author\" content=\"J\xFCrgen\">\r\n");
            home.write(QStringLiteral("unread.html"),
                "<HEAD><meta content=\"x\" name=\"keywords\"><title>T</title></HEAD><meta name=\"author\" "
                "content=\"a\">");
            folder = home.path();
        } else if (!QDir(folder).exists()) {
            QSKIP("The shared page corpus is not on this machine.");
        }
        const QStringList pages = pagesIn(folder);
        QVERIFY(!pages.isEmpty());
        for (const QString &path : pages) {
            const DocumentFile::OpenResult read = DocumentFile::open(path, DocumentFile::Facts::Take);
            const DocumentFile::OpenResult held = DocumentFile::fromBytes(readFile(path));
            QVERIFY2(
                held.ok == read.ok && held.code == read.code && held.error == read.error, qPrintable(path));
            QVERIFY2(held.document == read.document && held.facts == read.facts, qPrintable(path));
            QVERIFY2(held.bytes == read.bytes && !read.bytes.isNull(), qPrintable(path));
        }
    }

    // A large page waits for the turn its caller holds; a small one, or a read by need,
    // goes ahead.
    void largePagesTakeTurns_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<DocumentFile::Facts>("facts");
        QTest::addColumn<bool>("waits");
        QTest::newRow("small page") << 64 * 1024 << DocumentFile::Facts::Take << false;
        QTest::newRow("large page") << 2 * 1024 * 1024 << DocumentFile::Facts::Take << true;
        QTest::newRow("large page read by need") << 2 * 1024 * 1024 << DocumentFile::Facts::Skip << false;
    }
    void largePagesTakeTurns()
    {
        QFETCH(int, size);
        QFETCH(DocumentFile::Facts, facts);
        QFETCH(bool, waits);
        TestHome home;
        const QString path = home.write(QStringLiteral("page.html"), pageOfSize(size));
        std::mutex turn;
        // Declared before the lock, so a failed check lets go of the turn before it waits
        // for the read to end.
        std::future<DocumentFile::OpenResult> reading;
        std::unique_lock held(turn);
        reading = std::async(std::launch::async, [&] { return DocumentFile::open(path, facts, &turn); });
        using namespace std::chrono_literals;
        QCOMPARE(reading.wait_for(waits ? 300ms : 60s) == std::future_status::ready, !waits);
        held.unlock();
        const DocumentFile::OpenResult opened = reading.get();
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QCOMPARE(opened.document.title, std::string("Large"));
    }

    // Without the facts a page is read only as far as the read needs; it must read what a
    // read of the whole page reads, however far that is and whatever the blocks cut.
    void readsWhatTheWholePageSays_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray declared("<html>\n<head><meta charset=\"utf-8\"><title>Caf\xC3\xA9</title>\n");
        const QByteArray undeclared("<html>\r\n<head><meta name=\"author\" content=\"J\xC3\xBCrgen\">\r\n");
        const QByteArray body = "</head>\n<body>" + QByteArray(3 * 1024 * 1024, 'x');
        QTest::newRow("declared, a stray byte deep in the body") << declared + body + "\xE9";
        QTest::newRow("undeclared, a stray byte deep in the body") << undeclared + body + "\xE9</body>";
        QTest::newRow("undeclared, characters cut by block edges")
            << undeclared + body + QByteArray(1024 * 1024, '\xE9').replace("\xE9", "\xE2\x82\xAC");
        QTest::newRow("a HEAD longer than the first block")
            << declared + QByteArray(200 * 1024, ' ') + "<meta name=\"keywords\" content=\"late\">" + body;
        QTest::newRow("no end tag") << undeclared + QByteArray(100 * 1024, 'y') + "\xFF";
        QTest::newRow("the first line end past the first block")
            << "<head><meta charset=\"utf-8\"></head>" + QByteArray(70 * 1024, ' ') + "\r";
        QTest::newRow("exactly the first block") << QByteArray(declared + "</head>").leftJustified(64 * 1024, ' ');
        // Past a few megabytes the rest is checked as two halves, cut at its middle.
        const QByteArray largeBody = "</head>\n<body>" + QByteArray(9 * 1024 * 1024, 'x');
        for (int shift = 0; shift < 4; ++shift) {
            QTest::addRow("undeclared, large, four-byte characters across the middle, shifted by %d", shift)
                << undeclared + QByteArray(largeBody).replace("xxxx", "\xF0\x9F\x98\x80") + QByteArray(2 * shift, 'y');
        }
        QTest::newRow("undeclared, large, a stray byte early in the body")
            << undeclared + "</head>\n<body>\xE9" + QByteArray(9 * 1024 * 1024, 'x');
        // The first half of the rest is read up to the middle before its stray byte shows,
        // while the second half, all valid, may be done by then.
        QByteArray strayBeforeMiddle = undeclared + QByteArray(largeBody).leftJustified(10 * 1024 * 1024, 'x');
        strayBeforeMiddle[strayBeforeMiddle.size() / 2 + 32 * 1024 - 100] = '\xE9';
        QTest::newRow("undeclared, large, a stray byte just before the middle") << strayBeforeMiddle;
        QTest::newRow("undeclared, large, a run of continuation bytes over the middle")
            << undeclared + largeBody + QByteArray(2 * 1024 * 1024, '\x80') + largeBody;
        QTest::newRow("undeclared, large, characters cut at every block edge")
            << undeclared + QByteArray(largeBody).replace("xxx", "\xE2\x82\xAC") + "\xC3";
    }
    void readsWhatTheWholePageSays()
    {
        QFETCH(QByteArray, bytes);
        TestHome home;
        const auto opened = DocumentFile::open(home.write(QStringLiteral("page.html"), bytes));
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QVERIFY(opened.document == PageRead::of(byteView(bytes)).document);
    }

    void corpusReadsTheSameByNeed()
    {
        const QString folder = QString::fromLocal8Bit(qgetenv("TAGSMITH_CORPUS"));
        if (folder.isEmpty() || !QDir(folder).exists())
            QSKIP("The shared page corpus is not on this machine.");
        const QStringList pages = pagesIn(folder);
        for (const QString &path : pages) {
            const auto opened = DocumentFile::open(path);
            const auto whole = DocumentFile::open(path, DocumentFile::Facts::Take);
            QVERIFY2(opened.ok == whole.ok && (!opened.ok || opened.document == whole.document), qPrintable(path));
        }
        QVERIFY(pages.size() > 100);
    }
};

QTEST_APPLESS_MAIN(TestDocumentFile)
#include "test_document_file.moc"
