#include "TestHome.h"
#include "Unprivileged.h"

#include "DocumentFile.h"

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
        const auto reason = [&] { return DocumentFile::open(path).error; };
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

    void oddPathsOpen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("newline") << QStringLiteral("two\nlines.html");
        QTest::newRow("non-ascii") << QStringLiteral(u"Grüße/страница.html");
    }
    void oddPathsOpen()
    {
        QFETCH(QString, name);
        TestHome home;
        const auto opened = DocumentFile::open(home.write(name, "<head><title>odd</title>"));
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QCOMPARE(opened.document.title, std::string("odd"));
    }
};

QTEST_APPLESS_MAIN(TestDocumentFile)
#include "test_document_file.moc"
