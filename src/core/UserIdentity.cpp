#include "UserIdentity.h"

#include <QByteArray>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace {

struct AccountRecord
{
    QString login;
    QString comment;
};

AccountRecord currentAccount()
{
    long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 16384);
    passwd record {};
    passwd *found = nullptr;
    if (getpwuid_r(getuid(), &record, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    return { QString::fromLocal8Bit(found->pw_name), QString::fromLocal8Bit(found->pw_gecos) };
}

} // namespace

QString UserIdentity::fullName()
{
    return currentAccount().comment.section(QLatin1Char(','), 0, 0).trimmed();
}

QString UserIdentity::loginName()
{
    const QString login = currentAccount().login;
    if (!login.isEmpty())
        return login;
    return QString::fromLocal8Bit(qgetenv("USER"));
}
