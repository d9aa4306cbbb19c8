#include "TestHome.h"

#include "services/RegistryKey.h"
#include "settings/FileAssociations.h"

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

// The action's Exec line split as a launcher does (quotes, backslash escapes, %%), %f filled in.
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
        arguments << (a == u"%f"_s ? file : a.replace(u"%%"_s, u"%"_s));
    }
    return arguments;
}

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
