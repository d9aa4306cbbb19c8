#include "JsonText.h"

#include "TextEncoding.h"

#include <QLocale>
#include <QString>

#include <cmath>

namespace {

char hexDigit(unsigned value)
{
    return "0123456789abcdef"[value & 0xF];
}

bool needsEscape(char16_t c)
{
    return c < 0x20 || c == u'"' || c == u'\\';
}

// One of the characters needsEscape picks.
void appendEscapedAscii(QByteArray &out, char16_t c)
{
    switch (c) {
    case u'"':
        out += "\\\"";
        return;
    case u'\\':
        out += "\\\\";
        return;
    case u'\b':
        out += "\\b";
        return;
    case u'\f':
        out += "\\f";
        return;
    case u'\n':
        out += "\\n";
        return;
    case u'\r':
        out += "\\r";
        return;
    case u'\t':
        out += "\\t";
        return;
    default:
        out += "\\u00";
        out += hexDigit(c >> 4);
        out += hexDigit(c);
    }
}

void appendUnicodeEscape(QByteArray &out, char16_t c)
{
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hexDigit(unsigned(c) >> shift);
}

} // namespace

void JsonText::appendString(QByteArray &out, QStringView text)
{
    out += '"';
    qsizetype runStart = 0; // of characters that go out as UTF-8 as they are
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size; ++at) {
        const char16_t c = text[at].unicode();
        if (!QChar::isSurrogate(c) && !needsEscape(c))
            continue;
        if (QChar::isHighSurrogate(c) && at + 1 < size && QChar::isLowSurrogate(text[at + 1].unicode())) {
            ++at;
            continue;
        }
        out += text.sliced(runStart, at - runStart).toUtf8();
        runStart = at + 1;
        if (c < 0x80)
            appendEscapedAscii(out, c);
        else
            appendUnicodeEscape(out, c);
    }
    out += text.sliced(runStart).toUtf8();
    out += '"';
}

void JsonText::appendUtf8(QByteArray &out, std::string_view text)
{
    if (!TextEncoding::isValidUtf8(text)) {
        appendString(out, QString::fromUtf8(text.data(), qsizetype(text.size())));
        return;
    }
    // Valid UTF-8 comes back from a QString unchanged, so only its ASCII needs a look.
    out += '"';
    std::size_t runStart = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (!needsEscape(byte))
            continue;
        out.append(text.data() + runStart, qsizetype(at - runStart));
        appendEscapedAscii(out, byte);
        runStart = at + 1;
    }
    out.append(text.data() + runStart, qsizetype(text.size() - runStart));
    out += '"';
}

void JsonText::appendNumber(QByteArray &out, double number)
{
    if (!std::isfinite(number)) {
        out += "null";
        return;
    }
    out += QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
}
