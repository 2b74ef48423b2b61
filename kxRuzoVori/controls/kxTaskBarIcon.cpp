// The tray icon: the toolkit's icon, with balloons shown by the desktop's notification service.
#include "kxRuzoVori/controls/kxTaskBarIcon.h"

#include "kxRuzoVori/platform/kxPlatformNotification.h"

#include <wx/app.h>
#include <wx/image.h>

#include <climits>

namespace
{
const size_t kTooltipLength = 127;
const size_t kBalloonTitleLength = 63;
const size_t kBalloonTextLength = 255;

const char* IconName(int iconFlags)
{
    switch (iconFlags & NIIF_ICON_MASK)
    {
    case NIIF_INFO:
        return "dialog-information";
    case NIIF_WARNING:
        return "dialog-warning";
    case NIIF_ERROR:
        return "dialog-error";
    default:
        return "";
    }
}

void SetImage(kxPlatform::Notification& notification, const wxBitmapBundle& icon)
{
    if (!icon.IsOk())
        return;
    const wxImage image = icon.GetBitmap(icon.GetDefaultSize()).ConvertToImage();
    if (!image.IsOk())
        return;
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    notification.m_imageWidth = width;
    notification.m_imageHeight = height;
    notification.m_imageRgba.resize(size_t(width) * size_t(height) * 4);
    unsigned char* out = notification.m_imageRgba.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            *out++ = image.GetRed(x, y);
            *out++ = image.GetGreen(x, y);
            *out++ = image.GetBlue(x, y);
            *out++ =
                image.IsTransparent(x, y) ? 0 : (image.HasAlpha() ? image.GetAlpha(x, y) : 255);
        }
}
} // namespace

kxTaskBarIcon::kxTaskBarIcon(wxWindow* parent)
    : m_parent(parent), m_notifications(kxPlatform::IsNotificationServiceAvailable())
{
}

kxTaskBarIcon::~kxTaskBarIcon()
{
    if (m_balloon != 0)
        kxPlatform::CloseNotification(m_balloon);
}

bool kxTaskBarIcon::SetIcon(const wxBitmapBundle& icon, const wxString& tooltip)
{
    m_icon = icon;
    if (!m_notifications)
        return wxTaskBarIcon::SetIcon(icon, tooltip);
    return wxTaskBarIcon::SetIcon(icon, tooltip.Left(kTooltipLength));
}

bool kxTaskBarIcon::SetIcon(const wxIcon& icon, const wxString& tooltip)
{
    return SetIcon(wxBitmapBundle(icon), tooltip);
}

bool kxTaskBarIcon::RemoveIcon()
{
    if (m_balloon != 0)
    {
        kxPlatform::CloseNotification(m_balloon);
        m_balloon = 0;
    }
    return wxTaskBarIcon::RemoveIcon();
}

bool kxTaskBarIcon::ShowBalloon(const wxString& title, const wxString& text, unsigned int timeout,
                                int iconFlags)
{
    if (!m_notifications || !IsIconInstalled())
        return false;
    // Every balloon is silent, whatever the caller's flags say.
    iconFlags |= NIIF_NOSOUND;

    kxPlatform::Notification notification;
    if (wxTheApp)
        notification.m_appName = wxTheApp->GetAppDisplayName();
    notification.m_title = title.Left(kBalloonTitleLength);
    notification.m_text = text.Left(kBalloonTextLength);
    notification.m_iconName = IconName(iconFlags);
    if ((iconFlags & NIIF_ICON_MASK) == NIIF_USER)
        SetImage(notification, m_icon);
    // A shell keeps a balloon for at least a few seconds; a service keeps one of time-out 0 for
    // ever, so 0 is left to the service.
    notification.m_timeout = timeout == 0                  ? -1
                             : timeout > unsigned(INT_MAX) ? INT_MAX
                                                           : int(timeout);
    notification.m_silent = (iconFlags & NIIF_NOSOUND) != 0;
    notification.m_replaces = m_balloon;

    unsigned int id = 0;
    if (!kxPlatform::ShowNotification(notification, id))
        return false;
    m_balloon = id;
    return true;
}

wxMenu* kxTaskBarIcon::CreatePopupMenu()
{
    return nullptr;
}
