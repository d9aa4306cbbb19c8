#include "FileAssociations.h"

#include "RegistryKey.h"
#include "RegistryPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <array>

namespace {

const std::array<FileAssociations::FamilyRecord, 4> kFamilies = { {
    { FileAssociations::Family::Asp, { QStringLiteral(".asp") }, RegistryPaths::kAspClassKey,
        QStringLiteral("text/asp"), QStringLiteral("Active Server Pages"), true,
        { QStringLiteral("application/x-asp") }, QStringLiteral("tagsmith-asp.desktop") },
    { FileAssociations::Family::Php,
        { QStringLiteral(".php"), QStringLiteral(".php3"), QStringLiteral(".phtml") },
        RegistryPaths::kPhpClassKey, QStringLiteral("text/php"), QStringLiteral("Pre Hypertext Processor"),
        true,
        { QStringLiteral("application/x-php"), QStringLiteral("application/x-httpd-php"),
            QStringLiteral("text/x-php") },
        QStringLiteral("tagsmith-php.desktop") },
    { FileAssociations::Family::Ssi, { QStringLiteral(".ssi"), QStringLiteral(".shtml") },
        RegistryPaths::kSsiClassKey, QStringLiteral("text/ssi"), QStringLiteral("ServerSide Includes"), true,
        { QStringLiteral("text/x-server-parsed-html"), QStringLiteral("application/x-shtml") },
        QStringLiteral("tagsmith-ssi.desktop") },
    { FileAssociations::Family::Htm, { QStringLiteral(".htm"), QStringLiteral(".html") },
        RegistryPaths::kHtmClassKey, QStringLiteral("text/html"), QStringLiteral("HyperText Markup Language"),
        false, { QStringLiteral("text/html") }, QStringLiteral("tagsmith-html.desktop") },
} };

RegistryKey classesKey(const QString &path, const QString &valueName = QString())
{
    return RegistryKey::at(RegistryKey::HKEY_CLASSES_ROOT, path, valueName);
}

bool setClassesValue(const QString &path, const QString &text, const QString &valueName = QString())
{
    return classesKey(path, valueName).setValue(text);
}

} // namespace

FileAssociations::FileAssociations(QString programFolder, QString applicationsFolder, QString mimeAppsList)
    : m_programFolder(std::move(programFolder))
    , m_applicationsFolder(std::move(applicationsFolder))
    , m_mimeApps(mimeAppsList)
    , m_desktopDefaults(std::move(mimeAppsList))
{
}

std::span<const FileAssociations::FamilyRecord> FileAssociations::families()
{
    return kFamilies;
}

const FileAssociations::FamilyRecord &FileAssociations::record(Family family)
{
    return kFamilies[static_cast<std::size_t>(family)];
}

QString FileAssociations::defaultApplicationsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/applications");
}

QString FileAssociations::commandText() const
{
    return QLatin1Char('"') + m_programFolder + QStringLiteral("/tagsmith\" %1");
}

QString FileAssociations::iconText() const
{
    return m_programFolder + QStringLiteral("/tagsmith,0");
}

FileAssociations::Reading FileAssociations::read(Family family) const
{
    const FamilyRecord &r = record(family);
    Reading reading;
    reading.foundText = classesKey(r.extensions.first()).value();
    reading.foundContentType = classesKey(r.extensions.first(), RegistryPaths::kContentTypeValue).value();
    if (reading.foundContentType == r.contentType && reading.foundText == r.classKey)
        reading.foundText = classesKey(r.classKey + RegistryPaths::kEditVerbKey).value();
    reading.registered = reading.foundText == kVerbCaption;
    return reading;
}

bool FileAssociations::write(Family family, bool on) const
{
    const FamilyRecord &r = record(family);
    const bool registryWritten = writeRegistry(r, on);
    const bool desktopWritten = on ? addToDesktop(r) : removeFromDesktop(r);
    refreshMimeCache();
    return registryWritten && desktopWritten;
}

bool FileAssociations::writeRegistry(const FamilyRecord &r, bool on) const
{
    bool ok = true;
    if (read(r.family).registered) {
        if (r.writesIcon)
            ok = classesKey(r.classKey + RegistryPaths::kDefaultIconKey).deleteKey() && ok;
        ok = classesKey(r.classKey + RegistryPaths::kEditVerbKey).deleteKey() && ok;
    }
    if (!on)
        return ok;
    for (const QString &extension : r.extensions) {
        ok = setClassesValue(extension, r.classKey) && ok;
        ok = setClassesValue(extension, r.contentType, RegistryPaths::kContentTypeValue) && ok;
    }
    ok = setClassesValue(r.classKey, r.description) && ok;
    if (r.writesIcon)
        ok = setClassesValue(r.classKey + RegistryPaths::kDefaultIconKey, iconText()) && ok;
    ok = setClassesValue(r.classKey + RegistryPaths::kEditVerbKey, kVerbCaption) && ok;
    ok = setClassesValue(r.classKey + RegistryPaths::kEditVerbKey + RegistryPaths::kCommandKey, commandText())
        && ok;
    return ok;
}

