// The splash screen: label defaults, drawing the labels, and the "no-maskblt" option around it.
#include "kxRuzoVori/controls/kxSplashScreen.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/sysopt.h>

wxFont g_EmptyFont;
SSplashLabel g_stEmptySplashLabel;

bool kxSplashScreen::m_bStaticLabels = false;

namespace
{
const wxString kNoMaskBlt = wxS("no-maskblt");
const long kSplashStyle = wxSPLASH_CENTRE_ON_SCREEN | wxSPLASH_TIMEOUT;
const long kWindowStyle = wxBORDER_NONE | wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR;
// Distance of the corner labels from the bitmap's edges.
const int kMargin = 10;

wxFont DefaultFont(int points, bool bold)
{
    wxFontInfo info(points);
    info.Family(wxFONTFAMILY_SWISS).FaceName(wxS("Verdana"));
    if (bold)
        info.Bold();
    return wxFont(info);
}

bool HasPosition(const SSplashLabel& label)
{
    return label.m_x != 0 || label.m_y != 0;
}

void CopyLabel(SSplashLabel& to, const SSplashLabel& from)
{
    to.m_text = from.m_text;
    if (!HasPosition(from))
        return;
    to.m_x = from.m_x;
    to.m_y = from.m_y;
    if (from.m_font.IsOk())
        to.m_font = from.m_font;
}

// Sets the toolkit's "no-maskblt" option for the life of the object, then puts the old value
// back.
class MaskBltOption
{
public:
    explicit MaskBltOption(int value) : m_previous(wxSystemOptions::GetOption(kNoMaskBlt))
    {
        wxSystemOptions::SetOption(kNoMaskBlt, value);
    }
    ~MaskBltOption() { wxSystemOptions::SetOption(kNoMaskBlt, m_previous); }
    MaskBltOption(const MaskBltOption&) = delete;
    MaskBltOption& operator=(const MaskBltOption&) = delete;

private:
    wxString m_previous;
};
} // namespace

SSplashLabel::SSplashLabel(const wxString& text, int x, int y, const wxFont& font)
    : m_text(text), m_x(x), m_y(y), m_font(font)
{
}

kxSplashScreen::kxSplashScreen(wxBitmap& bitmap, SSplashLabel& title, SSplashLabel& author,
                               SSplashLabel& version, SSplashLabel& copyright,
                               SSplashLabel& secondaryTitle, int timeout)
    : wxSplashScreen(bitmap, kSplashStyle, timeout, nullptr, wxID_ANY, wxDefaultPosition,
                     wxDefaultSize, kWindowStyle),
      m_bitmap(bitmap), m_colour(140, 140, 140), m_title(title), m_author(author),
      m_copyright(copyright), m_version(version), m_secondaryTitle(secondaryTitle)
{
    // Labels drawn onto the window alone would be lost when it paints itself, which GTK does
    // only once the window is on the screen, after this constructor: they are drawn again
    // after every paint.
    GetSplashWindow()->Bind(wxEVT_PAINT, &kxSplashScreen::PrivateOnPaint, this);
    PrivateApplyDefaults();
    Update();
}

kxSplashScreen* kxSplashScreen::Create(bool staticLabels, wxBitmap& bitmap, SSplashLabel& title,
                                       SSplashLabel& author, SSplashLabel& version,
                                       SSplashLabel& copyright, SSplashLabel& secondaryTitle,
                                       int timeout)
{
    m_bStaticLabels = staticLabels;
    MaskBltOption option(1);
    return new kxSplashScreen(bitmap, title, author, version, copyright, secondaryTitle, timeout);
}

void kxSplashScreen::PrivateApplyDefaults()
{
    struct Default
    {
        SSplashLabel& label;
        int points;
        bool bold;
    };
    const Default defaults[] = {{m_title, 14, true},
                                {m_author, 8, false},
                                {m_version, 8, false},
                                {m_copyright, 8, false},
                                {m_secondaryTitle, 10, true}};
    for (const Default& d : defaults)
        if (!d.label.m_font.IsOk())
            d.label.m_font = DefaultFont(d.points, d.bold);

    const int W = m_bitmap.GetWidth();
    const int H = m_bitmap.GetHeight();
    wxSize e;
    if (!HasPosition(m_title))
    {
        e = PrivateExtent(m_title);
        m_title.m_x = (W - e.x) / 2;
        m_title.m_y = (H - e.y) / 2;
    }
    if (!HasPosition(m_author))
    {
        e = PrivateExtent(m_author);
        m_author.m_x = kMargin;
        m_author.m_y = H - e.y - kMargin;
    }
    if (!HasPosition(m_version))
    {
        e = PrivateExtent(m_version);
        m_version.m_x = W - e.x - kMargin;
        m_version.m_y = kMargin;
    }
    if (!HasPosition(m_copyright))
    {
        e = PrivateExtent(m_copyright);
        m_copyright.m_x = W - e.x - kMargin;
        m_copyright.m_y = H - e.y - kMargin;
    }
}

wxSize kxSplashScreen::PrivateExtent(const SSplashLabel& label) const
{
    wxSize extent;
    GetSplashWindow()->GetTextExtent(label.m_text, &extent.x, &extent.y, nullptr, nullptr,
                                     &label.m_font);
    return extent;
}

void kxSplashScreen::SetTitle(SSplashLabel& label)
{
    CopyLabel(m_title, label);
}

void kxSplashScreen::SetAuthor(SSplashLabel& label)
{
    CopyLabel(m_author, label);
}

void kxSplashScreen::SetVersion(SSplashLabel& label)
{
    CopyLabel(m_version, label);
}

void kxSplashScreen::SetCopyright(SSplashLabel& label)
{
    CopyLabel(m_copyright, label);
}

void kxSplashScreen::SetSecondaryTitle(SSplashLabel& label)
{
    CopyLabel(m_secondaryTitle, label);
}

void kxSplashScreen::SetColor(wxColour colour)
{
    m_colour = colour;
}

void kxSplashScreen::PrivateDrawLabels(wxDC& dc)
{
    dc.SetTextForeground(m_colour);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    for (const SSplashLabel* label :
         {&m_author, &m_copyright, &m_version, &m_title, &m_secondaryTitle})
    {
        dc.SetFont(label->m_font);
        dc.DrawText(label->m_text, label->m_x, label->m_y);
    }
}

void kxSplashScreen::Update()
{
    MaskBltOption option(0);
    wxSplashScreenWindow* window = GetSplashWindow();
    wxClientDC dc(window);
    if (m_bStaticLabels)
    {
        PrivateDrawLabels(dc);
        return;
    }
    // The window's own bitmap, not a copy: a memory DC gives a copy storage of its own, and
    // the labels would be lost at the next paint.
    wxMemoryDC memory(window->GetBitmap());
    PrivateDrawLabels(memory);
    dc.Blit(0, 0, m_bitmap.GetWidth(), m_bitmap.GetHeight(), &memory, 0, 0, wxCOPY, true);
}

void kxSplashScreen::PrivateOnPaint(wxPaintEvent& event)
{
    if (!m_bStaticLabels)
    {
        event.Skip();
        return;
    }
    wxSplashScreenWindow* window = GetSplashWindow();
    wxPaintDC dc(window);
    dc.DrawBitmap(window->GetBitmap(), 0, 0, true);
    PrivateDrawLabels(dc);
}

bool kxSplashScreen::Close(bool force)
{
    Hide();
    return wxSplashScreen::Close(force);
}
