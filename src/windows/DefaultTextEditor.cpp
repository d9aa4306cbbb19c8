#include "DefaultTextEditor.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString kFallback = QStringLiteral("xdg-open");
const QString kPlainText = QStringLiteral("text/plain");

// The values of one group of a desktop-style file ("[Default Applications]").
QMap<QString, QString> readGroup(const QString &file, const QString &group)
{
    QMap<QString, QString> values;
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    bool inGroup = false;
    while (!input.atEnd()) {
        const QString line = QString::fromUtf8(input.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == header;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inGroup && equals > 0 && !line.startsWith(QLatin1Char('#')))
            values.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return values;
}

// The escapes every desktop-entry string value may carry.
QString unescapeValue(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        if (next == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (next == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            out += QLatin1Char('\\') + QString(next);
    }
    return out;
}

// Arguments of an Exec line: blanks separate, double quotes group, and inside quotes a
// backslash takes the next character as it is.
QStringList splitExec(const QString &exec)
{
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool started = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted && c == QLatin1Char('\\') && i + 1 < exec.size()) {
            current += exec.at(++i);
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            started = true;
        } else if (!quoted && c.isSpace()) {
            if (started)
                arguments.append(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started)
        arguments.append(current);
    return arguments;
}

bool isFileCode(QChar code)
{
    return code == QLatin1Char('f') || code == QLatin1Char('F') || code == QLatin1Char('u')
        || code == QLatin1Char('U');
}

// One argument with its field codes filled in; false in `keep` for codes that stand alone
// and name things the program does not pass (icon, name, entry file).
QString expandArgument(const QString &argument, const QString &path, bool &usedFile, bool &keep)
{
    keep = true;
    if (argument.size() == 2 && argument.at(0) == QLatin1Char('%') && argument.at(1) != QLatin1Char('%')) {
        keep = isFileCode(argument.at(1));
        usedFile = usedFile || keep;
        return keep ? path : QString();
    }
    QString out;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument.at(i) != QLatin1Char('%') || i + 1 == argument.size()) {
            out += argument.at(i);
            continue;
        }
        const QChar code = argument.at(++i);
        if (code == QLatin1Char('%')) {
            out += code;
        } else if (isFileCode(code)) {
            out += path;
            usedFile = true;
        }
    }
    return out;
}

} // namespace

DefaultTextEditor::Command DefaultTextEditor::forFile(const QString &path)
{
    if (auto visual = fromVisual(qEnvironmentVariable("VISUAL"), path))
        return *visual;
    const QString entry = defaultEntryFile(kPlainText);
    if (auto fromEntry = fromDesktopEntry(entry, path))
        return *fromEntry;
    return { kFallback, { path } };
}

std::optional<DefaultTextEditor::Command> DefaultTextEditor::fromVisual(
    const QString &visual, const QString &path)
{
    QStringList parts = QProcess::splitCommand(visual);
    if (parts.isEmpty() || QStandardPaths::findExecutable(parts.first()).isEmpty())
        return std::nullopt;
    const QString program = parts.takeFirst();
    return Command { program, parts << path };
}

QStringList DefaultTextEditor::defaultEntryIds(const QString &mimeType)
{
    // The desktop's own lists first, then the general one, in each folder from the user's
    // own to the system's.
    QStringList names;
    for (const QString &desktop :
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        names.append(desktop.toLower() + QStringLiteral("-mimeapps.list"));
    names.append(QStringLiteral("mimeapps.list"));
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(data + QStringLiteral("/applications"));
    QStringList ids;
    for (const QString &folder : folders) {
        for (const QString &name : names) {
            const QString listed
                = readGroup(folder + QLatin1Char('/') + name, QStringLiteral("Default Applications"))
                      .value(mimeType);
            ids.append(listed.split(QLatin1Char(';'), Qt::SkipEmptyParts));
        }
    }
    return ids;
}

QString DefaultTextEditor::installedEntry(const QString &id)
{
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString file = data + QStringLiteral("/applications/") + id;
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
}

QString DefaultTextEditor::defaultEntryFile(const QString &mimeType)
{
    for (const QString &id : defaultEntryIds(mimeType)) {
        const QString file = installedEntry(id);
        if (!file.isEmpty() && fromDesktopEntry(file, QStringLiteral("x")))
            return file;
    }
    return {};
}

std::optional<DefaultTextEditor::Command> DefaultTextEditor::fromDesktopEntry(
    const QString &entryFile, const QString &path)
{
    if (entryFile.isEmpty())
        return std::nullopt;
    const QMap<QString, QString> entry = readGroup(entryFile, QStringLiteral("Desktop Entry"));
    // A terminal program started without a terminal would show nothing.
    if (entry.value(QStringLiteral("Terminal")) == QStringLiteral("true")
        || entry.value(QStringLiteral("Hidden")) == QStringLiteral("true"))
        return std::nullopt;
    QStringList arguments = expandExec(entry.value(QStringLiteral("Exec")), path);
    if (arguments.isEmpty() || QStandardPaths::findExecutable(arguments.first()).isEmpty())
        return std::nullopt;
    const QString program = arguments.takeFirst();
    return Command { program, arguments };
}

QStringList DefaultTextEditor::expandExec(const QString &exec, const QString &path)
{
    QStringList arguments;
    bool usedFile = false;
    for (const QString &argument : splitExec(unescapeValue(exec))) {
        bool keep = true;
        const QString expanded = expandArgument(argument, path, usedFile, keep);
        if (keep)
            arguments.append(expanded);
    }
    if (!arguments.isEmpty() && !usedFile)
        arguments.append(path);
    return arguments;
}
