#include "EditCommands.h"

#include "Document.h"
#include "DocumentWindow.h"
#include "LineEditActions.h"
#include "SettingsCatalogue.h"

EditCommands::EditCommands(const QMdiArea &mdiArea, const SettingsCatalogue &settings)
    : m_mdiArea(mdiArea)
    , m_settings(settings)
{
}

LineEditActions *EditCommands::activeFieldEdit() const
{
    const DocumentWindow *window = DocumentWindow::activeIn(m_mdiArea);
    if (!window || !window->activeField())
        return nullptr;
    return &window->editActions(*window->activeField());
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
    if (DocumentWindow *window = DocumentWindow::activeIn(m_mdiArea))
        window->document().setText(TextField::Author, m_settings.text(Setting::Author));
}
