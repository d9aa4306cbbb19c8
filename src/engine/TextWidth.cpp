#include "TextWidth.h"

#include "TextEncoding.h"
#include "CharacterReference.h"
#include "FontAdvances.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

namespace {

using Run = FontAdvances::Run;

// The blocks UAX #11 calls wide or full-width (East Asian scripts, full-width forms, the
// emoji blocks): a browser draws them from a fallback font, one em wide.
constexpr std::array<Run, 21> kWide = { {
    { 0x1100, 0x115F, TextWidth::kUnitsPerEm },
    { 0x231A, 0x231B, TextWidth::kUnitsPerEm },
    { 0x2E80, 0x303E, TextWidth::kUnitsPerEm },
    { 0x3041, 0x33FF, TextWidth::kUnitsPerEm },
    { 0x3400, 0x4DBF, TextWidth::kUnitsPerEm },
    { 0x4E00, 0x9FFF, TextWidth::kUnitsPerEm },
    { 0xA000, 0xA4CF, TextWidth::kUnitsPerEm },
    { 0xA960, 0xA97F, TextWidth::kUnitsPerEm },
    { 0xAC00, 0xD7A3, TextWidth::kUnitsPerEm },
    { 0xF900, 0xFAFF, TextWidth::kUnitsPerEm },
    { 0xFE10, 0xFE19, TextWidth::kUnitsPerEm },
    { 0xFE30, 0xFE6F, TextWidth::kUnitsPerEm },
    { 0xFF00, 0xFF60, TextWidth::kUnitsPerEm },
    { 0xFFE0, 0xFFE6, TextWidth::kUnitsPerEm },
    { 0x16FE0, 0x18AFF, TextWidth::kUnitsPerEm },
    { 0x1B000, 0x1B2FF, TextWidth::kUnitsPerEm },
    { 0x1F000, 0x1F64F, TextWidth::kUnitsPerEm },
    { 0x1F680, 0x1F6FF, TextWidth::kUnitsPerEm },
    { 0x1F900, 0x1FAFF, TextWidth::kUnitsPerEm },
    { 0x20000, 0x2FFFD, TextWidth::kUnitsPerEm },
    { 0x30000, 0x3FFFD, TextWidth::kUnitsPerEm },
} };

std::optional<int> lookUp(std::span<const Run> runs, char32_t codePoint)
{
    const auto run = std::upper_bound(runs.begin(), runs.end(), codePoint,
        [](char32_t cp, const Run &candidate) { return cp < candidate.last + 1; });
    if (run == runs.end() || codePoint < run->first)
        return std::nullopt;
    return run->advance;
}

// C0 and C1 controls draw nothing.
bool isControl(char32_t codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

int advanceFromTables(char32_t codePoint)
{
    // Format characters first: the font has a visible glyph for the soft hyphen, but a
    // line that is not broken there does not show it.
    if (const auto zero = lookUp(FontAdvances::zeroWidth(), codePoint))
        return *zero;
    if (const auto font = lookUp(FontAdvances::runs(), codePoint))
        return *font;
    if (isControl(codePoint))
        return 0;
    return lookUp(kWide, codePoint).value_or(FontAdvances::kMissingGlyph);
}

// Titles and descriptions are mostly ASCII: those advances are looked up once.
const std::array<int, 128> &asciiAdvances()
{
    static const std::array<int, 128> table = [] {
        std::array<int, 128> advances {};
        for (char32_t cp = 0; cp < advances.size(); ++cp)
            advances[cp] = advanceFromTables(cp);
        return advances;
    }();
    return table;
}

// HTML collapses each run of white space into one space and a result line shows no
// leading or trailing space.
bool isHtmlSpace(char32_t codePoint)
{
    return codePoint == ' ' || codePoint == '\t' || codePoint == '\n' || codePoint == '\r'
        || codePoint == '\f';
}

} // namespace

int TextWidth::advance(char32_t codePoint)
{
    if (codePoint < 128)
        return asciiAdvances()[codePoint];
    return advanceFromTables(codePoint);
}

double TextWidth::pixels(std::string_view utf8, double pixelSize)
{
    long long units = 0;
    bool spacePending = false;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t codePoint = TextEncoding::decodeNext(utf8, pos);
        if (isHtmlSpace(codePoint)) {
            spacePending = units > 0;
            continue;
        }
        if (spacePending)
            units += advance(' ');
        spacePending = false;
        units += advance(codePoint);
    }
    return static_cast<double>(units) * pixelSize / kUnitsPerEm;
}

double TextWidth::titlePixels(std::string_view html)
{
    const std::string shown = CharacterReference::decodeAll(html, CharacterReference::Context::Text);
    return pixels(shown, kTitlePixelSize);
}

std::string TextWidth::collapsedSpaces(std::string_view text)
{
    std::string collapsed;
    bool space = false;
    for (const char c : text) {
        if (isHtmlSpace(static_cast<unsigned char>(c))) {
            space = !collapsed.empty();
            continue;
        }
        if (space)
            collapsed += ' ';
        space = false;
        collapsed += c;
    }
    return collapsed;
}
