#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdlib>

// A large but ordinary page: a head with the managed tags, then paragraphs with inline
// markup, entities and some non-ASCII text, so the encoding check cannot skip it all.
// Written a paragraph at a time, so making it costs no memory of its size. A page that
// declares its charset can be read without its body.
inline void writeSyntheticPage(const QString &path, qint64 size, bool declaresCharset = false)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    qint64 written = file.write("<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n");
    if (declaresCharset)
        written += file.write("<meta charset=\"utf-8\">\r\n");
    written += file.write("<title>Synthetic page</title>\r\n"
                                "<meta name=\"description\" content=\"A large page for timing the reader\">\r\n"
                                "<meta name=\"keywords\" content=\"bench, reader, scan\">\r\n"
                                "<meta name=\"robots\" content=\"noindex, nofollow\">\r\n</head>\r\n<body>\r\n");
    const QByteArray paragraph
        = "<p class=\"text\">Lorem ipsum <b>dolor</b> sit amet, <a href=\"/x?y=1&amp;z=2\">"
          "consectetur</a> adipiscing elit. Caf\xC3\xA9 na\xC3\xAFve \xE2\x80\x94 "
          "<em>sed do eiusmod</em> tempor incididunt ut labore.</p>\r\n";
    while (written < size)
        written += file.write(paragraph);
    if (file.write("</body>\r\n</html>\r\n") < 0 || !file.flush())
        std::abort();
}
