#pragma once

#include <string>
#include <string_view>

// How wide text is in a desktop search result, in pixels: the advance widths of Liberation
// Sans (metric-compatible with Arial), built in so neither the engine nor the command line
// needs the font installed. Characters the font lacks count by their display width: East
// Asian wide and full-width ones (emoji included) one em, combining marks, format characters
// (zero-width spaces and joiners, soft hyphen, variation selectors, byte order mark) and
// controls nothing, any other as the font's missing-glyph box. No kerning.
// The table comes from the font file through tools/fontwidths (see its CMakeLists.txt).
class TextWidth
{
public:
    static constexpr int kUnitsPerEm = 2048;
    static constexpr double kTitlePixelSize = 20.0;
    static constexpr double kDescriptionPixelSize = 14.0;

    // Advance of one code point in font units (kUnitsPerEm to the em).
    static int advance(char32_t codePoint);
    // Width of UTF-8 text at a pixel size, as a result line shows it: white space collapsed
    // as HTML does (runs become one space, none at the ends); invalid bytes count as U+FFFD.
    static double pixels(std::string_view utf8, double pixelSize);
    // A title as the page holds it: its character references ("&amp;") are decoded first.
    // Values need no decoding: they are read as the text they stand for.
    static double titlePixels(std::string_view html);
    // The text with runs of white space as one space, none at the ends, as a result shows it.
    static std::string collapsedSpaces(std::string_view text);
    static double descriptionPixels(std::string_view utf8)
    {
        return pixels(utf8, kDescriptionPixelSize);
    }
};
