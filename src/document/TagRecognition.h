#pragma once

#include <optional>
#include <span>
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
// The read prefixes stop before the closing quote, so "authorship" reads as author.
class TagRecognition
{
public:
    // The kinds the reader collects, in the order they are compared.
    static std::span<const TagKind> readOrder();
    // The kinds a save removes, in the order they are compared.
    static std::span<const TagKind> removalOrder();

    // The prefix a kind is read / removed by; empty when it is never read / removed.
    static std::string_view readPrefix(TagKind kind);
    static std::string_view removalPrefix(TagKind kind);

    // Matches the text after a "<" against the read / removal prefixes.
    static std::optional<TagKind> matchRead(std::string_view afterLessThan);
    static std::optional<TagKind> matchRemoval(std::string_view afterLessThan);

    // Whether text begins with lowerPrefix once its ASCII letters are lower-cased.
    static bool startsWithFolded(std::string_view text, std::string_view lowerPrefix);
};
