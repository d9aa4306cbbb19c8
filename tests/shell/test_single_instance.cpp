#include "shell/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <future>

namespace {

// The later copy runs on a thread of its own, as it would in its own process, so the
// first copy's event loop can answer it.
std::future<SingleInstance::HandOver> handOverLater(
    const QByteArray &commandLine, const QString &folder, int timeout = SingleInstance::kHandOverMilliseconds)
{
    return std::async(
        std::launch::async, [=] { return SingleInstance::handOver(commandLine, folder, timeout); });
}

SingleInstance::HandOver waitFor(std::future<SingleInstance::HandOver> &pending)
{
    while (pending.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return pending.get();
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyOneCopyIsFirst()
    {
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        SingleInstance second(folder.path());
        QVERIFY(first.tryBecomeFirst());
        QVERIFY(!second.tryBecomeFirst());
        QVERIFY(first.tryBecomeFirst());
    }

    void lockIsFreedWhenTheFirstCopyEnds()
    {
        QTemporaryDir folder;
        {
            SingleInstance first(folder.path());
            QVERIFY(first.tryBecomeFirst());
        }
        SingleInstance next(folder.path());
        QVERIFY(next.tryBecomeFirst());
    }

    void commandLineArrivesByteForByte_data()
    {
        QTest::addColumn<QByteArray>("commandLine");
        QTest::newRow("plain path") << QByteArray("/srv/www/index.html");
        QTest::newRow("quoted with spaces") << QByteArray("\"/home/me/My Site/index.html\"");
        QTest::newRow("only spaces") << QByteArray("   ");
        QTest::newRow("two quotes") << QByteArray("\"\"");
        QTest::newRow("non-ascii bytes") << QByteArray("/tmp/Gr\xC3\xBC\xC3\x9F"
                                                       "e.html");
        QTest::newRow("newline in the name") << QByteArray("/tmp/a\nb.html");
        QTest::newRow("a nul byte") << QByteArray("\0", 1);
        QTest::newRow("long") << QByteArray(100000, 'x');
    }
    void commandLineArrivesByteForByte()
    {
        QFETCH(QByteArray, commandLine);
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst());
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::commandLineReceived);
        QSignalSpy activated(&first, &SingleInstance::activationRequested);

        auto pending = handOverLater(commandLine, folder.path());
        QCOMPARE(waitFor(pending), SingleInstance::HandOver::Delivered);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toByteArray(), commandLine);
        QCOMPARE(activated.size(), 0);
    }

    void emptyCommandLineOnlyAsksForTheWindow()
    {
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst());
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::commandLineReceived);
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        auto pending = handOverLater(QByteArray(), folder.path());
        QCOMPARE(waitFor(pending), SingleInstance::HandOver::Delivered);
        QCOMPARE(activated.size(), 1);
        QCOMPARE(received.size(), 0);
    }

    void noListeningCopyMeansNoTarget()
    {
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst());
        // The first copy has the lock but its window has not started listening yet.
        QCOMPARE(SingleInstance::handOver("/x.html", folder.path()), SingleInstance::HandOver::NoTarget);
    }

    void silentCopyTimesOut()
    {
        QTemporaryDir folder;
        QLocalServer mute;
        QVERIFY(mute.listen(folder.path() + QStringLiteral("/Tagsmith LITE_APPLICATION")));
        auto pending = handOverLater("/x.html", folder.path(), 300);
        QCOMPARE(waitFor(pending), SingleInstance::HandOver::TimedOut);
    }

    void staleSocketOfADeadCopyIsReplaced()
    {
        QTemporaryDir folder;
        {
            QLocalServer dead;
            QVERIFY(dead.listen(folder.path() + QStringLiteral("/Tagsmith LITE_APPLICATION")));
            dead.setMaxPendingConnections(0);
        }
        QFile leftover(folder.path() + QStringLiteral("/Tagsmith LITE_APPLICATION"));
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst());
        QString error;
        QVERIFY2(first.listen(&error), qPrintable(error));
    }

    void socketIsTheUsersOwn()
    {
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst());
        QVERIFY(first.listen());
        const QFileDevice::Permissions permissions = QFileInfo(first.serverPath()).permissions();
        QVERIFY(!(permissions & (QFileDevice::WriteGroup | QFileDevice::WriteOther)));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
