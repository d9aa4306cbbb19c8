#pragma once

#include <optional>
#include <string_view>

enum class TagKind {
    Title,
    ContentType,
    Description,
    Keywords,
    Author,
    Robots,
    Distribution,
    Formatter,
    LabTag
};

// Tags are known by the lower-cased text right after their "<": only the canonical form
// ("meta", one space, name or http-equiv first, no spaces around "=", double quotes).
// A save removes exactly the managed tags that a read reads, so that no tag it reads can
// outlive a save and add its value to the new one.
class TagRecognition
{
public:
    // The kind the text after a "<" opens, if it is the title or a managed tag.
    static std::optional<TagKind> match(std::string_view afterLessThan);
    static std::string_view prefix(TagKind kind);

    // Whether a read takes the tag's content as a value.
    static bool isValue(TagKind kind);
    // Whether a save removes the tag: every META tag the program writes or reads.
    static bool isManaged(TagKind kind) { return kind != TagKind::Title; }

    // Whether the text after a "<" opens a META tag in any form.
    static bool opensMeta(std::string_view afterLessThan);
    // The first "<" at or after from that may open a META tag or a comment: one followed by
    // "m", "M" or "!". npos when there is none.
    static std::size_t findMetaOrComment(std::string_view bytes, std::size_t from);

    // Whether text begins with lowerPrefix once its ASCII letters are lower-cased.
    static bool startsWithFolded(std::string_view text, std::string_view lowerPrefix);
    static bool equalsFolded(std::string_view text, std::string_view lower);
};
