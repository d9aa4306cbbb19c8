#pragma once

#include <QSettings>
#include <QString>

// Named text values grouped in sections, kept in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config) under Vantorel/. A value never written reads as "".
class SettingsStore
{
public:
    static inline const QString kProgramSection = QStringLiteral("Tagsmith LITE");

    SettingsStore();
    // A store kept in the given INI file instead of the user's own.
    explicit SettingsStore(const QString &iniFile);

    QString value(const QString &name, const QString &section = kProgramSection) const;
    // False when the value could not be stored (for example a read-only folder).
    bool setValue(const QString &name, const QString &value, const QString &section = kProgramSection);
    QString description() const;

    QString fileName() const { return m_settings.fileName(); }

    // The folder all of the program's stores live in.
    static QString configFolder();

private:
    mutable QSettings m_settings;
};
