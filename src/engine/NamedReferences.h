#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// HTML's table of named character references ("amp;" -> U+0026). Names include their
// ";"; the few that browsers also accept without it appear a second time without.
class NamedReferences
{
public:
    struct Entry
    {
        std::string_view name;
        char32_t first;
        char32_t second; // 0 when the name stands for one character
    };

    static constexpr std::size_t kLongestName = 32;

    static std::optional<Entry> find(std::string_view name);
};
