#pragma once

#include "IconList.h"
#include "RecentFileList.h"
#include "RegistryKey.h"
#include "SettingsCatalogue.h"
#include "SettingsStore.h"

// What the whole program shares: the settings, the registry store, the recent files and
// sites and the icons. main() makes the one copy and lends it to the windows.
// In windows, not widgets: the recent list takes its length from the File menu.
class ProgramServices
{
public:
    // Reads the recent files and loads the icons.
    ProgramServices();
    ProgramServices(const ProgramServices &) = delete;
    ProgramServices &operator=(const ProgramServices &) = delete;

    SettingsCatalogue &settings() { return m_settings; }
    RegistryKey &registry() { return m_registry; }
    RecentFileList &recentFiles() { return m_recentFiles; }
    // The folders Open Site opened last, kept in the settings.
    RecentFileList &recentSites() { return m_recentSites; }
    // Numbered as the command tables number their images; image 0 is the program's mark.
    IconList &icons() { return m_icons; }

    // False when the registry store could not be written.
    bool saveRecentFiles();
    bool saveRecentSites();

private:
    RegistryKey &programKey();
    void loadIcons();

    SettingsStore m_store;
    SettingsCatalogue m_settings;
    RegistryKey m_registry;
    RecentFileList m_recentFiles;
    RecentFileList m_recentSites;
    IconList m_icons;
};
