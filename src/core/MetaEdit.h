#pragma once

#include "MetaElementSet.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// Values to set in a page, each one either given or left as the page holds it. A text given
// empty is given: it empties the member, and the save then writes no tag for it.
class MetaEdit
{
    Q_DECLARE_TR_FUNCTIONS(MetaEdit)

public:
    void setText(TextField field, const QString &text);
    // Switched on in the order given, after all four are off; none clears them all.
    void setRobots(const QList<RobotsFlag> &flags);
    void setCharset(bool on);

    bool isEmpty() const;
    void applyTo(MetaElementSet &values) const;

    // Comma-separated robots words in any letter case; blanks around a word and empty items
    // are ignored, so an empty list is valid and means none. False with the message when a
    // word is not one of the four.
    static bool parseRobots(const QString &list, QList<RobotsFlag> &flags, QString &error);

    bool operator==(const MetaEdit &other) const = default;

private:
    std::array<std::optional<QString>, 3> m_texts;
    std::optional<QList<RobotsFlag>> m_robots;
    std::optional<bool> m_charset;
};
