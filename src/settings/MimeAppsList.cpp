#include "settings/MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QByteArray kAddedGroup = "[Added Associations]";

bool isGroupHeader(const QByteArray &line)
{
    return line.trimmed().startsWith('[');
}

bool isEntry(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    return !trimmed.isEmpty() && !trimmed.startsWith('#') && trimmed.contains('=');
}

QByteArray keyOf(const QByteArray &line)
{
    return line.left(line.indexOf('=')).trimmed();
}

// A line's value without the line end a CR LF file leaves at its end.
struct Entry
{
    QByteArray head; // the key and the "="
    QByteArray value;
    QByteArray tail; // "\r" or nothing

    explicit Entry(const QByteArray &line)
    {
        const qsizetype equals = line.indexOf('=') + 1;
        head = line.left(equals);
        value = line.mid(equals);
        if (value.endsWith('\r')) {
            value.chop(1);
            tail = "\r";
        }
    }
    QByteArray line() const { return head + value + tail; }
};

bool isId(const QByteArray &item, const QByteArray &id)
{
    return item.trimmed() == id;
}

bool listsId(const QByteArray &value, const QByteArray &id)
{
    const QList<QByteArray> items = value.split(';');
    return std::any_of(items.begin(), items.end(), [&id](const QByteArray &item) { return isId(item, id); });
}

// Behind what is listed, in the line's own style: closed by ";" when the list is.
QByteArray appended(const QByteArray &value, const QByteArray &id)
{
    if (value.trimmed().isEmpty())
        return id + ';';
    if (value.endsWith(';'))
        return value + id + ';';
    return value + ';' + id;
}

QByteArray withoutId(const QByteArray &value, const QByteArray &id)
{
    QList<QByteArray> items = value.split(';');
    items.removeIf([&id](const QByteArray &item) { return isId(item, id); });
    return items.join(';');
}

bool listsNothing(const QByteArray &value)
{
    for (const QByteArray &item : value.split(';')) {
        if (!item.trimmed().isEmpty())
            return false;
    }
    return true;
}

// Group headers of [Added Associations] with no line at all below them.
void dropEmptyAddedGroups(QList<QByteArray> &lines)
{
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (lines.at(i).trimmed() != kAddedGroup)
            continue;
        const bool last = i + 1 == lines.size() || (i + 2 == lines.size() && lines.last().isEmpty());
        if (last || isGroupHeader(lines.at(i + 1)))
            lines.removeAt(i);
    }
}

} // namespace

MimeAppsList::MimeAppsList(QString path)
    : m_path(std::move(path))
{
}

QString MimeAppsList::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/mimeapps.list");
}

QByteArray MimeAppsList::withAdded(
    const QByteArray &text, const QString &desktopId, const QStringList &mimeTypes)
{
    const QByteArray id = desktopId.toUtf8();
    QList<QByteArray> pending;
    for (const QString &type : mimeTypes)
        pending.append(type.toUtf8());
    QList<QByteArray> lines = text.split('\n');
    // Our lines go behind the last entry of the first [Added Associations] group.
    bool inAdded = false;
    bool inFirstAdded = false;
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (isGroupHeader(line)) {
            inAdded = line.trimmed() == kAddedGroup;
            inFirstAdded = inAdded && insertAt < 0;
            if (inFirstAdded)
                insertAt = i + 1;
            continue;
        }
        if (!inAdded || !isEntry(line))
            continue;
        if (inFirstAdded)
            insertAt = i + 1;
        const QByteArray key = keyOf(line);
        if (!pending.contains(key))
            continue;
        pending.removeAll(key);
        Entry entry(line);
        if (!listsId(entry.value, id)) {
            entry.value = appended(entry.value, id);
            lines[i] = entry.line();
        }
    }
    if (pending.isEmpty())
        return lines.join('\n');
    QList<QByteArray> added;
    for (const QByteArray &type : std::as_const(pending))
        added.append(type + '=' + id + ';');
    if (insertAt < 0) {
        // A new group at the end, on a line of its own.
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        lines.append(kAddedGroup);
        lines.append(added);
        lines.append(QByteArray());
    } else {
        for (qsizetype k = 0; k < added.size(); ++k)
            lines.insert(insertAt + k, added.at(k));
    }
    return lines.join('\n');
}

QByteArray MimeAppsList::withRemoved(const QByteArray &text, const QString &desktopId)
{
    const QByteArray id = desktopId.toUtf8();
    QList<QByteArray> lines = text.split('\n');
    bool inAdded = false;
    bool changed = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (isGroupHeader(line)) {
            inAdded = line.trimmed() == kAddedGroup;
            continue;
        }
        if (!inAdded || !isEntry(line))
            continue;
        Entry entry(line);
        if (!listsId(entry.value, id))
            continue;
        changed = true;
        entry.value = withoutId(entry.value, id);
        if (listsNothing(entry.value))
            lines.removeAt(i--);
        else
            lines[i] = entry.line();
    }
    if (!changed)
        return text;
    dropEmptyAddedGroups(lines);
    return lines.join('\n');
}

bool MimeAppsList::add(const QString &desktopId, const QStringList &mimeTypes) const
{
    QFile file(m_path);
    const QByteArray before = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (file.isOpen())
        file.close();
    else if (file.exists())
        return false;
    return rewrite(before, withAdded(before, desktopId, mimeTypes));
}

bool MimeAppsList::remove(const QString &desktopId) const
{
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray before = file.readAll();
    file.close();
    return rewrite(before, withRemoved(before, desktopId));
}

bool MimeAppsList::rewrite(const QByteArray &before, const QByteArray &after) const
{
    if (after == before)
        return true;
    if (!QDir().mkpath(QFileInfo(m_path).path()))
        return false;
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(after) == after.size() && file.commit();
}
