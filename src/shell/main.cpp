#include "services/RegistryKey.h"
#include "services/SettingsStore.h"
#include "settings/SettingsCatalogue.h"
#include "shell/SingleInstance.h"
#include "shell/StartupValues.h"
#include "shell/TerminationSignals.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"

#include <QApplication>
#include <QFile>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tagsmith LITE"));
    QApplication::setOrganizationName(QStringLiteral("Vantorel"));
    // Lets the desktop match the windows to the installed entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("com.vantorel.tagsmith"));

    // Settings are written before any window opens, for the maker's other programs.
    SettingsStore store;
    SettingsCatalogue settings(store);
    RegistryKey registry;
    StartupValues::record(
        settings, registry, QApplication::applicationDirPath() + QStringLiteral("/tagsmith"));

    // The whole command line is one path, spaces included.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    SingleInstance instance;
    if (!instance.tryBecomeFirst()) {
        SingleInstance::handOver(QFile::encodeName(commandLine));
        return 0;
    }

    frmSplash splash;
    splash.showNow();
    frmMain window;
    QObject::connect(&instance, &SingleInstance::commandLineReceived, &window,
        [&window](const QByteArray &received) { window.OpenCommandLine(QFile::decodeName(received)); });
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &frmMain::restoreAndActivate);
    instance.listen();
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, &QWidget::close);
    window.show();
    splash.close();
    window.OpenCommandLine(commandLine);
    return QApplication::exec();
}
