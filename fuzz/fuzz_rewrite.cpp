// A save of any page with any values keeps its promise: the page is refused only when it
// has no HEAD start tag; otherwise reading the saved page gives back every value set, a
// second save writes the same bytes, and every byte outside the managed tags stays.
// The input is read as FuzzInput.h says.

#include "FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const FuzzInput::Decoded input = FuzzInput::decode(data, size);
    if (FuzzInput::holdsC1Control(input.values))
        return -1;
    const std::string broken = SaveProperty::check(input.page, input.values);
    if (!broken.empty()) {
        std::fprintf(stderr, "save broke its promise: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
