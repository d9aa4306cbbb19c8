#pragma once

#include <QByteArray>

#include <string_view>

// The engine works on string views: bytes held by Qt reach it without a copy.
inline std::string_view byteView(const QByteArray &bytes)
{
    return { bytes.constData(), static_cast<std::size_t>(bytes.size()) };
}
