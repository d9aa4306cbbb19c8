#include "TestHome.h"

#include "services/RegistryKey.h"
#include "settings/FileAssociations.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

Q_DECLARE_METATYPE(FileAssociations::Family)

namespace {

using Family = FileAssociations::Family;

QString classesValue(const QString &path, const QString &valueName = QString())
{
    return RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, path, valueName).Value();
}

void setClassesValue(const QString &path, const QString &text, const QString &valueName = QString())
{
    RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, path, valueName).setValue(text);
}

QByteArray registryStore()
{
    QFile file(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, QString()).storeFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The Exec line of the entry's action, unquoted as a launcher reads it, with %f filled in.
QStringList execOfAction(const QString &entryPath, const QString &file)
{
    QFile text(entryPath);
    if (!text.open(QIODevice::ReadOnly))
        return {};
    QString line;
    bool inAction = false;
    for (const QByteArray &raw : text.readAll().split('\n')) {
        const QString current = QString::fromUtf8(raw);
        if (current.startsWith(QLatin1Char('[')))
            inAction = current == QStringLiteral("[Desktop Action edit-with-tagsmith]");
        else if (inAction && current.startsWith(QStringLiteral("Exec=")))
            line = current.mid(5);
    }
    QStringList arguments;
    QString argument;
    bool quoted = false;
    bool started = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted && c == QLatin1Char('\\') && i + 1 < line.size()) {
            argument += line.at(++i);
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            started = true;
        } else if (!quoted && c == QLatin1Char(' ')) {
            if (started)
                arguments.append(argument);
            argument.clear();
            started = false;
        } else {
            argument += c;
            started = true;
        }
    }
    if (started)
        arguments.append(argument);
    for (QString &a : arguments) {
        if (a == QStringLiteral("%f"))
            a = file;
        a.replace(QStringLiteral("%%"), QStringLiteral("%"));
    }
    return arguments;
}

} // namespace

