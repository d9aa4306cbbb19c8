#pragma once

class LineEditActions;
class QMdiArea;
class SettingsCatalogue;

// The Edit and Insert menus: the clipboard and undo operations on the text field that last
// had the focus in the active document, and the standard author.
class EditCommands
{
public:
    enum class Operation { Undo, Cut, Copy, Paste };

    EditCommands(const QMdiArea &mdiArea, const SettingsCatalogue &settings);

    // Nothing without an active document or a field that had the focus.
    void run(Operation operation);
    // Replaces the active document's author by the "Author" setting.
    void insertStandardAuthor();

private:
    LineEditActions *activeFieldEdit() const;

    const QMdiArea &m_mdiArea;
    const SettingsCatalogue &m_settings;
};
