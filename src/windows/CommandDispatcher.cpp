#include "CommandDispatcher.h"

#include "AboutDialog.h"
#include "DocumentCommands.h"
#include "EditCommands.h"
#include "ExternalTools.h"
#include "ProgramServices.h"
#include "RecentFilesMenu.h"
#include "SettingsDialog.h"
#include "WindowArranger.h"

#include <QCoreApplication>

#include <iterator>

namespace {

struct Group
{
    const char *prefix;
    // Counted from 1: the digit inside "mnuFile(3)" or "mnuInsert(0)".
    int digitPosition;
    void (CommandDispatcher::*handler)(int);
};

// Toolbar buttons by index, as the menu commands they repeat; separators have none.
constexpr const char *kButtonCommands[] = {
    "mnuFile(0)",
    "mnuFile(1)",
    "mnuFile(3)",
    nullptr,
    "mnuEdit(1)",
    "mnuEdit(2)",
    "mnuEdit(3)",
    "mnuEdit(4)",
    "mnuEdit(0)",
    nullptr,
    "mnuInsert(0)",
    "mnuView(0)",
    nullptr,
    "mnuTool(0)",
    nullptr,
    "mnuHelp(1)",
    "mnuHelp(0)",
};

} // namespace

CommandDispatcher::CommandDispatcher(QWidget &owner, ProgramServices &services, DocumentCommands &documents,
    EditCommands &edits, ExternalTools &tools, QMdiArea &mdiArea)
    : m_owner(owner)
    , m_services(services)
    , m_documents(documents)
    , m_edits(edits)
    , m_tools(tools)
    , m_mdiArea(mdiArea)
{
}

QString CommandDispatcher::menuKeyForButton(int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(kButtonCommands)) || !kButtonCommands[index])
        return {};
    return QString::fromLatin1(kButtonCommands[index]);
}

void CommandDispatcher::buttonClick(int index)
{
    const QString key = menuKeyForButton(index);
    if (!key.isEmpty())
        menuClick(key);
}

void CommandDispatcher::menuClick(const QString &key)
{
    static constexpr Group kGroups[] = {
        { "mnuFile", 9, &CommandDispatcher::fileCommand },
        { "mnuEdit", 9, &CommandDispatcher::editCommand },
        { "mnuInsert", 11, &CommandDispatcher::insertCommand },
        { "mnuView", 9, &CommandDispatcher::viewCommand },
        { "mnuTool", 9, &CommandDispatcher::toolCommand },
        { "mnuWindow", 11, &CommandDispatcher::windowCommand },
        { "mnuHelp", 9, &CommandDispatcher::helpCommand },
    };
    for (const Group &group : kGroups) {
        if (!key.startsWith(QLatin1String(group.prefix)))
            continue;
        // Headings and separators ("mnuFileTOP", "mnuFileMRU") have no digit there.
        if (key.size() >= group.digitPosition && key.at(group.digitPosition - 1).isDigit())
            (this->*group.handler)(key.at(group.digitPosition - 1).digitValue());
        return;
    }
}

void CommandDispatcher::fileCommand(int number)
{
    switch (number) {
    case 0:
        m_documents.newDocument();
        return;
    case 1:
        m_documents.openWithDialog();
        return;
    case 2:
        m_documents.close();
        return;
    case 3:
        m_documents.save();
        return;
    case 4:
        // Properties (BETA) has never done anything.
        return;
    case 5:
        emit exitChosen();
        return;
    case 9:
        m_documents.saveAs();
        return;
    default:
        break;
    }
    const int entry = RecentFilesMenu::entryForItemNumber(number);
    if (entry > 0 && m_services.recentFiles().inUse(entry))
        m_documents.openRecent(m_services.recentFiles().path(entry));
}

void CommandDispatcher::editCommand(int number)
{
    using Operation = EditCommands::Operation;
    constexpr Operation kOperations[]
        = { Operation::Undo, Operation::Cut, Operation::Copy, Operation::Paste };
    if (number < static_cast<int>(std::size(kOperations)))
        m_edits.run(kOperations[number]);
    else if (number == 4)
        emit copyMetaElementTagsChosen();
}

void CommandDispatcher::insertCommand(int number)
{
    if (number == 0)
        m_edits.insertStandardAuthor();
}

void CommandDispatcher::viewCommand(int number)
{
    if (number == 0)
        emit metaPaneToggleChosen();
    else if (number == 1)
        m_tools.fullCode();
    else if (number == 2)
        emit toolbarToggleChosen();
}

namespace {

// Dialogs open window-modal without a nested event loop, so commands return at once.
void openDialog(QDialog *dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

} // namespace

void CommandDispatcher::toolCommand(int number)
{
    if (number != 0)
        return;
    const FileAssociations associations(
        QCoreApplication::applicationDirPath(), FileAssociations::defaultApplicationsFolder());
    openDialog(new SettingsDialog(m_services, associations, &m_owner));
}

void CommandDispatcher::windowCommand(int number)
{
    using Mode = WindowArranger::Mode;
    constexpr Mode kModes[]
        = { Mode::Cascade, Mode::TileHorizontally, Mode::TileVertically, Mode::ArrangeIcons };
    if (number < static_cast<int>(std::size(kModes)))
        WindowArranger::arrange(m_mdiArea, kModes[number]);
}

void CommandDispatcher::helpCommand(int number)
{
    if (number == 0)
        m_tools.helpIndex();
    else if (number >= ExternalTools::kFirstLink && number <= ExternalTools::kLastLink)
        m_tools.openLink(number);
    else if (number == 5)
        openDialog(new AboutDialog(m_services.settings(), &m_owner));
}
