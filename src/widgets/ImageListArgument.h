#pragma once

#include <QVariant>

#include <optional>

class IconList;

// An ImageList argument of unknown kind: an IconList pointer, the hImageList number of a
// live list, or an empty value for none.
class ImageListArgument
{
public:
    // The list it names (nullptr for none), or nothing when the value is no image list at all.
    static std::optional<IconList *> resolve(const QVariant &value);
};
