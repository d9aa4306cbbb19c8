#pragma once

#include <QString>

class RegistryKey;
class SettingsCatalogue;

// What the program records before any window opens: its version and location for the
// maker's other programs, and a standard author on first run.
class StartupValues
{
public:
    // Writes "Version" and "Location" and seeds an empty "Author". False when the settings
    // could not be written.
    static bool record(SettingsCatalogue &settings, RegistryKey &registry, const QString &programFile);

    // The registered user name, else the account's full name, else the login name.
    static QString registeredUserName(RegistryKey &registry);
};
