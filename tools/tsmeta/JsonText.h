#pragma once

#include <QByteArray>
#include <QStringView>

#include <string_view>

// Pieces of JSON text, byte for byte as QJsonDocument writes them in its compact form, for
// output too large or too frequent to build as documents first: an audit writes a line per
// page, and building each as an object cost as much as reading its page.
class JsonText
{
public:
    // A string between quotes: quote, backslash and control characters escaped, the rest
    // as UTF-8; a lone surrogate as \uXXXX.
    static void appendString(QByteArray &out, QStringView text);
    // The same for text held as UTF-8; bytes that are not UTF-8 become U+FFFD, as they do
    // on their way into a QString.
    static void appendUtf8(QByteArray &out, std::string_view text);
    // The shortest form that reads back as the same double; null where JSON has none.
    static void appendNumber(QByteArray &out, double number);
};
