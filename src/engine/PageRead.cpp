#include "PageRead.h"

#include "DocumentScanner.h"

PageRead PageRead::of(std::string_view bytes)
{
    const std::optional<HeadRegion> region = HeadRegion::find(bytes);
    const HeadContents contents = region ? HeadContents::of(bytes, *region) : HeadContents();
    PageRead read;
    read.facts = PageFacts::of(bytes, region, contents);
    read.document = DocumentScanner::scanFound(bytes, region, contents, read.facts.charset.readAs);
    return read;
}
