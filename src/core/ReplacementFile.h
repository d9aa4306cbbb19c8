#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/types.h>

class FileWriter;

// A file replaced in one step: the new bytes go to a temporary file in the same folder,
// which is then renamed over the name. The name itself is replaced, never the file that a
// link standing there points to. Unless committed, the temporary file is removed again.
class ReplacementFile
{
public:
    struct Owner
    {
        uid_t user = 0;
        gid_t group = 0;
    };

    explicit ReplacementFile(const QString &path);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;

    // The folder as the path names it: cleaning the path up could name another folder.
    static QString folderOf(const QString &path);

    // Each returns 0 or the errno value; a failed create or commit is the folder's doing.
    int create();
    int commit(FileWriter &writer);

    // Gives the new file this mode and, when given, this owner and group. False when the
    // system refuses any of it, as it refuses another user's owner to anyone but root.
    bool takeIdentity(mode_t mode, std::optional<Owner> owner);

    // Whether the new file took the name, even when a commit then failed.
    bool hasTakenName() const { return m_tookName; }
    int fd() const { return m_fd; }
    QString folder() const { return folderOf(m_path); }

private:
    void discard();

    QString m_path;
    QByteArray m_temporaryPath;
    int m_fd = -1;
    bool m_tookName = false;
};
