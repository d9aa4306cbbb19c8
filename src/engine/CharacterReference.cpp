#include "CharacterReference.h"

#include "TextEncoding.h"
#include "NamedReferences.h"

#include <algorithm>
#include <array>

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;

// Numbers 0x80 to 0x9F name the Windows-1252 characters of those bytes, as pages written
// in that code page meant them; a zero means the number keeps its own value.
constexpr std::array<char32_t, 32> kC1Replacements = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
    0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

bool isAsciiAlphanumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
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

char32_t characterOfNumber(char32_t value)
{
    if (value == 0 || value > kLastCodePoint || (value >= 0xD800 && value <= 0xDFFF))
        return kReplacementCharacter;
    if (value >= 0x80 && value <= 0x9F && kC1Replacements[value - 0x80] != 0)
        return kC1Replacements[value - 0x80];
    return value;
}

// "&#" already seen at the start of text; the ";" is optional, as browsers read it.
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
    if (at == firstDigit)
        return std::nullopt;
    if (at < text.size() && text[at] == ';')
        ++at;
    return CharacterReference::Decoded { characterOfNumber(value), 0, at };
}

// The longest name of the table that text (after its "&") begins with.
std::optional<NamedReferences::Entry> longestName(std::string_view afterAmpersand)
{
    std::size_t letters = 0;
    while (letters < afterAmpersand.size() && letters < NamedReferences::kLongestName
        && isAsciiAlphanumeric(afterAmpersand[letters]))
        ++letters;
    if (letters < afterAmpersand.size() && afterAmpersand[letters] == ';') {
        if (const auto entry = NamedReferences::find(afterAmpersand.substr(0, letters + 1)))
            return entry;
    }
    // Only the few names browsers accept without ";" are in the table without it.
    for (std::size_t length = letters; length >= 2; --length) {
        if (const auto entry = NamedReferences::find(afterAmpersand.substr(0, length)))
            return entry;
    }
    return std::nullopt;
}

std::optional<CharacterReference::Decoded> decodeName(std::string_view text, CharacterReference::Context context)
{
    const auto entry = longestName(text.substr(1));
    if (!entry)
        return std::nullopt;
    const std::size_t length = 1 + entry->name.size();
    if (context == CharacterReference::Context::Attribute && entry->name.back() != ';' && length < text.size()
        && (text[length] == '=' || isAsciiAlphanumeric(text[length])))
        return std::nullopt;
    return CharacterReference::Decoded { entry->first, entry->second, length };
}

} // namespace

std::optional<CharacterReference::Decoded> CharacterReference::decode(std::string_view text, Context context)
{
    if (text.size() < 2 || text[0] != '&')
        return std::nullopt;
    return text[1] == '#' ? decodeNumber(text) : decodeName(text, context);
}

std::string CharacterReference::decodeAll(std::string_view utf8, Context context)
{
    std::size_t ampersand = utf8.find('&');
    if (ampersand == std::string_view::npos)
        return std::string(utf8);
    std::string out(utf8.substr(0, ampersand));
    while (ampersand != std::string_view::npos) {
        std::size_t next = ampersand + 1;
        if (const auto reference = decode(utf8.substr(ampersand), context)) {
            TextEncoding::appendUtf8(out, reference->first);
            if (reference->second != 0)
                TextEncoding::appendUtf8(out, reference->second);
            next = ampersand + reference->length;
        } else {
            out += '&';
        }
        ampersand = utf8.find('&', next);
        out.append(utf8.substr(next, ampersand == std::string_view::npos ? ampersand : ampersand - next));
    }
    return out;
}

std::string CharacterReference::escapeAttribute(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t codePoint = TextEncoding::decodeNext(utf8, pos);
        switch (codePoint) {
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            TextEncoding::appendUtf8(out, codePoint);
        }
    }
    return out;
}
