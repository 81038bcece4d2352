#include "launch/gioapplications.h"

#include "launch/commandline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

// GLib names a structure member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace gioapplications {

namespace {

QString fromUtf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

/// Drops the reference GIO handed over when the holder goes.
template <typename T>
struct Owned {
    T* object = nullptr;
    explicit Owned(T* o) : object(o) { }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned()
    {
        if (object)
            g_object_unref(object);
    }
};

/// The applications associated with the type itself, in the order they are
/// tried: the default first. GIO's default and its list of all applications
/// also take those of the parent types, so a text editor would stand in for
/// a browser of HTML; only an application of the type's own list counts.
GList* associatedWith(const QByteArray& type)
{
    GList* own = g_app_info_get_recommended_for_type(type.constData());
    GAppInfo* preferred = g_app_info_get_default_for_type(type.constData(), FALSE);
    if (!preferred)
        return own;
    for (GList* item = own; item; item = item->next) {
        if (g_app_info_equal(G_APP_INFO(item->data), preferred)) {
            own = g_list_remove_link(own, item);
            own = g_list_concat(item, own);
            break;
        }
    }
    g_object_unref(preferred);
    return own;
}

bool claims(GAppInfo* info, const QByteArray& type)
{
    const char** types = g_app_info_get_supported_types(info);
    for (; types && *types; ++types) {
        if (type == *types)
            return true;
    }
    return false;
}

/// Whether the applications folder that holds the entry has no
/// mimeinfo.cache, so GIO never heard of the types its entries claim.
bool uncached(GAppInfo* info)
{
    if (!G_IS_DESKTOP_APP_INFO(info))
        return false;
    const QString file = fromUtf8(g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info)));
    const qsizetype folder = file.lastIndexOf(QStringLiteral("/applications/"));
    return folder >= 0 && !QFileInfo::exists(file.left(folder) + QStringLiteral("/applications/mimeinfo.cache"));
}

/// Every installed application, by id, whose MimeType line names the type
/// and whose folder has no cache. GIO learns of those lines only from
/// mimeinfo.cache, which is missing after a user-level install until the
/// desktop's tools rebuild it; entries of a folder with a cache are GIO's to
/// list, so that an association the user removed stays removed.
GList* claiming(const QByteArray& type)
{
    GList* claimants = nullptr;
    GList* all = g_app_info_get_all();
    for (GList* item = all; item; item = item->next) {
        GAppInfo* info = G_APP_INFO(item->data);
        if (claims(info, type) && uncached(info))
            claimants = g_list_prepend(claimants, g_object_ref(info));
    }
    g_list_free_full(all, g_object_unref);
    return g_list_sort(claimants, [](gconstpointer a, gconstpointer b) {
        return g_strcmp0(g_app_info_get_id(G_APP_INFO(const_cast<gpointer>(a))),
                         g_app_info_get_id(G_APP_INFO(const_cast<gpointer>(b))));
    });
}

/// The first of the list that is not passed over, with a reference of its own.
GAppInfo* firstOf(GList* list, const std::function<bool(const QString& program)>& passOver)
{
    GAppInfo* found = nullptr;
    for (GList* item = list; item && !found; item = item->next) {
        GAppInfo* info = G_APP_INFO(item->data);
        if (g_app_info_get_id(info) && !passOver(fromUtf8(g_app_info_get_executable(info))))
            found = G_APP_INFO(g_object_ref(info));
    }
    g_list_free_full(list, g_object_unref);
    return found;
}

/// The application for a type: the desktop's associations first, then the
/// entries that claim the type, as a fresh mimeinfo.cache would list them.
GAppInfo* firstFor(const QString& contentType, const std::function<bool(const QString& program)>& passOver)
{
    const QByteArray type = contentType.toUtf8();
    if (GAppInfo* associated = firstOf(associatedWith(type), passOver))
        return associated;
    return firstOf(claiming(type), passOver);
}

