// The main window with a menu dropped down, for looking at captions, shortcuts, icons and
// check marks on a real display. Pages given are opened first, so they are recent files.
// Usage: menu_demo <menu-bar button index> <screenshot.png> page...
#include "toolbar/Toolbar.h"
#include "MainWindow.h"
#include "MetaPane.h"
#include "ProgramServices.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tagsmith LITE"));
    QApplication::setOrganizationName(QStringLiteral("Vantorel"));
    const QStringList args = QApplication::arguments().mid(1);
    const int menuIndex = args.value(0).toInt();
    const QString shot = args.value(1);

    ProgramServices services;
    MainWindow window(services);
    window.resize(820, 560);
    window.show();
    if (!window.toolbarStrip().isVisible())
        window.toggleToolbar();
    if (!window.metaPane().isVisible())
        window.toggleMetaPane();
    window.openCommandLine(args.mid(2));
    QTimer::singleShot(800, &window, [&window, menuIndex] { window.menuBarToolbar().trackMenu(menuIndex); });
    // The screen as the display shows it, the open menu included.
    QTimer::singleShot(2500, &app, [shot] {
        QGuiApplication::primaryScreen()->grabWindow(0).save(shot);
        QApplication::exit(0);
    });
    return QApplication::exec();
}
