// The floor for the editor's start-up: a bare Qt main window with a menu bar, the size the
// editor opens at on a first run.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    for (const char *title : { "&File", "&Edit", "&Insert", "&View", "&Tools", "&Window", "&Help" })
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    window.resize(900, 640);
    window.show();
    return QApplication::exec();
}
