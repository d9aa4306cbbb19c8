#include "AssociationsHome.h"

#include "RegistryKey.h"
#include "MimeAppsList.h"
#include "RowProcess.h"

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
    return RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, path, name).value();
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
    // A string value first: its doubled backslashes are single ones before the quoting is read.
    const QString exec = line.captured(1).replace(u"\\\\"_s, u"\\"_s);
    for (auto it = word.globalMatch(exec); it.hasNext();) {
        const auto m = it.next();
        QString a = m.hasCaptured(1) ? m.captured(1).replace(QRegularExpression(u"\\\\(.)"_s), u"\\1"_s) : m.captured(2);
        arguments << (a == u"%F"_s ? file : a.replace(u"%%"_s, u"%"_s));
    }
    return arguments;
}

// The desktop every test runs in (see init()): the user's data and configuration in the
// test's home, and a "system" that has nothing installed but what the test puts there.
// xdg-mime runs in it as on a desktop it does not know, which is its general case, or as
// on GNOME when asked to.
class PrivateDesktop
{
public:
    explicit PrivateDesktop(const TestHome &home)
        : mimeApps(home.path() + u"/config/mimeapps.list"_s)
        , m_home(home)
    {
        for (const char *folder : { "/config", "/data/applications", "/system/applications", "/system-config" })
            QDir().mkpath(home.path() + QLatin1String(folder));
        // The machine's MIME database, which says which type is a kind of which other.
        QFile::link(mimeDatabase(), home.path() + u"/system/mime"_s);
        // GIO passes over an entry whose program is not there: ours must start a real one.
        QFile(home.write(u"program/tagsmith"_s, "#!/bin/sh\n"))
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }

    FileAssociations associations() const
    {
        return FileAssociations(m_home.path() + u"/program"_s, m_home.path() + u"/data/applications"_s, mimeApps);
    }

    // Applications in the system folder, each claiming a type ("text/html=browser.desktop"):
    // those of `cached` in its MIME cache too.
    bool install(const QStringList &cached, const QStringList &uncached = {}) const
    {
        QByteArray cache = "[MIME Cache]\n";
        for (const QString &claim : cached + uncached) {
            const QByteArray type = claim.section(u'=', 0, 0).toUtf8();
            const QByteArray id = claim.section(u'=', 1).toUtf8();
            if (m_home.write(u"system/applications/"_s + id, "[Desktop Entry]\nType=Application\nName=" + id
                                     + "\nExec=true %u\nMimeType=" + type + ";\n").isEmpty())
                return false;
            if (cached.contains(claim))
                cache += type + '=' + id + ";\n";
        }
        return cached.isEmpty() || !m_home.write(u"system/applications/mimeinfo.cache"_s, cache).isEmpty();
    }
    // Where the machine keeps its MIME database; "" without one. Found before any test moves
    // the system's data folders.
    static QString mimeDatabase()
    {
        static const QString folder = QFileInfo(QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                    u"mime/mime.cache"_s)).path();
        return folder == u"."_s ? QString() : folder;
    }
    // What the program prints; what went wrong when it failed.
    QString run(const QString &program, const QStringList &arguments, const QString &desktop = QString()) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, u"C"_s);
        if (!desktop.isEmpty())
            environment.insert(u"XDG_CURRENT_DESKTOP"_s, desktop);
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(20000) || process.exitCode() != 0)
            return program + u" failed: "_s + QString::fromLocal8Bit(process.readAllStandardError());
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    }
    // "Default application for “TYPE”: ID" or "No default applications for “TYPE”".
    QString gioDefaultFor(const QString &type) const
    {
        const QString answer = run(u"gio"_s, { u"mime"_s, type }).section(u'\n', 0, 0);
        if (answer.startsWith(u"No default applications for "_s))
            return QString();
        return answer.startsWith(u"Default application for "_s) ? answer.section(u": "_s, -1) : answer;
    }
    // The answers of every reader side by side, for one comparison that shows them all.
    QString answers(const QString &type) const
    {
        const QStringList query { u"query"_s, u"default"_s, type };
        return u"gio: %1, xdg-mime: %2, xdg-mime on GNOME: %3"_s.arg(
            gioDefaultFor(type), run(u"xdg-mime"_s, query), run(u"xdg-mime"_s, query, u"GNOME"_s));
    }
    static QString sameAnswers(const QString &id)
    {
        return u"gio: %1, xdg-mime: %1, xdg-mime on GNOME: %1"_s.arg(id);
    }

    const QString mimeApps;

