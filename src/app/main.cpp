#include "CommandLinePaths.h"
#include "HandOverMessage.h"
#include "InformationOptions.h"
#include "MainWindow.h"
#include "ProgramServices.h"
#include "SingleInstance.h"
#include "SplashScreen.h"
#include "StartupValues.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

int main(int argc, char *argv[])
{
    // Answered before QApplication exists, which would need a display.
    if (const auto status = InformationOptions::answer(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tagsmith LITE"));
    QApplication::setOrganizationName(QStringLiteral("Vantorel"));
    // Lets the desktop match the windows to the installed entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("com.vantorel.tagsmith"));

    // Settings are written before any window opens, for the maker's other programs.
    ProgramServices services;
    StartupValues::record(services.settings(), services.registry(),
        QApplication::applicationDirPath() + QStringLiteral("/tagsmith"));

    const QStringList paths
        = CommandLinePaths::fromArguments(QApplication::arguments().mid(1), QDir::currentPath());
    SingleInstance instance;
    if (!instance.tryBecomeFirst()) {
        // Made absolute here: the running copy works in another folder.
        SingleInstance::handOver(HandOverMessage::encode(paths));
        return 0;
    }

    SplashScreen splash;
    splash.showNow();
    MainWindow window(services);
    QObject::connect(
        &instance, &SingleInstance::messageReceived, &window, [&window](const QByteArray &received) {
            window.openCommandLine(
                CommandLinePaths::fromArguments(HandOverMessage::decode(received), QDir::currentPath()));
        });
    QObject::connect(
        &instance, &SingleInstance::activationRequested, &window, &MainWindow::restoreAndActivate);
    instance.listen();
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, &QWidget::close);
    window.show();
    splash.close();
    window.openCommandLine(paths);
    return QApplication::exec();
}
