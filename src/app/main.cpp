#include "CommandLinePaths.h"
#include "FontConfigWarmUp.h"
#include "HandOverMessage.h"
#include "InformationOptions.h"
#include "MainWindow.h"
#include "ProgramServices.h"
#include "RegistryKey.h"
#include "SettingsCatalogue.h"
#include "SettingsStore.h"
#include "SingleInstance.h"
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

// Made absolute here: the running copy works in another folder.
QStringList commandLinePaths()
{
    return CommandLinePaths::fromArguments(QCoreApplication::arguments().mid(1), QDir::currentPath());
}

// A later copy opens no window, so it does without the window system altogether.
int handOverToRunningCopy(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SingleInstance::handOver(HandOverMessage::encode(commandLinePaths()));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Answered before QApplication exists, which would need a display.
    if (const auto status = InformationOptions::answer(argc, argv))
        return *status;
    recordStartupValues();
    auto instance = std::make_unique<SingleInstance>();
    if (!instance->tryBecomeFirst())
        return handOverToRunningCopy(argc, argv);

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
        });
    QObject::connect(
        instance.get(), &SingleInstance::activationRequested, &window, &MainWindow::restoreAndActivate);
    instance->listen();
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, &QWidget::close);
    window.show();
    splash.close();
    window.openCommandLine(commandLinePaths());
    const int exitCode = QApplication::exec();
    // Made before the application object, its server must go while the event loop's
    // machinery is still there.
    instance.reset();
    return exitCode;
}
