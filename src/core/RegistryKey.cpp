#include "RegistryKey.h"

#include "SettingsStore.h"

namespace {

const QString kUnnamedValue = QStringLiteral("@");

QString rootName(quint32 root)
{
    return root == RegistryKey::HKEY_CLASSES_ROOT ? QStringLiteral("HKEY_CLASSES_ROOT")
                                                  : QStringLiteral("HKEY_CURRENT_USER");
}

QString matchIgnoringCase(const QStringList &existing, const QString &wanted)
{
    for (const QString &name : existing) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return wanted;
}

QString decodeValueName(QString name)
{
    return name.replace(QStringLiteral("%2F"), QStringLiteral("/"))
        .replace(QStringLiteral("%5C"), QStringLiteral("\\"))
        .replace(QStringLiteral("%25"), QStringLiteral("%"));
}

} // namespace

RegistryKey::RegistryKey()
    : RegistryKey(SettingsStore::configFolder() + QStringLiteral("/registry"))
{
}

RegistryKey::RegistryKey(const QString &storeFolder)
    : m_storeFolder(storeFolder)
{
}

RegistryKey::~RegistryKey() = default;
RegistryKey::RegistryKey(RegistryKey &&) noexcept = default;
RegistryKey &RegistryKey::operator=(RegistryKey &&) noexcept = default;

RegistryKey RegistryKey::at(quint32 root, const QString &keyPath, const QString &valueName)
{
    RegistryKey key;
    key.setRoot(root);
    key.setKeyPath(keyPath);
    key.setValueName(valueName);
    key.setValueType(REG_SZ);
    return key;
}

void RegistryKey::setRoot(quint32 root)
{
    if (root != m_root)
        m_store.reset();
    m_root = root;
}

QString RegistryKey::defaultValueName() const
{
    return kUnnamedValue;
}

QString RegistryKey::value() const
{
    return store().value(resolvedValueKey()).toString();
}

bool RegistryKey::setValue(const QString &text)
{
    store().setValue(resolvedValueKey(), text);
    store().sync();
    return store().status() == QSettings::NoError;
}

bool RegistryKey::deleteValue()
{
    store().remove(resolvedValueKey());
    store().sync();
    return store().status() == QSettings::NoError;
}

bool RegistryKey::deleteKey()
{
    const QString group = resolvedGroup();
    if (group.isEmpty())
        return false;
    store().remove(group);
    store().sync();
    return store().status() == QSettings::NoError;
}

bool RegistryKey::keyExists() const
{
    const QString group = resolvedGroup();
    QSettings &s = store();
    s.beginGroup(group);
    const bool exists = !s.childKeys().isEmpty() || !s.childGroups().isEmpty();
    s.endGroup();
    return exists;
}

QStringList RegistryKey::subKeys() const
{
    QSettings &s = store();
    s.beginGroup(resolvedGroup());
    const QStringList keys = s.childGroups();
    s.endGroup();
    return keys;
}

QStringList RegistryKey::valueNames() const
{
    QSettings &s = store();
    s.beginGroup(resolvedGroup());
    QStringList names;
    const QStringList keys = s.childKeys();
    for (const QString &key : keys)
        names.append(decodeValueName(key));
    s.endGroup();
    return names;
}

QString RegistryKey::storeFile() const
{
    return m_storeFolder + QLatin1Char('/') + rootName(m_root) + QStringLiteral(".ini");
}

QSettings &RegistryKey::store() const
{
    if (!m_store)
        m_store = std::make_unique<QSettings>(storeFile(), QSettings::IniFormat);
    m_store->sync();
    return *m_store;
}

QString RegistryKey::resolvedGroup() const
{
    QSettings &s = store();
    QStringList resolved;
    const QStringList parts = m_keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        s.beginGroup(resolved.join(QLatin1Char('/')));
        resolved.append(matchIgnoringCase(s.childGroups(), encodeValueName(part)));
        s.endGroup();
    }
    return resolved.join(QLatin1Char('/'));
}

QString RegistryKey::resolvedValueKey() const
{
    const QString group = resolvedGroup();
    QSettings &s = store();
    s.beginGroup(group);
    const QString wanted = m_valueName.isEmpty() ? kUnnamedValue : encodeValueName(m_valueName);
    const QString name = matchIgnoringCase(s.childKeys(), wanted);
    s.endGroup();
    return group.isEmpty() ? name : group + QLatin1Char('/') + name;
}

QString RegistryKey::encodeValueName(const QString &name)
{
    QString encoded = name;
    return encoded.replace(QStringLiteral("%"), QStringLiteral("%25"))
        .replace(QStringLiteral("/"), QStringLiteral("%2F"))
        .replace(QStringLiteral("\\"), QStringLiteral("%5C"));
}
