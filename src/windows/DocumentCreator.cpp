#include "DocumentCreator.h"

#include <QSaveFile>

QByteArray DocumentCreator::pageText(const QString &generatorText)
{
    // The generator goes in a comment: a tag of its own would be removed on the first save.
    return QByteArrayLiteral("<html>\r\n<head>\r\n<title></title>\r\n</head>\r\n<body>\r\n<!-- ")
        + generatorText.toUtf8() + QByteArrayLiteral(" -->\r\n</body>\r\n</html>\r\n");
}

DocumentCreator::Result DocumentCreator::createDocument(const QString &path, const QString &generatorText)
{
    Result result;
    QSaveFile file(path);
    const QByteArray text = pageText(generatorText);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.ok = true;
    return result;
}

QString DocumentCreator::description()
{
    return QStringLiteral(
        "Document creator: makes the file of a new page, with an empty HEAD, before its first save");
}
