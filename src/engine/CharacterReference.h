#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// HTML character references ("&amp;", "&eacute;", "&#233;", "&#xE9;"), read as browsers
// read them: named ones from HTML's full table, the longest name that fits, numbers with
// or without their ";". Values in META tags are attribute text, so the program reads
// them this way and writes the four characters that would end or open markup as
// references.
class CharacterReference
{
public:
    // Inside an attribute value a name without ";" followed by "=" or a letter or digit
    // stays text ("?a=1&copy=2" is a link, not a copyright sign); elsewhere it is decoded.
    enum class Context { Text, Attribute };

    struct Decoded
    {
        char32_t first;
        char32_t second; // 0 unless the name stands for two characters
        std::size_t length; // bytes of the reference, "&" up to its end
    };

    // The reference text starts with, if it starts with one.
    static std::optional<Decoded> decode(std::string_view text, Context context);
    // UTF-8 text with every reference replaced by the characters it stands for.
    static std::string decodeAll(std::string_view utf8, Context context);
    // UTF-8 text as an attribute value between double quotes: "&", "\"", "<" and ">" as
    // references; a byte that is not UTF-8 becomes U+FFFD.
    static std::string escapeAttribute(std::string_view utf8);
};
