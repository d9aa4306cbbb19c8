#pragma once

#include <QString>

class DocumentState;
class LineEditActions;
class QMdiArea;
class SettingsCatalogue;

// The Edit and Insert menus: the clipboard and undo operations on the text field that last
// had the focus, and the standard author.
class EditCommands
{
public:
    enum class Operation { Undo, Cut, Copy, Paste };

    EditCommands(const QMdiArea &mdiArea, const DocumentState &state, const SettingsCatalogue &settings);

    // Acts on the active document's field named by activeField; nothing without one.
    void run(Operation operation);
    // Replaces the active document's author by the "Author" setting.
    void insertStandardAuthor();

private:
    LineEditActions *activeFieldEdit() const;

    const QMdiArea &m_mdiArea;
    const DocumentState &m_state;
    const SettingsCatalogue &m_settings;
};
