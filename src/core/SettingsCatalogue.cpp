#include "SettingsCatalogue.h"

#include "SettingsStore.h"

#include <array>
#include <limits>

namespace {

constexpr const char *kProgram = "Tagsmith LITE";
// The sibling editor's own section, read for its program path.
constexpr const char *kSibling = "Scrivan";

constexpr std::array<SettingsCatalogue::Entry, 16> kEntries = { {
    { Setting::Version, "Version", kProgram, ReadingRule::Text },
    { Setting::Location, "Location", kProgram, ReadingRule::Text },
    { Setting::Author, "Author", kProgram, ReadingRule::Text },
    { Setting::DefaultCharset, "DefaultCharset", kProgram, ReadingRule::OnlyOnIsOn },
    { Setting::BackupFiles, "Backup Files", kProgram, ReadingRule::OnlyOffIsOff },
    { Setting::Toolbar, "Toolbar", kProgram, ReadingRule::OnlyOnIsOn },
    { Setting::ViewMeta, "ViewMeta", kProgram, ReadingRule::OnlyOnIsOn },
    { Setting::Left, "Left", kProgram, ReadingRule::LeadingNumber },
    { Setting::Top, "Top", kProgram, ReadingRule::LeadingNumber },
    { Setting::Width, "Width", kProgram, ReadingRule::LeadingNumber },
    { Setting::Height, "Height", kProgram, ReadingRule::LeadingNumber },
    { Setting::WindowState, "WindowState", kProgram, ReadingRule::Text },
    { Setting::Help, "Help", kProgram, ReadingRule::Text },
    { Setting::ScrivanLocation, "Location", kSibling, ReadingRule::Text },
    { Setting::WidthLimits, "Width Limits", kProgram, ReadingRule::Text },
    { Setting::RecentSites, "Site", "Recent Sites", ReadingRule::Text },
} };

QString nameOf(Setting setting)
{
    return QString::fromLatin1(SettingsCatalogue::entry(setting).name);
}

QString sectionOf(Setting setting)
{
    return QString::fromLatin1(SettingsCatalogue::entry(setting).section);
}

QString numberedName(Setting setting, int number)
{
    return nameOf(setting) + QString::number(number);
}

} // namespace

std::span<const SettingsCatalogue::Entry> SettingsCatalogue::entries()
{
    return kEntries;
}

const SettingsCatalogue::Entry &SettingsCatalogue::entry(Setting setting)
{
    return kEntries[static_cast<std::size_t>(setting)];
}

SettingsCatalogue::SettingsCatalogue(SettingsStore &store)
    : m_store(store)
{
}

QString SettingsCatalogue::text(Setting setting) const
{
    return m_store.value(nameOf(setting), sectionOf(setting));
}

bool SettingsCatalogue::isOn(Setting setting) const
{
    return isOn(entry(setting).rule, text(setting));
}

int SettingsCatalogue::number(Setting setting) const
{
    return leadingNumber(text(setting));
}

bool SettingsCatalogue::setText(Setting setting, const QString &value)
{
    return m_store.setValue(nameOf(setting), value, sectionOf(setting));
}

bool SettingsCatalogue::setOn(Setting setting, bool on)
{
    return setText(setting, on ? QStringLiteral("on") : QStringLiteral("off"));
}

WidthLimits SettingsCatalogue::widthLimits() const
{
    return WidthLimits::named(text(Setting::WidthLimits).toStdString()).value_or(WidthLimits::desktop());
}

bool SettingsCatalogue::setWidthLimits(const WidthLimits &limits)
{
    return setText(Setting::WidthLimits, QString::fromStdString(limits.name()));
}

QStringList SettingsCatalogue::texts(Setting setting, int count) const
{
    QStringList found;
    for (int number = 1; number <= count; ++number)
        found.append(m_store.value(numberedName(setting, number), sectionOf(setting)));
    return found;
}

bool SettingsCatalogue::setTexts(Setting setting, const QStringList &texts, int count)
{
    bool ok = true;
    for (int number = 1; number <= count; ++number)
        ok = m_store.setValue(numberedName(setting, number), texts.value(number - 1), sectionOf(setting))
            && ok;
    return ok;
}

bool SettingsCatalogue::isOn(ReadingRule rule, const QString &stored)
{
    switch (rule) {
    case ReadingRule::OnlyOnIsOn:
        return stored == QLatin1String("on");
    case ReadingRule::OnlyOffIsOff:
        return stored != QLatin1String("off");
    case ReadingRule::Text:
    case ReadingRule::LeadingNumber:
        break;
    }
    return false;
}

int SettingsCatalogue::leadingNumber(const QString &stored)
{
    qsizetype at = 0;
    while (at < stored.size() && stored.at(at).isSpace())
        ++at;
    const bool negative = at < stored.size() && stored.at(at) == QLatin1Char('-');
    if (negative || (at < stored.size() && stored.at(at) == QLatin1Char('+')))
        ++at;
    qint64 value = 0;
    for (; at < stored.size() && stored.at(at) >= QLatin1Char('0') && stored.at(at) <= QLatin1Char('9');
         ++at) {
        value = value * 10 + (stored.at(at).unicode() - '0');
        // Geometry far beyond any screen is clamped rather than wrapped.
        if (value > std::numeric_limits<int>::max())
            value = std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -value : value);
}
