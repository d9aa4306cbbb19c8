#include "ReadCommand.h"

#include "JsonLines.h"

#include "DocumentFile.h"
#include "TextEncoding.h"

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void addValues(QJsonObject &line, const ScannedDocument &document)
{
    const MetaElementSet values = document.values();
    line[QStringLiteral("title")] = fromUtf8(document.title);
    line[QStringLiteral("description")] = fromUtf8(values.text(TextField::Description));
    line[QStringLiteral("keywords")] = fromUtf8(values.text(TextField::Keywords));
    line[QStringLiteral("author")] = fromUtf8(values.text(TextField::Author));
    line[QStringLiteral("noindex")] = values.flag(RobotsFlag::NoIndex);
    line[QStringLiteral("nofollow")] = values.flag(RobotsFlag::NoFollow);
    line[QStringLiteral("noimageindex")] = values.flag(RobotsFlag::NoImageIndex);
    line[QStringLiteral("noimageclick")] = values.flag(RobotsFlag::NoImageClick);
    line[QStringLiteral("charset")] = values.charset();
    line[QStringLiteral("robots")] = fromUtf8(values.robotsValue());
    line[QStringLiteral("lineEnd")] = fromUtf8(LineEnds::name(document.lineEnd));
    line[QStringLiteral("encoding")] = fromUtf8(TextEncoding::name(document.encoding));
}

} // namespace

QJsonObject ReadCommand::describe(const QString &path)
{
    QJsonObject line;
    line[QStringLiteral("path")] = path;
    const DocumentFile::OpenResult opened = DocumentFile::open(path);
    line[QStringLiteral("ok")] = opened.ok;
    if (opened.ok)
        addValues(line, opened.document);
    else
        line[QStringLiteral("error")] = opened.error;
    return line;
}

bool ReadCommand::run(const QStringList &paths, QTextStream &out)
{
    return JsonLines::forEach(paths, out, &ReadCommand::describe);
}
