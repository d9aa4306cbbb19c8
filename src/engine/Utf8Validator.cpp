#include "Utf8Validator.h"

#include "TextEncoding.h"

#include <algorithm>

namespace {

// The length a character starting with this byte has; 1 for bytes that cannot start one,
// which the check then rejects where they stand.
std::size_t expectedLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

// Where the character that the piece ends inside of starts, or the piece's size when its
// last character is whole.
std::size_t unfinishedFrom(std::string_view piece)
{
    const std::size_t lookBack = std::min<std::size_t>(piece.size(), 3);
    for (std::size_t back = 1; back <= lookBack; ++back) {
        const auto byte = static_cast<unsigned char>(piece[piece.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        return expectedLength(byte) > back ? piece.size() - back : piece.size();
    }
    return piece.size();
}

} // namespace

std::string_view Utf8Validator::completePending(std::string_view piece)
{
    const std::size_t wanted = expectedLength(static_cast<unsigned char>(m_pending.front())) - m_pending.size();
    const std::size_t taken = std::min(wanted, piece.size());
    m_pending.append(piece.substr(0, taken));
    if (taken == wanted) {
        m_valid = TextEncoding::isValidUtf8(m_pending);
        m_pending.clear();
    }
    return piece.substr(taken);
}

void Utf8Validator::feed(std::string_view piece)
{
    if (!m_valid)
        return;
    if (!m_pending.empty())
        piece = completePending(piece);
    if (!m_valid || piece.empty())
        return;
    const std::size_t cut = unfinishedFrom(piece);
    m_valid = TextEncoding::isValidUtf8(piece.substr(0, cut));
    if (m_valid)
        m_pending.assign(piece.substr(cut));
}

std::size_t Utf8Validator::characterTailLength(std::string_view bytes)
{
    std::size_t count = 0;
    while (count < std::min(bytes.size(), kMaxCharacterTail) && (static_cast<unsigned char>(bytes[count]) & 0xC0) == 0x80)
        ++count;
    return count;
}
