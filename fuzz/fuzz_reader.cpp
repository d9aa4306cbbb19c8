// Any bytes must scan without a crash, and the values read back must compose a tag block.

#include "document/DocumentScanner.h"
#include "document/TagBlock.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const ScannedDocument document = DocumentScanner::scan(bytes);
    if (document.hasHead != DocumentScanner::hasHeadStart(bytes))
        std::abort();
    const MetaElementSet values = document.values();
    // Values are decoded to UTF-8 whatever the page's bytes were.
    for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author }) {
        if (!TextEncoding::isValidUtf8(values.text(field)))
            std::abort();
    }
    const std::string block = TagBlock::forView(values, "2.01a", LineEnds::text(document.lineEnd));
    return block.empty() ? 1 : 0;
}
