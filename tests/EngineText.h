#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

// Bridges between the engine's byte strings and the QTest data tables.
inline std::string_view bytesOf(const QByteArray &bytes)
{
    return { bytes.constData(), static_cast<std::size_t>(bytes.size()) };
}

inline QString textOf(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string utf8Of(const QString &text)
{
    return text.toStdString();
}
