#pragma once

#include "CommandId.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

class DocumentCommands;
class EditCommands;
class ExternalTools;
class MainWindow;
class ProgramServices;
class QAction;
class QDialog;

// The program's commands as actions, one table row each: its menu key, caption, shortcut,
// image and handler. The menu object's clicks, the toolbar's buttons and the keys all trigger
// the same action, and a disabled action ignores all three.
class ProgramCommands : public QObject
{
    Q_OBJECT

public:
    struct Row
    {
        CommandId id;
        const char *key; // the menu key the program's menu objects keep
        int text; // resource id; 0: the literal
        const char *literal;
        bool ellipsis;
        const char *shortcut; // nullptr: none
        int image; // -1: none
        void (*handler)(ProgramCommands &commands);
    };

    ProgramCommands(MainWindow &window, ProgramServices &services, DocumentCommands &documents,
        EditCommands &edits, ExternalTools &tools);

    static const Row &row(CommandId id);
    static QString menuKey(CommandId id);
    // The text, "..." where the command asks before it acts, and the shortcut after a tab.
    static QString menuCaption(CommandId id);
    static std::optional<CommandId> forMenuKey(const QString &key);

    QAction *action(CommandId id) const { return m_actions[static_cast<std::size_t>(id)]; }
    void trigger(CommandId id) const;
    // A key without a command does nothing.
    void triggerMenuKey(const QString &key) const;
    void setEnabled(CommandId id, bool enabled);

private:
    static const Row kRows[kCommandCount];

    void openRecentFile(int entry);
    void openDialog(QDialog *dialog);

    MainWindow &m_window;
    ProgramServices &m_services;
    DocumentCommands &m_documents;
    EditCommands &m_edits;
    ExternalTools &m_tools;
    std::array<QAction *, kCommandCount> m_actions {};
};
