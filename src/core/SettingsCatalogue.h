#pragma once

#include "WidthLimits.h"

#include <QString>
#include <QStringList>

#include <span>

class SettingsStore;

enum class Setting {
    Version,
    Location,
    Author,
    DefaultCharset,
    BackupFiles,
    Toolbar,
    ViewMeta,
    Left,
    Top,
    Width,
    Height,
    WindowState,
    Help,
    ScrivanLocation,
    WidthLimits,
    RecentSites, // a numbered list: Site1, Site2...
};

// How a stored text is understood. Nothing passes a default: a value never written reads
// as "" and each rule says what "" (or any unexpected text) means.
enum class ReadingRule {
    Text, // as stored
    OnlyOnIsOn, // on only for exactly "on"
    OnlyOffIsOff, // off only for exactly "off": "" and anything else count as on
    LeadingNumber, // the number at the start of the text; 0 when there is none
};

// Every value the program keeps between runs: its name, section and reading rule.
class SettingsCatalogue
{
public:
    struct Entry
    {
        Setting setting;
        const char *name;
        const char *section;
        ReadingRule rule;
    };

    static std::span<const Entry> entries();
    static const Entry &entry(Setting setting);

    explicit SettingsCatalogue(SettingsStore &store);

    QString text(Setting setting) const;
    bool isOn(Setting setting) const;
    int number(Setting setting) const;
    bool setText(Setting setting, const QString &value);
    // Writes "on" or "off".
    bool setOn(Setting setting, bool on);
    // The desktop's limits unless the setting names others.
    ::WidthLimits widthLimits() const;
    bool setWidthLimits(const ::WidthLimits &limits);
    // A list kept as values named after the setting and numbered from 1, each a text; at
    // most count of them are read, and writing clears the numbers after the last text.
    QStringList texts(Setting setting, int count) const;
    bool setTexts(Setting setting, const QStringList &texts, int count);

    SettingsStore &store() const { return m_store; }

    static bool isOn(ReadingRule rule, const QString &stored);
    static int leadingNumber(const QString &stored);

private:
    SettingsStore &m_store;
};
