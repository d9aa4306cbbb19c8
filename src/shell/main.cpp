#include "shell/frmMain.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    frmMain window;
    window.show();
    window.OpenCommandLine(QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    return QApplication::exec();
}
