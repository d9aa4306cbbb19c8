#include "CommandLinePaths.h"
#include "FontConfigWarmUp.h"
#include "HandOverMessage.h"
#include "InformationOptions.h"
#include "MainWindow.h"
#include "ProgramServices.h"
#include "QtOptions.h"
#include "RegistryKey.h"
#include "SettingsCatalogue.h"
#include "SettingsStore.h"
#include "SingleInstance.h"
#include "SiteOption.h"
#include "SplashScreen.h"
#include "StartupValues.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <memory>

namespace {

// The folder of the running executable, as QCoreApplication would give it, without one.
QString programFolder()
{
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
}

// Written before anything else, for the maker's other programs; by a later copy too.
void recordStartupValues()
{
    SettingsStore store;
    SettingsCatalogue settings(store);
    RegistryKey registry;
    StartupValues::record(settings, registry, programFolder() + QStringLiteral("/tagsmith"));
}

// Read before QApplication takes its own options out of argv, so that the first copy and a
// later one, which makes no QApplication, leave out Qt's options by the same rule.
QStringList programArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return QtOptions::removedFrom(arguments);
}

// Made absolute here: the running copy works in another folder.
QStringList commandLinePaths(const QStringList &arguments)
{
    return CommandLinePaths::fromArguments(arguments, QDir::currentPath());
}

// A later copy opens no window, so it does without the window system altogether.
int handOverToRunningCopy(
    int argc, char *argv[], const QStringList &arguments, const std::optional<QString> &site)
{
    QCoreApplication app(argc, argv);
    SingleInstance::handOver(HandOverMessage::encode(commandLinePaths(arguments), site));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments = programArguments(argc, argv);
    // Answered before anything is written and before QApplication, which needs a display.
    if (const auto status = InformationOptions::answer(arguments))
        return *status;
    recordStartupValues();
    const std::optional<QString> site = SiteOption::takeFrom(arguments, QDir::currentPath());
    auto instance = std::make_unique<SingleInstance>();
    if (!instance->tryBecomeFirst())
        return handOverToRunningCopy(argc, argv, arguments, site);

    // Only the first copy draws text.
    FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tagsmith LITE"));
    QApplication::setOrganizationName(QStringLiteral("Vantorel"));
    // Lets the desktop match the windows to the installed entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("com.vantorel.tagsmith"));
    ProgramServices services;

    SplashScreen splash;
    splash.showNow();
    fontConfig.wait();
    MainWindow window(services);
    QObject::connect(
        instance.get(), &SingleInstance::messageReceived, &window, [&window](const QByteArray &received) {
            window.openCommandLine(
                CommandLinePaths::fromArguments(HandOverMessage::decode(received), QDir::currentPath()));
            if (const std::optional<QString> handedSite = HandOverMessage::siteOf(received))
                window.openSite(*handedSite);
        });
    QObject::connect(
        instance.get(), &SingleInstance::activationRequested, &window, &MainWindow::restoreAndActivate);
    // Before listening, which tells the world this copy is up: from then on a logout must
    // find it closing the normal way, not killed by the default action.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, &QWidget::close);
    instance->listen();
    window.show();
    splash.close();
    window.openCommandLine(commandLinePaths(arguments));
    if (site)
        window.openSite(*site);
    const int exitCode = QApplication::exec();
    // Made before the application object, its server must go while the event loop's
    // machinery is still there.
    instance.reset();
    return exitCode;
}
