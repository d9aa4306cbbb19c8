#include "Utf8VectorCheck.h"

std::optional<bool> Utf8VectorCheck::isValid(std::string_view bytes)
{
    static const std::vector<Width> available = widths();
    if (available.empty())
        return std::nullopt;
    return isValid(available.front(), bytes);
}

#if defined(__x86_64__) || defined(__i386__)

#include <cpuid.h>

namespace {

// Asked of the processor directly, and only when a check first needs it: the compiler's
// own feature test runs a full survey in every process at load, and each question to the
// processor is slow under a hypervisor.
struct Features
{
    bool ssse3 = false;
    bool avx2 = false;
};

// XCR0: which register states the system saves on a task switch.
unsigned savedRegisterStates()
{
    unsigned low = 0;
    unsigned high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return low;
}

Features features()
{
    Features found;
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return found;
    found.ssse3 = (ecx & bit_SSSE3) != 0;
    // AVX registers are usable only when the system saves them: OSXSAVE, then XCR0.
    const bool avxSaved = (ecx & bit_OSXSAVE) && (ecx & bit_AVX) && (savedRegisterStates() & 0x6) == 0x6;
    found.avx2 = avxSaved && __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) && (ebx & bit_AVX2) != 0;
    return found;
}

} // namespace

std::vector<Utf8VectorCheck::Width> Utf8VectorCheck::widths()
{
    const Features present = features();
    std::vector<Width> found;
    if (present.avx2)
        found.push_back(Width::Bytes32);
    if (present.ssse3)
        found.push_back(Width::Bytes16);
    return found;
}

bool Utf8VectorCheck::isValid(Width width, std::string_view bytes)
{
    return width == Width::Bytes32 ? isValidAvx2(bytes.data(), bytes.size()) : isValidSsse3(bytes.data(), bytes.size());
}

#else

std::vector<Utf8VectorCheck::Width> Utf8VectorCheck::widths()
{
    return {};
}

bool Utf8VectorCheck::isValid(Width, std::string_view)
{
    return false;
}

#endif
