#include "PageCharset.h"

#include "CharacterReference.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

// The labels browsers take for windows-1252, which is what ISO-8859-1 means to them, and
// for UTF-8.
constexpr std::array<std::string_view, 17> kLatin1Labels = { "ansi_x3.4-1968", "ascii", "cp1252", "cp819",
    "csisolatin1", "ibm819", "iso-8859-1", "iso-ir-100", "iso8859-1", "iso88591", "iso_8859-1",
    "iso_8859-1:1987", "l1", "latin1", "us-ascii", "windows-1252", "x-cp1252" };
// A page whose bytes a META tag could be read from is not UTF-16, so browsers take the
// UTF-16 labels in it for UTF-8.
constexpr std::array<std::string_view, 15> kUtf8Labels = { "unicode-1-1-utf-8", "unicode11utf8",
    "unicode20utf8", "utf-8", "utf8", "x-unicode20utf8", "csunicode", "iso-10646-ucs-2", "ucs-2",
    "unicode", "unicodefeff", "unicodefffe", "utf-16", "utf-16be", "utf-16le" };
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string folded(std::string_view label)
{
    std::string text;
    for (const char c : label) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f')
            text += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}

template <std::size_t N> bool isOneOf(const std::array<std::string_view, N> &labels, std::string_view label)
{
    return std::find(labels.begin(), labels.end(), folded(label)) != labels.end();
}

// The three texts as a save writes them; the rest of the block is ASCII.
std::string encodedTexts(const MetaElementSet &values, Encoding encoding)
{
    std::string texts;
    for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author })
        texts += TextEncoding::fromUtf8ForHtml(CharacterReference::escapeAttribute(values.text(field)), encoding);
    return texts;
}

} // namespace

PageCharset PageCharset::ofBytes(std::string_view page)
{
    const TextEncoding::Survey bytes = TextEncoding::survey(page);
    PageCharset charset;
    charset.utf8Mark = startsWithUtf8Mark(page);
    charset.readAs = bytes.validUtf8 || charset.utf8Mark ? Encoding::Utf8 : Encoding::Windows1252;
    charset.keptValidUtf8 = bytes.validUtf8;
    charset.keptNonAscii = bytes.nonAscii;
    return charset;
}

std::optional<Encoding> PageCharset::encodingOfLabel(std::string_view label)
{
    if (isUtf8Label(label))
        return Encoding::Utf8;
    if (isLatin1Label(label))
        return Encoding::Windows1252;
    return std::nullopt;
}

bool PageCharset::isLatin1Label(std::string_view label)
{
    return isOneOf(kLatin1Labels, label);
}

bool PageCharset::isUtf8Label(std::string_view label)
{
    return isOneOf(kUtf8Labels, label);
}

bool PageCharset::startsWithUtf8Mark(std::string_view page)
{
    return page.substr(0, kUtf8Mark.size()) == kUtf8Mark;
}

std::optional<Encoding> PageCharset::declaredEncodingOf(const HeadContents &contents)
{
    if (contents.declarations.empty())
        return std::nullopt;
    return encodingOfLabel(contents.declarations.front().label);
}

std::optional<Encoding> PageCharset::decidedEncodingOf(std::string_view page, const HeadContents &contents)
{
    if (startsWithUtf8Mark(page))
        return Encoding::Utf8;
    return declaredEncodingOf(contents);
}

Encoding PageCharset::readEncoding(std::string_view page, const HeadContents &contents, const TextEncoding::Survey &bytes)
{
    if (const auto decided = decidedEncodingOf(page, contents))
        return *decided;
    return bytes.validUtf8 ? Encoding::Utf8 : Encoding::Windows1252;
}

std::optional<Encoding> PageCharset::keptDeclarationOf(const HeadContents &contents)
{
    const auto kept = std::find_if(contents.declarations.begin(), contents.declarations.end(),
        [](const CharsetDeclaration &declaration) { return !declaration.removedBySave; });
    return kept == contents.declarations.end() ? std::nullopt : encodingOfLabel(kept->label);
}

SaveEncoding PageCharset::saveEncoding(const MetaElementSet &values) const
{
    if (values.charset()) {
        // The program's own charset tag comes first in the saved HEAD and so decides; it
        // names UTF-8 only where that makes a difference, so a page that stays ASCII
        // keeps the declaration it always had.
        const bool nonAscii = keptNonAscii || TextEncoding::hasNonAscii(encodedTexts(values, readAs));
        return { readAs, readAs == Encoding::Utf8 && nonAscii };
    }
    if (utf8Mark)
        return { Encoding::Utf8, false };
    if (keptDeclaration)
        return { *keptDeclaration, false };
    // Undeclared, the saved bytes decide: UTF-8 when every one of them is.
    const auto readBack = [&](Encoding written) {
        const bool valid = keptValidUtf8 && TextEncoding::isValidUtf8(encodedTexts(values, written));
        return valid ? Encoding::Utf8 : Encoding::Windows1252;
    };
    if (readBack(readAs) == readAs)
        return { readAs, false };
    const Encoding other = readAs == Encoding::Utf8 ? Encoding::Windows1252 : Encoding::Utf8;
    return { other, false };
}