class TestFileAssociations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TestHome>();
        m_associations = std::make_unique<FileAssociations>(
            QStringLiteral("/opt/tag smith/bin"), m_home->path() + QStringLiteral("/applications"));
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
        QTest::addColumn<QString>("contentType");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("icon");
        QTest::newRow("asp") << Family::Asp << QStringList { QStringLiteral(".asp") }
                             << QStringLiteral("aspfile") << QStringLiteral("text/asp")
                             << QStringLiteral("Active Server Pages") << true;
        QTest::newRow("php") << Family::Php
                             << QStringList { QStringLiteral(".php"), QStringLiteral(".php3"),
                                    QStringLiteral(".phtml") }
                             << QStringLiteral("phpfile") << QStringLiteral("text/php")
                             << QStringLiteral("Pre Hypertext Processor") << true;
        QTest::newRow("ssi") << Family::Ssi
                             << QStringList { QStringLiteral(".ssi"), QStringLiteral(".shtml") }
                             << QStringLiteral("ssifile") << QStringLiteral("text/ssi")
                             << QStringLiteral("ServerSide Includes") << true;
        QTest::newRow("htm") << Family::Htm << QStringList { QStringLiteral(".htm"), QStringLiteral(".html") }
                             << QStringLiteral("htmlfile") << QStringLiteral("text/html")
                             << QStringLiteral("HyperText Markup Language") << false;
    }
    void registering()
    {
        QFETCH(Family, family);
        QFETCH(QStringList, extensions);
        QFETCH(QString, classKey);
        QFETCH(QString, contentType);
        QFETCH(QString, description);
        QFETCH(bool, icon);
        QVERIFY(!m_associations->read(family).registered);
        QVERIFY(m_associations->write(family, true));

        const auto reading = m_associations->read(family);
        QVERIFY(reading.registered);
        QCOMPARE(reading.foundText, QStringLiteral("&Edit with Tagsmith"));
        QCOMPARE(reading.foundContentType, contentType);
        for (const QString &extension : extensions) {
            QCOMPARE(classesValue(extension), classKey);
            QCOMPARE(classesValue(extension, QStringLiteral("Content Type")), contentType);
        }
        QCOMPARE(classesValue(classKey), description);
        QCOMPARE(classesValue(classKey + QStringLiteral("\\DefaultIcon")),
            icon ? QStringLiteral("/opt/tag smith/bin/tagsmith,0") : QString());
        QCOMPARE(classesValue(classKey + QStringLiteral("\\shell\\Edit_with_Tagsmith\\command")),
            QStringLiteral("\"/opt/tag smith/bin/tagsmith\" %1"));
        QVERIFY(QFile::exists(m_associations->desktopEntryPath(family)));

        // Off removes the verb and the icon but keeps the extensions and the class.
        QVERIFY(m_associations->write(family, false));
        QVERIFY(!m_associations->read(family).registered);
        QCOMPARE(classesValue(classKey + QStringLiteral("\\shell\\Edit_with_Tagsmith")), QString());
        QCOMPARE(classesValue(classKey + QStringLiteral("\\DefaultIcon")), QString());
        QCOMPARE(classesValue(extensions.first()), classKey);
        QCOMPARE(classesValue(classKey), description);
        QVERIFY(!QFile::exists(m_associations->desktopEntryPath(family)));
    }

    void offOnAnUnregisteredFamilyChangesNothing()
    {
        setClassesValue(QStringLiteral(".asp"), QStringLiteral("otherfile"));
        const QByteArray before = registryStore();
        QVERIFY(m_associations->write(Family::Asp, false));
        QCOMPARE(registryStore(), before);
    }

    void extensionClaimedByAnotherProgram()
    {
        setClassesValue(QStringLiteral(".asp"), QStringLiteral("otherfile"));
        setClassesValue(QStringLiteral(".asp"), QStringLiteral("text/asp"), QStringLiteral("Content Type"));
        setClassesValue(
            QStringLiteral("aspfile\\shell\\Edit_with_Tagsmith"), QStringLiteral("&Edit with Tagsmith"));
        const auto reading = m_associations->read(Family::Asp);
        QVERIFY(!reading.registered);
        QCOMPARE(reading.foundText, QStringLiteral("otherfile"));
        QVERIFY(m_associations->write(Family::Asp, true));
        QCOMPARE(classesValue(QStringLiteral(".asp")), QStringLiteral("aspfile"));
        QVERIFY(m_associations->read(Family::Asp).registered);
    }

    void htmOffLeavesTheClassIconAlone()
    {
        setClassesValue(
            QStringLiteral("htmlfile\\DefaultIcon"), QStringLiteral("/usr/share/icons/browser.png"));
        m_associations->write(Family::Htm, true);
        m_associations->write(Family::Htm, false);
        QCOMPARE(classesValue(QStringLiteral("htmlfile\\DefaultIcon")),
            QStringLiteral("/usr/share/icons/browser.png"));
    }

    void aspOffRemovesAnyClassIcon()
    {
        m_associations->write(Family::Asp, true);
        setClassesValue(QStringLiteral("aspfile\\DefaultIcon"), QStringLiteral("someone else's icon"));
        m_associations->write(Family::Asp, false);
        QCOMPARE(classesValue(QStringLiteral("aspfile\\DefaultIcon")), QString());
    }

    void onlyTheFirstExtensionIsReadBack()
    {
        m_associations->write(Family::Php, true);
        setClassesValue(QStringLiteral(".php3"), QStringLiteral("editedbyhand"));
        QVERIFY(m_associations->read(Family::Php).registered);
        setClassesValue(QStringLiteral(".php"), QStringLiteral("editedbyhand"));
        QVERIFY(!m_associations->read(Family::Php).registered);
    }

    void desktopEntryOffersTheAction()
    {
        const QString entry = m_associations->desktopEntry(Family::Php);
        QVERIFY(entry.contains(
            QStringLiteral("\nMimeType=application/x-php;application/x-httpd-php;text/x-php;\n")));
        QVERIFY(entry.contains(QStringLiteral("\nActions=edit-with-tagsmith;\n")));
        QVERIFY(
            entry.contains(QStringLiteral("[Desktop Action edit-with-tagsmith]\nName=Edit with Tagsmith\n")));
        QVERIFY(entry.contains(QStringLiteral("\nExec=\"/opt/tag smith/bin/tagsmith\" %f\n")));
    }

    // The entry a file manager reads: valid, and its action really starts the program.
    void desktopEntryIsValidAndItsActionRuns()
    {
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            QSKIP("desktop-file-validate (desktop-file-utils) is not installed");
        const QString folder = m_home->path() + QStringLiteral("/prog ram's $folder");
        const QString record = m_home->path() + QStringLiteral("/arguments.txt");
        QVERIFY(QDir().mkpath(folder));
        QFile standIn(folder + QStringLiteral("/tagsmith"));
        QVERIFY(standIn.open(QIODevice::WriteOnly));
        standIn.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$TAGSMITH_RECORD\"\n");
        standIn.close();
        standIn.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        const FileAssociations associations(folder, m_home->path() + QStringLiteral("/applications"));
        QVERIFY(associations.write(Family::Htm, true));
        const QString entryPath = associations.desktopEntryPath(Family::Htm);
        QProcess validate;
        validate.start(validator, { entryPath });
        QVERIFY(validate.waitForFinished(20000));
        QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());

        const QString page = m_home->write(QStringLiteral("my page.html"), "<head>");
        const QStringList command = execOfAction(entryPath, page);
        QVERIFY(!command.isEmpty());
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TAGSMITH_RECORD"), record);
        run.setProcessEnvironment(environment);
        run.start(command.first(), command.mid(1));
        QVERIFY(run.waitForFinished(20000));
        QFile recorded(record);
        QVERIFY(recorded.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(recorded.readAll()), page + QLatin1Char('\n'));

        for (const auto &family : FileAssociations::families())
            QVERIFY(associations.write(family.family, false));
        QVERIFY(QDir(m_home->path() + QStringLiteral("/applications"))
                    .entryList({ QStringLiteral("*.desktop") })
                    .isEmpty());
    }

    void execArgumentsAreQuoted_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("spaces") << QStringLiteral("/opt/my apps/tagsmith")
                                << QStringLiteral("\"/opt/my apps/tagsmith\"");
        QTest::newRow("double quote") << QStringLiteral("/a\"b") << QStringLiteral("\"/a\\\"b\"");
        QTest::newRow("dollar and backtick") << QStringLiteral("/$x`y") << QStringLiteral("\"/\\$x\\`y\"");
        QTest::newRow("backslash") << QStringLiteral("/a\\b") << QStringLiteral("\"/a\\\\b\"");
        QTest::newRow("percent") << QStringLiteral("/100%") << QStringLiteral("\"/100%%\"");
    }
    void execArgumentsAreQuoted()
    {
        QFETCH(QString, argument);
        QFETCH(QString, quoted);
        QCOMPARE(FileAssociations::quotedExecArgument(argument), quoted);
    }

private:
    std::unique_ptr<TestHome> m_home;
    std::unique_ptr<FileAssociations> m_associations;
};

QTEST_GUILESS_MAIN(TestFileAssociations)
#include "test_file_associations.moc"
