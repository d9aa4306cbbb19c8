#include "TestHome.h"

#include "services/RegistryKey.h"

#include <QTest>

class TestRegistryKey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void absentValueReadsEmpty()
    {
        TestHome home;
        QCOMPARE(RegistryKey::at(
                     RegistryKey::HKEY_CURRENT_USER, QStringLiteral("Software\\Nobody"), QStringLiteral("x"))
                     .Value(),
            QString());
    }

    void writeCreatesTheMissingKeys()
    {
        TestHome home;
        RegistryKey key = RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT,
            QStringLiteral(".htm\\shell\\Edit_with_Tagsmith\\command"), QString());
        QVERIFY(key.setValue(QStringLiteral("\"/usr/bin/tagsmith\" \"%1\"")));
        RegistryKey parent
            = RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, QStringLiteral(".htm\\shell"), QString());
        QVERIFY(parent.keyExists());
        QCOMPARE(parent.subKeys(), QStringList { QStringLiteral("Edit_with_Tagsmith") });
        QCOMPARE(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT,
                     QStringLiteral(".htm\\shell\\Edit_with_Tagsmith\\command"), QString())
                     .Value(),
            QStringLiteral("\"/usr/bin/tagsmith\" \"%1\""));
    }

    void unnamedValueIsApartFromNamedOnes()
    {
        TestHome home;
        RegistryKey key = RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, QStringLiteral(".php"), QString());
        key.setValueName(key.DefaultValueName());
        QVERIFY(key.setValue(QStringLiteral("phpfile")));
        key.setValueName(QStringLiteral("Content Type"));
        QVERIFY(key.setValue(QStringLiteral("application/x-php")));
        key.setValueName(key.DefaultValueName());
        QCOMPARE(key.Value(), QStringLiteral("phpfile"));
        key.setValueName(QString());
        QCOMPARE(key.Value(), QStringLiteral("phpfile"));
        QCOMPARE(key.valueNames().size(), 2);
    }

    void rootsAreSeparate()
    {
        TestHome home;
        RegistryKey::at(RegistryKey::HKEY_CURRENT_USER, QStringLiteral("Software\\A"), QStringLiteral("v"))
            .setValue(QStringLiteral("user"));
        RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, QStringLiteral("Software\\A"), QStringLiteral("v"))
            .setValue(QStringLiteral("classes"));
        QCOMPARE(RegistryKey::at(
                     RegistryKey::HKEY_CURRENT_USER, QStringLiteral("Software\\A"), QStringLiteral("v"))
                     .Value(),
            QStringLiteral("user"));
        QCOMPARE(RegistryKey::at(
                     RegistryKey::HKEY_CLASSES_ROOT, QStringLiteral("Software\\A"), QStringLiteral("v"))
                     .Value(),
            QStringLiteral("classes"));
    }

    void namesIgnoreLetterCase_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("valueName");
        QTest::newRow("same case") << QStringLiteral("Software\\Vantorel\\Tagsmith LITE")
                                   << QStringLiteral("File1");
        QTest::newRow("key in capitals")
            << QStringLiteral("SOFTWARE\\VANTOREL\\tagsmith lite") << QStringLiteral("File1");
        QTest::newRow("value in lower case")
            << QStringLiteral("Software\\Vantorel\\Tagsmith LITE") << QStringLiteral("file1");
        QTest::newRow("extra separators")
            << QStringLiteral("\\Software\\\\Vantorel\\Tagsmith LITE\\") << QStringLiteral("File1");
    }
    void namesIgnoreLetterCase()
    {
        QFETCH(QString, path);
        QFETCH(QString, valueName);
        TestHome home;
        RegistryKey::at(RegistryKey::HKEY_CURRENT_USER, QStringLiteral("Software\\Vantorel\\Tagsmith LITE"),
            QStringLiteral("File1"))
            .setValue(QStringLiteral("/a.html"));
        RegistryKey key = RegistryKey::at(RegistryKey::HKEY_CURRENT_USER, path, valueName);
        QCOMPARE(key.Value(), QStringLiteral("/a.html"));
        // Overwriting through another spelling keeps one value, not two.
        QVERIFY(key.setValue(QStringLiteral("/b.html")));
        RegistryKey original = RegistryKey::at(
            RegistryKey::HKEY_CURRENT_USER, QStringLiteral("Software\\Vantorel\\Tagsmith LITE"), QString());
        QCOMPARE(original.valueNames(), QStringList { QStringLiteral("File1") });
    }

    void deleteKeyTakesItsSubkeys()
    {
        TestHome home;
        const QString verb = QStringLiteral("htmlfile\\shell\\Edit_with_Tagsmith");
        RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, verb, QString())
            .setValue(QStringLiteral("&Edit with Tagsmith"));
        RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, verb + QStringLiteral("\\command"), QString())
            .setValue(QStringLiteral("x"));
        RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, QStringLiteral("htmlfile\\shell\\open"), QString())
            .setValue(QStringLiteral("y"));

        QVERIFY(RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, verb, QString()).DeleteKey());

        QVERIFY(!RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, verb, QString()).keyExists());
        QCOMPARE(
            RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, verb + QStringLiteral("\\command"), QString())
                .Value(),
            QString());
        QCOMPARE(RegistryKey::at(
                     RegistryKey::HKEY_CLASSES_ROOT, QStringLiteral("htmlfile\\shell\\open"), QString())
                     .Value(),
            QStringLiteral("y"));
    }

    void valueNamesWithSlashesStayValues()
    {
        TestHome home;
        RegistryKey key = RegistryKey::at(
            RegistryKey::HKEY_CURRENT_USER, QStringLiteral("Software\\A"), QStringLiteral("a/b\\c%d"));
        QVERIFY(key.setValue(QStringLiteral("v")));
        QCOMPARE(key.valueNames(), QStringList { QStringLiteral("a/b\\c%d") });
        QVERIFY(key.subKeys().isEmpty());
        QCOMPARE(key.Value(), QStringLiteral("v"));
    }

    void valuesPersistAcrossObjects()
    {
        TestHome home;
        RegistryKey::at(RegistryKey::HKEY_CURRENT_USER,
            QStringLiteral("Software\\Microsoft\\MS Setup (ACME)\\User Info"), QStringLiteral("DefName"))
            .setValue(QStringLiteral("Registered User"));
        QCOMPARE(
            RegistryKey::at(RegistryKey::HKEY_CURRENT_USER,
                QStringLiteral("Software\\Microsoft\\MS Setup (ACME)\\User Info"), QStringLiteral("DefName"))
                .Value(),
            QStringLiteral("Registered User"));
    }
};

QTEST_APPLESS_MAIN(TestRegistryKey)
#include "test_registry_key.moc"
