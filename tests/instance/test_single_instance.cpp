#include "HandOverMessage.h"
#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <future>
#include <unistd.h>

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

    // A site handed over comes apart from the pages, whatever they are called; a message cut
    // short after the word names no site.
    void siteTravelsBesideThePages_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("site"); // null: none
        const auto sent = [](const char *name, const QStringList &paths, const QString &site) {
            QTest::newRow(name) << HandOverMessage::encode(paths, site.isNull() ? std::nullopt : std::optional(site))
                                << paths << site;
        };
        sent("a site alone", {}, "/srv/www");
        sent("a site and pages", { "/a.html", "/b.html" }, "/srv/my site");
        sent("a site named like a page", { "/srv/www" }, "/srv/www");
        sent("a site with a newline and non-ascii", {}, "/tmp/Grüße\nWelt");
        sent("pages named after the word", { "/srv/--site", "/--site/x.html" }, QString());
        sent("a folder named like the word", { "/x.html" }, "--site");
        QTest::newRow("cut after the word") << QByteArray("/a.html\0--site\0", 15) << QStringList { "/a.html" } << QString();
        QTest::newRow("earlier: the word joined") << QByteArray("--site /srv") << QStringList { "--site /srv" } << QString();
        QTest::newRow("earlier: the word alone") << QByteArray("--site") << QStringList { "--site" } << QString();
    }
    void siteTravelsBesideThePages()
    {
        QFETCH(QByteArray, message);
        QFETCH(QStringList, paths);
        QFETCH(QString, site);
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst() && first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);
        QCOMPARE(handOver(message, folder.path()), SingleInstance::HandOver::Delivered);
        QCOMPARE(received.size(), 1);
        const QByteArray arrived = received.first().first().toByteArray();
        QCOMPARE(HandOverMessage::decode(arrived), paths);
        QCOMPARE(HandOverMessage::siteOf(arrived).value_or(QString()), site);
        QCOMPARE(HandOverMessage::siteOf(arrived).has_value(), !site.isNull());
    }

    // A message arrives in as many reads as the socket gives it: it is delivered once, whole,
    // when its last byte comes, and never when the sender stops short.
    void handOverInPieces_data()
    {
        QTest::addColumn<QList<int>>("cuts");
        QTest::addColumn<bool>("complete");
        QTest::newRow("inside the length") << QList<int> { 2 } << true;
        QTest::newRow("right after the length") << QList<int> { 4 } << true;
        QTest::newRow("inside the paths") << QList<int> { 9 } << true;
        QTest::newRow("many pieces") << QList<int> { 1, 3, 5, 8, 13, 21 } << true;
        QTest::newRow("stops inside the length") << QList<int> { 3 } << false;
        QTest::newRow("stops one byte short") << QList<int> { -1 } << false;
    }
    void handOverInPieces()
    {
        QFETCH(QList<int>, cuts);
        QFETCH(bool, complete);
        const QByteArray message = HandOverMessage::encode({ "/site/a page.html", "/site/b.html" });
        QByteArray frame;
        QDataStream framing(&frame, QIODevice::WriteOnly);
        framing << message;
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst() && first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        QLocalSocket sender;
        sender.connectToServer(first.serverPath());
        QVERIFY(sender.waitForConnected(1000));
        qsizetype from = 0;
        for (const int cut : cuts) {
            const qsizetype to = cut < 0 ? frame.size() + cut : cut;
            sender.write(frame.mid(from, to - from));
            sender.flush();
            QTest::qWait(30);
            QCOMPARE(received.size(), 0);
            from = to;
        }
        if (complete)
            sender.write(frame.mid(from));
        else
            sender.disconnectFromServer();
        sender.flush();
        QTest::qWait(200);
        QCOMPARE(received.size(), complete ? 1 : 0);
        QCOMPARE(activated.size(), 0);
        if (complete)
            QCOMPARE(received.first().first().toByteArray(), message);
    }

    // Without a runtime folder the copies meet in a folder of the user's own under the
    // temporary folder, which no one else may enter, whatever it was before.
    void meetingFolder_data()
    {
        QTest::addColumn<QString>("runtime"); // "dir", "file", "none"
        QTest::addColumn<bool>("fallbackExistedOpen");
        QTest::newRow("runtime folder set") << "dir" << false;
        QTest::newRow("runtime folder unset") << "none" << false;
        QTest::newRow("runtime folder names a file") << "file" << false;
        QTest::newRow("fallback left open to everyone") << "none" << true;
    }
    void meetingFolder()
    {
        QFETCH(QString, runtime);
        QFETCH(bool, fallbackExistedOpen);
        QTemporaryDir temp;
        const QByteArray oldTemp = qgetenv("TMPDIR");
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        const QString runtimePath = temp.path() + QStringLiteral("/runtime");
        if (runtime == QLatin1String("dir"))
            QVERIFY(QDir().mkpath(runtimePath));
        if (runtime == QLatin1String("file")) {
            QFile file(runtimePath);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        if (runtime == QLatin1String("none"))
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimePath));
        const QString fallback = temp.path() + QStringLiteral("/tagsmith-") + QString::number(getuid());
        if (fallbackExistedOpen) {
            QVERIFY(QDir().mkpath(fallback));
            QVERIFY(QFile::setPermissions(fallback, QFileDevice::Permissions(0x7777)));
        }
        const QString folder = SingleInstance::runtimeFolder();
        qputenv("TMPDIR", oldTemp);
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        if (runtime == QLatin1String("dir")) {
            QCOMPARE(folder, runtimePath);
            return;
        }
        QCOMPARE(folder, fallback);
        const QFileInfo info(folder);
        QVERIFY(info.isDir());
        // Owner, group and others; the "user" bits only repeat the owner's for its owner.
        QCOMPARE(int(info.permissions() & QFileDevice::Permissions(0x7077)),
            int(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
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

    // A later copy is never told "delivered" by a listener that did not take its message:
    // one that hangs up at once, answers something else, or only part of the answer.
    void handOverToAListenerThatDoesNotAcknowledge_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("hangs up") << QByteArray();
        QTest::newRow("answers no") << QByteArray("no");
        QTest::newRow("half the answer, then hangs up") << QByteArray("o");
    }
    void handOverToAListenerThatDoesNotAcknowledge()
    {
        QFETCH(QByteArray, answer);
        QTemporaryDir folder;
        QLocalServer impostor;
        QVERIFY(impostor.listen(serverName(folder)));
        QObject::connect(&impostor, &QLocalServer::newConnection, &impostor, [&] {
            QLocalSocket *socket = impostor.nextPendingConnection();
            socket->write(answer);
            socket->flush();
            socket->disconnectFromServer();
        });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(handOver("/x.html", folder.path(), 2000), SingleInstance::HandOver::TimedOut);
        // Hanging up ends the wait; only a listener that stays silent uses the whole time.
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    }

    // Listening twice is listening; where no socket can be made the reason comes back and
    // nothing listens.
    void listening()
    {
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QVERIFY(first.tryBecomeFirst());
        QVERIFY(first.listen() && first.listen() && first.isListening());
        QVERIFY(QFileInfo::exists(first.lockPath()));
        SingleInstance nowhere(folder.path() + QStringLiteral("/missing"));
        QString error;
        QVERIFY(!nowhere.listen(&error));
        QVERIFY(!nowhere.isListening());
        QVERIFY2(!error.isEmpty(), "no reason given");
        QVERIFY(!nowhere.listen());
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
