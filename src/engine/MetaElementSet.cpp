#include "MetaElementSet.h"

#include "StringTable.h"

namespace {

std::size_t indexOf(TextField field)
{
    return static_cast<std::size_t>(field);
}

std::size_t indexOf(RobotsFlag flag)
{
    return static_cast<std::size_t>(flag);
}

} // namespace

const std::string &MetaElementSet::text(TextField field) const
{
    return m_texts[indexOf(field)];
}

void MetaElementSet::setText(TextField field, std::string value)
{
    m_texts[indexOf(field)] = std::move(value);
}

bool MetaElementSet::flag(RobotsFlag flag) const
{
    return m_flags[indexOf(flag)];
}

void MetaElementSet::setFlag(RobotsFlag flag, bool on)
{
    if (on && isExclusive(flag)) {
        for (const RobotsFlag other : kRobotsFlags) {
            if (other != flag && isExclusive(other))
                m_flags[indexOf(other)] = false;
        }
    }
    m_flags[indexOf(flag)] = on;
}

std::string MetaElementSet::robotsValue() const
{
    std::string value;
    for (const RobotsFlag f : kRobotsFlags) {
        if (!flag(f))
            continue;
        if (!value.empty())
            value += ", ";
        value += robotsWord(f);
    }
    return value;
}

std::string_view MetaElementSet::robotsWord(RobotsFlag flag)
{
    switch (flag) {
    case RobotsFlag::NoIndex:
        return "noindex";
    case RobotsFlag::NoFollow:
        return "nofollow";
    case RobotsFlag::NoImageIndex:
        return "noimageindex";
    case RobotsFlag::NoImageClick:
        break;
    }
    return "noimageclick";
}

bool MetaElementSet::isExclusive(RobotsFlag flag)
{
    return flag != RobotsFlag::NoFollow;
}

bool MetaElementSet::hasValue(TextField field, std::string_view text)
{
    if (text.empty() || text == noValueText(field))
        return false;
    if (field == TextField::Author)
        return text != StringTable::text(StringId::AuthorPlaceholder);
    return text != newDocumentText(field);
}

std::string_view MetaElementSet::newDocumentText(TextField field)
{
    switch (field) {
    case TextField::Description:
        return StringTable::text(StringId::NewDescription);
    case TextField::Keywords:
        return StringTable::text(StringId::NewKeywords);
    case TextField::Author:
        break;
    }
    // A new document's author is the standard author setting, not a fixed text.
    return {};
}

std::string_view MetaElementSet::noValueText(TextField field)
{
    switch (field) {
    case TextField::Description:
        return StringTable::text(StringId::NoDescription);
    case TextField::Keywords:
        return StringTable::text(StringId::NoKeywords);
    case TextField::Author:
        break;
    }
    return StringTable::text(StringId::NoAuthor);
}
