// The desktop's applications as GIO finds them, each row in a desktop of its own.

#include "DesktopApplication.h"
#include "RowProcess.h"
#include "StandInDesktop.h"

#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDesktopApplication : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (QStandardPaths::findExecutable(u"update-desktop-database"_s).isEmpty())
            QSKIP("update-desktop-database (desktop-file-utils) is not installed");
    }

    // Which application opens plain text: "id=types" entries installed, with the program they
    // name unless marked "!", and the user's [Default Applications] line for it.
    void defaultForPlainText_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("defaultLine");
        QTest::addColumn<QString>("found");
        QTest::newRow("an entry listing the type") << QStringList { "editor.desktop=text/plain;" } << QByteArray()
                                                   << "editor.desktop";
        QTest::newRow("listing it among others")
            << QStringList { "editor.desktop=text/x-csrc;text/plain;text/css;" } << QByteArray() << "editor.desktop";
        QTest::newRow("a web browser is no plain-text application")
            << QStringList { "browser.desktop=text/html;application/xhtml+xml;" } << QByteArray() << "";
        QTest::newRow("the user's default comes first")
            << QStringList { "editor.desktop=text/plain;", "mine.desktop=" } << QByteArray("mine.desktop;")
            << "mine.desktop";
        QTest::newRow("a default that is not installed is passed over")
            << QStringList { "editor.desktop=text/plain;" } << QByteArray("gone.desktop;") << "editor.desktop";
        QTest::newRow("a default whose program is gone is passed over")
            << QStringList { "!old.desktop=text/plain;", "editor.desktop=text/plain;" } << QByteArray("old.desktop;")
            << "editor.desktop";
        QTest::newRow("nothing installed") << QStringList {} << QByteArray() << "";
    }
    void defaultForPlainText()
    {
        TAGSMITH_ROW_IN_OWN_PROCESS();
        QFETCH(QStringList, entries);
        QFETCH(QByteArray, defaultLine);
        QFETCH(QString, found);
        TestHome home;
        const StandInDesktop desktop(home);
        for (const QString &entry : entries) {
            const QString id = entry.section(u'=', 0, 0).remove(u'!');
            const QString program = u"bin/"_s + id.section(u'.', 0, 0);
            if (!entry.startsWith(u'!'))
                desktop.standIn(program);
            QVERIFY(desktop.install(id, program.toUtf8() + "\" %F", entry.section(u'=', 1).toUtf8()));
        }
        QVERIFY(desktop.renewMimeCache());
        if (!defaultLine.isEmpty())
            home.write(u"config/mimeapps.list"_s, "[Default Applications]\ntext/plain=" + defaultLine + "\n");
        const std::optional<DesktopApplication> application = DesktopApplication::defaultFor(u"text/plain"_s);
        QCOMPARE(application ? application->id() : QString(), found);
        if (application)
            QCOMPARE(application->name(), found);
    }

    // The file reaches the application whole; a start that fails says why, later.
    void opening_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("more"); // of the entry
        QTest::addColumn<QString>("reason"); // the start of it; none: started
        QTest::newRow("blanks and letters beyond ASCII") << u"my site/pâge d'accueil.html"_s << QByteArray() << "";
        QTest::newRow("an editor for terminals, and no terminal installed")
            << u"page.html"_s << QByteArray("Terminal=true\n") << "Unable to find terminal";
    }
    void opening()
    {
        TAGSMITH_ROW_IN_OWN_PROCESS();
        QFETCH(QString, file);
        QFETCH(QByteArray, more);
        QFETCH(QString, reason);
        TestHome home;
        const StandInDesktop desktop(home);
        const QString program = desktop.standIn(u"bin/editor"_s);
        QVERIFY(desktop.install(u"editor.desktop"_s, "bin/editor\" --new %F", "text/plain;", more));
        QVERIFY(desktop.renewMimeCache());
        const std::optional<DesktopApplication> editor = DesktopApplication::defaultFor(u"text/plain"_s);
        QVERIFY(editor);
        const QString path = home.write(file, "<html>");
        // GIO looks for a terminal on PATH, which holds none of the machine's folders then.
        if (more.contains("Terminal=true"))
            qputenv("PATH", QFile::encodeName(home.path() + u"/bin"_s));
        QString failure;
        editor->open(path, [&failure](const QString &why) { failure = why; });
        if (reason.isEmpty()) {
            QTRY_VERIFY(StandInDesktop::wasStarted(program));
            QCOMPARE(StandInDesktop::argumentsOf(program), QStringList({ u"--new"_s, path }));
            QTest::qWait(100);
            QCOMPARE(failure, QString());
        } else {
            QTRY_VERIFY(!failure.isEmpty());
            QVERIFY2(failure.startsWith(reason), qPrintable(failure));
            QVERIFY(!StandInDesktop::wasStarted(program));
        }
    }
};

QTEST_GUILESS_MAIN(TestDesktopApplication)
#include "test_desktop_application.moc"
