#pragma once

#include <QString>
#include <QStringList>

#include <span>

class RegistryKey;

// The "Edit with Tagsmith" registration of the four families of web pages: the class keys
// and shell verb kept in the registry store, and a desktop entry that file managers read,
// so that they really offer the action.
class FileAssociations
{
public:
    enum class Family { Asp, Php, Ssi, Htm };

    struct FamilyRecord
    {
        Family family;
        QStringList extensions; // the first one is read back
        QString classKey;
        QString contentType;
        QString description;
        bool writesIcon;
        QStringList mimeTypes; // what the desktop entry claims
        QString entryName; // desktop entry file name
    };

    struct Reading
    {
        QString foundText;
        QString foundContentType;
        bool registered = false;
    };

    static inline const QString kVerbCaption = QStringLiteral("&Edit with Tagsmith");

    // programFolder: the folder of the running program; registry: the store to use;
    // applicationsFolder: where desktop entries go ($XDG_DATA_HOME/applications).
    FileAssociations(QString programFolder, QString applicationsFolder);

    static std::span<const FamilyRecord> families();
    static const FamilyRecord &record(Family family);

    Reading read(Family family) const;
    // "on" writes the registration (anew when present), "off" removes the verb and icon.
    // False when a store or the desktop entry could not be written.
    bool write(Family family, bool on) const;

    QString desktopEntryPath(Family family) const;
    QString desktopEntry(Family family) const;
    QString commandText() const;
    QString iconText() const;

    static QString defaultApplicationsFolder();
    // Quotes one argument of a desktop entry's Exec line.
    static QString quotedExecArgument(const QString &argument);

private:
    bool writeRegistry(const FamilyRecord &family, bool on) const;
    bool writeDesktopEntry(const FamilyRecord &family, bool on) const;
    void refreshMimeCache() const;

    QString m_programFolder;
    QString m_applicationsFolder;
};
