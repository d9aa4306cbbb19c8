#pragma once

#include <QMainWindow>
#include <QStringList>

#include <memory>

class DocumentCommands;
class EditCommands;
class ExternalTools;
class RecentFilesMenu;
class LineNumberGutter;
class MetaPane;
class PopupMenu;
class ProgramCommands;
class ProgramServices;
class ProgressBar;
class SiteCommands;
class QLabel;
class QMdiArea;
class TextBox;
class UserPrompts;
class Rebar;
class StatusPanels;
class Toolbar;
class ToolbarHost;
class DocumentWindow;
class StatusBar;

// The multiple-document main window: the menu bar, the button toolbar in its rebar, the
// document windows, the META pane and the status bar. It keeps the layout and its own
// life; the commands live in ProgramCommands and DocumentCommands.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(ProgramServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Comes forward and opens each path of a command line, already absolute, in a window of
    // its own. With none, and no document open, the document commands are switched off.
    void openCommandLine(const QStringList &paths);
    // Opens the pages under folder in a site window.
    void openSite(const QString &folder);
    // Entry 1 to 3 of File > recent sites; a folder gone since is said and dropped.
    void openRecentSite(int entry);
    void restoreAndActivate();

    // The menu and toolbar commands this window carries out itself.
    void toggleMetaPane();
    void toggleToolbar();
    void copyMetaElementTags();

    PopupMenu &menu() const { return *m_menu; }
    // The button toolbar and its rebar are built when they first show or are asked for:
    // hidden, as on a first run, they cost the start nothing.
    Toolbar &toolbar();
    // The menu bar: a toolbar with one button per top-level menu.
    Toolbar &menuBarToolbar() const { return *m_menuBar; }
    StatusBar &status() const { return *m_statusBar; }
    TextBox &metaText();
    LineNumberGutter &gutter();
    MetaPane &metaPane() const { return *m_metaPane; }
    QWidget &toolbarStrip() const { return *m_toolbarStrip; }
    QMdiArea &mdiArea() const { return *m_mdiArea; }
    Rebar &rebar();
    DocumentCommands &commands() const { return *m_commands; }
    SiteCommands &siteCommands() const { return *m_siteCommands; }
    ProgramCommands &programCommands() const { return *m_programCommands; }
    ExternalTools &tools() const { return *m_tools; }
    UserPrompts &prompts() const { return *m_prompts; }

    DocumentWindow *activeDocument() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenuBar();
    void rememberSite(const QString &folder);
    void ensureRebar();
    void buildRebar();
    void buildStatusBar();
    void buildCommands();
    void restorePlacement();
    void savePlacement();
    void applyToolbarSetting(bool on);
    void applyMetaSetting(bool on);
    void layoutMenuBar();
    void ensureCaptionSink();
    void onMenuItemClicked(int index);
    void onToolbarButtonClicked(int index);
    void setDocumentCommandsEnabled(bool enabled);
    // The hourglass and the progress band while a file operation runs.
    void setBusy(bool busy);
    void showProgressBand(bool shown);
    // A site being read: the progress band follows the pages read of those found.
    void showSiteProgress(qint64 found, qint64 read);
    void endSiteProgress();

    ProgramServices &m_services;
    std::unique_ptr<UserPrompts> m_prompts;
    std::unique_ptr<StatusPanels> m_statusPanels;
    std::unique_ptr<DocumentCommands> m_commands;
    std::unique_ptr<SiteCommands> m_siteCommands;
    std::unique_ptr<EditCommands> m_editCommands;
    std::unique_ptr<ExternalTools> m_tools;
    ProgramCommands *m_programCommands = nullptr;
    std::unique_ptr<RecentFilesMenu> m_recentMenu;
    std::unique_ptr<RecentFilesMenu> m_recentSitesMenu;

    QWidget *m_menuBarStrip;
    ToolbarHost *m_toolbarHost;
    std::unique_ptr<PopupMenu> m_menu;
    Toolbar *m_menuBar;
    QWidget *m_toolbarStrip;
    std::unique_ptr<Rebar> m_rebar;
    Toolbar *m_toolbar = nullptr;
    ProgressBar *m_progressBar = nullptr;
    QLabel *m_logo = nullptr;
    QMdiArea *m_mdiArea;
    MetaPane *m_metaPane;
    StatusBar *m_statusBar;
    // What the toolbar shows once it is built.
    bool m_documentCommandsEnabled = true;
    bool m_busy = false;
    bool m_siteLoading = false;
};
