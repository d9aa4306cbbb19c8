// The main window with pages opened in it, for looking at it on a real display. Settings
// are the user's own unless XDG_CONFIG_HOME points elsewhere.
// Usage: main_window_demo [--maximized] [--size WxH] [--chevron] [--screenshot file.png] page...
// --chevron opens the button band's chevron, as a click on it would; the screenshot then
// shows the whole screen, the popup included.
#include "MainWindow.h"
#include "ProgramServices.h"
#include "toolbar/Rebar.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

namespace {

void pushChevron(Rebar &rebar)
{
    for (int i = 0; i < rebar.bandCount(); ++i) {
        const QRect chevron = rebar.bandChevronRectangle(i);
        if (chevron.isEmpty())
            continue;
        const QPointF at = chevron.center();
        QMouseEvent press(QEvent::MouseButtonPress, at, rebar.hwnd()->mapToGlobal(at), Qt::LeftButton,
            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(rebar.hwnd(), &press);
        return;
    }
}

} // namespace

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

    QSize size;
    const qsizetype sizeAt = args.indexOf(QStringLiteral("--size"));
    if (sizeAt >= 0 && sizeAt + 1 < args.size()) {
        const QStringList wh = args.at(sizeAt + 1).split(QLatin1Char('x'));
        size = QSize(wh.value(0).toInt(), wh.value(1).toInt());
        args.remove(sizeAt, 2);
    }
    const bool chevron = args.removeAll(QStringLiteral("--chevron")) > 0;

    ProgramServices services;
    MainWindow window(services);
    if (size.isValid())
        window.resize(size);
    window.show();
    window.openCommandLine(args);
    if (maximized && window.mdiArea().activeSubWindow())
        window.mdiArea().activeSubWindow()->showMaximized();
    if (shot.isEmpty())
        return QApplication::exec();
    QTimer::singleShot(1200, &window, [&window, shot, chevron] {
        const QRect frame = chevron ? window.screen()->geometry() : window.frameGeometry();
        window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(shot);
        QApplication::quit();
    });
    if (chevron)
        QTimer::singleShot(600, &window, [&window] { pushChevron(window.rebar()); });
    return QApplication::exec();
}
