#include "ReadCommand.h"

#include "JsonLines.h"
#include "PageSource.h"

#include "TextEncoding.h"

namespace {

void addValues(QJsonObject &line, const ScannedDocument &document)
{
    const MetaElementSet values = document.values();
    line[QStringLiteral("title")] = QString::fromUtf8(document.title);
    line[QStringLiteral("description")] = QString::fromUtf8(values.text(TextField::Description));
    line[QStringLiteral("keywords")] = QString::fromUtf8(values.text(TextField::Keywords));
    line[QStringLiteral("author")] = QString::fromUtf8(values.text(TextField::Author));
    line[QStringLiteral("noindex")] = values.flag(RobotsFlag::NoIndex);
    line[QStringLiteral("nofollow")] = values.flag(RobotsFlag::NoFollow);
    line[QStringLiteral("noimageindex")] = values.flag(RobotsFlag::NoImageIndex);
    line[QStringLiteral("noimageclick")] = values.flag(RobotsFlag::NoImageClick);
    line[QStringLiteral("charset")] = values.charset();
    line[QStringLiteral("robots")] = QString::fromUtf8(values.robotsValue());
    line[QStringLiteral("lineEnd")] = QString::fromUtf8(LineEnds::name(document.lineEnd));
    line[QStringLiteral("encoding")] = QString::fromUtf8(TextEncoding::name(document.encoding));
}

} // namespace

QJsonObject ReadCommand::describe(const QString &path)
{
    QJsonObject line;
    line[QStringLiteral("path")] = path;
    const DocumentFile::OpenResult opened = PageSource::open(path);
    line[QStringLiteral("ok")] = opened.ok;
    if (opened.ok)
        addValues(line, opened.document);
    else
        line[QStringLiteral("error")] = opened.error;
    return line;
}

bool ReadCommand::run(const QStringList &paths, QTextStream &out, QTextStream &err)
{
    return JsonLines::forEach(paths, out, err, &ReadCommand::describe);
}
