#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures: the 18 small pictures of the main window's icon list (numbered
// from 1 as the toolbar, menu and status tables number them), the logo and the splash
// picture. Each small picture prefers the desktop theme's icon and falls back to the one
// bundled with the program, so no button is ever blank.
class ProgramIcons
{
public:
    static constexpr int kPictureCount = 18;

    // A null icon for a number outside 1..18.
    static QIcon picture(int number);
    // The mark beside a field with a warning: always the bundled picture (rendered from
    // icons/warning.svg), so a warning looks the same on every desktop.
    static QIcon warning();
    static QPixmap logo();
    static QPixmap splash();
};
