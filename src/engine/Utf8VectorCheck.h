#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// Checks a whole buffer for UTF-8 a vector at a time (Utf8LookupCheck), so that a large
// page costs about as much to check as to read: 32 bytes at a time where the processor
// has AVX2, 16 where it has SSSE3.
class Utf8VectorCheck
{
public:
    enum class Width { Bytes16, Bytes32 };

    // With the widest vectors this processor has. Nothing when it has none; the caller
    // checks byte by byte.
    static std::optional<bool> isValid(std::string_view bytes);
    // The widths this processor has, widest first, so that each can be held to the others.
    static std::vector<Width> widths();
    static bool isValid(Width width, std::string_view bytes);

private:
    // Each in a source file of its own, compiled for its instruction set.
    static bool isValidSsse3(const char *bytes, std::size_t size);
    static bool isValidAvx2(const char *bytes, std::size_t size);
};
