#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// The attributes of one tag, read the way a browser reads them: any order, spaces
// around "=", double, single or no quotes; a quote opens a value only after "=", and
// "<" or ">" inside a quoted value are text. The tag ends at the first ">" outside a
// quoted value.
class TagAttributes
{
public:
    struct Attribute
    {
        std::string_view name;
        std::string_view value;
    };

    // Reads from just past the tag name; nothing when no ">" ends the tag before limit.
    static std::optional<TagAttributes> read(std::string_view page, std::size_t from, std::size_t limit);

    // HTML's white space between attributes, and a value without it at both ends.
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
    static std::string_view trimmed(std::string_view text);

    // Just past the tag's ">".
    std::size_t end() const { return m_end; }
    // The first attribute of that name, ASCII letter case ignored, as browsers take it.
    std::optional<std::string_view> value(std::string_view lowerName) const;

private:
    std::vector<Attribute> m_attributes;
    std::size_t m_end = 0;
};
