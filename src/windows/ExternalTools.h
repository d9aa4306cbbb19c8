#pragma once

#include <QCoreApplication>
#include <QString>
#include <QUrl>

#include <memory>

class DocumentCommands;
class ProgramLauncher;
class QMdiArea;
class SettingsCatalogue;
class StatusPanels;

// The commands that leave the program: a document's full source in a text editor, the help
// and the maker's web pages.
class ExternalTools
{
    Q_DECLARE_TR_FUNCTIONS(ExternalTools)

public:
    // The web pages the Help menu links to.
    enum class Link { TagsmithHome, Forum, RobotsMetaTag, Vantorel };

    ExternalTools(const QMdiArea &mdiArea, DocumentCommands &commands, const SettingsCatalogue &settings,
        StatusPanels &status);
    ~ExternalTools();

    // Saves the active document as Save does and, once it is saved, shows the saved file in the sibling
    // editor named by the "Scrivan" Location, or else in the user's text editor.
    void fullCode();
    // The "Help" file in the desktop's viewer; without one, the user guide.
    void helpIndex();
    void openLink(Link link);

    // Beside a program run from its build tree: the path of the user guide in the sources it
    // was built from.
    static inline const QString kSourceGuideNote = QStringLiteral("tagsmith-guide.path");

    static QUrl linkAddress(Link link);
    // The user guide installed with the program in the folder, or for a program in its build
    // tree the guide of its sources; "" when there is none.
    static QString userGuide(const QString &programFolder);

    ProgramLauncher &launcher() const { return *m_launcher; }
    void setLauncher(std::unique_ptr<ProgramLauncher> launcher);
    // Where the program is, installed or built; the user guide is looked for from here.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

private:
    void startEditor(const QString &path);
    bool startViewer(const QString &file);
    void reportNotStarted(const QString &program);

    const QMdiArea &m_mdiArea;
    DocumentCommands &m_commands;
    const SettingsCatalogue &m_settings;
    StatusPanels &m_status;
    std::unique_ptr<ProgramLauncher> m_launcher;
    QString m_programFolder;
};
