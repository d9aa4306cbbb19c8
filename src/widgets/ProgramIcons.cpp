#include "ProgramIcons.h"

#include "DeferredIconEngine.h"
#include "SplashPicture.h"

#include <QStringList>

#include <array>

// The bundled pictures sit in a static library; nothing else references the generated
// resource object, so the linker would drop it without this explicit registration.
static void registerBundledPictures()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(programicons);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

struct PictureEntry
{
    const char *file;
    // Icon-theme names tried in order; the first the theme knows wins.
    std::array<const char *, 3> themeNames;
};

// Index 0 is picture 1. Pictures 5 and 17 have no theme counterpart: the META tag look
// is the program's own. Picture 18 is the program's mark, which an installed desktop
// file may provide under the program's name.
constexpr std::array<PictureEntry, ProgramIcons::kPictureCount> kPictures { {
    { "new", { "document-new" } },
    { "open", { "document-open", "folder-open" } },
    { "save", { "document-save" } },
    { "author", { "avatar-default", "user-info", "contact-new" } },
    { "meta-tags", {} },
    { "toolbar", { "configure-toolbars", "view-toolbar" } },
    { "settings", { "preferences-system", "preferences-other" } },
    { "help", { "help-contents", "help-browser" } },
    { "web-page", { "text-html", "text-x-generic" } },
    { "web-link", { "internet-web-browser", "emblem-web", "applications-internet" } },
    { "exit", { "application-exit", "system-log-out" } },
    { "properties", { "document-properties" } },
    { "undo", { "edit-undo" } },
    { "cut", { "edit-cut" } },
    { "copy", { "edit-copy" } },
    { "paste", { "edit-paste" } },
    { "copy-meta", {} },
    { "program", { "tagsmith" } },
} };

QIcon bundledPicture(const char *file)
{
    const QString name = QString::fromLatin1(file) + QStringLiteral(".png");
    QIcon icon;
    icon.addFile(QStringLiteral(":/tagsmith/16/") + name, QSize(16, 16));
    icon.addFile(QStringLiteral(":/tagsmith/32/") + name, QSize(32, 32));
    return icon;
}

QIcon themedPicture(const PictureEntry &entry, const QIcon &fallback)
{
    for (const char *themeName : entry.themeNames) {
        if (themeName == nullptr)
            break;
        const QString name = QString::fromLatin1(themeName);
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name, fallback);
    }
    return fallback;
}

} // namespace

QIcon ProgramIcons::picture(int number)
{
    if (number < 1 || number > kPictureCount)
        return {};
    registerBundledPictures();
    const PictureEntry &entry = kPictures[static_cast<std::size_t>(number - 1)];
    return QIcon(new DeferredIconEngine([&entry] { return themedPicture(entry, bundledPicture(entry.file)); }));
}

QIcon ProgramIcons::warning()
{
    registerBundledPictures();
    return bundledPicture("warning");
}

QPixmap ProgramIcons::logo()
{
    registerBundledPictures();
    return QPixmap(QStringLiteral(":/tagsmith/logo.png"));
}

QPixmap ProgramIcons::splash()
{
    return QPixmap::fromImage(SplashPicture::image());
}
