#include "EditCommands.h"

#include "frmDocument.h"
#include "SettingsCatalogue.h"
#include "cTextBoxEdit.h"
#include "frmMain.h"

EditCommands::EditCommands(frmMain &main)
    : m_main(main)
{
}

cTextBoxEdit *EditCommands::activeFieldEdit() const
{
    frmDocument *document = m_main.activeDocument();
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
    cTextBoxEdit *edit = activeFieldEdit();
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
    if (frmDocument *document = m_main.activeDocument())
        document->setText(TextField::Author, m_main.settings().text(Setting::Author));
}
