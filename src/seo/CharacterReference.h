#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// HTML character references ("&amp;", "&eacute;", "&#233;", "&#xE9;"): values go into the
// page as typed, so a browser shows the character a reference stands for. Named ones are
// known for Latin-1 and the common typographic marks; each needs its closing ";".
class CharacterReference
{
public:
    struct Decoded
    {
        char32_t codePoint;
        std::size_t length; // bytes of the reference, "&" to ";"
    };

    // The reference text starts with, if it starts with one; a number that is no character
    // (zero, a surrogate, beyond U+10FFFF) stands for U+FFFD.
    static std::optional<Decoded> decode(std::string_view text);
};
