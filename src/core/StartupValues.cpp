#include "StartupValues.h"

#include "RegistryKey.h"
#include "RegistryPaths.h"
#include "UserIdentity.h"
#include "SettingsCatalogue.h"
#include "ProgramVersion.h"

bool StartupValues::record(SettingsCatalogue &settings, RegistryKey &registry, const QString &programFile)
{
    bool ok = settings.setText(Setting::Version, ProgramVersion::version());
    ok = settings.setText(Setting::Location, programFile) && ok;
    if (settings.text(Setting::Author).isEmpty())
        ok = settings.setText(Setting::Author, registeredUserName(registry)) && ok;
    return ok;
}

QString StartupValues::registeredUserName(RegistryKey &registry)
{
    registry.setRoot(RegistryKey::HKEY_CURRENT_USER);
    registry.setKeyPath(RegistryPaths::kUserInfoKey);
    registry.setValueName(RegistryPaths::kUserNameValue);
    registry.setValueType(RegistryKey::REG_SZ);
    if (const QString registered = registry.value(); !registered.isEmpty())
        return registered;
    if (const QString fullName = UserIdentity::fullName(); !fullName.isEmpty())
        return fullName;
    return UserIdentity::loginName();
}
