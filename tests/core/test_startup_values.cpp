#include "TestHome.h"

#include "RegistryKey.h"
#include "SettingsStore.h"
#include "UserIdentity.h"
#include "SettingsCatalogue.h"
#include "ProgramVersion.h"
#include "StartupValues.h"

#include <QScopeGuard>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

namespace {

// The process's real user, which names the account, for as long as it lives; the effective
// user stays, so files are written as before. Needs root.
class RealUser
{
public:
    explicit RealUser(uid_t user)
        : m_previous(::getuid())
        , m_changed(::setresuid(user, uid_t(-1), uid_t(-1)) == 0)
    {
    }
    ~RealUser()
    {
        if (m_changed)
            ::setresuid(m_previous, uid_t(-1), uid_t(-1));
    }
    RealUser(const RealUser &) = delete;
    RealUser &operator=(const RealUser &) = delete;

    bool changed() const { return m_changed; }

private:
    uid_t m_previous;
    bool m_changed;
};

// Skips the row unless the account is as the row expects it, or absent when it expects none.
bool accountIs(uid_t user, const char *login, const char *comment)
{
    const passwd *account = ::getpwuid(user);
    if (!login)
        return !account;
    return account && QByteArray(account->pw_name) == login && QByteArray(account->pw_gecos) == comment;
}

} // namespace

class TestStartupValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionAndBuildTexts_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("build");
        QTest::newRow("this release") << 2 << 1 << 521 << "2.01a" << "0521";
        QTest::newRow("two-digit minor keeps the zero; five-digit build") << 3 << 12 << 12345 << "3.012a"
                                                                          << "12345";
        QTest::newRow("zeros") << 4 << 0 << 0 << "4.00a" << "0000";
    }
    void versionAndBuildTexts()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, version);
        QFETCH(QString, build);
        QCOMPARE(ProgramVersion::versionText(major, minor), version);
        QCOMPARE(ProgramVersion::buildText(revision), build);
    }

    // The author is seeded from the registered name, else the account's, and only when empty.
    void authorIsSeededOnlyWhenEmpty_data()
    {
        QTest::addColumn<QString>("registered");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("after");
        QTest::newRow("set author stays") << "Registered User" << "Jane" << "Jane";
        QTest::newRow("a blank is not empty") << "Registered User" << " " << " ";
        QTest::newRow("empty is seeded") << "Registered User" << "" << "Registered User";
        QTest::newRow("no registered name: the account") << "" << "" << "";
    }
    void authorIsSeededOnlyWhenEmpty()
    {
        QFETCH(QString, registered);
        QFETCH(QString, stored);
        QFETCH(QString, after);
        TestHome home;
        if (!registered.isEmpty())
            RegistryKey::at(RegistryKey::HKEY_CURRENT_USER, "Software\\Microsoft\\MS Setup (ACME)\\User Info",
                "DefName")
                .setValue(registered);
        SettingsStore store;
        SettingsCatalogue settings(store);
        settings.setText(Setting::Author, stored);
        RegistryKey registry;
        QVERIFY(StartupValues::record(settings, registry, "/opt/tagsmith/bin/tagsmith"));
        QCOMPARE(settings.text(Setting::Version), QStringLiteral("2.01a"));
        QCOMPARE(settings.text(Setting::Location), QStringLiteral("/opt/tagsmith/bin/tagsmith"));
        const QString author = settings.text(Setting::Author);
        if (after.isEmpty())
            QVERIFY2(!author.isEmpty()
                    && (author == UserIdentity::fullName() || author == UserIdentity::loginName()),
                qPrintable(author));
        else
            QCOMPARE(author, after);
    }

    // The account names the user when nothing is registered: its full name, the comment
    // up to its first comma, else its login name, else the name the session gives.
    void authorFromTheAccount_data()
    {
        QTest::addColumn<int>("user");
        QTest::addColumn<QByteArray>("login"); // empty: no such account
        QTest::addColumn<QByteArray>("comment");
        QTest::addColumn<QString>("fullName");
        QTest::addColumn<QString>("loginName");
        QTest::newRow("a comment of one part") << 0 << QByteArray("root") << QByteArray("root") << "root" << "root";
        QTest::newRow("a comment of several parts")
            << 101 << QByteArray("postgres") << QByteArray("PostgreSQL administrator,,,")
            << "PostgreSQL administrator" << "postgres";
        QTest::newRow("no comment") << 42 << QByteArray("_apt") << QByteArray() << "" << "_apt";
        QTest::newRow("no account at all") << 54321 << QByteArray() << QByteArray() << "" << "session user";
    }
    void authorFromTheAccount()
    {
        QFETCH(int, user);
        QFETCH(QByteArray, login);
        QFETCH(QByteArray, comment);
        QFETCH(QString, fullName);
        QFETCH(QString, loginName);
        if (!accountIs(uid_t(user), login.isEmpty() ? nullptr : login.constData(), comment.constData()))
            QSKIP("the user database holds no such account here");
        if (::geteuid() != 0)
            QSKIP("taking another account's name needs root");
        TestHome home;
        const QByteArray session = qgetenv("USER");
        const auto restoreSession = qScopeGuard([&] {
            if (session.isNull())
                qunsetenv("USER");
            else
                qputenv("USER", session);
        });
        qputenv("USER", "session user");
        SettingsStore store;
        SettingsCatalogue settings(store);
        RegistryKey registry;
        {
            const RealUser as { uid_t(user) };
            QVERIFY(as.changed());
            QCOMPARE(UserIdentity::fullName(), fullName);
            QCOMPARE(UserIdentity::loginName(), loginName);
            QVERIFY(StartupValues::record(settings, registry, "/opt/tagsmith/bin/tagsmith"));
        }
        QCOMPARE(settings.text(Setting::Author), fullName.isEmpty() ? loginName : fullName);
    }

    void unwritableSettingsAreReported()
    {
        TestHome home;
        home.write("config/Vantorel", "in the way");
        SettingsStore store;
        SettingsCatalogue settings(store);
        RegistryKey registry;
        QVERIFY(!StartupValues::record(settings, registry, "/x/tagsmith"));
    }
};

QTEST_APPLESS_MAIN(TestStartupValues)
#include "test_startup_values.moc"
