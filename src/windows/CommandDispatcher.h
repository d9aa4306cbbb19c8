#pragma once

#include <QString>

class MainWindow;

// Carries a chosen menu item or toolbar button to its command. A menu key names its group
// by its beginning and its command by the digit inside the parentheses; a toolbar button
// stands for the menu command it repeats.
class CommandDispatcher
{
public:
    explicit CommandDispatcher(MainWindow &main);

    // Keys and buttons without a command do nothing.
    void menuClick(const QString &key);
    void buttonClick(int index);

    // The menu key whose command a toolbar button runs; "" for separators and beyond.
    static QString menuKeyForButton(int index);

private:
    void fileCommand(int number);
    void editCommand(int number);
    void insertCommand(int number);
    void viewCommand(int number);
    void toolCommand(int number);
    void windowCommand(int number);
    void helpCommand(int number);

    MainWindow &m_main;
};
