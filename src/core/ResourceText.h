#pragma once

#include <QString>

// The resource string table as Qt text, with the two composed forms the windows use.
class ResourceText
{
public:
    static QString get(int id);
    // A status text: the resource text followed by "...".
    static QString status(int id);
    // A field caption: the resource text followed by ":".
    static QString caption(int id);
};
