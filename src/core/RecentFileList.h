#pragma once

#include <QString>
#include <QStringList>

class RegistryKey;

// The most recently used files (or folders), newest first. Each entry's caption is a
// four-character prefix ("&1  ") followed by its path; adding a path already listed moves
// it to the top. Paths are kept absolute: a relative one is added as seen from the working
// folder.
class RecentFileList
{
public:
    static constexpr int kMaxCapacity = 9;

    int capacity() const { return m_capacity; }
    // Shrinking drops the oldest entries.
    void setCapacity(int capacity);

    void add(const QString &path);
    void remove(const QString &path) { m_paths.removeAll(path); }
    void clear() { m_paths.clear(); }

    // Entries are numbered from 1 to Count; entries not in use hold no path.
    int count() const { return m_capacity; }
    bool inUse(int index) const;
    QString caption(int index) const;
    QString path(int index) const;

    // The key's root and path are the caller's; the entries are its values File1, File2...
    void load(RegistryKey &key);
    bool save(RegistryKey &key) const;
    // The entries as stored elsewhere, oldest last: empty, relative and repeated ones and
    // those past the capacity are passed over.
    void setPaths(const QStringList &stored);
    const QStringList &paths() const { return m_paths; }

private:
    bool isValidIndex(int index) const { return index >= 1 && index <= static_cast<int>(m_paths.size()); }
    static bool isAbsolute(const QString &stored);
    static QString valueName(int index);

    int m_capacity = kMaxCapacity;
    QStringList m_paths;
};
