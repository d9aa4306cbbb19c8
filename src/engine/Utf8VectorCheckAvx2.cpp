// Compiled with AVX2 enabled; called only where the processor has it.
#include "Utf8VectorCheck.h"

#if defined(__x86_64__) || defined(__i386__)

#include "Utf8LookupCheck.h"

#include <immintrin.h>

namespace {

struct Avx2Vector
{
    using Type = __m256i;
    static constexpr std::size_t kBytes = 32;

    static Type load(const char *bytes) { return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(bytes)); }
    static Type splat(char byte) { return _mm256_set1_epi8(byte); }
    // The shuffle looks up within each 16-byte half, so both halves hold the table.
    template <typename... Bytes> static Type table(Bytes... bytes) { return _mm256_setr_epi8(bytes..., bytes...); }
    static Type lookup(Type table, Type indexes) { return _mm256_shuffle_epi8(table, indexes); }
    static Type shiftRight4(Type bytes) { return _mm256_srli_epi16(bytes, 4); }
    static Type subtractSaturated(Type a, Type b) { return _mm256_subs_epu8(a, b); }
    // Each byte's place taken by the byte count places before it, reaching into previous:
    // the shift works within halves, so the high half of previous and the low half of input
    // are put side by side first.
    template <int count> static Type before(Type input, Type previous)
    {
        return _mm256_alignr_epi8(input, _mm256_permute2x128_si256(previous, input, 0x21), 16 - count);
    }
    static bool anyHighBit(Type bytes) { return _mm256_movemask_epi8(bytes) != 0; }
    static bool allZero(Type bytes) { return _mm256_testz_si256(bytes, bytes) != 0; }
    // Above zero where a lead byte sits too close to the end for its continuations.
    static Type lastLeads()
    {
        constexpr char kAny = char(0xFF);
        return _mm256_setr_epi8(kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny,
            kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny, kAny,
            char(0xF0 - 1), char(0xE0 - 1), char(0xC0 - 1));
    }
};

} // namespace

bool Utf8VectorCheck::isValidAvx2(const char *bytes, std::size_t size)
{
    return Utf8LookupCheck<Avx2Vector>::isValid(bytes, size);
}

#endif
