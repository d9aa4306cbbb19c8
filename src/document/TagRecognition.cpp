#include "document/TagRecognition.h"

#include <array>

namespace {

struct Prefixes
{
    TagKind kind;
    std::string_view read;
    std::string_view removal;
};

constexpr std::array<Prefixes, 9> kTable = { {
    { TagKind::Title, "title>", "" },
    { TagKind::ContentType, "meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\">",
        "meta http-equiv=\"content-type\"" },
    { TagKind::Description, "meta name=\"description", "meta name=\"description\"" },
    { TagKind::Keywords, "meta name=\"keywords", "meta name=\"keywords\"" },
    { TagKind::Author, "meta name=\"author", "meta name=\"author\"" },
    { TagKind::Robots, "meta name=\"robots", "meta name=\"robots\"" },
    { TagKind::Distribution, "", "meta name=\"distribution\"" },
    { TagKind::Formatter, "", "meta name=\"formatter\"" },
    { TagKind::LabTag, "", "meta name=\"quorn\"" },
} };

constexpr std::array<TagKind, 6> kReadOrder = { TagKind::Title, TagKind::ContentType, TagKind::Description,
    TagKind::Keywords, TagKind::Author, TagKind::Robots };

constexpr std::array<TagKind, 8> kRemovalOrder
    = { TagKind::ContentType, TagKind::Description, TagKind::Keywords, TagKind::Distribution, TagKind::LabTag,
          TagKind::Author, TagKind::Formatter, TagKind::Robots };

const Prefixes &entry(TagKind kind)
{
    return kTable[static_cast<std::size_t>(kind)];
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::optional<TagKind> firstMatch(
    std::span<const TagKind> order, std::string_view (*prefix)(TagKind), std::string_view text)
{
    for (const TagKind kind : order) {
        if (TagRecognition::startsWithFolded(text, prefix(kind)))
            return kind;
    }
    return std::nullopt;
}

} // namespace

std::span<const TagKind> TagRecognition::readOrder()
{
    return kReadOrder;
}

std::span<const TagKind> TagRecognition::removalOrder()
{
    return kRemovalOrder;
}

std::string_view TagRecognition::readPrefix(TagKind kind)
{
    return entry(kind).read;
}

std::string_view TagRecognition::removalPrefix(TagKind kind)
{
    return entry(kind).removal;
}

std::optional<TagKind> TagRecognition::matchRead(std::string_view afterLessThan)
{
    return firstMatch(kReadOrder, &TagRecognition::readPrefix, afterLessThan);
}

std::optional<TagKind> TagRecognition::matchRemoval(std::string_view afterLessThan)
{
    return firstMatch(kRemovalOrder, &TagRecognition::removalPrefix, afterLessThan);
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
