#include "shell/frmMain.h"

#include "document/DocumentFile.h"
#include "document/TagBlock.h"
#include "resources/ResourceText.h"
#include "resources/StringTable.h"
#include "shell/ProgramVersion.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString summary(const QString &path, const ScannedDocument &document)
{
    const MetaElementSet values = document.values();
    const std::string version = ProgramVersion::version().toStdString();
    const std::string lineEnd(LineEnds::text(document.lineEnd));
    return ResourceText::status(StringId::DocumentOpened) + QStringLiteral(" (") + path
        + QStringLiteral(")\n\n") + QStringLiteral("Title: ") + fromUtf8(document.title) + QLatin1Char('\n')
        + ResourceText::caption(StringId::Description) + QLatin1Char(' ')
        + fromUtf8(values.text(TextField::Description)) + QLatin1Char('\n')
        + ResourceText::caption(StringId::Keywords) + QLatin1Char(' ')
        + fromUtf8(values.text(TextField::Keywords)) + QLatin1Char('\n')
        + ResourceText::caption(StringId::Author) + QLatin1Char(' ')
        + fromUtf8(values.text(TextField::Author)) + QLatin1Char('\n')
        + ResourceText::caption(StringId::Robots) + QLatin1Char(' ') + fromUtf8(values.robotsValue())
        + QStringLiteral("\n\n") + fromUtf8(TagBlock::forView(values, version, lineEnd));
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
    , m_view(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Tagsmith LITE ") + ProgramVersion::version());
    m_view->setReadOnly(true);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_view->setPlainText(ResourceText::status(StringId::NoDocumentOpen));
    setCentralWidget(m_view);
    resize(760, 420);
}

QString frmMain::pathFromCommandLine(const QString &commandLine)
{
    QString path = commandLine.trimmed();
    if (path.startsWith(QLatin1Char('"')))
        path.remove(0, 1);
    if (path.endsWith(QLatin1Char('"')))
        path.chop(1);
    return path;
}

void frmMain::restoreAndActivate()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void frmMain::OpenCommandLine(const QString &commandLine)
{
    restoreAndActivate();
    if (commandLine.trimmed().isEmpty())
        return;
    const QString path = pathFromCommandLine(commandLine);
    const DocumentFile::OpenResult opened = DocumentFile::open(path);
    m_view->setPlainText(
        opened.ok ? summary(path, opened.document) : path + QStringLiteral("\n") + opened.error);
}
