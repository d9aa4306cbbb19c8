#pragma once

#include <optional>
#include <string_view>

// Checks a whole buffer for UTF-8 sixteen bytes at a time with table lookups (the method
// of Keiser and Lemire, "Validating UTF-8 in less than one instruction per byte"), so that
// a large page costs about as much to check as to read.
class Utf8VectorCheck
{
public:
    // Nothing when this processor lacks the instructions; the caller checks byte by byte.
    static std::optional<bool> isValid(std::string_view bytes);
};
