#include "services/RegistryKey.h"
#include "services/SettingsStore.h"
#include "settings/SettingsCatalogue.h"
#include "shell/StartupValues.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tagsmith LITE"));
    QApplication::setOrganizationName(QStringLiteral("Vantorel"));

    // Settings are written before any window opens, for the maker's other programs.
    SettingsStore store;
    SettingsCatalogue settings(store);
    RegistryKey registry;
    StartupValues::record(settings, registry, QApplication::applicationDirPath() + QStringLiteral("/tagsmith"));

    frmMain window;
    window.show();
    // The whole command line is one path, spaces included.
    window.OpenCommandLine(QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    return QApplication::exec();
}
