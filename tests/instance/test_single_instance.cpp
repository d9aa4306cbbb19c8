#include "HandOverMessage.h"
#include "SingleInstance.h"

#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <future>

namespace {

// The later copy runs on a thread of its own, as it would in its own process, so the
// first copy's event loop can answer it.
SingleInstance::HandOver handOver(
    const QByteArray &commandLine, const QString &folder, int timeout = SingleInstance::kHandOverMilliseconds)
{
    auto pending = std::async(
        std::launch::async, [=] { return SingleInstance::handOver(commandLine, folder, timeout); });
    while (pending.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return pending.get();
}

QString serverName(const QTemporaryDir &folder) { return folder.path() + "/Tagsmith LITE_APPLICATION"; }

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyOneCopyIsFirstUntilItEnds()
    {
        QTemporaryDir folder;
        {
            SingleInstance first(folder.path());
            SingleInstance second(folder.path());
            QVERIFY(first.tryBecomeFirst());
            QVERIFY(!second.tryBecomeFirst());
            QVERIFY(first.tryBecomeFirst());
        }
        QVERIFY(SingleInstance(folder.path()).tryBecomeFirst());
    }

    // An empty command line only asks for the window; any other arrives byte for byte.
    void commandLineArrivesByteForByte_data()
    {
        QTest::addColumn<QByteArray>("commandLine");
        QTest::newRow("quoted with spaces") << QByteArray("\"/home/me/My Site/index.html\"");
        QTest::newRow("non-ascii bytes") << QByteArray("/tmp/Gr\xC3\xBC\xC3\x9F" "e.html");
        QTest::newRow("newline in the name") << QByteArray("/tmp/a\nb.html");
        QTest::newRow("a nul byte") << QByteArray("\0", 1);
        QTest::newRow("long") << QByteArray(100000, 'x');
        QTest::newRow("empty") << QByteArray();
    }
    void commandLineArrivesByteForByte()
    {
        QFETCH(QByteArray, commandLine);
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst() && first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        QCOMPARE(handOver(commandLine, folder.path()), SingleInstance::HandOver::Delivered);
        QCOMPARE(received.size(), commandLine.isEmpty() ? 0 : 1);
        QCOMPARE(activated.size(), commandLine.isEmpty() ? 1 : 0);
        if (!commandLine.isEmpty())
            QCOMPARE(received.first().first().toByteArray(), commandLine);
    }

    // The paths of a later copy's command line, as the running copy reads them back.
    void pathsArriveAsSent_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("one") << QStringList { "/home/me/My Site/index.html" };
        QTest::newRow("several, in order") << QStringList { "/b.html", "/a.html", "/b.html" };
        QTest::newRow("blanks at the ends") << QStringList { "/site/ a.html ", "/site/\ta.html" };
        QTest::newRow("newlines in names") << QStringList { "/a\nb.html", "/c\n", "/\n\n" };
        QTest::newRow("quotes and spaces") << QStringList { "/\"x y\".html", "/'z'.html" };
        QTest::newRow("non-ascii") << QStringList { "/tmp/Grüße, Welt.php", "/tmp/日本.htm" };
        QTest::newRow("long") << QStringList { '/' + QString(50000, 'x'), "/y" };
        QTest::newRow("none: only the window") << QStringList {};
    }
    void pathsArriveAsSent()
    {
        QFETCH(QStringList, paths);
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst() && first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        QCOMPARE(handOver(HandOverMessage::encode(paths), folder.path()), SingleInstance::HandOver::Delivered);
        QCOMPARE(activated.size(), paths.isEmpty() ? 1 : 0);
        const QByteArray message = received.isEmpty() ? QByteArray() : received.first().first().toByteArray();
        QCOMPARE(HandOverMessage::decode(message), paths);
    }

    // Earlier versions sent their arguments joined by spaces: one argument, unchanged.
    void messageOfAnEarlierVersion_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("relative") << QByteArray("page.html") << QStringList { "page.html" };
        QTest::newRow("joined arguments") << QByteArray("a.html b.html") << QStringList { "a.html b.html" };
        QTest::newRow("quoted, spaces around") << QByteArray(" \"/x y.html\" ") << QStringList { " \"/x y.html\" " };
        QTest::newRow("empty") << QByteArray() << QStringList {};
    }
    void messageOfAnEarlierVersion()
    {
        QFETCH(QByteArray, message);
        QFETCH(QStringList, arguments);
        QCOMPARE(HandOverMessage::decode(message), arguments);
    }

    void aCopyThatDoesNotAnswer()
    {
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst());
        // Locked, but the window has not started listening yet.
        QCOMPARE(SingleInstance::handOver("/x.html", folder.path()), SingleInstance::HandOver::NoTarget);
        QLocalServer mute;
        QVERIFY(mute.listen(serverName(folder)));
        QCOMPARE(handOver("/x.html", folder.path(), 300), SingleInstance::HandOver::TimedOut);
    }

    void staleSocketOfADeadCopyIsReplacedAndPrivate()
    {
        QTemporaryDir folder;
        QFile leftover(serverName(folder));
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst());
        QString error;
        QVERIFY2(first.listen(&error), qPrintable(error));
        const QFileDevice::Permissions permissions = QFileInfo(first.serverPath()).permissions();
        QVERIFY(!(permissions & (QFileDevice::WriteGroup | QFileDevice::WriteOther)));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
