#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class Encoding { Utf8, Windows1252 };

// Files are bytes. The values the program shows are decoded as UTF-8 when the whole file
// is valid UTF-8, else as Windows-1252, and encoded back the same way.
class TextEncoding
{
public:
    struct Survey
    {
        bool validUtf8 = true;
        bool nonAscii = false;
    };
    // Both facts in one pass over the bytes.
    static Survey survey(std::string_view bytes);
    static bool isValidUtf8(std::string_view bytes);
    // The same answer without vector instructions: where they are missing, and the
    // reference the vector check is held to.
    static bool isValidUtf8ByteByByte(std::string_view bytes);
    // Whether a followed by b is UTF-8, without joining them.
    static bool isValidUtf8Joined(std::string_view a, std::string_view b);
    // Stops at the first byte above 0x7F.
    static bool hasNonAscii(std::string_view bytes);
    // The code point of the UTF-8 sequence at pos, moving pos past it; a malformed byte
    // reads as U+FFFD and moves pos by one. pos must be below bytes.size().
    static char32_t decodeNext(std::string_view bytes, std::size_t &pos);
    static void appendUtf8(std::string &out, char32_t codePoint);
    static Encoding detect(std::string_view bytes);
    static std::string_view name(Encoding encoding);

    // Decodes bytes of the given encoding into valid UTF-8; in UTF-8 a byte that is not
    // part of a character becomes U+FFFD.
    static std::string toUtf8(std::string_view bytes, Encoding encoding);
    // Encodes UTF-8 text; nothing when a character has no byte in the encoding.
    static std::optional<std::string> fromUtf8(std::string_view utf8, Encoding encoding);
    // Encodes UTF-8 text for an HTML page: a character the encoding cannot hold becomes a
    // numeric character reference ("&#1055;").
    static std::string fromUtf8ForHtml(std::string_view utf8, Encoding encoding);
};
