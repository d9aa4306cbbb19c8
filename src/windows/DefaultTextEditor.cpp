#include "DefaultTextEditor.h"

#include <QProcess>
#include <QStandardPaths>

std::optional<DefaultTextEditor::Command> DefaultTextEditor::fromVisual(
    const QString &visual, const QString &path)
{
    QStringList parts = QProcess::splitCommand(visual);
    if (parts.isEmpty() || QStandardPaths::findExecutable(parts.first()).isEmpty())
        return std::nullopt;
    const QString program = parts.takeFirst();
    return Command { program, parts << path };
}

std::optional<DesktopApplication> DefaultTextEditor::forPlainText()
{
    return DesktopApplication::defaultFor(QStringLiteral("text/plain"));
}
