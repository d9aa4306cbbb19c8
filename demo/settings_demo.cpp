// Program Settings on one of its tabs, for looking at it on a real display. Settings and
// associations are the user's own unless XDG_CONFIG_HOME and XDG_DATA_HOME point elsewhere.
// Usage: settings_demo [EDITOR|GENERAL|FILES] [--screenshot file.png]
#include "TabControl.h"
#include "FileAssociations.h"
#include "ProgramServices.h"
#include "SettingsDialog.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tagsmith LITE"));
    QApplication::setOrganizationName(QStringLiteral("Vantorel"));
    QStringList args = QApplication::arguments().mid(1);
    QString shot;
    const qsizetype shotAt = args.indexOf(QStringLiteral("--screenshot"));
    if (shotAt >= 0 && shotAt + 1 < args.size()) {
        shot = args.at(shotAt + 1);
        args.remove(shotAt, 2);
    }

    const FileAssociations associations(
        QApplication::applicationDirPath(), FileAssociations::defaultApplicationsFolder());
    ProgramServices services;
    SettingsDialog dialog(services, associations);
    dialog.show();
    if (!args.isEmpty())
        dialog.tabs().selectTab(args.first());
    if (shot.isEmpty())
        return QApplication::exec();
    QTimer::singleShot(800, &dialog, [&dialog, shot] {
        const QRect frame = dialog.frameGeometry();
        dialog.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(shot);
        QApplication::quit();
    });
    return QApplication::exec();
}
