#pragma once

#include <QString>
#include <QVariant>

// A key argument that names an item either by its 1-based position or by its text key.
class VariantKey
{
public:
    // A number names a position; anything else is looked up as a key.
    static bool isPosition(const QVariant &key);
    // The key as it appears in error messages.
    static QString text(const QVariant &key);
};
