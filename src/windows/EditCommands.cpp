#include "EditCommands.h"

#include "DocumentWindow.h"
#include "SettingsCatalogue.h"
#include "LineEditActions.h"
#include "MainWindow.h"

EditCommands::EditCommands(MainWindow &main)
    : m_main(main)
{
}

LineEditActions *EditCommands::activeFieldEdit() const
{
    DocumentWindow *document = m_main.activeDocument();
    if (!document)
        return nullptr;
    const QString &name = m_main.documentState().ActiveField;
    if (name == QStringLiteral("Author"))
        return &document->editAuthor();
    if (name == QStringLiteral("Description"))
        return &document->editDescription();
    if (name == QStringLiteral("Keywords"))
        return &document->editKeywords();
    return nullptr;
}

void EditCommands::run(Operation operation)
{
    LineEditActions *edit = activeFieldEdit();
    if (!edit)
        return;
    switch (operation) {
    case Operation::Undo:
        edit->Undo();
        break;
    case Operation::Cut:
        edit->Cut();
        break;
    case Operation::Copy:
        edit->Copy();
        break;
    case Operation::Paste:
        edit->Paste();
        break;
    }
}

void EditCommands::InsertStandardAuthor()
{
    if (DocumentWindow *document = m_main.activeDocument())
        document->setText(TextField::Author, m_main.settings().text(Setting::Author));
}
