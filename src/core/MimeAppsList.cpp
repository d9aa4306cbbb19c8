#include "MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QByteArray kAddedGroup = "[Added Associations]";
const QByteArray kDefaultGroup = "[Default Applications]";

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

// Once, behind every other application on the line.
bool listsLast(const QByteArray &value, const QByteArray &id)
{
    QList<QByteArray> items = value.split(';');
    items.removeIf([](const QByteArray &item) { return item.trimmed().isEmpty(); });
    const auto times
        = std::count_if(items.begin(), items.end(), [&id](const QByteArray &item) { return isId(item, id); });
    return times == 1 && isId(items.last(), id);
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

QByteArray pinLine(const QString &mimeType, const QString &desktopId)
{
    return mimeType.toUtf8() + '=' + desktopId.toUtf8() + ';';
}

// Headers of the group with no line at all below them.
void dropEmptyGroups(QList<QByteArray> &lines, const QByteArray &header)
{
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (lines.at(i).trimmed() != header)
            continue;
        const bool last = i + 1 == lines.size() || (i + 2 == lines.size() && lines.last().isEmpty());
        if (last || isGroupHeader(lines.at(i + 1)))
            lines.removeAt(i);
    }
}

// Where the entry lines of the groups with that header stand, in order.
QList<qsizetype> entriesOf(const QList<QByteArray> &lines, const QByteArray &header)
{
    QList<qsizetype> entries;
    bool inGroup = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (isGroupHeader(lines.at(i)))
            inGroup = lines.at(i).trimmed() == header;
        else if (inGroup && isEntry(lines.at(i)))
            entries.append(i);
    }
    return entries;
}

// Behind the last entry of the first such group. A new group goes at the end, before the line
// end that closes the text if there is one, so that taking it out again gives back the bytes.
void insertIntoGroup(QList<QByteArray> &lines, const QByteArray &header, QList<QByteArray> added)
{
    qsizetype insertAt = -1;
    bool inGroup = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (isGroupHeader(line)) {
            if (insertAt >= 0)
                break;
            inGroup = line.trimmed() == header;
            if (inGroup)
                insertAt = i + 1;
        } else if (inGroup && isEntry(line)) {
            insertAt = i + 1;
        }
    }
    if (insertAt < 0) {
        insertAt = !lines.isEmpty() && lines.last().isEmpty() ? lines.size() - 1 : lines.size();
        added.prepend(header);
    }
    for (qsizetype k = 0; k < added.size(); ++k)
        lines.insert(insertAt + k, added.at(k));
}

// Whether a line of the type in a group with that header names the id.
bool namesFor(const QByteArray &text, const QByteArray &header, const QByteArray &type, const QByteArray &id)
{
    const QList<QByteArray> lines = text.split('\n');
    const QList<qsizetype> entries = entriesOf(lines, header);
    return std::any_of(entries.begin(), entries.end(),
        [&](qsizetype i) { return keyOf(lines.at(i)) == type && listsId(Entry(lines.at(i)).value, id); });
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

// A listing ahead of another application would make the program the default of the type for
// GIO, which takes the first one it meets: a line that lists it anywhere else lists it last.
QByteArray MimeAppsList::withListed(
    const QByteArray &text, const QString &desktopId, const QStringList &mimeTypes)
{
    const QByteArray id = desktopId.toUtf8();
    QList<QByteArray> pending;
    for (const QString &type : mimeTypes)
        pending.append(type.toUtf8());
    QList<QByteArray> lines = text.split('\n');
    const QList<qsizetype> entries = entriesOf(lines, kAddedGroup);
    // The first line of a type lists the id; any other line, of the type or not, loses it.
    QList<qsizetype> listing;
    for (const qsizetype i : entries) {
        if (pending.removeAll(keyOf(lines.at(i))) > 0)
            listing.append(i);
    }
    bool dropped = false;
    // From the last entry back, so that dropping one leaves the places of the others.
    for (auto at = entries.rbegin(); at != entries.rend(); ++at) {
        Entry entry(lines.at(*at));
        if (listing.contains(*at)) {
            if (listsLast(entry.value, id))
                continue;
            entry.value = appended(withoutId(entry.value, id), id);
        } else if (!listsId(entry.value, id)) {
            continue;
        } else {
            entry.value = withoutId(entry.value, id);
            if (listsNothing(entry.value)) {
                lines.removeAt(*at);
                dropped = true;
                continue;
            }
        }
        lines[*at] = entry.line();
    }
    QList<QByteArray> added;
    for (const QByteArray &type : std::as_const(pending))
        added.append(type + '=' + id + ';');
    if (!added.isEmpty())
        insertIntoGroup(lines, kAddedGroup, added);
    if (dropped)
        dropEmptyGroups(lines, kAddedGroup);
    return lines.join('\n');
}

QByteArray MimeAppsList::withRemoved(const QByteArray &text, const QString &desktopId)
{
    return withListed(text, desktopId, {});
}

bool MimeAppsList::setsDefault(const QByteArray &text, const QString &mimeType, const QString &desktopId)
{
    return namesFor(text, kDefaultGroup, mimeType.toUtf8(), desktopId.toUtf8());
}

bool MimeAppsList::addsAssociation(const QByteArray &text, const QString &mimeType, const QString &desktopId)
{
    return namesFor(text, kAddedGroup, mimeType.toUtf8(), desktopId.toUtf8());
}

QByteArray MimeAppsList::withUnpinned(
    const QByteArray &text, const QString &mimeType, const QString &desktopId)
{
    const QByteArray pin = pinLine(mimeType, desktopId);
    QList<QByteArray> lines = text.split('\n');
    for (const qsizetype i : entriesOf(lines, kDefaultGroup)) {
        if (lines.at(i) == pin) {
            lines.removeAt(i);
            dropEmptyGroups(lines, kDefaultGroup);
            return lines.join('\n');
        }
    }
    return text;
}

std::optional<QByteArray> MimeAppsList::contents() const
{
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly))
        return file.readAll();
    if (file.exists())
        return std::nullopt;
    return QByteArray();
}

bool MimeAppsList::list(const QString &desktopId, const QStringList &mimeTypes) const
{
    const std::optional<QByteArray> before = contents();
    return before && rewrite(*before, withListed(*before, desktopId, mimeTypes));
}

bool MimeAppsList::remove(const QString &desktopId, const Pins &pins) const
{
    const std::optional<QByteArray> before = contents();
    if (!before)
        return false;
    QByteArray after = withRemoved(*before, desktopId);
    for (auto pin = pins.cbegin(); pin != pins.cend(); ++pin)
        after = withUnpinned(after, pin.key(), pin.value());
    return rewrite(*before, after);
}

bool MimeAppsList::rewrite(const QByteArray &before, const QByteArray &after) const
{
    if (after == before)
        return true;
    // A list that held nothing but our lines goes with them, as it came.
    if (after.isEmpty())
        return QFile::remove(m_path);
    if (!QDir().mkpath(QFileInfo(m_path).path()))
        return false;
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(after) == after.size() && file.commit();
}
