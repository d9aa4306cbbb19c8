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
class IconList;
class LineNumberGutter;
class PopupMenu;
class ProgressBar;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class RecentFileList;
class SettingsCatalogue;
class SettingsStore;
class TextBox;
class UserPrompts;
class Rebar;
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
    // Status icons, as numbered in the icon list.
    enum StatusIcon { IconOpening = 2, IconSaved = 3, IconEdited = 8, IconIdle = 9 };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Comes forward and opens each path of a command line, already absolute, in a window of
    // its own. With none, and no document open, the document commands are switched off.
    void OpenCommandLine(const QStringList &paths);
    void restoreAndActivate();

    void refreshTagBlockPane();
    bool saveActiveDocument();
    void saveActiveDocumentAs();
    void DisableDocumentCommands();
    void EnableDocumentCommands();

    // The menu and toolbar commands this window carries out itself.
    void ToggleMetaPane();
    void ToggleToolbar();
    void CopyMetaElementTags();

    PopupMenu &menu() const { return *m_cMenu; }
    Toolbar &toolbar() const { return *m_cToolbar; }
    // The menu bar: a toolbar with one button per top-level menu.
    Toolbar &menuBarToolbar() const { return *m_tbrMenu; }
    StatusBar &status() const { return *m_zebStatus; }
    TextBox &metaText() const { return *m_txtMetaElements; }
    LineNumberGutter &gutter() const { return *m_picLines; }
    QWidget &metaPane() const { return *m_picMetaElements; }
    QWidget &toolbarStrip() const { return *m_picBar2; }
    QMdiArea &mdiArea() const { return *m_mdi; }
    ProgressBar &progressBar() const { return *m_progressBar; }
    Rebar &rebar() const { return *m_rebar; }
    DocumentState &documentState() { return m_state; }
    DocumentCommands &commands() const { return *m_commands; }
    EditCommands &editCommands() const { return *m_editCommands; }
    ExternalTools &tools() const { return *m_tools; }
    RecentFilesMenu &recentFilesMenu() const { return *m_recentMenu; }
    UserPrompts &prompts() const { return *m_prompts; }
    SettingsCatalogue &settings() const { return *m_settings; }
    RecentFileList &recentFiles() const { return *m_recent; }
    IconList &icons() const { return *m_icons; }

    DocumentWindow *activeDocument() const;

    void showFileStatus(const QString &text, int icon);
    void setFileStatusIcon(int icon);
    void showMessage(const QString &text);
    QString message() const;
    // The hourglass and the progress band while a file operation runs.
    void setBusy(bool busy);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadIcons();
    void buildMenuBar();
    void buildRebar();
    void buildMetaPane();
    void buildStatusBar();
    void restorePlacement();
    void savePlacement();
    void applyToolbarSetting(bool on);
    void applyMetaSetting(bool on);
    void layoutMenuBar();
    void m_cMenu_Click(int index);
    void cToolbar_ButtonClick(int index);
    void setDocumentCommandsEnabled(bool enabled);
    void loadRecentFiles();
    void saveRecentFiles() const;

    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<SettingsCatalogue> m_settings;
    std::unique_ptr<RecentFileList> m_recent;
    std::unique_ptr<IconList> m_icons;
    std::unique_ptr<UserPrompts> m_prompts;
    DocumentState m_state;
    std::unique_ptr<DocumentCommands> m_commands;
    std::unique_ptr<EditCommands> m_editCommands;
    std::unique_ptr<ExternalTools> m_tools;
    std::unique_ptr<CommandDispatcher> m_dispatcher;
    std::unique_ptr<RecentFilesMenu> m_recentMenu;

    QWidget *m_picBar;
    ToolbarHost *m_cToolbarHost;
    std::unique_ptr<PopupMenu> m_cMenu;
    Toolbar *m_tbrMenu;
    QWidget *m_picBar2;
    std::unique_ptr<Rebar> m_rebar;
    Toolbar *m_cToolbar;
    ProgressBar *m_progressBar;
    QLabel *m_piclogo;
    QMdiArea *m_mdi;
    QWidget *m_picMetaElements;
    TextBox *m_txtMetaElements;
    LineNumberGutter *m_picLines;
    StatusBar *m_zebStatus;
    // The line end of the document the pane was last built for; the pane itself shows lines.
    QString m_metaLineEnd = QStringLiteral("\r\n");
};
