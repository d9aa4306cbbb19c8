#pragma once

#include <QString>

// The logged-on user as the system's user database knows them.
class UserIdentity
{
public:
    // The full name from the account's comment (GECOS) field, up to its first comma.
    static QString fullName();
    static QString loginName();
};
