// GLib first: Qt's "signals" keyword would rename a member that GDBus's headers declare.
#include <gio/gio.h>

#include "DesktopLauncher.h"
#include "NativeName.h"

#include <QDesktopServices>
#include <QUrl>
#include <QtGlobal>

#include <memory>

namespace {

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};

struct GFree
{
    void operator()(gpointer memory) const { g_free(memory); }
};

// The file URI of an absolute path, made from the bytes the file system holds, so
// that a name that is not UTF-8 reaches the program unchanged; empty when GLib
// cannot make one.
QByteArray fileUri(const QString& absolutePath)
{
    const std::unique_ptr<gchar, GFree> uri(
        g_filename_to_uri(nativeBytes(absolutePath).constData(), nullptr, nullptr));
    return uri ? QByteArray(uri.get()) : QByteArray();
}

enum class Launch { Started, NoApplication, Failed };

// Starts the user's default application for a MIME type on one URI, without waiting
// for it. An application GLib cannot start (a terminal program with no terminal
// emulator installed, say) is Failed.
Launch launchDefault(const char* mimeType, const QByteArray& uri)
{
    const std::unique_ptr<GAppInfo, GObjectUnref> app(g_app_info_get_default_for_type(mimeType, FALSE));
    if (!app)
        return Launch::NoApplication;
    GList uris{const_cast<gchar*>(uri.constData()), nullptr, nullptr};
    GError* error = nullptr;
    if (g_app_info_launch_uris(app.get(), &uris, nullptr, &error))
        return Launch::Started;
    if (error) {
        qWarning("%s", error->message);
        g_error_free(error);
    }
    return Launch::Failed;
}

} // namespace

bool launchFileManager(const QString& absoluteFolder)
{
    const QByteArray uri = fileUri(absoluteFolder);
    if (uri.isEmpty())
        return false;
    switch (launchDefault("inode/directory", uri)) {
    case Launch::Started:
        return true;
    case Launch::Failed:
        return false;
    case Launch::NoApplication:
        break;
    }
    // With no file manager set up, the desktop's own opener usually still finds one.
    return QDesktopServices::openUrl(QUrl::fromEncoded(uri));
}

bool launchPlainTextEditor(const QString& absoluteFile)
{
    const QByteArray uri = fileUri(absoluteFile);
    return !uri.isEmpty() && launchDefault("text/plain", uri) == Launch::Started;
}
