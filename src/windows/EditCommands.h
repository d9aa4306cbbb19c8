#pragma once

#include <QString>

class LineEditActions;
class MainWindow;

// The Edit and Insert menus: the clipboard and undo operations on the text field that last
// had the focus, and the standard author.
class EditCommands
{
public:
    enum class Operation { Undo, Cut, Copy, Paste };

    explicit EditCommands(MainWindow &main);

    // Acts on the active document's field named by ActiveField; nothing without one.
    void run(Operation operation);
    // Replaces the active document's author by the "Author" setting.
    void InsertStandardAuthor();

private:
    LineEditActions *activeFieldEdit() const;

    MainWindow &m_main;
};
