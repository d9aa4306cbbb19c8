#include "Utf8VectorCheck.h"

#if defined(__x86_64__) || defined(__i386__)

#include <cstring>
#include <tmmintrin.h>

namespace {

// Each lookup marks the errors a pair of bytes could be part of; a pair is wrong where a
// bit survives all three lookups.
constexpr char kTooShort = 1 << 0; // a lead or ASCII byte, then a continuation is missing
constexpr char kTooLong = 1 << 1; // ASCII, then a continuation
constexpr char kOverlong3 = 1 << 2;
constexpr char kTooLarge = 1 << 3; // above U+10FFFF
constexpr char kSurrogate = 1 << 4;
constexpr char kOverlong2 = 1 << 5;
constexpr char kTooLarge1000 = 1 << 6;
constexpr char kOverlong4 = 1 << 6;
constexpr char kTwoContinuations = char(1 << 7); // wrong unless a lead byte stands before
constexpr char kCarry = kTooShort | kTooLong | kTwoContinuations;

struct State
{
    __m128i error = _mm_setzero_si128();
    __m128i previous = _mm_setzero_si128();
    __m128i previousIncomplete = _mm_setzero_si128();
};

__attribute__((target("ssse3"), always_inline)) inline __m128i highNibbles(__m128i bytes)
{
    return _mm_and_si128(_mm_srli_epi16(bytes, 4), _mm_set1_epi8(0x0F));
}

__attribute__((target("ssse3"), always_inline)) inline __m128i pairErrors(__m128i input, __m128i previous1)
{
    const __m128i byte1High = _mm_shuffle_epi8(
        _mm_setr_epi8(kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
            kTwoContinuations, kTwoContinuations, kTwoContinuations, kTwoContinuations, kTooShort | kOverlong2,
            kTooShort, kTooShort | kOverlong3 | kSurrogate, kTooShort | kTooLarge | kTooLarge1000 | kOverlong4),
        highNibbles(previous1));
    constexpr char kLarge = kCarry | kTooLarge | kTooLarge1000;
    const __m128i byte1Low = _mm_shuffle_epi8(
        _mm_setr_epi8(kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry, kCarry,
            kCarry | kTooLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge,
            kLarge | kSurrogate, kLarge, kLarge),
        _mm_and_si128(previous1, _mm_set1_epi8(0x0F)));
    constexpr char kAfterLead1000 = kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge1000 | kOverlong4;
    constexpr char kAfterLead1001 = kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge;
    constexpr char kAfterLead101 = kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge;
    const __m128i byte2High = _mm_shuffle_epi8(
        _mm_setr_epi8(kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
            kAfterLead1000, kAfterLead1001, kAfterLead101, kAfterLead101, kTooShort, kTooShort, kTooShort, kTooShort),
        highNibbles(input));
    return _mm_and_si128(_mm_and_si128(byte1High, byte1Low), byte2High);
}

// A continuation two or three bytes after a lead of three or four bytes is right, and
// there it must be: the pair lookups alone take it for a stray one.
__attribute__((target("ssse3"), always_inline)) inline void checkBlock(State &state, __m128i input)
{
    const __m128i previous1 = _mm_alignr_epi8(input, state.previous, 15);
    const __m128i previous2 = _mm_alignr_epi8(input, state.previous, 14);
    const __m128i previous3 = _mm_alignr_epi8(input, state.previous, 13);
    const __m128i thirdByte = _mm_subs_epu8(previous2, _mm_set1_epi8(char(0xE0 - 0x80)));
    const __m128i fourthByte = _mm_subs_epu8(previous3, _mm_set1_epi8(char(0xF0 - 0x80)));
    const __m128i mustContinue = _mm_and_si128(_mm_or_si128(thirdByte, fourthByte), _mm_set1_epi8(char(0x80)));
    state.error = _mm_or_si128(state.error, _mm_xor_si128(mustContinue, pairErrors(input, previous1)));
    // A lead byte too close to the end for its continuations.
    const __m128i lastLeads = _mm_setr_epi8(char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF),
        char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xF0 - 1),
        char(0xE0 - 1), char(0xC0 - 1));
    state.previousIncomplete = _mm_subs_epu8(input, lastLeads);
    state.previous = input;
}

__attribute__((target("ssse3"), always_inline)) inline void nextBlock(State &state, __m128i input)
{
    if (_mm_movemask_epi8(input) == 0) {
        // Plain ASCII: only a character left open before it can be wrong.
        state.error = _mm_or_si128(state.error, state.previousIncomplete);
        state.previousIncomplete = _mm_setzero_si128();
        state.previous = input;
        return;
    }
    checkBlock(state, input);
}

__attribute__((target("ssse3"))) bool isValidSsse3(const char *bytes, std::size_t size)
{
    const auto load = [bytes](std::size_t at) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + at)); };
    State state;
    std::size_t at = 0;
    // Pages are mostly ASCII: four blocks are tested at once before any is looked into.
    for (; at + 64 <= size; at += 64) {
        const __m128i blocks[4] = { load(at), load(at + 16), load(at + 32), load(at + 48) };
        const __m128i any = _mm_or_si128(_mm_or_si128(blocks[0], blocks[1]), _mm_or_si128(blocks[2], blocks[3]));
        if (_mm_movemask_epi8(any) == 0) {
            nextBlock(state, blocks[3]);
            continue;
        }
        for (const __m128i &block : blocks)
            nextBlock(state, block);
    }
    for (; at + 16 <= size; at += 16)
        nextBlock(state, load(at));
    if (at < size) {
        // Padded with ASCII, which ends any character left open.
        char last[16] = {};
        std::memcpy(last, bytes + at, size - at);
        nextBlock(state, _mm_loadu_si128(reinterpret_cast<const __m128i *>(last)));
    }
    const __m128i error = _mm_or_si128(state.error, state.previousIncomplete);
    return _mm_movemask_epi8(_mm_cmpeq_epi8(error, _mm_setzero_si128())) == 0xFFFF;
}

} // namespace

std::optional<bool> Utf8VectorCheck::isValid(std::string_view bytes)
{
    static const bool supported = __builtin_cpu_supports("ssse3");
    if (!supported)
        return std::nullopt;
    return isValidSsse3(bytes.data(), bytes.size());
}

#else

std::optional<bool> Utf8VectorCheck::isValid(std::string_view)
{
    return std::nullopt;
}

#endif
