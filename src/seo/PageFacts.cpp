#include "seo/PageFacts.h"

#include "document/DocumentScanner.h"
#include "document/TextEncoding.h"

#include <array>
#include <cstring>
#include <optional>

namespace {

constexpr std::size_t kShownBytes = 120;

// The attributes of one META tag that tell what it is; the first of each name counts, as
// in a browser.
struct MetaAttributes
{
    std::optional<std::string_view> name;
    std::optional<std::string_view> httpEquiv;
    std::optional<std::string_view> charset;
    std::optional<std::string_view> content;
};

struct ManagedName
{
    std::string_view name;
    TagKind kind;
};

constexpr std::array<ManagedName, 4> kManagedNames = { {
    { "description", TagKind::Description },
    { "keywords", TagKind::Keywords },
    { "author", TagKind::Author },
    { "robots", TagKind::Robots },
} };

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalsFolded(std::string_view text, std::string_view lower)
{
    return text.size() == lower.size() && TagRecognition::startsWithFolded(text, lower);
}

bool hasNonAscii(std::string_view bytes)
{
    unsigned char seen = 0;
    for (const char c : bytes)
        seen |= static_cast<unsigned char>(c);
    return (seen & 0x80) != 0;
}

// Reads one tag's attributes the loose way a browser does: any order, any letter case,
// spaces around "=", single, double or no quotes.
class TagReader
{
public:
    TagReader(std::string_view bytes, std::size_t from)
        : m_bytes(bytes)
        , m_at(from)
    {
    }

    // Reads up to the closing ">" (or the end of the bytes); returns the position after it.
    std::size_t read(MetaAttributes &attributes)
    {
        while (skipSpaceAndSlashes()) {
            if (m_bytes[m_at] == '>')
                return m_at + 1;
            const std::string_view name = attributeName();
            const std::string_view value = attributeValue();
            keep(attributes, name, value);
        }
        return m_at;
    }

private:
    bool skipSpaceAndSlashes()
    {
        while (m_at < m_bytes.size() && (isSpace(m_bytes[m_at]) || m_bytes[m_at] == '/'))
            ++m_at;
        return m_at < m_bytes.size();
    }

    void skipSpace()
    {
        while (m_at < m_bytes.size() && isSpace(m_bytes[m_at]))
            ++m_at;
    }

    std::string_view attributeName()
    {
        const std::size_t start = m_at;
        // A stray "=" starts a name of its own, so every round moves on.
        ++m_at;
        while (m_at < m_bytes.size() && !isSpace(m_bytes[m_at]) && m_bytes[m_at] != '='
            && m_bytes[m_at] != '>' && m_bytes[m_at] != '/')
            ++m_at;
        return m_bytes.substr(start, m_at - start);
    }

    std::string_view attributeValue()
    {
        const std::size_t beforeSpace = m_at;
        skipSpace();
        if (m_at >= m_bytes.size() || m_bytes[m_at] != '=') {
            m_at = beforeSpace;
            return {};
        }
        ++m_at;
        skipSpace();
        if (m_at >= m_bytes.size())
            return {};
        const char quote = m_bytes[m_at];
        if (quote == '"' || quote == '\'')
            return quotedValue(quote);
        const std::size_t start = m_at;
        while (m_at < m_bytes.size() && !isSpace(m_bytes[m_at]) && m_bytes[m_at] != '>')
            ++m_at;
        return m_bytes.substr(start, m_at - start);
    }

    std::string_view quotedValue(char quote)
    {
        const std::size_t start = m_at + 1;
        const void *close = std::memchr(m_bytes.data() + start, quote, m_bytes.size() - start);
        const std::size_t end = close
            ? static_cast<std::size_t>(static_cast<const char *>(close) - m_bytes.data())
            : m_bytes.size();
        m_at = close ? end + 1 : end;
        return m_bytes.substr(start, end - start);
    }

    static void keep(MetaAttributes &attributes, std::string_view name, std::string_view value)
    {
        if (equalsFolded(name, "name") && !attributes.name)
            attributes.name = value;
        else if (equalsFolded(name, "http-equiv") && !attributes.httpEquiv)
            attributes.httpEquiv = value;
        else if (equalsFolded(name, "charset") && !attributes.charset)
            attributes.charset = value;
        else if (equalsFolded(name, "content") && !attributes.content)
            attributes.content = value;
    }

