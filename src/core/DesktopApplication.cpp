#include "DesktopApplication.h"

#include <QFile>

#include <gio/gio.h>

struct DesktopApplication::Info
{
    explicit Info(GAppInfo *found)
        : app(found)
    {
    }
    ~Info() { g_object_unref(app); }
    Info(const Info &) = delete;
    Info &operator=(const Info &) = delete;

    GAppInfo *const app;
};

namespace {

using Failure = std::function<void(const QString &)>;

QString fromGio(const char *text)
{
    return text ? QString::fromUtf8(text) : QString();
}

void launchFinished(GObject *source, GAsyncResult *result, gpointer data)
{
    const std::unique_ptr<Failure> whenFailed(static_cast<Failure *>(data));
    GError *error = nullptr;
    if (g_app_info_launch_uris_finish(G_APP_INFO(source), result, &error))
        return;
    const QString reason = fromGio(error->message);
    g_error_free(error);
    if (*whenFailed)
        (*whenFailed)(reason);
}

} // namespace

DesktopApplication::DesktopApplication(std::shared_ptr<const Info> info)
    : m_info(std::move(info))
{
}

std::optional<DesktopApplication> DesktopApplication::defaultFor(const QString &mimeType)
{
    GAppInfo *app = g_app_info_get_default_for_type(mimeType.toUtf8().constData(), FALSE);
    if (!app)
        return std::nullopt;
    return DesktopApplication(std::make_shared<const Info>(app));
}

QString DesktopApplication::id() const
{
    return fromGio(g_app_info_get_id(m_info->app));
}

QString DesktopApplication::name() const
{
    return fromGio(g_app_info_get_display_name(m_info->app));
}

// The asynchronous launch connects to the session bus (for an application started through
// it) without waiting; GIO runs the callback from the thread's GLib main context, which Qt's
// event loop drives.
void DesktopApplication::open(const QString &filePath, std::function<void(const QString &)> whenFailed) const
{
    // A path's bytes, not its text, make the URI: the application gets back the very file.
    GFile *file = g_file_new_for_path(QFile::encodeName(filePath).constData());
    char *uri = g_file_get_uri(file);
    GList uris = { uri, nullptr, nullptr };
    g_app_info_launch_uris_async(
        m_info->app, &uris, nullptr, nullptr, launchFinished, new Failure(std::move(whenFailed)));
    g_free(uri);
    g_object_unref(file);
}
