#pragma once

#include <QObject>
#include <QString>

class DocumentCommands;
class EditCommands;
class ExternalTools;
class ProgramServices;
class QMdiArea;
class QWidget;

// Carries a chosen menu item or toolbar button to its command. A menu key names its group
// by its beginning and its command by the digit inside the parentheses; a toolbar button
// stands for the menu command it repeats.
class CommandDispatcher : public QObject
{
    Q_OBJECT

public:
    // Dialogs open over owner; the commands about the main window itself go out as signals.
    CommandDispatcher(QWidget &owner, ProgramServices &services, DocumentCommands &documents,
        EditCommands &edits, ExternalTools &tools, QMdiArea &mdiArea);

    // Keys and buttons without a command do nothing.
    void menuClick(const QString &key);
    void buttonClick(int index);

    // The menu key whose command a toolbar button runs; "" for separators and beyond.
    static QString menuKeyForButton(int index);

Q_SIGNALS:
    void exitChosen();
    void copyMetaElementTagsChosen();
    void metaPaneToggleChosen();
    void toolbarToggleChosen();

private:
    void fileCommand(int number);
    void editCommand(int number);
    void insertCommand(int number);
    void viewCommand(int number);
    void toolCommand(int number);
    void windowCommand(int number);
    void helpCommand(int number);

    QWidget &m_owner;
    ProgramServices &m_services;
    DocumentCommands &m_documents;
    EditCommands &m_edits;
    ExternalTools &m_tools;
    QMdiArea &m_mdiArea;
};
