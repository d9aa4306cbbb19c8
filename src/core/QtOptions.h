#pragma once

#include <QStringList>

// Qt's own command-line options (-style fusion, -display :0, --reverse...), which the first
// copy's QApplication takes out of argv and acts on. A later copy makes no QApplication and
// must still not hand them over as pages, so both copies take them out by this one rule,
// made after Qt 6.4's: its passes in its order, each option with or without its value. The
// X11 options count wherever the program runs, since Qt takes them on X11, its desktop.
class QtOptions
{
public:
    // The arguments (the program's name not among them) with Qt's options and their values
    // taken out; the rest in order, untouched.
    static QStringList removedFrom(const QStringList &arguments);
    // One line per form Qt accepts ("-style VALUE", "-style=VALUE"), for the help.
    static QStringList forms();
};
