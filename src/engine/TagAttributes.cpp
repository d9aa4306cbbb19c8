#include "TagAttributes.h"

#include "TagRecognition.h"

namespace {

bool isSpace(char c)
{
    return TagAttributes::isSpace(c);
}

class Reader
{
public:
    Reader(std::string_view page, std::size_t from, std::size_t limit)
        : m_text(page.substr(0, limit))
        , m_at(from)
    {
    }

    // The position past ">", or nothing when the text ends first.
    std::optional<std::size_t> read(std::vector<TagAttributes::Attribute> &attributes)
    {
        for (;;) {
            while (m_at < m_text.size() && (isSpace(m_text[m_at]) || m_text[m_at] == '/'))
                ++m_at;
            if (m_at >= m_text.size())
                return std::nullopt;
            if (m_text[m_at] == '>')
                return m_at + 1;
            const std::string_view name = attributeName();
            const std::optional<std::string_view> value = attributeValue();
            if (!value)
                return std::nullopt;
            attributes.push_back({ name, *value });
        }
    }

private:
    std::string_view attributeName()
    {
        const std::size_t start = m_at;
        // A stray "=" starts a name of its own, so every round moves on.
        ++m_at;
        while (m_at < m_text.size() && !isSpace(m_text[m_at]) && m_text[m_at] != '=' && m_text[m_at] != '>'
            && m_text[m_at] != '/')
            ++m_at;
        return m_text.substr(start, m_at - start);
    }

    // Empty for an attribute without "="; nothing when a quoted value never closes.
    std::optional<std::string_view> attributeValue()
    {
        const std::size_t afterName = m_at;
        while (m_at < m_text.size() && isSpace(m_text[m_at]))
            ++m_at;
        if (m_at >= m_text.size() || m_text[m_at] != '=') {
            m_at = afterName;
            return std::string_view();
        }
        ++m_at;
        while (m_at < m_text.size() && isSpace(m_text[m_at]))
            ++m_at;
        if (m_at >= m_text.size())
            return std::nullopt;
        const char quote = m_text[m_at];
        if (quote == '"' || quote == '\'') {
            const std::size_t close = m_text.find(quote, m_at + 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            const std::size_t start = m_at + 1;
            m_at = close + 1;
            return m_text.substr(start, close - start);
        }
        const std::size_t start = m_at;
        while (m_at < m_text.size() && !isSpace(m_text[m_at]) && m_text[m_at] != '>')
            ++m_at;
        return m_text.substr(start, m_at - start);
    }

    std::string_view m_text;
    std::size_t m_at;
};

} // namespace

std::optional<TagAttributes> TagAttributes::read(std::string_view page, std::size_t from, std::size_t limit)
{
    TagAttributes tag;
    const std::optional<std::size_t> end = Reader(page, from, limit).read(tag.m_attributes);
    if (!end)
        return std::nullopt;
    tag.m_end = *end;
    return tag;
}

std::string_view TagAttributes::trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::string_view> TagAttributes::value(std::string_view lowerName) const
{
    for (const Attribute &attribute : m_attributes) {
        if (TagRecognition::equalsFolded(attribute.name, lowerName))
            return attribute.value;
    }
    return std::nullopt;
}
