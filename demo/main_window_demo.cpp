// The main window with pages opened in it, for looking at it on a real display. Settings
// are the user's own unless XDG_CONFIG_HOME points elsewhere.
// Usage: main_window_demo [--maximized] [--screenshot file.png] page...
#include "MainWindow.h"
#include "ProgramServices.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tagsmith LITE"));
    QApplication::setOrganizationName(QStringLiteral("Vantorel"));
    QStringList args = QApplication::arguments().mid(1);
    const bool maximized = args.removeAll(QStringLiteral("--maximized")) > 0;
    QString shot;
    const qsizetype shotAt = args.indexOf(QStringLiteral("--screenshot"));
    if (shotAt >= 0 && shotAt + 1 < args.size()) {
        shot = args.at(shotAt + 1);
        args.remove(shotAt, 2);
    }

    ProgramServices services;
    MainWindow window(services);
    window.show();
    window.openCommandLine(args);
    if (maximized && window.mdiArea().activeSubWindow())
        window.mdiArea().activeSubWindow()->showMaximized();
    if (shot.isEmpty())
        return QApplication::exec();
    QTimer::singleShot(1200, &window, [&window, shot] {
        const QRect frame = window.frameGeometry();
        window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(shot);
        QApplication::quit();
    });
    return QApplication::exec();
}
