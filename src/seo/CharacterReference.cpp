#include "seo/CharacterReference.h"

#include <algorithm>
#include <array>

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;
// Longer than any known name: the search for ";" stops here.
constexpr std::size_t kLongestName = 8;

// U+00A0 to U+00FF in order.
constexpr std::array<std::string_view, 96> kLatin1Names = { "nbsp", "iexcl", "cent", "pound", "curren", "yen",
    "brvbar", "sect", "uml", "copy", "ordf", "laquo", "not", "shy", "reg", "macr", "deg", "plusmn", "sup2",
    "sup3", "acute", "micro", "para", "middot", "cedil", "sup1", "ordm", "raquo", "frac14", "frac12",
    "frac34", "iquest", "Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil", "Egrave",
    "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml", "ETH", "Ntilde", "Ograve", "Oacute",
    "Ocirc", "Otilde", "Ouml", "times", "Oslash", "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN",
    "szlig", "agrave", "aacute", "acirc", "atilde", "auml", "aring", "aelig", "ccedil", "egrave", "eacute",
    "ecirc", "euml", "igrave", "iacute", "icirc", "iuml", "eth", "ntilde", "ograve", "oacute", "ocirc",
    "otilde", "ouml", "divide", "oslash", "ugrave", "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml" };

struct Named
{
    std::string_view name;
    char32_t codePoint;
};

constexpr std::array<Named, 27> kOtherNames = { {
    { "amp", '&' },
    { "lt", '<' },
    { "gt", '>' },
    { "quot", '"' },
    { "apos", '\'' },
    { "ensp", 0x2002 },
    { "emsp", 0x2003 },
    { "thinsp", 0x2009 },
    { "zwnj", 0x200C },
    { "zwj", 0x200D },
    { "ndash", 0x2013 },
    { "mdash", 0x2014 },
    { "lsquo", 0x2018 },
    { "rsquo", 0x2019 },
    { "sbquo", 0x201A },
    { "ldquo", 0x201C },
    { "rdquo", 0x201D },
    { "bdquo", 0x201E },
    { "dagger", 0x2020 },
    { "Dagger", 0x2021 },
    { "bull", 0x2022 },
    { "hellip", 0x2026 },
    { "permil", 0x2030 },
    { "lsaquo", 0x2039 },
    { "rsaquo", 0x203A },
    { "euro", 0x20AC },
    { "trade", 0x2122 },
} };

std::optional<char32_t> namedCodePoint(std::string_view name)
{
    if (const auto latin1 = std::find(kLatin1Names.begin(), kLatin1Names.end(), name);
        latin1 != kLatin1Names.end())
        return char32_t(0xA0 + (latin1 - kLatin1Names.begin()));
    const auto other = std::find_if(
        kOtherNames.begin(), kOtherNames.end(), [&](const Named &named) { return named.name == name; });
    return other != kOtherNames.end() ? std::optional(other->codePoint) : std::nullopt;
}

int digitValue(char c, int base)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isCharacter(char32_t codePoint)
{
    return codePoint != 0 && codePoint <= kLastCodePoint && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

// "&#" already seen at the start of text.
std::optional<CharacterReference::Decoded> decodeNumber(std::string_view text)
{
    std::size_t at = 2;
    const bool hex = at < text.size() && (text[at] == 'x' || text[at] == 'X');
    const int base = hex ? 16 : 10;
    at += hex ? 1 : 0;
    const std::size_t firstDigit = at;
    char32_t value = 0;
    for (; at < text.size() && digitValue(text[at], base) >= 0; ++at) {
        // Past the last code point the value stays there, however many digits follow.
        value = std::min<char32_t>(value * base + char32_t(digitValue(text[at], base)), kLastCodePoint + 1);
    }
    if (at == firstDigit || at >= text.size() || text[at] != ';')
        return std::nullopt;
    return CharacterReference::Decoded { isCharacter(value) ? value : kReplacementCharacter, at + 1 };
}

} // namespace

std::optional<CharacterReference::Decoded> CharacterReference::decode(std::string_view text)
{
    if (text.size() < 3 || text[0] != '&')
        return std::nullopt;
    if (text[1] == '#')
        return decodeNumber(text);
    const std::size_t semicolon = text.substr(0, kLongestName + 2).find(';');
    if (semicolon == std::string_view::npos)
        return std::nullopt;
    const auto codePoint = namedCodePoint(text.substr(1, semicolon - 1));
    if (!codePoint)
        return std::nullopt;
    return Decoded { *codePoint, semicolon + 1 };
}
