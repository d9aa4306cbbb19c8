#include "document/DocumentScanner.h"

#include "document/TagRecognition.h"

#include <cstring>
#include <future>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t npos = std::string_view::npos;

std::size_t findByte(std::string_view bytes, char wanted, std::size_t from)
{
    if (from >= bytes.size())
        return npos;
    const void *hit = std::memchr(bytes.data() + from, wanted, bytes.size() - from);
    return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - bytes.data()) : npos;
}

bool startsTitleOrMeta(char next)
{
    const char folded = static_cast<char>(next | 0x20);
    return folded == 't' || folded == 'm';
}

// The next "<" that may open a title or a META tag. Pages hold a tag every few dozen
// bytes, so the common case tests sixteen positions at once.
std::size_t findTagStart(std::string_view bytes, std::size_t from)
{
    const char *data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t at = from;
#if defined(__SSE2__)
    const __m128i lessThan = _mm_set1_epi8('<');
    const __m128i t = _mm_set1_epi8('t');
    const __m128i m = _mm_set1_epi8('m');
    const __m128i fold = _mm_set1_epi8(0x20);
    for (; at + 17 <= size; at += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        const __m128i next
            = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at + 1)), fold);
        const __m128i hits = _mm_and_si128(
            _mm_cmpeq_epi8(here, lessThan), _mm_or_si128(_mm_cmpeq_epi8(next, t), _mm_cmpeq_epi8(next, m)));
        if (const int mask = _mm_movemask_epi8(hits))
            return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    for (; at + 1 < size; ++at) {
        if (data[at] == '<' && startsTitleOrMeta(data[at + 1]))
            return at;
    }
    return npos;
}

std::size_t findFolded(std::string_view bytes, std::string_view lowerNeedle, std::size_t from)
{
    const char first = lowerNeedle.front();
    const char firstUpper = static_cast<char>(first - 'a' + 'A');
    for (std::size_t at = from; at < bytes.size(); ++at) {
        const char c = bytes[at];
        if ((c == first || c == firstUpper)
            && TagRecognition::startsWithFolded(bytes.substr(at), lowerNeedle))
            return at;
    }
    return npos;
}

// "Next occurrence at or after" searches whose starting points only move forward: the
// last answer holds for every start up to it, so a page full of tags with no value (or a
// value with no closing quote) is still read in linear time.
class ForwardSearch
{
public:
    template <typename Find> std::size_t next(std::size_t from, Find find)
    {
        if (m_valid && from >= m_from && from <= m_found)
            return m_found;
        m_from = from;
        m_found = find(from);
        m_valid = true;
        return m_found;
    }

private:
    bool m_valid = false;
    std::size_t m_from = 0;
    std::size_t m_found = 0;
};

class Scan
{
public:
    explicit Scan(std::string_view bytes)
        : m_bytes(bytes)
    {
    }

    void run(ScannedDocument &doc)
    {
        for (std::size_t lt = findTagStart(m_bytes, 0); lt != npos; lt = findTagStart(m_bytes, lt + 1))
            visitTag(lt, doc);
    }

private:
    void visitTag(std::size_t lt, ScannedDocument &doc)
    {
        const auto kind = TagRecognition::matchRead(m_bytes.substr(lt + 1));
        if (!kind)
            return;
        switch (*kind) {
        case TagKind::Title:
            appendTitle(lt + 1 + TagRecognition::readPrefix(TagKind::Title).size(), doc.title);
            break;
        case TagKind::ContentType:
            doc.contentTypeFound = true;
            break;
        case TagKind::Description:
            appendValue(lt, doc.description);
            break;
        case TagKind::Keywords:
            appendValue(lt, doc.keywords);
            break;
        case TagKind::Author:
            appendValue(lt, doc.author);
            break;
        case TagKind::Robots:
            appendValue(lt, doc.robots);
            break;
        default:
            break;
        }
    }

    void appendTitle(std::size_t start, std::string &title)
    {
        const std::size_t end = findByte(m_bytes, '<', start);
        if (end != npos)
            title.append(m_bytes.substr(start, end - start));
    }

    // The value search is not bounded by the tag's ">": it may run on into later tags.
    void appendValue(std::size_t lt, std::string &collected)
    {
        static constexpr std::string_view kValueStart = "content=\"";
        const std::size_t at = m_valueStarts.next(
            lt, [this](std::size_t from) { return findFolded(m_bytes, kValueStart, from); });
        if (at == npos)
            return;
        const std::size_t start = at + kValueStart.size();
        const std::size_t end
            = m_quotes.next(start, [this](std::size_t from) { return findByte(m_bytes, '"', from); });
        if (end != npos)
            collected.append(m_bytes.substr(start, end - start));
    }

    std::string_view m_bytes;
    ForwardSearch m_valueStarts;
    ForwardSearch m_quotes;
};

void decodeCollected(ScannedDocument &doc)
{
    if (doc.encoding == Encoding::Utf8)
        return;
    for (std::string *text : { &doc.title, &doc.description, &doc.keywords, &doc.author, &doc.robots })
        *text = TextEncoding::toUtf8(*text, doc.encoding);
}

} // namespace

bool DocumentScanner::hasHeadStart(std::string_view bytes)
{
    for (std::size_t lt = findByte(bytes, '<', 0); lt != npos; lt = findByte(bytes, '<', lt + 1)) {
        if (TagRecognition::startsWithFolded(bytes.substr(lt + 1), "head"))
            return true;
    }
    return false;
}

ScannedDocument DocumentScanner::scan(std::string_view bytes)
{
    ScannedDocument doc;
    doc.lineEnd = LineEnds::detect(bytes);
    doc.hasHead = hasHeadStart(bytes);
    if (!doc.hasHead)
        return doc;
    // On a large page the encoding check and the tag scan each read every byte; they
    // share nothing, so the check runs beside the scan.
    constexpr std::size_t kParallelFrom = 4 * 1024 * 1024;
    if (bytes.size() >= kParallelFrom) {
        auto encoding = std::async(std::launch::async, [bytes] { return TextEncoding::detect(bytes); });
        Scan(bytes).run(doc);
        doc.encoding = encoding.get();
    } else {
        doc.encoding = TextEncoding::detect(bytes);
        Scan(bytes).run(doc);
    }
    decodeCollected(doc);
    return doc;
}