private:
    const TestHome &m_home;
};

bool hasDesktopTools()
{
    return !QStandardPaths::findExecutable(u"xdg-mime"_s).isEmpty() && !QStandardPaths::findExecutable(u"gio"_s).isEmpty()
        && !PrivateDesktop::mimeDatabase().isEmpty();
}

const QString kNoGio
    = u"xdg-mime (xdg-utils), gio (libglib2.0-bin) or the MIME database (shared-mime-info) is not installed"_s;

} // namespace

struct Registration { Family family; QStringList extensions; QString classKey; bool icon; };
Q_DECLARE_METATYPE(Registration)

struct Listing { QByteArray before; QStringList types; QByteArray on; QByteArray off; };
Q_DECLARE_METATYPE(Listing)

// cached: applications in the MIME cache: "type=id"; uncached: and in none; userList: null: no list; systemList: null: none; listOn: null: no list
struct Reader { QStringList cached; QStringList uncached; QByteArray userList; QByteArray systemList; QString answers; QByteArray listOn; };
Q_DECLARE_METATYPE(Reader)

class TestFileAssociations : public QObject
{
    Q_OBJECT

    std::unique_ptr<AssociationsHome> m_fixture;

private Q_SLOTS:
    void initTestCase()
    {
        PrivateDesktop::mimeDatabase();
        // No test may reach the desktop it runs on.
        for (const char *name : { "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                 "KDE_SESSION_VERSION", "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "XDG_MENU_PREFIX",
                 "DBUS_SESSION_BUS_ADDRESS", "DISPLAY" })
            qunsetenv(name);
    }
    void init()
    {
        m_fixture = std::make_unique<AssociationsHome>();
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_fixture->home.path() + u"/system"_s));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_fixture->home.path() + u"/system-config"_s));
    }
    void cleanup() { m_fixture.reset(); }

    void registering_data()
    {
        QTest::addColumn<Registration>("row");
        QTest::newRow("php, three extensions") << Registration { Family::Php, QStringList { ".php", ".php3", ".phtml" }, u"phpfile"_s, true };
        QTest::newRow("htm, no icon of ours") << Registration { Family::Htm, QStringList { ".htm", ".html" }, u"htmlfile"_s, false };
    }
    void registering()
    {
        QFETCH(Registration, row);
        const auto [family, extensions, classKey, icon] = row;
        QVERIFY(!m_fixture->associations.read(family).registered);
        QVERIFY(m_fixture->associations.write(family, true));
        QVERIFY(m_fixture->associations.read(family).registered);
        for (const QString &extension : extensions)
            QCOMPARE(classes(extension), classKey);
        const QString description = classes(classKey);
        QVERIFY(!description.isEmpty());
        QCOMPARE(classes(classKey + u"\\DefaultIcon"_s), icon ? u"/opt/tag smith/bin/tagsmith,0"_s : QString());
        QCOMPARE(classes(classKey + u"\\shell\\Edit_with_Tagsmith\\command"_s), u"\"/opt/tag smith/bin/tagsmith\" %1"_s);
        QVERIFY(QFile::exists(m_fixture->associations.desktopEntryPath(family)));

        // Off removes the verb and the icon but keeps the extensions and the class.
        QVERIFY(m_fixture->associations.write(family, false));
        QVERIFY(!m_fixture->associations.read(family).registered);
        QCOMPARE(classes(classKey + u"\\shell\\Edit_with_Tagsmith"_s), QString());
        QCOMPARE(classes(classKey + u"\\DefaultIcon"_s), QString());
        QCOMPARE(classes(extensions.first()), classKey);
        QCOMPARE(classes(classKey), description);
        QVERIFY(!QFile::exists(m_fixture->associations.desktopEntryPath(family)));
    }

    void othersEntriesAreLeftAlone()
    {
        setClasses(u".asp"_s, u"otherfile"_s);
        const QByteArray before = registryStore();
        QVERIFY(m_fixture->associations.write(Family::Asp, false));
        QCOMPARE(registryStore(), before);
        // Our verb under our class does not count while the extension points elsewhere.
        setClasses(u"aspfile\\shell\\Edit_with_Tagsmith"_s, u"&Edit with Tagsmith"_s);
        QCOMPARE(m_fixture->associations.read(Family::Asp).foundText, u"otherfile"_s);
        QVERIFY(!m_fixture->associations.read(Family::Asp).registered);
        QVERIFY(m_fixture->associations.write(Family::Asp, true));
        QCOMPARE(classes(u".asp"_s), u"aspfile"_s);

        // Only the first extension is read back.
        m_fixture->associations.write(Family::Php, true);
        setClasses(u".php3"_s, u"editedbyhand"_s);
        QVERIFY(m_fixture->associations.read(Family::Php).registered);
        setClasses(u".php"_s, u"editedbyhand"_s);
        QVERIFY(!m_fixture->associations.read(Family::Php).registered);

        // The browser's icon for web pages is not ours to remove; the one for ASP pages is.
        setClasses(u"htmlfile\\DefaultIcon"_s, u"/usr/share/icons/browser.png"_s);
        m_fixture->associations.write(Family::Htm, true);
        m_fixture->associations.write(Family::Htm, false);
        QCOMPARE(classes(u"htmlfile\\DefaultIcon"_s), u"/usr/share/icons/browser.png"_s);
        m_fixture->associations.write(Family::Asp, true);
        setClasses(u"aspfile\\DefaultIcon"_s, u"someone else's icon"_s);
        m_fixture->associations.write(Family::Asp, false);
        QCOMPARE(classes(u"aspfile\\DefaultIcon"_s), QString());
    }

    // The entry a file manager reads: valid, and its action really starts the program.
    void desktopEntryIsValidAndItsActionRuns()
    {
        const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
        if (validator.isEmpty())
            QSKIP("desktop-file-validate (desktop-file-utils) is not installed");
        // Characters the Exec line must quote, escape or double.
        const QString name = u"prog ram's \"$fo`l\\der 100%"_s;
        const QString folder = m_fixture->home.path() + u'/' + name;
        const QString record = m_fixture->home.path() + u"/arguments.txt"_s;
        QVERIFY(!m_fixture->home.write(name + u"/tagsmith"_s,
                           "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$TAGSMITH_RECORD\"\n")
                     .isEmpty());
        QFile(folder + u"/tagsmith"_s).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);

        const FileAssociations associations(folder, m_fixture->home.path() + u"/applications"_s);
        QVERIFY(associations.write(Family::Htm, true));
        const QString entryPath = associations.desktopEntryPath(Family::Htm);
        QProcess validate;
        validate.start(validator, { entryPath });
        QVERIFY(validate.waitForFinished(20000));
        QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());

        const QString page = m_fixture->home.write(u"my page.html"_s, "<head>");
        const QStringList command = execOfAction(entryPath, page);
        QVERIFY(!command.isEmpty());
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TAGSMITH_RECORD"_s, record);
        run.setProcessEnvironment(environment);
        run.start(command.first(), command.mid(1));
        QVERIFY(run.waitForFinished(20000));
        QCOMPARE(QString::fromUtf8(readFile(record)), page + u'\n');

        for (const auto &family : FileAssociations::families())
            QVERIFY(associations.write(family.family, false));
        QVERIFY(QDir(m_fixture->home.path() + u"/applications"_s).entryList({ u"*.desktop"_s }).isEmpty());
    }

    // Our place in mimeapps.list: behind what is listed, only for the types given, and gone
    // again without a trace.
    void mimeAppsListing_data()
    {
        QTest::addColumn<Listing>("row");
        const QStringList html { u"text/html"_s };
        const QByteArray ours = "tagsmith-html.desktop";
        QTest::newRow("behind the applications listed")
            << Listing { QByteArray("[Added Associations]\ntext/html=a.desktop;\n"), html,
               "[Added Associations]\ntext/html=a.desktop;" + ours + ";\n",
               QByteArray("[Added Associations]\ntext/html=a.desktop;\n") };
        QTest::newRow("a list without a closing semicolon")
            << Listing { QByteArray("[Added Associations]\ntext/html=a.desktop;b.desktop\n"), html,
               "[Added Associations]\ntext/html=a.desktop;b.desktop;" + ours + "\n",
               QByteArray("[Added Associations]\ntext/html=a.desktop;b.desktop\n") };
        const QByteArray groups = "[Added Associations]\nimage/png=viewer.desktop;\n\n[Removed Associations]\ntext/html=x.desktop;\n";
        QTest::newRow("other types and groups")
            << Listing { groups, html,
               "[Added Associations]\nimage/png=viewer.desktop;\ntext/html=" + ours + ";\n\n[Removed Associations]\ntext/html=x.desktop;\n",
               groups };
        const QByteArray crlf = "# mine\r\n[Added Associations]\r\ntext/html = a.desktop;\r\n[Default Applications]\r\ntext/html=a.desktop";
        QTest::newRow("comment, CR LF, spaces, no last line end")
            << Listing { crlf, html,
               "# mine\r\n[Added Associations]\r\ntext/html = a.desktop;" + ours + ";\r\n[Default Applications]\r\ntext/html=a.desktop",
               crlf };
        const QByteArray loose = "image/png=viewer.desktop;\n[Added Associations]\naudio/ogg=player.desktop;\n";
        QTest::newRow("entries before any group belong to none")
            << Listing { loose, html, loose + "text/html=" + ours + ";\n", loose };
        QTest::newRow("several types, one listed")
            << Listing { QByteArray("[Added Associations]\ntext/x-php=ide.desktop;\n"),
               QStringList { u"application/x-php"_s, u"text/x-php"_s },
               QByteArray("[Added Associations]\ntext/x-php=ide.desktop;tagsmith-html.desktop;\napplication/x-php=tagsmith-html.desktop;\n"),
               QByteArray("[Added Associations]\ntext/x-php=ide.desktop;\n") };
        QTest::newRow("listed behind already: nothing twice")
            << Listing { QByteArray("[Added Associations]\ntext/html=a.desktop; " + ours + "\n"), html,
               QByteArray("[Added Associations]\ntext/html=a.desktop; " + ours + "\n"),
               QByteArray("[Added Associations]\ntext/html=a.desktop\n") };
        QTest::newRow("listed ahead of others: moved behind them")
            << Listing { QByteArray("[Added Associations]\ntext/html=" + ours + ";a.desktop;\n"), html,
               QByteArray("[Added Associations]\ntext/html=a.desktop;" + ours + ";\n"),
               QByteArray("[Added Associations]\ntext/html=a.desktop;\n") };
        QTest::newRow("listed ahead of others and behind them: once, behind")
            << Listing { QByteArray("[Added Associations]\ntext/html=" + ours + ";a.desktop;" + ours + ";\n"), html,
               QByteArray("[Added Associations]\ntext/html=a.desktop;" + ours + ";\n"),
               QByteArray("[Added Associations]\ntext/html=a.desktop;\n") };
        QTest::newRow("listed for a type no longer given: taken out there")
            << Listing { QByteArray("[Added Associations]\ntext/x-php=" + ours + ";\nimage/png=v.desktop;\n"
                          "text/plain=e.desktop;" + ours + ";\n"),
               html,
               QByteArray("[Added Associations]\nimage/png=v.desktop;\ntext/plain=e.desktop;\ntext/html=" + ours + ";\n"),
               QByteArray("[Added Associations]\nimage/png=v.desktop;\ntext/plain=e.desktop;\n") };
        QTest::newRow("no type: only taken out")
            << Listing { QByteArray("[Default Applications]\ntext/html=a.desktop;\n[Added Associations]\ntext/html=" + ours + ";\n"),
               QStringList {}, QByteArray("[Default Applications]\ntext/html=a.desktop;\n"),
               QByteArray("[Default Applications]\ntext/html=a.desktop;\n") };
        QTest::newRow("a default naming us is the user's")
            << Listing { QByteArray("[Default Applications]\ntext/html=" + ours + ";\n"), html,
               QByteArray("[Default Applications]\ntext/html=" + ours + ";\n[Added Associations]\ntext/html=" + ours + ";\n"),
               QByteArray("[Default Applications]\ntext/html=" + ours + ";\n") };
    }
    void mimeAppsListing()
    {
        QFETCH(Listing, row);
        const auto [before, types, on, off] = row;
        const QString id = u"tagsmith-html.desktop"_s;
        QCOMPARE(MimeAppsList::withListed(before, id, types), on);
        QCOMPARE(MimeAppsList::withListed(on, id, types), on);
        QCOMPARE(MimeAppsList::withRemoved(on, id), off);
        QCOMPARE(MimeAppsList::withRemoved(off, id), off);
    }

    // What an earlier version left made it the default: entries that claimed the types and a
    // MIME cache naming them, or a listing without a pin, which GIO takes for the default.
    // Turning the family on again ends that.
    void anEarlierVersionsClaimIsGivenUp_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<bool>("inCache");
        QTest::newRow("an entry claiming the type, in a MIME cache")
            << QByteArray("[Desktop Entry]\nType=Application\nName=Tagsmith LITE\nExec=true %f\nMimeType=text/html;\n")
            << QByteArray() << true;
        QTest::newRow("listed, with no default pinned")
            << QByteArray("[Desktop Entry]\nType=Application\nName=Tagsmith LITE\nExec=true %f\nNoDisplay=true\n")
            << QByteArray("[Added Associations]\ntext/html=tagsmith-html.desktop;\n") << false;
    }
    void anEarlierVersionsClaimIsGivenUp()
    {
        TAGSMITH_ROW_IN_OWN_PROCESS();
        QFETCH(QByteArray, entry);
        QFETCH(QByteArray, list);
        QFETCH(bool, inCache);
        if (!hasDesktopTools())
            QSKIP(qPrintable(kNoGio));
        const PrivateDesktop desktop(m_fixture->home);
        QVERIFY(desktop.install({ u"text/html=web-browser.desktop"_s }));
        QVERIFY(!m_fixture->home.write(u"data/applications/tagsmith-html.desktop"_s, entry).isEmpty());
        if (!list.isEmpty())
            QVERIFY(!m_fixture->home.write(u"config/mimeapps.list"_s, list).isEmpty());
        if (inCache)
            QVERIFY(QProcess::execute(u"update-desktop-database"_s, { m_fixture->home.path() + u"/data/applications"_s }) == 0);
        QCOMPARE(desktop.gioDefaultFor(u"text/html"_s), u"tagsmith-html.desktop"_s);

        const FileAssociations associations = desktop.associations();
        QVERIFY(associations.write(Family::Htm, true));
        QCOMPARE(desktop.answers(u"text/html"_s), PrivateDesktop::sameAnswers(u"web-browser.desktop"_s));
    }

    // Whatever GIO and xdg-mime, generic or on GNOME, answered before (one of the installed
    // entries, the user's choice, the system's, an editor of a parent type, nothing at all),
    // each answers while the family is on and after it is off; and the user's list is given
    // back as it was. The program is listed only where it comes behind the answer GIO meets.
    void everyReaderKeepsItsDefault_data()
    {
        QTest::addColumn<Reader>("row");
        const QStringList browser { u"text/html=web-browser.desktop"_s };
        const QStringList other { u"text/html=other-browser.desktop"_s };
        const QString browsers = PrivateDesktop::sameAnswers(u"web-browser.desktop"_s);
        const QString others = PrivateDesktop::sameAnswers(u"other-browser.desktop"_s);
        QTest::newRow("nothing sets a default, no list yet: not listed, we would be the default")
            << Reader { browser, other, QByteArray(), QByteArray(), browsers, QByteArray() };
        const QByteArray otherTypes = "[Added Associations]\nimage/png=viewer.desktop;\n# mine\n";
        QTest::newRow("nothing sets a default, a list of other types")
            << Reader { browser, other, otherTypes, QByteArray(), browsers, otherTypes };
        const QByteArray gone = "[Default Applications]\ntext/html=gone.desktop;\n";
        QTest::newRow("the user's default is no longer installed")
            << Reader { browser, other, gone, QByteArray(), browsers, gone };
        QTest::newRow("the user's default")
            << Reader { browser, other, QByteArray("[Default Applications]\ntext/html=other-browser.desktop\n"),
               QByteArray(), others,
               QByteArray("[Default Applications]\ntext/html=other-browser.desktop\n"
                          "[Added Associations]\ntext/html=tagsmith-html.desktop;\n") };
        QTest::newRow("the user's default, in a list without a last line end")
            << Reader { browser, other, QByteArray("[Added Associations]\nimage/png=viewer.desktop;\n"
                                              "[Default Applications]\ntext/html=other-browser.desktop;"),
               QByteArray(), others,
               QByteArray("[Added Associations]\nimage/png=viewer.desktop;\ntext/html=tagsmith-html.desktop;\n"
                          "[Default Applications]\ntext/html=other-browser.desktop;") };
        QTest::newRow("a default in the system's list")
            << Reader { browser, other, QByteArray(), QByteArray("[Default Applications]\ntext/html=other-browser.desktop;\n"),
               others, QByteArray("[Added Associations]\ntext/html=tagsmith-html.desktop;\n") };
        QTest::newRow("GIO's answer listed by the user, xdg-mime's from the MIME cache")
            << Reader { browser, other, QByteArray("[Added Associations]\ntext/html=gone.desktop;other-browser.desktop\n"),
               QByteArray(),
               u"gio: other-browser.desktop, xdg-mime: web-browser.desktop, xdg-mime on GNOME: web-browser.desktop"_s,
               QByteArray("[Added Associations]\ntext/html=gone.desktop;other-browser.desktop;tagsmith-html.desktop\n") };
        QTest::newRow("xdg-mime printed nothing: GIO's answer opens the parent type")
            << Reader { QStringList { u"text/plain=text-editor.desktop"_s }, QStringList {}, QByteArray(), QByteArray(),
               u"gio: text-editor.desktop, xdg-mime: , xdg-mime on GNOME: "_s, QByteArray() };
        QTest::newRow("xdg-mime printed nothing: the user's default for the parent type")
            << Reader { QStringList { u"text/plain=text-editor.desktop"_s }, other,
               QByteArray("[Default Applications]\ntext/plain=other-browser.desktop;\n"), QByteArray(),
               u"gio: other-browser.desktop, xdg-mime: other-browser.desktop, xdg-mime on GNOME: other-browser.desktop"_s,
               QByteArray("[Default Applications]\ntext/plain=other-browser.desktop;\n") };
        QTest::newRow("GIO printed nothing: the browser is in no MIME cache")
            << Reader { QStringList {}, other, QByteArray(), QByteArray(),
               u"gio: , xdg-mime: other-browser.desktop, xdg-mime on GNOME: other-browser.desktop"_s, QByteArray() };
        QTest::newRow("nothing opens the type")
            << Reader { QStringList {}, QStringList {}, QByteArray(), QByteArray(), PrivateDesktop::sameAnswers(QString()),
               QByteArray() };
        QTest::newRow("nothing opens the type, the user's default is gone")
            << Reader { QStringList {}, QStringList {}, gone, QByteArray(), PrivateDesktop::sameAnswers(QString()), gone };
    }
    void everyReaderKeepsItsDefault()
    {
        TAGSMITH_ROW_IN_OWN_PROCESS();
        QFETCH(Reader, row);
        const auto [cached, uncached, userList, systemList, answers, listOn] = row;
        if (!hasDesktopTools())
            QSKIP(qPrintable(kNoGio));
        const PrivateDesktop desktop(m_fixture->home);
        QVERIFY(desktop.install(cached, uncached));
        if (!userList.isNull())
            QVERIFY(!m_fixture->home.write(u"config/mimeapps.list"_s, userList).isEmpty());
        if (!systemList.isNull())
            QVERIFY(!m_fixture->home.write(u"system-config/mimeapps.list"_s, systemList).isEmpty());
        QCOMPARE(desktop.answers(u"text/html"_s), answers);

        const FileAssociations associations = desktop.associations();
        QVERIFY(associations.write(Family::Htm, true));
        QVERIFY(associations.write(Family::Htm, true)); // a second OK in the dialog
        QCOMPARE(desktop.answers(u"text/html"_s), answers);
        QCOMPARE(QFile::exists(desktop.mimeApps), !listOn.isNull());
        QCOMPARE(readFile(desktop.mimeApps), listOn);
        const QByteArray entry = readFile(associations.desktopEntryPath(Family::Htm));
        QVERIFY(entry.contains("[Desktop Action edit-with-tagsmith]\nName=Edit with Tagsmith\n"));
        QVERIFY2(!entry.contains("MimeType="), "an entry that claims a type may be taken for its default");

        QVERIFY(associations.write(Family::Htm, false));
        QCOMPARE(desktop.answers(u"text/html"_s), answers);
        QCOMPARE(QFile::exists(desktop.mimeApps), !userList.isNull());
        QCOMPARE(readFile(desktop.mimeApps), userList);
    }

    // An earlier version pinned the default it found under [Default Applications] and recorded
    // the pin; off takes it out with our listing, and the list that held nothing else goes.
    void anEarlierVersionsPinGoesWhenTurnedOff()
    {
        TAGSMITH_ROW_IN_OWN_PROCESS();
        if (!hasDesktopTools())
            QSKIP(qPrintable(kNoGio));
        const PrivateDesktop desktop(m_fixture->home);
        QVERIFY(desktop.install({ u"text/html=web-browser.desktop"_s }));
        const QByteArray earlier = "[Default Applications]\ntext/html=web-browser.desktop;\n"
                                   "[Added Associations]\ntext/html=tagsmith-html.desktop;\n";
        QVERIFY(!m_fixture->home.write(u"config/mimeapps.list"_s, earlier).isEmpty());
        setClasses(u"htmlfile\\Tagsmith pinned defaults"_s, u"web-browser.desktop"_s, u"text/html"_s);

        const FileAssociations associations = desktop.associations();
        QVERIFY(associations.write(Family::Htm, true));
        QCOMPARE(readFile(desktop.mimeApps), earlier);
        QVERIFY(associations.write(Family::Htm, false));
        QVERIFY(!QFile::exists(desktop.mimeApps));
        QCOMPARE(classes(u"htmlfile\\Tagsmith pinned defaults"_s, u"text/html"_s), QString());
        QCOMPARE(desktop.answers(u"text/html"_s), PrivateDesktop::sameAnswers(u"web-browser.desktop"_s));
    }

    // A pin an earlier version wrote: only the very line that was written is taken out, and
    // its group when nothing else is left in it.
    void anEarlierPinGoesOnlyAsWritten_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("unpinned");
        QTest::newRow("behind the defaults listed")
            << QByteArray("[Default Applications]\nimage/png=v.desktop\ntext/html=b.desktop;\n\n[Added Associations]\na/b=c;\n")
            << QByteArray("[Default Applications]\nimage/png=v.desktop\n\n[Added Associations]\na/b=c;\n");
        QTest::newRow("written into a CR LF list")
            << QByteArray("[Default Applications]\r\nimage/png=v.desktop\r\ntext/html=b.desktop;\n")
            << QByteArray("[Default Applications]\r\nimage/png=v.desktop\r\n");
        QTest::newRow("alone in its group")
            << QByteArray("[Added Associations]\na/b=c;\n[Default Applications]\ntext/html=b.desktop;\n")
            << QByteArray("[Added Associations]\na/b=c;\n");
        const QList<QByteArray> changed { "[Default Applications]\ntext/html=a.desktop;\n",
            "[Default Applications]\ntext/html=b.desktop;a.desktop;\n", "[Default Applications]\ntext/html=b.desktop\n",
            "[Default Applications]\ntext/html = b.desktop;\n", "[Default Applications]\r\ntext/html=b.desktop;\r\n",
            "[Added Associations]\ntext/html=b.desktop;\n", "[Default Applications]\ntext/xml=b.desktop;\n" };
        const char *const names[] = { "changed: another application", "changed: a second application behind",
            "changed: no closing semicolon", "changed: spaced", "changed: CR LF line end", "in another group",
            "another type" };
        for (qsizetype i = 0; i < changed.size(); ++i)
            QTest::newRow(names[i]) << changed.at(i) << changed.at(i);
    }
    void anEarlierPinGoesOnlyAsWritten()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, unpinned);
        QCOMPARE(MimeAppsList::withUnpinned(text, u"text/html"_s, u"b.desktop"_s), unpinned);
    }

    // Which group's line of the type names the application, as the desktop reads the list.
    void linesThatNameAnApplication_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("setsDefault");
        QTest::addColumn<bool>("addsAssociation");
        QTest::newRow("a default line, second")
            << QByteArray("[Default Applications]\ntext/html=a.desktop;b.desktop;\n") << true << false;
        QTest::newRow("an added line, spaced, CR LF")
            << QByteArray("[Added Associations]\r\ntext/html = b.desktop\r\n") << false << true;
        QTest::newRow("a second group of the name")
            << QByteArray("[Added Associations]\n[Default Applications]\nimage/png=b.desktop\n"
                          "[Added Associations]\ntext/html=b.desktop\n")
            << false << true;
        QTest::newRow("another type") << QByteArray("[Default Applications]\ntext/plain=b.desktop;\n") << false << false;
        QTest::newRow("a longer id") << QByteArray("[Added Associations]\ntext/html=b.desktop.old;\n") << false << false;
        QTest::newRow("a comment") << QByteArray("[Default Applications]\n# text/html=b.desktop;\n") << false << false;
        QTest::newRow("removed") << QByteArray("[Removed Associations]\ntext/html=b.desktop;\n") << false << false;
    }
    void linesThatNameAnApplication()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, setsDefault);
        QFETCH(bool, addsAssociation);
        QCOMPARE(MimeAppsList::setsDefault(text, u"text/html"_s, u"b.desktop"_s), setsDefault);
        QCOMPARE(MimeAppsList::addsAssociation(text, u"text/html"_s, u"b.desktop"_s), addsAssociation);
    }
};

QTEST_GUILESS_MAIN(TestFileAssociations)
#include "test_file_associations.moc"