/// PATH with its relative and empty entries left out: they stand for the
/// current folder, which is wherever the editor happened to be started.
QByteArray absolutePath()
{
    QByteArrayList kept;
    for (const QByteArray& folder : qgetenv("PATH").split(':')) {
        if (folder.startsWith('/'))
            kept.append(folder);
    }
    return kept.join(':');
}

/// Whether a program named without a folder is in one of the absolute
/// folders of PATH; a program with a folder, or none (an entry started over
/// D-Bus), is GIO's to check.
bool foundInAbsolutePath(const QString& program)
{
    if (program.isEmpty() || program.contains(u'/'))
        return true;
    for (const QByteArray& folder : absolutePath().split(':')) {
        const QFileInfo candidate(QFile::decodeName(folder) + u'/' + program);
        if (candidate.isFile() && candidate.isExecutable())
            return true;
    }
    return false;
}

/// A document as GIO takes it: a web address as it stands, a file name as
/// the file's URI (GIO gives applications that take files its path).
QByteArray documentUri(const QString& document)
{
    static const QRegularExpression webAddress(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+://"));
    if (webAddress.match(document).hasMatch())
        return document.toUtf8();
    const QByteArray path = QFile::encodeName(QFileInfo(document).absoluteFilePath());
    char* uri = g_filename_to_uri(path.constData(), nullptr, nullptr);
    const QByteArray result = uri ? QByteArray(uri) : QByteArray();
    g_free(uri);
    return result;
}

} // namespace

DesktopApplication applicationFor(const QString& contentType,
                                  const std::function<bool(const QString& program)>& passOver)
{
    const Owned<GAppInfo> info(firstFor(contentType, passOver));
    if (!info.object)
        return {};
    return { fromUtf8(g_app_info_get_id(info.object)), fromUtf8(g_app_info_get_name(info.object)) };
}

QString defaultCommand(const QString& contentType)
{
    const Owned<GAppInfo> info(firstFor(contentType, [](const QString&) { return false; }));
    if (!info.object || !G_IS_DESKTOP_APP_INFO(info.object))
        return {};
    GDesktopAppInfo* entry = G_DESKTOP_APP_INFO(info.object);
    const QString exec = fromUtf8(g_app_info_get_commandline(info.object));
    if (exec.isEmpty())
        return {};
    char* icon = g_desktop_app_info_get_string(entry, "Icon");
    const DesktopEntryFacts facts { fromUtf8(icon), fromUtf8(g_app_info_get_name(info.object)),
                                    fromUtf8(g_desktop_app_info_get_filename(entry)) };
    g_free(icon);
    return fillEntryCodes(exec, facts);
}

bool launch(const QString& applicationId, const QString& document)
{
    const Owned<GDesktopAppInfo> info(g_desktop_app_info_new(applicationId.toUtf8().constData()));
    if (!info.object)
        return false;
    // GIO's own check of the entry may have found its program through an
    // empty or relative PATH entry; started with the absolute PATH it would
    // then fail unseen, after GIO had reported a start.
    if (!foundInAbsolutePath(fromUtf8(g_app_info_get_executable(G_APP_INFO(info.object)))))
        return false;
    const QByteArray uri = documentUri(document);
    if (uri.isEmpty())
        return false;
    const Owned<GAppLaunchContext> context(g_app_launch_context_new());
    // The program is searched for in the PATH handed to it, never in the
    // current folder.
    g_app_launch_context_setenv(context.object, "PATH", absolutePath().constData());
    GList uris {};
    uris.data = const_cast<char*>(uri.constData());
    GError* error = nullptr;
    const gboolean started = g_desktop_app_info_launch_uris_as_manager(
        info.object, &uris, context.object,
        static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_SEARCH_PATH_FROM_ENVP), nullptr, nullptr, nullptr,
        nullptr, &error);
    if (error)
        g_error_free(error);
    return started;
}

} // namespace gioapplications
