#pragma once

#include "DesktopDefaults.h"
#include "MimeAppsList.h"

#include <QString>
#include <QStringList>

#include <span>

class RegistryKey;

// The "Edit with Tagsmith" registration of the four families of web pages: the class keys
// and shell verb kept in the registry store, and for the desktop an entry with the action
// that file managers offer, listed in mimeapps.list for those of the family's types whose
// default the listing leaves as it is. The entry claims no type itself, so whatever opened
// these pages before still does. Off also takes out the defaults an earlier version pinned,
// each unless it was changed meanwhile.
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
        QStringList mimeTypes; // what the program is listed for
        QString entryName; // desktop entry file name
    };

    struct Reading
    {
        QString foundText;
        QString foundContentType;
        bool registered = false;
    };

    static inline const QString kVerbCaption = QStringLiteral("&Edit with Tagsmith");

    // programFolder: the folder of the running program; applicationsFolder: where desktop
    // entries go ($XDG_DATA_HOME/applications); mimeAppsList: the user's list of who opens what.
    FileAssociations(QString programFolder, QString applicationsFolder,
        QString mimeAppsList = MimeAppsList::defaultPath());

    static std::span<const FamilyRecord> families();
    static const FamilyRecord &record(Family family);

    Reading read(Family family) const;
    // "on" writes the registration (anew when present), "off" removes the verb and icon, the
    // entry, our place in mimeapps.list and the pins recorded. False when any of them could
    // not be written.
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
    bool addToDesktop(const FamilyRecord &family) const;
    bool removeFromDesktop(const FamilyRecord &family) const;
    bool writeDesktopEntry(const FamilyRecord &family) const;
    bool removeDesktopEntry(const FamilyRecord &family) const;
    QStringList typesToList(const FamilyRecord &family) const;
    MimeAppsList::Pins recordedPins(const FamilyRecord &family) const;
    bool forgetPins(const FamilyRecord &family) const;
    void refreshMimeCache() const;

    QString m_programFolder;
    QString m_applicationsFolder;
    MimeAppsList m_mimeApps;
    DesktopDefaults m_desktopDefaults;
};
