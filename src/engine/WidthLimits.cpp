#include "WidthLimits.h"

#include "TagRecognition.h"

#include <charconv>

namespace {

std::optional<int> pixelsIn(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > WidthLimits::kWidest)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<WidthLimits> WidthLimits::named(std::string_view name)
{
    if (TagRecognition::equalsFolded(name, "desktop"))
        return desktop();
    if (TagRecognition::equalsFolded(name, "mobile"))
        return mobile();
    const std::size_t comma = name.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const auto title = pixelsIn(name.substr(0, comma));
    const auto description = pixelsIn(name.substr(comma + 1));
    if (!title || !description)
        return std::nullopt;
    return WidthLimits { double(*title), double(*description) };
}

std::string WidthLimits::name() const
{
    if (*this == desktop())
        return "desktop";
    if (*this == mobile())
        return "mobile";
    return std::to_string(int(title)) + ',' + std::to_string(int(description));
}
