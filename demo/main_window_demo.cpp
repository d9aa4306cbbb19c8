// The main window with pages opened in it, for looking at it on a real display. Settings
// are the user's own unless XDG_CONFIG_HOME points elsewhere.
// Usage: main_window_demo [--maximized] [--size WxH] [--chevron] [--screenshot file.png]
//                         [--site FOLDER [--site-missing] [--site-describe TEXT]] page...
// --chevron opens the button band's chevron, as a click on it would; the screenshot then
// shows the whole screen, the popup included. --site opens a site window on FOLDER;
// --site-missing shows only its pages without a description; --site-describe gives the pages
// shown that description and pictures the preview Save All shows of it.
#include "MainWindow.h"
#include "ProgramServices.h"
#include "SiteCommands.h"
#include "SiteModel.h"
#include "SiteWindow.h"
#include "toolbar/Rebar.h"

#include <QApplication>
#include <QCheckBox>
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

QString takeValue(QStringList &args, const QString &option)
{
    const qsizetype at = args.indexOf(option);
    if (at < 0 || at + 1 >= args.size())
        return {};
    const QString value = args.at(at + 1);
    args.remove(at, 2);
    return value;
}

void grab(QWidget &widget, const QString &file)
{
    const QRect frame = widget.frameGeometry();
    widget.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(file);
}

// Once the site is read: the filter asked for, then the preview of a save, pictured and
// cancelled, or the main window pictured.
void showSite(MainWindow &window, const QString &shot, bool missing, const QString &description)
{
    SiteWindow *site = window.siteCommands().activeWindow();
    if (!site)
        return QApplication::exit(1);
    if (missing)
        site->kindBox(WarningKind::DescriptionMissing)->setChecked(true);
    if (description.isEmpty())
        return QTimer::singleShot(600, &window, [&window, shot] {
            grab(window, shot);
            QApplication::quit();
        });
    site->model().setDataOnRows(site->shownRows(), SiteModel::DescriptionColumn, description);
    // The preview comes once every page's diff is worked out, which a busy machine delays.
    auto *poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [poll, shot] {
        if (QWidget *preview = QApplication::activeModalWidget()) {
            poll->stop();
            grab(*preview, shot);
            preview->close();
        }
    });
    poll->start(800);
    window.siteCommands().saveAll(*site);
    // Not quit(): that closes the windows first, and the site's edits would ask to be saved.
    QApplication::exit(0);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tagsmith LITE"));
    QApplication::setOrganizationName(QStringLiteral("Vantorel"));
    QStringList args = QApplication::arguments().mid(1);
    const bool maximized = args.removeAll(QStringLiteral("--maximized")) > 0;
    const QString shot = takeValue(args, QStringLiteral("--screenshot"));

    QSize size;
    const qsizetype sizeAt = args.indexOf(QStringLiteral("--size"));
    if (sizeAt >= 0 && sizeAt + 1 < args.size()) {
        const QStringList wh = args.at(sizeAt + 1).split(QLatin1Char('x'));
        size = QSize(wh.value(0).toInt(), wh.value(1).toInt());
        args.remove(sizeAt, 2);
    }
    const bool chevron = args.removeAll(QStringLiteral("--chevron")) > 0;
    const QString site = takeValue(args, QStringLiteral("--site"));
    const bool missing = args.removeAll(QStringLiteral("--site-missing")) > 0;
    const QString describe = takeValue(args, QStringLiteral("--site-describe"));

    ProgramServices services;
    MainWindow window(services);
    if (size.isValid())
        window.resize(size);
    window.show();
    window.openCommandLine(args);
    if (maximized && window.mdiArea().activeSubWindow())
        window.mdiArea().activeSubWindow()->showMaximized();
    if (!site.isEmpty()) {
        QObject::connect(&window.siteCommands(), &SiteCommands::loadFinished, &window,
            [&window, shot, missing, describe] { showSite(window, shot, missing, describe); });
        window.openSite(site);
        return QApplication::exec();
    }
    if (shot.isEmpty())
        return QApplication::exec();
    QTimer::singleShot(1200, &window, [&window, shot, chevron] {
        if (chevron)
            window.screen()->grabWindow(0).save(shot);
        else
            grab(window, shot);
        QApplication::quit();
    });
    if (chevron)
        QTimer::singleShot(600, &window, [&window] { pushChevron(window.rebar()); });
    return QApplication::exec();
}
