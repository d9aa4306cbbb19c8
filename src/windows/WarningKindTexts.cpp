#include "WarningKindTexts.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

struct KindText
{
    WarningKind kind;
    const char *text;
};

constexpr std::array<KindText, kWarningKindCount> kTexts = { {
    { WarningKind::CharsetConflict, QT_TRANSLATE_NOOP("WarningKindTexts", "Charset conflict") },
    { WarningKind::CharsetDropped, QT_TRANSLATE_NOOP("WarningKindTexts", "Charset dropped") },
    { WarningKind::UnreadTagForm, QT_TRANSLATE_NOOP("WarningKindTexts", "Tag form not read") },
    { WarningKind::OutsideHead, QT_TRANSLATE_NOOP("WarningKindTexts", "META outside the HEAD") },
    { WarningKind::DescriptionMissing, QT_TRANSLATE_NOOP("WarningKindTexts", "Description missing") },
    { WarningKind::DescriptionPlaceholder, QT_TRANSLATE_NOOP("WarningKindTexts", "Placeholder description") },
    { WarningKind::DescriptionTooLong, QT_TRANSLATE_NOOP("WarningKindTexts", "Description too long") },
    { WarningKind::DescriptionTooShort, QT_TRANSLATE_NOOP("WarningKindTexts", "Description too short") },
    { WarningKind::DescriptionSameAsTitle, QT_TRANSLATE_NOOP("WarningKindTexts", "Same as the title") },
    { WarningKind::DescriptionRepeated, QT_TRANSLATE_NOOP("WarningKindTexts", "More than one description") },
    { WarningKind::DescriptionShared, QT_TRANSLATE_NOOP("WarningKindTexts", "Shared with other pages") },
} };

} // namespace

QString WarningKindTexts::text(WarningKind kind)
{
    const auto found = std::find_if(
        std::begin(kTexts), std::end(kTexts), [kind](const KindText &entry) { return entry.kind == kind; });
    return found == std::end(kTexts) ? QString() : tr(found->text);
}
