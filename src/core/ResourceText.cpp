#include "ResourceText.h"

#include "StringTable.h"

QString ResourceText::get(int id)
{
    const std::string_view text = StringTable::text(id);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ResourceText::status(int id)
{
    return get(id) + QStringLiteral("...");
}

QString ResourceText::caption(int id)
{
    return get(id) + QLatin1Char(':');
}
