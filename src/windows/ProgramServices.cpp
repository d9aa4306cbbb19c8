#include "ProgramServices.h"

#include "ProgramIcons.h"
#include "RecentFilesMenu.h"
#include "RegistryPaths.h"

ProgramServices::ProgramServices()
    : m_settings(m_store)
{
    m_recentFiles.load(programKey());
    m_recentFiles.setCapacity(RecentFilesMenu::kCapacity);
    m_recentSites.setCapacity(RecentFilesMenu::kCapacity);
    m_recentSites.setPaths(m_settings.texts(Setting::RecentSites, RecentFilesMenu::kCapacity));
    loadIcons();
}

RegistryKey &ProgramServices::programKey()
{
    m_registry.setRoot(RegistryKey::HKEY_CURRENT_USER);
    m_registry.setKeyPath(RegistryPaths::kProgramKey);
    return m_registry;
}

bool ProgramServices::saveRecentFiles()
{
    return m_recentFiles.save(programKey());
}

bool ProgramServices::saveRecentSites()
{
    return m_settings.setTexts(Setting::RecentSites, m_recentSites.paths(), RecentFilesMenu::kCapacity);
}

void ProgramServices::loadIcons()
{
    // The tables number their images from 1, as the pictures are numbered; image 0 is
    // used by none of them and holds the program's mark.
    m_icons.addIcon(ProgramIcons::picture(ProgramIcons::kPictureCount));
    for (int number = 1; number < ProgramIcons::kPictureCount; ++number)
        m_icons.addIcon(ProgramIcons::picture(number));
}
