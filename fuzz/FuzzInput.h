#pragma once

// What a fuzz input stands for: the page, optionally followed by "\xFF\xFE", a byte of flags
// (the four robots flags, then the charset flag) and the three values separated by "\xFF".
// Without that trailer the values are cut from the page, so the seed pages alone already vary
// them.

#include "SaveProperty.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace FuzzInput {

inline constexpr std::string_view kTrailer = "\xFF\xFE";
inline constexpr std::array<TextField, 3> kFields
    = { TextField::Description, TextField::Keywords, TextField::Author };

inline void setFlags(MetaElementSet &values, unsigned char flags)
{
    for (std::size_t i = 0; i < MetaElementSet::kRobotsFlags.size(); ++i)
        values.setFlag(MetaElementSet::kRobotsFlags[i], (flags >> i) & 1);
    values.setCharset((flags >> 4) & 1);
}

inline MetaElementSet valuesFromTrailer(std::string_view trailer)
{
    MetaElementSet values;
    if (trailer.empty())
        return values;
    setFlags(values, static_cast<unsigned char>(trailer.front()));
    trailer.remove_prefix(1);
    for (const TextField field : kFields) {
        const std::size_t separator = trailer.find('\xFF');
        values.setText(field, std::string(trailer.substr(0, separator)));
        trailer = separator == std::string_view::npos ? std::string_view() : trailer.substr(separator + 1);
    }
    return values;
}

inline MetaElementSet valuesFromPage(std::string_view page)
{
    MetaElementSet values;
    setFlags(values, page.empty() ? 0 : static_cast<unsigned char>(page.back()));
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const std::size_t from = page.size() * (i + 1) / 4;
        values.setText(kFields[i],
            std::string(page.substr(from, std::min<std::size_t>(page.size() - from, 24 + 8 * i))));
    }
    return values;
}

// U+0080 to U+009F, the C1 controls: a single-byte page cannot hold most of them, and
// HTML reads their numeric references as the Windows-1252 characters of those bytes, so
// no text form brings them back. Nobody types them; values holding one are left out.
inline bool holdsC1Control(const MetaElementSet &values)
{
    for (const TextField field : kFields) {
        const std::string text = SaveProperty::typed(values.text(field));
        for (std::size_t pos = 0; pos < text.size();) {
            const char32_t codePoint = TextEncoding::decodeNext(text, pos);
            if (codePoint >= 0x80 && codePoint <= 0x9F)
                return true;
        }
    }
    return false;
}

struct Decoded
{
    std::string_view page;
    MetaElementSet values;
};

inline Decoded decode(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t trailer = input.rfind(kTrailer);
    const std::string_view page = input.substr(0, trailer);
    return { page,
        trailer == std::string_view::npos ? valuesFromPage(page)
                                          : valuesFromTrailer(input.substr(trailer + kTrailer.size())) };
}

} // namespace FuzzInput
