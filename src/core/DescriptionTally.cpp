#include "DescriptionTally.h"

#include "MetaElementSet.h"
#include "TextWidth.h"

#include <QCryptographicHash>

#include <cstring>

DescriptionTally::Digest DescriptionTally::digestOf(std::string_view key)
{
    const QByteArray bytes = QCryptographicHash::hash(
        QByteArrayView(key.data(), qsizetype(key.size())), QCryptographicHash::Blake2s_128);
    Digest digest;
    std::memcpy(&digest.high, bytes.constData(), sizeof digest.high);
    std::memcpy(&digest.low, bytes.constData() + sizeof digest.high, sizeof digest.low);
    return digest;
}

std::optional<DescriptionTally::Digest> DescriptionTally::digestOfDescription(std::string_view description)
{
    if (!MetaElementSet::hasValue(TextField::Description, description))
        return std::nullopt;
    return digestOf(TextWidth::collapsedSpaces(description));
}

qsizetype DescriptionTally::add(const Digest &digest)
{
    const auto found = m_numbers.constFind(digest);
    if (found != m_numbers.cend()) {
        ++m_pages[*found];
        return *found;
    }
    m_numbers.insert(digest, quint32(m_pages.size()));
    m_pages.push_back(1);
    return qsizetype(m_pages.size()) - 1;
}
