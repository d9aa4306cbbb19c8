#pragma once

#include <QString>
#include <QUrl>

#include <memory>

class ProgramLauncher;
class MainWindow;

// The commands that leave the program: a document's full source in a text editor, the help
// and the maker's web pages.
class ExternalTools
{
public:
    // mnuHelp(1) to mnuHelp(4).
    static constexpr int kFirstLink = 1;
    static constexpr int kLastLink = 4;

    explicit ExternalTools(MainWindow &main);
    ~ExternalTools();

    // Saves the active document as Save does, then shows the saved file in the sibling
    // editor named by the "Scrivan" Location, or else in the user's text editor.
    void FullCode();
    // The "Help" file in the desktop's viewer; without one, the user guide.
    void HelpIndex();
    void OpenLink(int number);

    static QUrl linkAddress(int number);
    // The installed user guide below the program's folder, or "" when there is none.
    static QString userGuide(const QString &programFolder);

    ProgramLauncher &launcher() const { return *m_launcher; }
    void setLauncher(std::unique_ptr<ProgramLauncher> launcher);
    // Where the program is installed; the user guide is looked for from here.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

private:
    void startEditor(const QString &path);
    bool startViewer(const QString &file);
    void reportNotStarted(const QString &program);

    MainWindow &m_main;
    std::unique_ptr<ProgramLauncher> m_launcher;
    QString m_programFolder;
};
