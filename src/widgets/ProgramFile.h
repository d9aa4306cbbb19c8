#pragma once

#include <QString>
#include <QStringView>

// The running program file, as the controls name it in the source of their errors.
class ProgramFile
{
public:
    // The program file's name without folder or extension.
    static QString name();
    // "<program>.<control>", the source text of a control's numbered errors.
    static QString errorSource(QStringView controlName);
};
