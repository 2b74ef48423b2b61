// The system-tray icon with balloon notifications and long tooltips.
#ifndef KXRUZOVORI_CONTROLS_KXTASKBARICON_H
#define KXRUZOVORI_CONTROLS_KXTASKBARICON_H

#include "kxRuzoVori/core/kxTaskBarIconException.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/bmpbndl.h>
#include <wx/icon.h>
#include <wx/taskbar.h>

// The flags a host passes to kxTaskBarIcon::ShowBalloon(), under the names the Windows shell
// gives them.
#ifndef NIIF_NONE
#define NIIF_NONE 0x00000000       ///< No icon.
#define NIIF_INFO 0x00000001       ///< The information icon.
#define NIIF_WARNING 0x00000002    ///< The warning icon.
#define NIIF_ERROR 0x00000003      ///< The error icon.
#define NIIF_USER 0x00000004       ///< The tray icon's own image.
#define NIIF_NOSOUND 0x00000010    ///< No sound (balloons are always silent here).
#define NIIF_LARGE_ICON 0x00000020 ///< Ignored: the desktop chooses the size.
#define NIIF_ICON_MASK 0x0000000F  ///< The bits that choose the icon.
#endif

/// A tray icon that can show balloons: short silent messages with a title that point at the icon
/// for a while. The desktop's notification service shows them; the toolkit adds the icon itself.
/// When there is no notification service (as with an old shell) balloons are refused
/// (ShowBalloon returns false) and tooltips are passed to the toolkit whole; with one, tooltips
/// are cut to 127 characters. Whether a service runs is asked once, when the icon is made.
/// Unlike on Windows, where an unknown shell makes construction fail, construction never throws
/// here: a desktop without the service is an old shell, not an error. The icon has no menu of
/// its own.
///
/// Deviation: balloons are desktop notifications (the freedesktop Notifications service on the
/// session bus), and kxTaskBarIconException is never thrown.
class KX_API kxTaskBarIcon : public wxTaskBarIcon
{
public:
    /// An icon belonging to parent, not shown until SetIcon().
    explicit kxTaskBarIcon(wxWindow* parent);
    /// Takes the icon and its balloon away.
    ~kxTaskBarIcon() override;

    /// The window given when the icon was made.
    wxWindow* GetParentWnd() const { return m_parent; }

    /// Shows the icon, or changes its image and tooltip.
    bool SetIcon(const wxBitmapBundle& icon, const wxString& tooltip = wxString()) override;
    /// The same with an icon.
    bool SetIcon(const wxIcon& icon, const wxString& tooltip = wxString());

    /// Takes the icon, and a balloon it still shows, away.
    bool RemoveIcon() override;

    /// Shows a silent balloon: the title cut to 63 characters, the text to 255, for timeout
    /// milliseconds (0 leaves it to the desktop). iconFlags' NIIF_INFO, NIIF_WARNING and
    /// NIIF_ERROR pick the desktop's matching icon, NIIF_USER the tray icon's own image. A new
    /// balloon takes the place of the one shown before. False when the icon is not shown or no
    /// notification service took the balloon.
    bool ShowBalloon(const wxString& title, const wxString& text, unsigned int timeout,
                     int iconFlags);

    /// Null: the icon has no menu.
    wxMenu* CreatePopupMenu() override;

private:
    wxWindow* m_parent;
    // Stands for a shell that shows balloons (version 5.0 or later).
    bool m_notifications;
    wxBitmapBundle m_icon;
    // The service's id of the last balloon, 0 when none was shown.
    unsigned int m_balloon = 0;
};

#endif
