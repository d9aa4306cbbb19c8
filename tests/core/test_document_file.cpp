#include "TestHome.h"
#include "Unprivileged.h"

#include "DocumentFile.h"
#include "PageRead.h"

#include <QDirIterator>

#include <QTest>

#include <sys/stat.h>

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

    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing file") << QStringLiteral("missing") << QStringLiteral("No such file or directory");
        QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("Is a directory");
        QTest::newRow("named pipe") << QStringLiteral("fifo") << QStringLiteral("Not a regular file");
        QTest::newRow("no head") << QStringLiteral("nohead") << QStringLiteral("No HEAD section in file...");
        QTest::newRow("empty path") << QStringLiteral("emptypath") << QStringLiteral("No file name given");
        QTest::newRow("unreadable") << QStringLiteral("secret") << QStringLiteral("Permission denied");
    }
    void failures()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        TestHome home;
        QString path = home.path() + QStringLiteral("/") + kind;
        if (kind == QLatin1String("folder"))
            QDir().mkpath(path);
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("nohead"))
            path = home.write(kind, "<html><body>fragment</body></html>");
        else if (kind == QLatin1String("emptypath"))
            path.clear();
        // Reading by need and reading with the facts check the same things first.
        const auto reason = [&] {
            const QString byNeed = DocumentFile::open(path).error;
            return byNeed == DocumentFile::open(path, DocumentFile::Facts::Take).error ? byNeed : QString();
        };
        if (kind == QLatin1String("secret")) {
            // The folder is open to all, so only the file's own mode can refuse.
            QVERIFY(::chmod(QFile::encodeName(home.path()).constData(), 0755) == 0);
            path = home.write(kind, "<head>");
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0600) == 0);
            QCOMPARE(runUnprivileged(reason), error);
        } else {
            QCOMPARE(reason(), error);
        }
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
        QVERIFY(opened.document == PageRead::of({ bytes.constData(), std::size_t(bytes.size()) }).document);
    }

    void corpusReadsTheSameByNeed()
    {
        const QString folder = QString::fromLocal8Bit(qgetenv("TAGSMITH_CORPUS"));
        if (folder.isEmpty() || !QDir(folder).exists())
            QSKIP("The shared page corpus is not on this machine.");
        QDirIterator pages(folder, { QStringLiteral("*.htm*") }, QDir::Files, QDirIterator::Subdirectories);
        int count = 0;
        for (; pages.hasNext(); ++count) {
            const QString path = pages.next();
            const auto opened = DocumentFile::open(path);
            const auto whole = DocumentFile::open(path, DocumentFile::Facts::Take);
            QVERIFY2(opened.ok == whole.ok && (!opened.ok || opened.document == whole.document), qPrintable(path));
        }
        QVERIFY(count > 100);
    }
};

QTEST_APPLESS_MAIN(TestDocumentFile)
#include "test_document_file.moc"
