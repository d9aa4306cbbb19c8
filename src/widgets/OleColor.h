#pragma once

#include <QColor>
#include <QtGlobal>

// Colours as the controls persist them: 0x00BBGGRR for a fixed colour, or 0x80000000 plus a
// system colour index that follows the current palette.
class OleColor
{
public:
    static constexpr quint32 SystemFlag = 0x80000000u;
    static constexpr quint32 Menu = SystemFlag | 4u;
    static constexpr quint32 Window = SystemFlag | 5u;
    static constexpr quint32 WindowText = SystemFlag | 8u;
    static constexpr quint32 Highlight = SystemFlag | 13u;
    static constexpr quint32 ButtonFace = SystemFlag | 15u;
    static constexpr quint32 GrayText = SystemFlag | 17u;

    // The colour to paint with; an invalid QColor when the value names no colour.
    static QColor translate(quint32 oleColor);
    static constexpr quint32 fromRgb(int red, int green, int blue)
    {
        return static_cast<quint32>(red) | (static_cast<quint32>(green) << 8)
            | (static_cast<quint32>(blue) << 16);
    }
};
