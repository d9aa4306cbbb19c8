#pragma once

#include "DocumentState.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class CommandDispatcher;
class DocumentCommands;
class EditCommands;
class ExternalTools;
class RecentFilesMenu;
class LineNumberGutter;
class PopupMenu;
class ProgramServices;
class ProgressBar;
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
// life; the document commands live in DocumentCommands.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(ProgramServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Comes forward and opens each path of a command line, already absolute, in a window of
    // its own. With none, and no document open, the document commands are switched off.
    void openCommandLine(const QStringList &paths);
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
    // The META pane's text box is built when the pane first shows or is asked for.
    TextBox &metaText();
    LineNumberGutter &gutter();
    QWidget &metaPane() const { return *m_metaPane; }
    QWidget &toolbarStrip() const { return *m_toolbarStrip; }
    QMdiArea &mdiArea() const { return *m_mdiArea; }
    Rebar &rebar();
    DocumentState &documentState() { return m_state; }
    DocumentCommands &commands() const { return *m_commands; }
    ExternalTools &tools() const { return *m_tools; }
    UserPrompts &prompts() const { return *m_prompts; }

    DocumentWindow *activeDocument() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenuBar();
    void ensureRebar();
    void buildRebar();
    void ensureMetaText();
    int metaPaneHeight() const;
    void buildStatusBar();
    void buildCommands();
    void restorePlacement();
    void savePlacement();
    void applyToolbarSetting(bool on);
    void applyMetaSetting(bool on);
    void useFixedFontInMetaPane();
    void layoutMenuBar();
    void ensureCaptionSink();
    void refreshTagBlockPane();
    void clearTagBlockPane();
    void onMenuItemClicked(int index);
    void onToolbarButtonClicked(int index);
    void setDocumentCommandsEnabled(bool enabled);
    // The hourglass and the progress band while a file operation runs.
    void setBusy(bool busy);

    ProgramServices &m_services;
    std::unique_ptr<UserPrompts> m_prompts;
    DocumentState m_state;
    std::unique_ptr<StatusPanels> m_statusPanels;
    std::unique_ptr<DocumentCommands> m_commands;
    std::unique_ptr<EditCommands> m_editCommands;
    std::unique_ptr<ExternalTools> m_tools;
    std::unique_ptr<CommandDispatcher> m_dispatcher;
    std::unique_ptr<RecentFilesMenu> m_recentMenu;

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
    QWidget *m_metaPane;
    TextBox *m_metaText = nullptr;
    LineNumberGutter *m_gutter = nullptr;
    StatusBar *m_statusBar;
    // The line end of the document the pane was last built for; the pane itself shows lines.
    QString m_metaLineEnd = QStringLiteral("\r\n");
    // What the pane shows, kept while its text box is not built.
    QString m_tagBlock;
    // What the toolbar shows once it is built.
    bool m_documentCommandsEnabled = true;
    bool m_busy = false;
};
