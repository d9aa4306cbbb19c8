#include "TextEncoding.h"

#include "Utf8VectorCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Code points of Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves
// undefined map to the C1 controls of the same value, so every byte survives a round trip.
constexpr std::array<char32_t, 32> kHighControls = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
    0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C,
    0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

char32_t windows1252ToCodePoint(unsigned char byte)
{
    return (byte >= 0x80 && byte <= 0x9F) ? kHighControls[byte - 0x80] : char32_t(byte);
}

std::optional<unsigned char> codePointToWindows1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

void encodeUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at p (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when it is malformed.
std::size_t sequenceLength(const unsigned char *p, const unsigned char *end)
{
    const unsigned char lead = p[0];
    const std::size_t left = static_cast<std::size_t>(end - p);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return (left >= 2 && isContinuation(p[1])) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !isContinuation(p[1]) || !isContinuation(p[2]))
            return 0;
        if ((lead == 0xE0 && p[1] < 0xA0) || (lead == 0xED && p[1] > 0x9F))
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !isContinuation(p[1]) || !isContinuation(p[2]) || !isContinuation(p[3]))
            return 0;
        if ((lead == 0xF0 && p[1] < 0x90) || (lead == 0xF4 && p[1] > 0x8F))
            return 0;
        return 4;
    }
    return 0;
}

char32_t decodeSequence(const unsigned char *p, std::size_t length)
{
    switch (length) {
    case 2:
        return (char32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
    case 3:
        return (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    case 4:
        return (char32_t(p[0] & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6)
            | (p[3] & 0x3F);
    default:
        return p[0];
    }
}

// Encodes UTF-8 text (passed through unchanged for a UTF-8 page); a character the code
// page cannot hold is handed to unencodable.
template <typename Unencodable>
std::string toWindows1252(std::string_view utf8, Encoding encoding, Unencodable unencodable)
{
    if (encoding == Encoding::Utf8)
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = p + utf8.size();
    while (p < end) {
        const std::size_t length = std::max<std::size_t>(sequenceLength(p, end), 1);
        const char32_t cp = decodeSequence(p, length);
        if (const auto byte = codePointToWindows1252(cp))
            out += static_cast<char>(*byte);
        else
            unencodable(out, cp);
        p += length;
    }
    return out;
}

// Pages are mostly ASCII: plain bytes are skipped a block at a time.
std::size_t firstNonAscii(std::string_view bytes)
{
    const char *begin = bytes.data();
    const char *p = begin;
    const char *end = p + bytes.size();
#if defined(__SSE2__)
    for (; end - p >= 16; p += 16) {
        const int mask = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)));
        if (mask != 0)
            return static_cast<std::size_t>(p - begin) + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#else
    for (; end - p >= 8; p += 8) {
        std::uint64_t block;
        std::memcpy(&block, p, sizeof block);
        if ((block & 0x8080808080808080ULL) != 0)
            break;
    }
#endif
    const char *found = std::find_if(p, end, [](char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; });
    return found == end ? std::string_view::npos : static_cast<std::size_t>(found - begin);
}

} // namespace

TextEncoding::Survey TextEncoding::survey(std::string_view bytes)
{
    const std::size_t first = firstNonAscii(bytes);
    if (first == std::string_view::npos)
        return {};
    return { isValidUtf8(bytes.substr(first)), true };
}

bool TextEncoding::isValidUtf8ByteByByte(std::string_view bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        const std::size_t plain = firstNonAscii({ reinterpret_cast<const char *>(p), static_cast<std::size_t>(end - p) });
        if (plain == std::string_view::npos)
            return true;
        p += plain;
        const std::size_t length = sequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

bool TextEncoding::hasNonAscii(std::string_view bytes)
{
    return firstNonAscii(bytes) != std::string_view::npos;
}

bool TextEncoding::isValidUtf8Joined(std::string_view a, std::string_view b)
{
    // An ASCII byte always starts a character, so b is checked in place from its first
    // one on, and only the bytes before it are copied.
    const auto ascii = std::find_if(b.begin(), b.end(), [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
    const auto split = static_cast<std::size_t>(ascii - b.begin());
    std::string junction(a);
    junction.append(b.substr(0, split));
    return isValidUtf8(junction) && isValidUtf8(b.substr(split));
}

bool TextEncoding::isValidUtf8(std::string_view bytes)
{
    if (const std::optional<bool> valid = Utf8VectorCheck::isValid(bytes))
        return *valid;
    return isValidUtf8ByteByByte(bytes);
}

char32_t TextEncoding::decodeNext(std::string_view bytes, std::size_t &pos)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data()) + pos;
    const std::size_t length = sequenceLength(p, p + (bytes.size() - pos));
    if (length == 0) {
        ++pos;
        return kReplacementCharacter;
    }
    pos += length;
    return decodeSequence(p, length);
}

Encoding TextEncoding::detect(std::string_view bytes)
{
    return isValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Windows1252;
}

std::string_view TextEncoding::name(Encoding encoding)
{
    return encoding == Encoding::Utf8 ? "UTF-8" : "windows-1252";
}

std::string TextEncoding::toUtf8(std::string_view bytes, Encoding encoding)
{
    if (encoding == Encoding::Utf8 && isValidUtf8(bytes))
        return std::string(bytes);
    if (encoding == Encoding::Utf8) {
        // A page declared UTF-8 may still hold a stray byte; it shows as U+FFFD.
        std::string out;
        out.reserve(bytes.size());
        for (std::size_t pos = 0; pos < bytes.size();)
            encodeUtf8(out, decodeNext(bytes, pos));
        return out;
    }
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        encodeUtf8(out, windows1252ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> TextEncoding::fromUtf8(std::string_view utf8, Encoding encoding)
{
    if (!isValidUtf8(utf8))
        return std::nullopt;
    bool encodable = true;
    std::string out = toWindows1252(utf8, encoding, [&](std::string &, char32_t) { encodable = false; });
    return encodable ? std::optional(std::move(out)) : std::nullopt;
}

std::string TextEncoding::fromUtf8ForHtml(std::string_view utf8, Encoding encoding)
{
    return toWindows1252(utf8, encoding, [](std::string &out, char32_t cp) {
        out += "&#";
        out += std::to_string(static_cast<std::uint32_t>(cp));
        out += ';';
    });
}

void TextEncoding::appendUtf8(std::string &out, char32_t codePoint)
{
    encodeUtf8(out, codePoint);
}
