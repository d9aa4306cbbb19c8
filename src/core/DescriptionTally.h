#pragma once

#include <QHash>
#include <QtGlobal>

#include <optional>
#include <string_view>
#include <vector>

// How many pages have each description, the descriptions numbered in order of first use.
// A description is held as a 128-bit digest of its key, not as its text: memory then grows
// by some 30 bytes for each distinct description however long it is, and the chance that
// two of a million different descriptions share a digest is about 1e-27: the count stays
// exact for any site, where a shorter hash would need the texts to confirm each match.
class DescriptionTally
{
public:
    struct Digest
    {
        quint64 high = 0;
        quint64 low = 0;

        friend bool operator==(const Digest &, const Digest &) = default;
        // The bits are uniform already: any of them make a good hash.
        friend size_t qHash(const Digest &digest, size_t seed) noexcept { return size_t(digest.low) ^ seed; }
    };

    // Thread-safe, for the threads that read the pages.
    static Digest digestOf(std::string_view key);
    // The digest of a description as pages are compared: texts that differ only in white
    // space are the same. None for a text that is no description (empty, a placeholder).
    static std::optional<Digest> digestOfDescription(std::string_view description);

    // Counts one more page with the description; returns the description's number.
    qsizetype add(const Digest &digest);
    qsizetype descriptions() const { return qsizetype(m_pages.size()); }
    qsizetype pagesWith(qsizetype description) const { return m_pages[std::size_t(description)]; }

private:
    QHash<Digest, quint32> m_numbers;
    std::vector<quint32> m_pages;
};