QString FileAssociations::desktopEntryPath(Family family) const
{
    return m_applicationsFolder + QLatin1Char('/') + record(family).entryName;
}

QString FileAssociations::quotedExecArgument(const QString &argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    // A literal percent sign is written twice, or it would read as a field code.
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    // Exec is a string value, unescaped before it is unquoted: every backslash is doubled
    // again, so a literal one takes four.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString FileAssociations::desktopEntry(Family family) const
{
    const FamilyRecord &r = record(family);
    const QString exec
        = quotedExecArgument(m_programFolder + QStringLiteral("/tagsmith")) + QStringLiteral(" %F");
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Tagsmith LITE (%1)\n"
                          "GenericName=META Tag Editor\n"
                          "Comment=Edit the META tags of web pages\n"
                          "Exec=%2\n"
                          "Icon=tagsmith\n"
                          "Terminal=false\n"
                          "NoDisplay=true\n"
                          "Actions=edit-with-tagsmith;\n"
                          "\n"
                          "[Desktop Action edit-with-tagsmith]\n"
                          "Name=Edit with Tagsmith\n"
                          "Exec=%2\n")
        .arg(r.description, exec);
}

// Listed only while the entry is there: after it on the way on, before it on the way off.
bool FileAssociations::addToDesktop(const FamilyRecord &r) const
{
    if (!removeDesktopEntry(r))
        return false;
    const QStringList types = typesToList(r);
    return writeDesktopEntry(r) && m_mimeApps.list(r.entryName, types);
}

bool FileAssociations::removeFromDesktop(const FamilyRecord &r) const
{
    return m_mimeApps.remove(r.entryName, recordedPins(r)) && removeDesktopEntry(r) && forgetPins(r);
}

bool FileAssociations::writeDesktopEntry(const FamilyRecord &r) const
{
    if (!QDir().mkpath(m_applicationsFolder))
        return false;
    QSaveFile file(desktopEntryPath(r.family));
    return file.open(QIODevice::WriteOnly) && file.write(desktopEntry(r.family).toUtf8()) >= 0
        && file.commit();
}

bool FileAssociations::removeDesktopEntry(const FamilyRecord &r) const
{
    const QString path = desktopEntryPath(r.family);
    return !QFile::exists(path) || QFile::remove(path);
}

// GIO takes for a type's default the first installed application it meets: those named by
// [Default Applications] lines, then those listed under [Added Associations] (the user's list
// first), then those whose entries claim the type, and then the same for the parent types.
// Listed behind the default it meets, the program joins the choices and every answer stays.
// Where it would be met first (the default only claims the type, or opens a parent type, or
// nothing opens the type) it would become GIO's answer, so it is not listed there. Pinning the
// old default under [Default Applications] instead would keep GIO's answer but give xdg-mime,
// which reads those lines and no listing, an answer it did not have.
QStringList FileAssociations::typesToList(const FamilyRecord &r) const
{
    QStringList types;
    for (const QString &type : r.mimeTypes) {
        // Asked while our entry is not installed, the desktop names what opens the type without us.
        const QString current = m_desktopDefaults.current(type);
        if (!current.isEmpty() && m_desktopDefaults.comesBeforeUserListing(type, current))
            types.append(type);
    }
    return types;
}

// What earlier versions pinned as default and recorded, for off to take out again.
MimeAppsList::Pins FileAssociations::recordedPins(const FamilyRecord &r) const
{
    const QString path = r.classKey + RegistryPaths::kPinsKey;
    MimeAppsList::Pins pins;
    for (const QString &type : classesKey(path).valueNames())
        pins.insert(type, classesKey(path, type).value());
    return pins;
}

bool FileAssociations::forgetPins(const FamilyRecord &r) const
{
    RegistryKey pins = classesKey(r.classKey + RegistryPaths::kPinsKey);
    return !pins.keyExists() || pins.deleteKey();
}

// Earlier versions claimed the types in the entries themselves and built a MIME cache here,
// which made the program the default. A cache that is there is rebuilt so that it forgets
// them; none is made, for our entries claim nothing.
void FileAssociations::refreshMimeCache() const
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (!tool.isEmpty() && QFile::exists(m_applicationsFolder + QStringLiteral("/mimeinfo.cache")))
        QProcess::execute(tool, { m_applicationsFolder });
}
