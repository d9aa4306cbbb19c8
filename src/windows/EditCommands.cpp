#include "EditCommands.h"

#include "DocumentState.h"
#include "DocumentWindow.h"
#include "LineEditActions.h"
#include "SettingsCatalogue.h"

EditCommands::EditCommands(
    const QMdiArea &mdiArea, const DocumentState &state, const SettingsCatalogue &settings)
    : m_mdiArea(mdiArea)
    , m_state(state)
    , m_settings(settings)
{
}

LineEditActions *EditCommands::activeFieldEdit() const
{
    DocumentWindow *document = DocumentWindow::activeIn(m_mdiArea);
    if (!document)
        return nullptr;
    const QString &name = m_state.activeField;
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
        edit->undo();
        break;
    case Operation::Cut:
        edit->cut();
        break;
    case Operation::Copy:
        edit->copy();
        break;
    case Operation::Paste:
        edit->paste();
        break;
    }
}

void EditCommands::insertStandardAuthor()
{
    if (DocumentWindow *document = DocumentWindow::activeIn(m_mdiArea))
        document->setText(TextField::Author, m_settings.text(Setting::Author));
}
