#include "OleColor.h"

#include <QApplication>
#include <QPalette>

#include <array>
#include <optional>

namespace {

struct SystemColour
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Each system colour index, by the palette entry that plays its part on this desktop.
std::optional<SystemColour> systemColour(quint32 index)
{
    using P = QPalette;
    static constexpr std::array<SystemColour, 31> table { {
        { P::Active, P::Button }, // 0 scroll bar
        { P::Active, P::Dark }, // 1 desktop
        { P::Active, P::Highlight }, // 2 active caption
        { P::Inactive, P::Mid }, // 3 inactive caption
        { P::Active, P::Window }, // 4 menu
        { P::Active, P::Base }, // 5 window
        { P::Active, P::Shadow }, // 6 window frame
        { P::Active, P::WindowText }, // 7 menu text
        { P::Active, P::Text }, // 8 window text
        { P::Active, P::HighlightedText }, // 9 caption text
        { P::Active, P::Button }, // 10 active border
        { P::Inactive, P::Button }, // 11 inactive border
        { P::Active, P::Dark }, // 12 application workspace
        { P::Active, P::Highlight }, // 13 highlight
        { P::Active, P::HighlightedText }, // 14 highlighted text
        { P::Active, P::Button }, // 15 button face
        { P::Active, P::Dark }, // 16 button shadow
        { P::Disabled, P::Text }, // 17 grey text
        { P::Active, P::ButtonText }, // 18 button text
        { P::Disabled, P::WindowText }, // 19 inactive caption text
        { P::Active, P::Light }, // 20 button highlight
        { P::Active, P::Shadow }, // 21 dark 3D shadow
        { P::Active, P::Midlight }, // 22 3D light
        { P::Active, P::ToolTipText }, // 23 info text
        { P::Active, P::ToolTipBase }, // 24 info background
        { P::Active, P::NoRole }, // 25 not a system colour
        { P::Active, P::Link }, // 26 hot light
        { P::Active, P::Highlight }, // 27 active caption gradient
        { P::Inactive, P::Mid }, // 28 inactive caption gradient
        { P::Active, P::Highlight }, // 29 menu highlight
        { P::Active, P::Window }, // 30 menu bar
    } };
    if (index >= table.size() || table[index].role == P::NoRole)
        return std::nullopt;
    return table[index];
}

} // namespace

QColor OleColor::translate(quint32 oleColor)
{
    const quint32 kind = oleColor & 0xFF000000u;
    if (kind == 0)
        return QColor(static_cast<int>(oleColor & 0xFFu), static_cast<int>((oleColor >> 8) & 0xFFu),
            static_cast<int>((oleColor >> 16) & 0xFFu));
    if (kind != SystemFlag)
        return QColor();
    const auto entry = systemColour(oleColor & 0x00FFFFFFu);
    if (!entry)
        return QColor();
    return QApplication::palette().color(entry->group, entry->role);
}
