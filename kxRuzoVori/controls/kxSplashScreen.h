// The splash screen with five text labels drawn over its bitmap.
#ifndef KXRUZOVORI_CONTROLS_KXSPLASHSCREEN_H
#define KXRUZOVORI_CONTROLS_KXSPLASHSCREEN_H

#include "kxRuzoVori/kxExport.h"

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/font.h>
#include <wx/splash.h>

/// An invalid font: stands for "the default font" wherever a font may be left out.
extern KX_API wxFont g_EmptyFont;

/// One label of the splash screen. A position of (0, 0) stands for the default position, an
/// invalid font for the default font.
struct KX_API SSplashLabel
{
    /// A label showing text at (x, y) in font.
    SSplashLabel(const wxString& text = wxString(), int x = 0, int y = 0,
                 const wxFont& font = g_EmptyFont);

    wxString m_text; ///< The text.
    int m_x;         ///< Where the text starts, from the bitmap's left edge.
    int m_y;         ///< Where the text starts, from the bitmap's top edge.
    wxFont m_font;   ///< The font; invalid for the default.
};

/// A label with no text, the default position and the default font.
extern KX_API SSplashLabel g_stEmptySplashLabel;

/// A splash screen showing a bitmap with a title, author, version, copyright and secondary title
/// drawn over it, which closes after a time-out (and, as every splash screen of the toolkit, on
/// any key or mouse click in the program). Labels left without font get "Verdana" (where it is
/// not installed, the closest font the system has): the title in 14 point bold, centred; the
/// author in 8 point at the bottom left; the version in 8 point at the top right; the copyright
/// in 8 point at the bottom right; the secondary title in 10 point bold, at (0, 0) unless given a
/// place. The labels are drawn into the bitmap, so they stay when the window repaints itself, or,
/// with static labels, onto the window alone. Nothing here throws.
///
/// Deviation: static labels are drawn again whenever the window repaints, since GTK paints a new
/// window only after it is on the screen.
class KX_API kxSplashScreen : public wxSplashScreen
{
public:
    /// Shows the splash screen centred on the screen for timeout milliseconds.
    kxSplashScreen(wxBitmap& bitmap, SSplashLabel& title = g_stEmptySplashLabel,
                   SSplashLabel& author = g_stEmptySplashLabel,
                   SSplashLabel& version = g_stEmptySplashLabel,
                   SSplashLabel& copyright = g_stEmptySplashLabel,
                   SSplashLabel& secondaryTitle = g_stEmptySplashLabel, int timeout = 3000);

    /// Shows a new splash screen, which the toolkit destroys when it closes. staticLabels applies
    /// to every splash screen from now on. Drawing works around masked blits the way the toolkit
    /// system option "no-maskblt" says; the option is the caller's again when this returns.
    static kxSplashScreen* Create(bool staticLabels, wxBitmap& bitmap,
                                  SSplashLabel& title = g_stEmptySplashLabel,
                                  SSplashLabel& author = g_stEmptySplashLabel,
                                  SSplashLabel& version = g_stEmptySplashLabel,
                                  SSplashLabel& copyright = g_stEmptySplashLabel,
                                  SSplashLabel& secondaryTitle = g_stEmptySplashLabel,
                                  int timeout = 3000);

    /// The frame's own title setter stays reachable beside the label setter below.
    using wxSplashScreen::SetTitle;

    ///@{
    /// Each setter takes the label's text; its position only when that is not (0, 0), and only
    /// then its font, when that is valid. Nothing is redrawn before Update().
    void SetTitle(SSplashLabel& label);
    void SetAuthor(SSplashLabel& label);
    void SetVersion(SSplashLabel& label);
    void SetCopyright(SSplashLabel& label);
    void SetSecondaryTitle(SSplashLabel& label);
    ///@}

    /// The colour of every label's text, used from the next Update() on.
    void SetColor(wxColour colour);

    /// Draws the labels.
    void Update() override;

    /// Hides the window at once, then closes it.
    bool Close(bool force = false);

    /// False: labels are drawn into the bitmap; true: onto the window only. Set by Create.
    static bool m_bStaticLabels;

protected:
    /// Draws the five labels with dc, each in its font and the labels' colour.
    void PrivateDrawLabels(wxDC& dc);

    wxBitmap m_bitmap;             ///< The bitmap the labels are drawn over.
    wxColour m_colour;             ///< The labels' colour.
    SSplashLabel m_title;          ///< The title.
    SSplashLabel m_author;         ///< The author.
    SSplashLabel m_copyright;      ///< The copyright.
    SSplashLabel m_version;        ///< The version.
    SSplashLabel m_secondaryTitle; ///< The secondary title.

private:
    void PrivateApplyDefaults();
    // The label's text extent in its font.
    wxSize PrivateExtent(const SSplashLabel& label) const;
    void PrivateOnPaint(wxPaintEvent& event);
};

#endif
