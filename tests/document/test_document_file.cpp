#include "TestHome.h"
#include "Unprivileged.h"

#include "document/DocumentFile.h"

#include <QTest>

#include <sys/stat.h>

class TestDocumentFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bytesComeBackExactly()
    {
        TestHome home;
        // Mixed line ends, a nul byte, invalid UTF-8 and no final line end.
        const QByteArray bytes("<head>\r\n\xE9t\xE9\n\0x\ry", 14);
        const auto read = DocumentFile::readBytes(home.write(QStringLiteral("page.html"), bytes));
        QVERIFY(read.ok);
        QCOMPARE(read.bytes, bytes);
    }

    // Large files are read in two halves at once; every size must come back whole.
    void sizesComeBackExactly_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("one byte") << 1;
        QTest::newRow("just below the split") << 8 * 1024 * 1024 - 1;
        QTest::newRow("at the split") << 8 * 1024 * 1024;
        QTest::newRow("odd size above it") << 9 * 1024 * 1024 + 7;
    }
    void sizesComeBackExactly()
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
        QCOMPARE(read.bytes.size(), bytes.size());
        QVERIFY(read.bytes == bytes);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing file")
            << QStringLiteral("missing") << QStringLiteral("No such file or directory");
        QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("Is a directory");
        QTest::newRow("named pipe") << QStringLiteral("fifo") << QStringLiteral("Not a regular file");
        QTest::newRow("no head") << QStringLiteral("nohead") << QStringLiteral("No HEAD section in file...");
        QTest::newRow("empty file") << QStringLiteral("empty")
                                    << QStringLiteral("No HEAD section in file...");
        QTest::newRow("empty path") << QStringLiteral("emptypath") << QStringLiteral("No file name given");
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
        else if (kind == QLatin1String("empty"))
            path = home.write(kind, QByteArray());
        else if (kind == QLatin1String("emptypath"))
            path.clear();

        const auto opened = DocumentFile::open(path);
        QVERIFY(!opened.ok);
        QCOMPARE(opened.error, error);
    }

    void unreadableFileGivesTheSystemsReason()
    {
        TestHome home;
        const QString path = home.write(QStringLiteral("secret.html"), "<head>");
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const QString error = runUnprivileged([&] { return DocumentFile::open(path).error; });
        QCOMPARE(error, QStringLiteral("Permission denied"));
    }

    void oddPathsOpen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("spaces") << QStringLiteral("my page.html");
        QTest::newRow("quotes") << QStringLiteral("\"quoted\" 'page'.html");
        QTest::newRow("newline") << QStringLiteral("two\nlines.html");
        QTest::newRow("non-ascii") << QStringLiteral(u"Grüße/страница.html");
        QTest::newRow("leading dash") << QStringLiteral("-rf.html");
    }
    void oddPathsOpen()
    {
        QFETCH(QString, name);
        TestHome home;
        const QString path = home.write(name, "<head><title>odd</title>");
        QVERIFY(!path.isEmpty());
        const auto opened = DocumentFile::open(path);
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QCOMPARE(opened.document.title, std::string("odd"));
    }

    void symbolicLinkIsFollowed()
    {
        TestHome home;
        const QString target = home.write(QStringLiteral("real.html"), "<head><title>real</title>");
        const QString link = home.path() + QStringLiteral("/link.html");
        QVERIFY(QFile::link(target, link));
        QVERIFY(DocumentFile::open(link).ok);
    }
};

QTEST_APPLESS_MAIN(TestDocumentFile)
#include "test_document_file.moc"
