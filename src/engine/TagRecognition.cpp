#include "TagRecognition.h"

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

bool TagRecognition::isValue(TagKind kind)
{
    return kind == TagKind::Description || kind == TagKind::Keywords || kind == TagKind::Author
        || kind == TagKind::Robots;
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
