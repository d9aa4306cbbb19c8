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

    // What a later copy sends arrives byte for byte and reads back as the paths it holds; an
    // empty message only asks for the window. Earlier versions sent their arguments joined by
    // spaces, with no terminator: one argument, unchanged.
    void handOverArrivesAsSent_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QStringList>("paths");
        const auto sent = [](const char *name, const QStringList &paths) {
            QTest::newRow(name) << HandOverMessage::encode(paths) << paths;
        };
        sent("one", { "/home/me/My Site/index.html" });
        sent("several, in order", { "/b.html", "/a.html", "/b.html" });
        sent("blanks at the ends", { "/site/ a.html ", "/site/\ta.html" });
        sent("newlines in names", { "/a\nb.html", "/c\n", "/\n\n" });
        sent("non-ascii", { "/tmp/Grüße, Welt.php", "/tmp/日本.htm" });
        sent("long", { '/' + QString(100000, 'x'), "/y" });
        sent("none: only the window", {});
        QTest::newRow("a lone terminator: one empty path") << QByteArray("\0", 1) << QStringList { "" };
        QTest::newRow("earlier: joined") << QByteArray("a.html b.html") << QStringList { "a.html b.html" };
        QTest::newRow("earlier: newline and non-ascii bytes")
            << QByteArray("/tmp/a\nGr\xC3\xBC\xC3\x9F") + "e.html" << QStringList { "/tmp/a\nGrüße.html" };
    }
    void handOverArrivesAsSent()
    {
        QFETCH(QByteArray, message);
        QFETCH(QStringList, paths);
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst() && first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        QCOMPARE(handOver(message, folder.path()), SingleInstance::HandOver::Delivered);
        QCOMPARE(activated.size(), message.isEmpty() ? 1 : 0);
        QCOMPARE(received.size(), message.isEmpty() ? 0 : 1);
        const QByteArray arrived = received.isEmpty() ? QByteArray() : received.first().first().toByteArray();
        QCOMPARE(arrived, message);
        QCOMPARE(HandOverMessage::decode(arrived), paths);
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