    std::string_view m_bytes;
    std::size_t m_at;
};

std::optional<TagKind> managedKind(const MetaAttributes &attributes)
{
    if (attributes.name) {
        for (const ManagedName &managed : kManagedNames) {
            if (equalsFolded(trimmed(*attributes.name), managed.name))
                return managed.kind;
        }
    }
    if (attributes.httpEquiv && equalsFolded(trimmed(*attributes.httpEquiv), "content-type"))
        return TagKind::ContentType;
    return std::nullopt;
}

// The start of the UTF-8 character holding the byte at limit.
std::size_t characterStart(std::string_view utf8, std::size_t limit)
{
    while (limit > 0 && (static_cast<unsigned char>(utf8[limit]) & 0xC0) == 0x80)
        --limit;
    return limit;
}

// The tag as a one-line UTF-8 text of at most kShownBytes bytes of the page, plus "…".
std::string shownText(std::string_view tag, Encoding encoding)
{
    const bool shortened = tag.size() > kShownBytes;
    if (shortened)
        tag = tag.substr(0, encoding == Encoding::Utf8 ? characterStart(tag, kShownBytes) : kShownBytes);
    std::string text = TextEncoding::toUtf8(tag, encoding);
    for (char &c : text) {
        if (isSpace(c))
            c = ' ';
    }
    if (shortened)
        text += "\xE2\x80\xA6";
    return text;
}

// The charset a Content-Type value ("text/html; charset=utf-8") names, found the way a
// browser finds it: "charset", optional spaces, "=", a quoted or bare value.
std::string_view charsetParameter(std::string_view content)
{
    constexpr std::string_view kKey = "charset";
    for (std::size_t at = 0; at + kKey.size() <= content.size(); ++at) {
        if (!TagRecognition::startsWithFolded(content.substr(at), kKey))
            continue;
        std::string_view rest = trimmed(content.substr(at + kKey.size()));
        if (rest.empty() || rest.front() != '=')
            continue;
        rest = trimmed(rest.substr(1));
        if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
            const std::size_t close = rest.find(rest.front(), 1);
            return close == std::string_view::npos ? std::string_view() : rest.substr(1, close - 1);
        }
        std::size_t length = 0;
        while (length < rest.size() && !isSpace(rest[length]) && rest[length] != ';')
            ++length;
        return rest.substr(0, length);
    }
    return {};
}

bool opensMeta(std::string_view afterLessThan)
{
    return TagRecognition::startsWithFolded(afterLessThan, "meta")
        && (afterLessThan.size() == 4 || isSpace(afterLessThan[4]) || afterLessThan[4] == '/');
}

} // namespace

PageFacts PageFacts::of(std::string_view bytes)
{
    PageFacts page;
    page.hasHead = DocumentScanner::hasHeadStart(bytes);
    const Encoding encoding = TextEncoding::detect(bytes);
    page.utf8WithNonAscii = encoding == Encoding::Utf8 && hasNonAscii(bytes);
    // A save removes managed tags only up to the HEAD end tag.
    bool pastHeadEnd = false;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const void *hit = std::memchr(bytes.data() + at, '<', bytes.size() - at);
        if (!hit)
            break;
        const std::size_t lt = static_cast<std::size_t>(static_cast<const char *>(hit) - bytes.data());
        const std::string_view afterLessThan = bytes.substr(lt + 1);
        pastHeadEnd = pastHeadEnd || TagRecognition::startsWithFolded(afterLessThan, "/head>");
        if (!opensMeta(afterLessThan)) {
            at = lt + 1;
            continue;
        }
        MetaAttributes attributes;
        at = TagReader(bytes, lt + 5).read(attributes);
        if (attributes.charset && page.declaredCharset.empty())
            page.declaredCharset = TextEncoding::toUtf8(trimmed(*attributes.charset), encoding);
        const auto kind = managedKind(attributes);
        const auto removal = TagRecognition::matchRemoval(afterLessThan);
        if (kind && removal != kind)
            page.unreadTags.push_back({ *kind, lt, shownText(bytes.substr(lt, at - lt), encoding) });
        if (removal == TagKind::ContentType && !pastHeadEnd && attributes.content && page.removedCharset.empty())
            page.removedCharset = TextEncoding::toUtf8(charsetParameter(*attributes.content), encoding);
    }
    return page;
}
