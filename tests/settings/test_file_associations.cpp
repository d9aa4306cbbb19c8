#include "TestHome.h"

#include "services/RegistryKey.h"
#include "settings/FileAssociations.h"
#include "settings/MimeAppsList.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;
using Family = FileAssociations::Family;

Q_DECLARE_METATYPE(FileAssociations::Family)

namespace {

QString classes(const QString &path, const QString &name = QString())
{
    return RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, path, name).Value();
}

void setClasses(const QString &path, const QString &text, const QString &name = QString())
{
    RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, path, name).setValue(text);
}

QByteArray registryStore()
{
    QFile file(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, QString()).storeFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The action's Exec line split as a launcher does (quotes, backslash escapes, %%), %F filled in.
QStringList execOfAction(const QString &entryPath, const QString &file)
{
    QFile entry(entryPath);
    const QString text = entry.open(QIODevice::ReadOnly) ? QString::fromUtf8(entry.readAll()) : QString();
    const auto line = QRegularExpression(u"\\[Desktop Action edit-with-tagsmith\\][^[]*\nExec=([^\n]*)"_s).match(text);
    QStringList arguments;
    static const QRegularExpression word(u"\"((?:[^\"\\\\]|\\\\.)*)\"|(\\S+)"_s);
    for (auto it = word.globalMatch(line.captured(1)); it.hasNext();) {
        const auto m = it.next();
        QString a = m.hasCaptured(1) ? m.captured(1).replace(QRegularExpression(u"\\\\(.)"_s), u"\\1"_s) : m.captured(2);
        arguments << (a == u"%F"_s ? file : a.replace(u"%%"_s, u"%"_s));
    }
    return arguments;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// XDG folders of the test's own: the user's data and configuration, and a "system" that
// has nothing installed but what the test puts there. xdg-mime runs in it as on a desktop
// it does not know, which is its general case.
class PrivateDesktop
{
public:
    explicit PrivateDesktop(const QString &home)
        : m_environment(QProcessEnvironment::systemEnvironment())
    {
        for (const QString &name : { u"XDG_CURRENT_DESKTOP"_s, u"XDG_SESSION_DESKTOP"_s, u"DESKTOP_SESSION"_s,
                 u"KDE_FULL_SESSION"_s, u"KDE_SESSION_VERSION"_s, u"GNOME_DESKTOP_SESSION_ID"_s,
                 u"MATE_DESKTOP_SESSION_ID"_s, u"XDG_MENU_PREFIX"_s, u"DBUS_SESSION_BUS_ADDRESS"_s, u"DISPLAY"_s })
            m_environment.remove(name);
        const QList<std::pair<QString, QString>> folders { { u"XDG_DATA_HOME"_s, u"/data"_s },
            { u"XDG_CONFIG_HOME"_s, u"/config"_s }, { u"XDG_DATA_DIRS"_s, u"/system"_s },
            { u"XDG_CONFIG_DIRS"_s, u"/system-config"_s } };
        for (const auto &[name, folder] : folders) {
            m_environment.insert(name, home + folder);
            QDir().mkpath(home + folder);
        }
        QDir().mkpath(home + u"/data/applications"_s);
        QDir().mkpath(home + u"/system/applications"_s);
    }

    // What xdg-mime prints; what went wrong when it failed.
    QString run(const QStringList &arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(m_environment);
        process.start(u"xdg-mime"_s, arguments);
        if (!process.waitForFinished(20000) || process.exitCode() != 0)
            return u"xdg-mime failed: "_s + QString::fromLocal8Bit(process.readAllStandardError());
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    }
    QString defaultFor(const QString &type) const { return run({ u"query"_s, u"default"_s, type }); }

private:
    QProcessEnvironment m_environment;
};

} // namespace

class TestFileAssociations : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestHome> m_home;
    std::unique_ptr<FileAssociations> m_associations;

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TestHome>();
        m_associations = std::make_unique<FileAssociations>(u"/opt/tag smith/bin"_s, m_home->path() + u"/applications"_s);
    }
    void cleanup()
    {
        m_associations.reset();
        m_home.reset();
    }

    void registering_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<QStringList>("extensions");
        QTest::addColumn<QString>("classKey");
        QTest::addColumn<bool>("icon");
        QTest::newRow("php, three extensions") << Family::Php << QStringList { ".php", ".php3", ".phtml" } << u"phpfile"_s << true;
        QTest::newRow("htm, no icon of ours") << Family::Htm << QStringList { ".htm", ".html" } << u"htmlfile"_s << false;
    }
    void registering()
    {
        QFETCH(Family, family);
        QFETCH(QStringList, extensions);
        QFETCH(QString, classKey);
        QFETCH(bool, icon);
        QVERIFY(!m_associations->read(family).registered);
        QVERIFY(m_associations->write(family, true));
        QVERIFY(m_associations->read(family).registered);
        for (const QString &extension : extensions)
            QCOMPARE(classes(extension), classKey);
        const QString description = classes(classKey);
        QVERIFY(!description.isEmpty());
        QCOMPARE(classes(classKey + u"\\DefaultIcon"_s), icon ? u"/opt/tag smith/bin/tagsmith,0"_s : QString());
        QCOMPARE(classes(classKey + u"\\shell\\Edit_with_Tagsmith\\command"_s), u"\"/opt/tag smith/bin/tagsmith\" %1"_s);
        QVERIFY(QFile::exists(m_associations->desktopEntryPath(family)));

        // Off removes the verb and the icon but keeps the extensions and the class.
        QVERIFY(m_associations->write(family, false));
        QVERIFY(!m_associations->read(family).registered);
        QCOMPARE(classes(classKey + u"\\shell\\Edit_with_Tagsmith"_s), QString());
        QCOMPARE(classes(classKey + u"\\DefaultIcon"_s), QString());
        QCOMPARE(classes(extensions.first()), classKey);
        QCOMPARE(classes(classKey), description);
        QVERIFY(!QFile::exists(m_associations->desktopEntryPath(family)));
    }

    void othersEntriesAreLeftAlone()
    {
        setClasses(u".asp"_s, u"otherfile"_s);
        const QByteArray before = registryStore();
        QVERIFY(m_associations->write(Family::Asp, false));
        QCOMPARE(registryStore(), before);
        // Our verb under our class does not count while the extension points elsewhere.
        setClasses(u"aspfile\\shell\\Edit_with_Tagsmith"_s, u"&Edit with Tagsmith"_s);
        QCOMPARE(m_associations->read(Family::Asp).foundText, u"otherfile"_s);
        QVERIFY(!m_associations->read(Family::Asp).registered);
        QVERIFY(m_associations->write(Family::Asp, true));
        QCOMPARE(classes(u".asp"_s), u"aspfile"_s);

        // Only the first extension is read back.
        m_associations->write(Family::Php, true);
        setClasses(u".php3"_s, u"editedbyhand"_s);
        QVERIFY(m_associations->read(Family::Php).registered);
        setClasses(u".php"_s, u"editedbyhand"_s);
        QVERIFY(!m_associations->read(Family::Php).registered);
    }

    void classIconsOnOff()
    {
        // The browser's icon for web pages is not ours to remove; the one for ASP pages is.
        setClasses(u"htmlfile\\DefaultIcon"_s, u"/usr/share/icons/browser.png"_s);
        m_associations->write(Family::Htm, true);
        m_associations->write(Family::Htm, false);
        QCOMPARE(classes(u"htmlfile\\DefaultIcon"_s), u"/usr/share/icons/browser.png"_s);
        m_associations->write(Family::Asp, true);
        setClasses(u"aspfile\\DefaultIcon"_s, u"someone else's icon"_s);
        m_associations->write(Family::Asp, false);
        QCOMPARE(classes(u"aspfile\\DefaultIcon"_s), QString());
    }

    // The entry a file manager reads: valid, and its action really starts the program.
    void desktopEntryIsValidAndItsActionRuns()
    {
        const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
        if (validator.isEmpty())
            QSKIP("desktop-file-validate (desktop-file-utils) is not installed");
        const QString folder = m_home->path() + u"/prog ram's $folder"_s;
        const QString record = m_home->path() + u"/arguments.txt"_s;
        QVERIFY(!m_home->write(u"prog ram's $folder/tagsmith"_s,
                           "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$TAGSMITH_RECORD\"\n")
                     .isEmpty());
        QFile(folder + u"/tagsmith"_s).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);

        const FileAssociations associations(folder, m_home->path() + u"/applications"_s);
        QVERIFY(associations.write(Family::Htm, true));
        const QString entryPath = associations.desktopEntryPath(Family::Htm);
        QProcess validate;
        validate.start(validator, { entryPath });
        QVERIFY(validate.waitForFinished(20000));
        QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());

        const QString page = m_home->write(u"my page.html"_s, "<head>");
        const QStringList command = execOfAction(entryPath, page);
        QVERIFY(!command.isEmpty());
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TAGSMITH_RECORD"_s, record);
        run.setProcessEnvironment(environment);
        run.start(command.first(), command.mid(1));
        QVERIFY(run.waitForFinished(20000));
        QFile recorded(record);
        QVERIFY(recorded.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(recorded.readAll()), page + u'\n');

        for (const auto &family : FileAssociations::families())
            QVERIFY(associations.write(family.family, false));
        QVERIFY(QDir(m_home->path() + u"/applications"_s).entryList({ u"*.desktop"_s }).isEmpty());
    }

    // Our place in mimeapps.list: behind what is listed, and gone again without a trace.
    void mimeAppsListing_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QByteArray>("on");
        QTest::addColumn<QByteArray>("off");
        const QStringList html { u"text/html"_s };
        const QByteArray ours = "tagsmith-html.desktop";
        QTest::newRow("no file yet") << QByteArray() << html
                                     << "[Added Associations]\ntext/html=" + ours + ";\n" << QByteArray();
        const QByteArray chosen = "[Default Applications]\ntext/html=web-browser.desktop\n";
        QTest::newRow("a default of the user's") << chosen << html
                                                 << chosen + "[Added Associations]\ntext/html=" + ours + ";\n" << chosen;
        QTest::newRow("behind the applications listed")
            << QByteArray("[Added Associations]\ntext/html=a.desktop;\n") << html
            << "[Added Associations]\ntext/html=a.desktop;" + ours + ";\n"
            << QByteArray("[Added Associations]\ntext/html=a.desktop;\n");
        QTest::newRow("a list without a closing semicolon")
            << QByteArray("[Added Associations]\ntext/html=a.desktop;b.desktop\n") << html
            << "[Added Associations]\ntext/html=a.desktop;b.desktop;" + ours + "\n"
            << QByteArray("[Added Associations]\ntext/html=a.desktop;b.desktop\n");
        const QByteArray groups = "[Added Associations]\nimage/png=viewer.desktop;\n\n[Removed Associations]\ntext/html=x.desktop;\n";
        QTest::newRow("other types and groups")
            << groups << html
            << "[Added Associations]\nimage/png=viewer.desktop;\ntext/html=" + ours + ";\n\n[Removed Associations]\ntext/html=x.desktop;\n"
            << groups;
        const QByteArray crlf = "# mine\r\n[Added Associations]\r\ntext/html = a.desktop;\r\n[Default Applications]\r\ntext/html=a.desktop";
        QTest::newRow("comment, CR LF, spaces, no last line end")
            << crlf << html
            << "# mine\r\n[Added Associations]\r\ntext/html = a.desktop;" + ours + ";\r\n[Default Applications]\r\ntext/html=a.desktop"
            << crlf;
        QTest::newRow("several types, one listed")
            << QByteArray("[Added Associations]\ntext/x-php=ide.desktop;\n")
            << QStringList { u"application/x-php"_s, u"text/x-php"_s }
            << QByteArray("[Added Associations]\ntext/x-php=ide.desktop;tagsmith-html.desktop;\napplication/x-php=tagsmith-html.desktop;\n")
            << QByteArray("[Added Associations]\ntext/x-php=ide.desktop;\n");
        QTest::newRow("listed already: nothing twice")
            << QByteArray("[Added Associations]\ntext/html=" + ours + ";a.desktop;\n") << html
            << QByteArray("[Added Associations]\ntext/html=" + ours + ";a.desktop;\n")
            << QByteArray("[Added Associations]\ntext/html=a.desktop;\n");
        QTest::newRow("a default naming us is the user's")
            << QByteArray("[Default Applications]\ntext/html=" + ours + ";\n") << html
            << QByteArray("[Default Applications]\ntext/html=" + ours + ";\n[Added Associations]\ntext/html=" + ours + ";\n")
            << QByteArray("[Default Applications]\ntext/html=" + ours + ";\n");
    }
    void mimeAppsListing()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, types);
        QFETCH(QByteArray, on);
        QFETCH(QByteArray, off);
        const QString id = u"tagsmith-html.desktop"_s;
        QCOMPARE(MimeAppsList::withAdded(before, id, types), on);
        QCOMPARE(MimeAppsList::withAdded(on, id, types), on);
        QCOMPARE(MimeAppsList::withRemoved(on, id), off);
        QCOMPARE(MimeAppsList::withRemoved(off, id), off);
    }

    // The desktop's answer to "what opens web pages?" stays, whatever the family's box says.
    void defaultApplicationStays_data()
    {
        QTest::addColumn<QString>("chosenBy");
        QTest::newRow("the user, with xdg-mime default") << u"xdg-mime"_s;
        QTest::newRow("the installed entries alone") << u"cache"_s;
    }
    void defaultApplicationStays()
    {
        QFETCH(QString, chosenBy);
        if (QStandardPaths::findExecutable(u"xdg-mime"_s).isEmpty())
            QSKIP("xdg-mime (xdg-utils) is not installed");
        const PrivateDesktop desktop(m_home->path());
        QVERIFY(!m_home->write(u"system/applications/web-browser.desktop"_s,
                    "[Desktop Entry]\nType=Application\nName=Web Browser\nExec=true %u\nMimeType=text/html;\n")
                     .isEmpty());
        if (chosenBy == u"xdg-mime"_s)
            QCOMPARE(desktop.run({ u"default"_s, u"web-browser.desktop"_s, u"text/html"_s }), QString());
        else
            QVERIFY(QProcess::execute(u"update-desktop-database"_s, { m_home->path() + u"/system/applications"_s }) == 0);
        const QString mimeApps = m_home->path() + u"/config/mimeapps.list"_s;
        const QByteArray listBefore = readAll(mimeApps);
        QCOMPARE(desktop.defaultFor(u"text/html"_s), u"web-browser.desktop"_s);

        const FileAssociations associations(u"/opt/tagsmith/bin"_s, m_home->path() + u"/data/applications"_s, mimeApps);
        QVERIFY(associations.write(Family::Htm, true));
        QCOMPARE(desktop.defaultFor(u"text/html"_s), u"web-browser.desktop"_s);
        const QByteArray entry = readAll(associations.desktopEntryPath(Family::Htm));
        QVERIFY(entry.contains("[Desktop Action edit-with-tagsmith]\nName=Edit with Tagsmith\n"));
        QVERIFY2(!entry.contains("MimeType="), "an entry that claims a type may be taken for its default");
        const QByteArray listOn = readAll(mimeApps);
        QVERIFY2(listOn.startsWith(listBefore) && listOn.mid(listBefore.size()).contains("\ntext/html=tagsmith-html.desktop;\n"),
            listOn.constData());

        QVERIFY(associations.write(Family::Htm, false));
        QCOMPARE(desktop.defaultFor(u"text/html"_s), u"web-browser.desktop"_s);
        QVERIFY(!QFile::exists(associations.desktopEntryPath(Family::Htm)));
        QCOMPARE(readAll(mimeApps), listBefore);
    }

    // What an earlier version left, entries that claimed the types and a MIME cache naming
    // them, made it the default; turning the family on again ends that.
    void anEarlierVersionsClaimIsGivenUp()
    {
        if (QStandardPaths::findExecutable(u"xdg-mime"_s).isEmpty())
            QSKIP("xdg-mime (xdg-utils) is not installed");
        const PrivateDesktop desktop(m_home->path());
        m_home->write(u"system/applications/web-browser.desktop"_s,
            "[Desktop Entry]\nType=Application\nName=Web Browser\nExec=true %u\nMimeType=text/html;\n");
        m_home->write(u"data/applications/tagsmith-html.desktop"_s,
            "[Desktop Entry]\nType=Application\nName=Tagsmith LITE\nExec=true %f\nMimeType=text/html;\n");
        for (const QString &folder : { u"/system/applications"_s, u"/data/applications"_s })
            QVERIFY(QProcess::execute(u"update-desktop-database"_s, { m_home->path() + folder }) == 0);
        QCOMPARE(desktop.defaultFor(u"text/html"_s), u"tagsmith-html.desktop"_s);

        const FileAssociations associations(u"/opt/tagsmith/bin"_s, m_home->path() + u"/data/applications"_s,
            m_home->path() + u"/config/mimeapps.list"_s);
        QVERIFY(associations.write(Family::Htm, true));
        QCOMPARE(desktop.defaultFor(u"text/html"_s), u"web-browser.desktop"_s);
    }

    void execArgumentsAreQuoted_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("spaces") << u"/opt/my apps/tagsmith"_s << u"\"/opt/my apps/tagsmith\""_s;
        QTest::newRow("double quote") << u"/a\"b"_s << u"\"/a\\\"b\""_s;
        QTest::newRow("dollar and backtick") << u"/$x`y"_s << u"\"/\\$x\\`y\""_s;
        QTest::newRow("backslash") << u"/a\\b"_s << u"\"/a\\\\b\""_s;
        QTest::newRow("percent") << u"/100%"_s << u"\"/100%%\""_s;
    }
    void execArgumentsAreQuoted()
    {
        QFETCH(QString, argument);
        QFETCH(QString, quoted);
        QCOMPARE(FileAssociations::quotedExecArgument(argument), quoted);
    }
};

QTEST_GUILESS_MAIN(TestFileAssociations)
#include "test_file_associations.moc"
