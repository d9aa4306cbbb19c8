#pragma once

#include <array>
#include <string>
#include <string_view>

enum class TextField { Description, Keywords, Author };
enum class RobotsFlag { NoIndex, NoFollow, NoImageIndex, NoImageClick };

// The values of one document: three texts (UTF-8), four robots flags and the charset flag.
// Of noindex, noimageindex and noimageclick at most one is on: switching one on switches
// the other two off. nofollow is independent.
class MetaElementSet
{
public:
    static constexpr std::array<RobotsFlag, 4> kRobotsFlags
        = { RobotsFlag::NoIndex, RobotsFlag::NoFollow, RobotsFlag::NoImageIndex, RobotsFlag::NoImageClick };

    const std::string &text(TextField field) const;
    void setText(TextField field, std::string value);

    bool flag(RobotsFlag flag) const;
    void setFlag(RobotsFlag flag, bool on);

    bool charset() const { return m_charset; }
    void setCharset(bool on) { m_charset = on; }

    // The robots tag's value: the words of the flags that are on, in fixed order, joined
    // by ", "; empty when none is on.
    std::string robotsValue() const;

    static std::string_view robotsWord(RobotsFlag flag);
    static bool isExclusive(RobotsFlag flag);

    // Whether a text counts as a value: the empty text and the field's placeholders do not.
    static bool hasValue(TextField field, std::string_view text);
    // The text a new document starts with, and the text shown when a file has none.
    static std::string_view newDocumentText(TextField field);
    static std::string_view noValueText(TextField field);

    bool operator==(const MetaElementSet &other) const = default;

private:
    std::array<std::string, 3> m_texts;
    std::array<bool, 4> m_flags = {};
    bool m_charset = false;
};
