#include "Utf8VectorCheck.h"

std::optional<bool> Utf8VectorCheck::isValid(std::string_view bytes)
{
    static const std::vector<Width> available = widths();
    if (available.empty())
        return std::nullopt;
    return isValid(available.front(), bytes);
}

#if defined(__x86_64__) || defined(__i386__)

std::vector<Utf8VectorCheck::Width> Utf8VectorCheck::widths()
{
    std::vector<Width> found;
    if (__builtin_cpu_supports("avx2"))
        found.push_back(Width::Bytes32);
    if (__builtin_cpu_supports("ssse3"))
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
