// Compiled with SSSE3 enabled; called only where the processor has it.
#include "Utf8VectorCheck.h"

#if defined(__x86_64__) || defined(__i386__)

#include "Utf8LookupCheck.h"

#include <tmmintrin.h>

namespace {

struct Ssse3Vector
{
    using Type = __m128i;
    static constexpr std::size_t kBytes = 16;

    static Type load(const char *bytes) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes)); }
    static Type splat(char byte) { return _mm_set1_epi8(byte); }
    template <typename... Bytes> static Type table(Bytes... bytes) { return _mm_setr_epi8(bytes...); }
    static Type lookup(Type table, Type indexes) { return _mm_shuffle_epi8(table, indexes); }
    static Type shiftRight4(Type bytes) { return _mm_srli_epi16(bytes, 4); }
    static Type subtractSaturated(Type a, Type b) { return _mm_subs_epu8(a, b); }
    // Each byte's place taken by the byte count places before it, reaching into previous.
    template <int count> static Type before(Type input, Type previous)
    {
        return _mm_alignr_epi8(input, previous, 16 - count);
    }
    static bool anyHighBit(Type bytes) { return _mm_movemask_epi8(bytes) != 0; }
    static bool allZero(Type bytes) { return _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128())) == 0xFFFF; }
    // Above zero where a lead byte sits too close to the end for its continuations.
    static Type lastLeads()
    {
        constexpr char kAny = char(0xFF);
        return _mm_setr_epi8(kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny,
            char(0xF0 - 1), char(0xE0 - 1), char(0xC0 - 1));
    }
};

} // namespace

bool Utf8VectorCheck::isValidSsse3(const char *bytes, std::size_t size)
{
    return Utf8LookupCheck<Ssse3Vector>::isValid(bytes, size);
}

#endif
