#include "SettingsStore.h"

#include <QStandardPaths>
#include <QStringList>

namespace {

QString groupKey(const QString &section, const QString &name)
{
    return section + QLatin1Char('/') + name;
}

} // namespace

SettingsStore::SettingsStore()
    : SettingsStore(configFolder() + QStringLiteral("/Tagsmith LITE.ini"))
{
}

SettingsStore::SettingsStore(const QString &iniFile)
    : m_settings(iniFile, QSettings::IniFormat)
{
}

QString SettingsStore::value(const QString &name, const QString &section) const
{
    m_settings.sync();
    const QVariant value = m_settings.value(groupKey(section, name));
    // A hand-edited value with unquoted commas comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool SettingsStore::setValue(const QString &name, const QString &value, const QString &section)
{
    const QString key = groupKey(section, name);
    // Every start records the same values again; rewriting the file would cost a disk sync.
    m_settings.sync();
    if (m_settings.contains(key) && m_settings.value(key) == QVariant(value))
        return m_settings.status() == QSettings::NoError;
    m_settings.setValue(key, value);
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

QString SettingsStore::description() const
{
    return QStringLiteral("Settings store: named texts in sections, in %1").arg(fileName());
}

QString SettingsStore::configFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Vantorel");
}
