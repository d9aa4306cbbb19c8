#pragma once

#include <string>
#include <string_view>

// Checks bytes for UTF-8 as they arrive piece by piece, the way a file is read in blocks:
// a character may start in one piece and end in the next. Once a byte breaks the check the
// answer cannot change, so a reader can stop there.
class Utf8Validator
{
public:
    void feed(std::string_view piece);
    // Everything fed so far is UTF-8 so far; a character still waiting for its last bytes
    // does not count against it.
    bool stillValid() const { return m_valid; }
    // Everything fed is UTF-8 and no character is left unfinished.
    bool valid() const { return m_valid && m_pending.empty(); }

    // Where a check that starts at an arbitrary byte may begin: past the bytes that end a
    // character begun before it. Two checks, one up to that point and one from it, say
    // what one check of the whole says; past three such bytes none is skipped, so the
    // fault stays for the second check to find.
    static constexpr std::size_t kMaxCharacterTail = 3;
    static std::size_t characterTailLength(std::string_view bytes);

private:
    std::string_view completePending(std::string_view piece);

    std::string m_pending; // the start of a character whose end is in a later piece
    bool m_valid = true;
};
