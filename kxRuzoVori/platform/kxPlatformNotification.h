// The desktop's notification service: short messages shown beside the system tray for a while,
// the way a tray icon's balloons appear on other systems. Exported for the library's own tests.
#ifndef KXRUZOVORI_PLATFORM_KXPLATFORMNOTIFICATION_H
#define KXRUZOVORI_PLATFORM_KXPLATFORMNOTIFICATION_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

#include <vector>

namespace kxPlatform
{
// One notification as the service is asked to show it.
struct Notification
{
    wxString m_appName;
    wxString m_title;
    // Plain text; it reaches the user as written, never read as markup.
    wxString m_text;
    // A themed icon name ("dialog-warning"), or empty for none.
    wxString m_iconName;
    // An image shown instead of the named icon: m_imageWidth x m_imageHeight pixels, four bytes
    // (red, green, blue, alpha) each, row after row. Empty for none.
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    std::vector<unsigned char> m_imageRgba;
    // How long it stays, in milliseconds; -1 leaves it to the service.
    int m_timeout = -1;
    // Asks the service to play no sound for it.
    bool m_silent = false;
    // The id of an earlier notification this one takes the place of, 0 for none.
    unsigned int m_replaces = 0;
};

// True when a notification service answers on the user's session. Never starts a session bus.
KX_API bool IsNotificationServiceAvailable();

// Hands the notification to the service; on success id is the service's id for it. False when
// no service answers or it refuses. Every wait is bounded.
KX_API bool ShowNotification(const Notification& notification, unsigned int& id);

// Takes a notification shown earlier away; false when the service does not know it (any more).
KX_API bool CloseNotification(unsigned int id);
} // namespace kxPlatform

#endif
