#pragma once

#include "MetaElementSet.h"
#include "PageFacts.h"
#include "WidthLimits.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class WarningKind {
    CharsetConflict,        // the flag is on and the page declares another charset
    CharsetDropped,         // the flag is off and a save removes the page's only charset declaration
    UnreadTagForm,          // a managed tag the save would leave beside the new one
    OutsideHead,            // a managed tag outside the HEAD, neither read nor changed
    DescriptionMissing,
    DescriptionPlaceholder,
    DescriptionTooLong,     // wider than a search result shows
    DescriptionTooShort,
    DescriptionSameAsTitle, // the result would show the same words twice
    DescriptionRepeated,    // more than one description tag, read as one run-together text
    DescriptionShared       // another page (or open document) has the same description
};

// Where a warning belongs in the document window.
enum class WarningTarget { Description, Keywords, Author, Robots, Charset };
inline constexpr std::size_t kWarningTargetCount = 5;
inline constexpr std::size_t kWarningKindCount = 11;

struct Warning
{
    WarningKind kind;
    WarningTarget target;
    std::string message; // one sentence, UTF-8, for a label or tool tip

    bool operator==(const Warning &) const = default;
};

class PageWarnings
{
public:
    // sharedDescription: the caller knows of another page with the same description.
    // limits: where a description counts as too long or too short.
    static std::vector<Warning> evaluate(const PageFacts &page, const MetaElementSet &values,
                                         bool sharedDescription, const WidthLimits &limits);
    // The last warning evaluate gives when the description is shared, for a caller that
    // learns of the other page only later.
    static Warning descriptionShared();
    // Stable lower-case name for machine output: "charset-conflict", "outside-head"...
    static std::string_view kindName(WarningKind kind);
    // Lower-case name of the field a warning belongs to: "description", "charset"...
    static std::string_view targetName(WarningTarget target);
};
