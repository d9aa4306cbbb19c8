#include "TagRecognition.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <array>

namespace {

struct Recognised
{
    TagKind kind;
    std::string_view prefix;
};

// In the order they are compared; no prefix begins another.
constexpr std::array<Recognised, 9> kTable = { {
    { TagKind::Title, "title>" },
    { TagKind::ContentType, "meta http-equiv=\"content-type\"" },
    { TagKind::Description, "meta name=\"description\"" },
    { TagKind::Keywords, "meta name=\"keywords\"" },
    { TagKind::Author, "meta name=\"author\"" },
    { TagKind::Robots, "meta name=\"robots\"" },
    { TagKind::Distribution, "meta name=\"distribution\"" },
    { TagKind::Formatter, "meta name=\"formatter\"" },
    { TagKind::LabTag, "meta name=\"quorn\"" },
} };

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::optional<TagKind> TagRecognition::match(std::string_view afterLessThan)
{
    for (const Recognised &recognised : kTable) {
        if (startsWithFolded(afterLessThan, recognised.prefix))
            return recognised.kind;
    }
    return std::nullopt;
}

std::string_view TagRecognition::prefix(TagKind kind)
{
    return kTable[static_cast<std::size_t>(kind)].prefix;
}

bool TagRecognition::opensMeta(std::string_view afterLessThan)
{
    if (!startsWithFolded(afterLessThan, "meta"))
        return false;
    if (afterLessThan.size() == 4)
        return true;
    const char next = afterLessThan[4];
    return next == ' ' || next == '\t' || next == '\n' || next == '\r' || next == '\f' || next == '/';
}

bool TagRecognition::startsWithFolded(std::string_view text, std::string_view lowerPrefix)
{
    if (text.size() < lowerPrefix.size())
        return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
        if (foldAscii(text[i]) != lowerPrefix[i])
            return false;
    }
    return true;
}

bool TagRecognition::equalsFolded(std::string_view text, std::string_view lower)
{
    return text.size() == lower.size() && startsWithFolded(text, lower);
}

std::size_t TagRecognition::findMetaOrComment(std::string_view bytes, std::size_t from)
{
    const char *data = bytes.data();
    std::size_t at = from;
#if defined(__SSE2__)
    // Markup-dense pages have a "<" every few bytes; sixteen pairs at a time skip the tags
    // that cannot matter without stopping at each.
    const __m128i lessThan = _mm_set1_epi8('<');
    const __m128i lowerM = _mm_set1_epi8('m');
    const __m128i bang = _mm_set1_epi8('!');
    const __m128i caseBit = _mm_set1_epi8(0x20);
    for (; at + 17 <= bytes.size(); at += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at + 1));
        const __m128i opens = _mm_or_si128(
            _mm_cmpeq_epi8(_mm_or_si128(next, caseBit), lowerM), _mm_cmpeq_epi8(next, bang));
        const int hits = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(here, lessThan), opens));
        if (hits != 0)
            return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
    }
#endif
    for (; at + 1 < bytes.size(); ++at) {
        if (data[at] == '<' && ((data[at + 1] | 0x20) == 'm' || data[at + 1] == '!'))
            return at;
    }
    return std::string_view::npos;
}
