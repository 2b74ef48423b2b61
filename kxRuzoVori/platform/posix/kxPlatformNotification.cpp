// Desktop notifications through the freedesktop notification service on the D-Bus session bus.
#include "kxRuzoVori/platform/kxPlatformNotification.h"

#include <gio/gio.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace kxPlatform
{
namespace
{
const char* const kService = "org.freedesktop.Notifications";
const char* const kObjectPath = "/org/freedesktop/Notifications";
const char* const kInterface = "org.freedesktop.Notifications";

// The longest a whole exchange with the bus may take: connecting, authenticating and every call.
const unsigned int kExchangeMs = 3000;

// The session bus the user's desktop runs, or empty when there is none. Looked up here rather
// than by GIO, which starts a bus of its own through dbus-launch when it finds none, and that bus
// would outlive the program.
wxString SessionBusAddress()
{
    const char* address = getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address && *address)
        return wxString::FromUTF8(address);
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime)
        return wxString();
    const std::string path = std::string(runtime) + "/bus";
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode))
        return wxString();
    gchar* escaped = g_dbus_address_escape_value(path.c_str());
    const wxString result = wxS("unix:path=") + wxString::FromUTF8(escaped);
    g_free(escaped);
    return result;
}

// One exchange with the notification service over a connection of its own, run on a private
// main context so the host's event loop never dispatches in the middle. A single deadline covers
// the whole exchange: when it passes, the operation under way is cancelled and fails.
class Exchange
{
public:
    Exchange()
        : m_context(g_main_context_new()), m_cancel(g_cancellable_new()),
          m_deadline(g_timeout_source_new(kExchangeMs))
    {
        g_main_context_push_thread_default(m_context);
        g_source_set_callback(m_deadline, OnDeadline, m_cancel, nullptr);
        g_source_attach(m_deadline, m_context);
    }

    ~Exchange()
    {
        if (m_connection)
        {
            g_dbus_connection_close(m_connection, nullptr, nullptr, nullptr);
            g_object_unref(m_connection);
        }
        g_source_destroy(m_deadline);
        g_source_unref(m_deadline);
        g_main_context_pop_thread_default(m_context);
        g_object_unref(m_cancel);
        g_main_context_unref(m_context);
    }

    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

    bool Connect()
    {
        const wxString address = SessionBusAddress();
        if (address.empty())
            return false;
        GAsyncResult* result = nullptr;
        g_dbus_connection_new_for_address(
            address.utf8_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, m_cancel, OnDone, &result);
        Await(result);
        m_connection = g_dbus_connection_new_for_address_finish(result, nullptr);
        g_object_unref(result);
        return m_connection != nullptr;
    }

    // Calls a method of the service; the reply (of replyType) or null when the call failed.
    // Takes the floating reference of parameters.
    GVariant* Call(const char* method, GVariant* parameters, const char* replyType)
    {
        GAsyncResult* result = nullptr;
        g_dbus_connection_call(m_connection, kService, kObjectPath, kInterface, method, parameters,
                               G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NONE, kExchangeMs,
                               m_cancel, OnDone, &result);
        Await(result);
        GVariant* reply = g_dbus_connection_call_finish(m_connection, result, nullptr);
        g_object_unref(result);
        return reply;
    }

private:
    static void OnDone(GObject*, GAsyncResult* result, gpointer target)
    {
        *static_cast<GAsyncResult**>(target) = G_ASYNC_RESULT(g_object_ref(result));
    }

    static gboolean OnDeadline(gpointer cancel)
    {
        g_cancellable_cancel(G_CANCELLABLE(cancel));
        return G_SOURCE_REMOVE;
    }

    // Every asynchronous operation ends by calling back, with an error once cancelled, so this
    // returns at the latest shortly after the deadline.
    void Await(GAsyncResult*& result)
    {
        while (!result)
            g_main_context_iteration(m_context, TRUE);
    }

    GMainContext* m_context;
    GCancellable* m_cancel;
    GSource* m_deadline;
    GDBusConnection* m_connection = nullptr;
};

// True when the service lists capability among those it has.
bool HasCapability(GVariant* capabilities, const char* capability)
{
    GVariantIter* iter = nullptr;
    g_variant_get(capabilities, "(as)", &iter);
    const gchar* name = nullptr;
    bool found = false;
    while (!found && g_variant_iter_next(iter, "&s", &name))
        found = g_strcmp0(name, capability) == 0;
    g_variant_iter_free(iter);
    return found;
}

GVariant* ImageHint(const Notification& notification)
{
    const gsize size = notification.m_imageRgba.size();
    GVariant* pixels =
        g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, notification.m_imageRgba.data(), size, 1);
    return g_variant_new("(iiibii@ay)", notification.m_imageWidth, notification.m_imageHeight,
                         notification.m_imageWidth * 4, TRUE, 8, 4, pixels);
}

bool HasImage(const Notification& notification)
{
    return notification.m_imageWidth > 0 && notification.m_imageHeight > 0 &&
           notification.m_imageWidth <= INT_MAX / 4 &&
           notification.m_imageRgba.size() ==
               size_t(notification.m_imageWidth) * size_t(notification.m_imageHeight) * 4;
}
} // namespace

bool IsNotificationServiceAvailable()
{
    Exchange exchange;
    if (!exchange.Connect())
        return false;
    GVariant* capabilities = exchange.Call("GetCapabilities", nullptr, "(as)");
    if (!capabilities)
        return false;
    g_variant_unref(capabilities);
    return true;
}

bool ShowNotification(const Notification& notification, unsigned int& id)
{
    Exchange exchange;
    if (!exchange.Connect())
        return false;
    GVariant* capabilities = exchange.Call("GetCapabilities", nullptr, "(as)");
    if (!capabilities)
        return false;
    // A service that reads markup in the body would swallow "<" and "&"; one that does not
    // shows entities as they are, so the text is escaped only for the former.
    const bool markup = HasCapability(capabilities, "body-markup");
    g_variant_unref(capabilities);

    const wxScopedCharBuffer text = notification.m_text.utf8_str();
    gchar* body = markup ? g_markup_escape_text(text.data(), text.length())
                         : g_strndup(text.data(), text.length());

    GVariantBuilder hints;
    g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
    if (notification.m_silent)
        g_variant_builder_add(&hints, "{sv}", "suppress-sound", g_variant_new_boolean(TRUE));
    if (HasImage(notification))
        g_variant_builder_add(&hints, "{sv}", "image-data", ImageHint(notification));

    GVariant* parameters = g_variant_new(
        "(susss@asa{sv}i)", static_cast<const char*>(notification.m_appName.utf8_str()),
        notification.m_replaces, static_cast<const char*>(notification.m_iconName.utf8_str()),
        static_cast<const char*>(notification.m_title.utf8_str()), body,
        g_variant_new_strv(nullptr, 0), &hints, notification.m_timeout);
    g_free(body);

    GVariant* reply = exchange.Call("Notify", parameters, "(u)");
    if (!reply)
        return false;
    guint32 shown = 0;
    g_variant_get(reply, "(u)", &shown);
    g_variant_unref(reply);
    id = shown;
    return true;
}

bool CloseNotification(unsigned int id)
{
    Exchange exchange;
    if (!exchange.Connect())
        return false;
    GVariant* reply = exchange.Call("CloseNotification", g_variant_new("(u)", id), "()");
    if (!reply)
        return false;
    g_variant_unref(reply);
    return true;
}
} // namespace kxPlatform
