#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

// One value addressed by root, key path ("A\\B\\C") and value name, in a store of its own
// per root under the program's configuration folder. As in the registry the names are
// matched without regard to letter case, keep the case they were first written with,
// and writing creates the missing keys on the path.
class RegistryKey
{
public:
    enum RootKey : quint32 {
        HKEY_CLASSES_ROOT = 0x80000000u,
        HKEY_CURRENT_USER = 0x80000001u,
    };
    enum RegistryType { REG_SZ = 1 };

    RegistryKey();
    // Stores kept in the given folder instead of the user's own.
    explicit RegistryKey(const QString &storeFolder);
    ~RegistryKey();
    RegistryKey(RegistryKey &&) noexcept;
    // A REG_SZ value at root and keyPath; an empty valueName addresses the unnamed value.
    static RegistryKey at(quint32 root, const QString &keyPath, const QString &valueName = QString());
    RegistryKey &operator=(RegistryKey &&) noexcept;

    quint32 root() const { return m_root; }
    void setRoot(quint32 root);
    QString keyPath() const { return m_keyPath; }
    void setKeyPath(const QString &keyPath) { m_keyPath = keyPath; }
    QString valueName() const { return m_valueName; }
    void setValueName(const QString &valueName) { m_valueName = valueName; }
    // The name that addresses a key's unnamed value.
    QString defaultValueName() const;
    int valueType() const { return m_valueType; }
    void setValueType(int valueType) { m_valueType = valueType; }

    // An absent value reads as "".
    QString value() const;
    // False when the store could not be written.
    bool setValue(const QString &text);
    bool deleteValue();
    // Removes the key at keyPath with all its subkeys and values.
    bool deleteKey();

    bool keyExists() const;
    QStringList subKeys() const;
    QStringList valueNames() const;

    QString storeFile() const;

private:
    QSettings &store() const;
    QString resolvedGroup() const;
    QString resolvedValueKey() const;
    static QString encodeValueName(const QString &name);

    QString m_storeFolder;
    quint32 m_root = HKEY_CURRENT_USER;
    QString m_keyPath;
    QString m_valueName;
    int m_valueType = REG_SZ;
    mutable std::unique_ptr<QSettings> m_store;
};
