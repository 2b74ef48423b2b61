// The splash screen on a real display: label places, fonts, colours and closing.
#include "kxRuzoVori/controls/kxSplashScreen.h"
#include "support/kxGuiSupport.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/sysopt.h>
#include <wx/weakref.h>

#include <vector>

namespace
{
const wxColour kBackground(20, 40, 90);
const wxColour kGrey(140, 140, 140);

wxBitmap Plain(int width, int height)
{
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), kBackground.Red(), kBackground.Green(),
                 kBackground.Blue());
    return wxBitmap(image);
}

// Lets a test read the labels as the splash screen keeps them.
class Probe : public kxSplashScreen
{
public:
    using kxSplashScreen::kxSplashScreen;
    const SSplashLabel& Title() const { return m_title; }
    const SSplashLabel& Author() const { return m_author; }
    const SSplashLabel& Secondary() const { return m_secondaryTitle; }
};

wxFont Verdana(int points, bool bold)
{
    wxFontInfo info(points);
    info.Family(wxFONTFAMILY_SWISS).FaceName(wxS("Verdana"));
    if (bold)
        info.Bold();
    return wxFont(info);
}

// Where a label's text should be: its place and its extent in the font.
wxRect Expected(wxWindow* window, const wxString& text, const wxFont& font, wxPoint at)
{
    int w = 0;
    int h = 0;
    window->GetTextExtent(text, &w, &h, nullptr, nullptr, &font);
    return wxRect(at, wxSize(w, h));
}

bool IsBackground(const wxImage& image, int x, int y)
{
    return image.GetRed(x, y) == kBackground.Red() && image.GetGreen(x, y) == kBackground.Green() &&
           image.GetBlue(x, y) == kBackground.Blue();
}

// Checks that every pixel that is not background lies inside one of the boxes (give or take the
// two pixels a glyph may reach past its advance), that each box holds some of them, and that
// each box holds a pixel of exactly the text colour.
void ExpectTextOnlyIn(const wxImage& image, const std::vector<wxRect>& boxes,
                      const wxColour& colour)
{
    ASSERT_TRUE(image.IsOk());
    std::vector<int> inked(boxes.size(), 0);
    std::vector<bool> exact(boxes.size(), false);
    int stray = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
        {
            if (IsBackground(image, x, y))
                continue;
            bool inside = false;
            for (size_t i = 0; i < boxes.size(); ++i)
            {
                inside = inside || wxRect(boxes[i]).Inflate(2).Contains(x, y);
                if (boxes[i].Contains(x, y))
                {
                    ++inked[i];
                    exact[i] = exact[i] || (image.GetRed(x, y) == colour.Red() &&
                                            image.GetGreen(x, y) == colour.Green() &&
                                            image.GetBlue(x, y) == colour.Blue());
                }
            }
            stray += inside ? 0 : 1;
        }
    EXPECT_EQ(stray, 0) << "text drawn outside the labels' places";
    for (size_t i = 0; i < boxes.size(); ++i)
    {
        EXPECT_GT(inked[i], 20) << "label " << i << " at " << boxes[i].x << "," << boxes[i].y;
        EXPECT_TRUE(exact[i]) << "label " << i << " not in the text colour";
    }
}

class kxSplashScreenGui : public testing::Test
{
protected:
    void TearDown() override
    {
        if (m_splash)
            m_splash->Close(true);
        ASSERT_TRUE(kxTestWaitFor([&] { return !m_splash; }, 5000));
        kxSplashScreen::m_bStaticLabels = false;
    }

    void WaitShown()
    {
        ASSERT_TRUE(kxTestWaitFor([&] { return m_splash && m_splash->IsShownOnScreen(); }, 5000));
        kxTestPumpEvents(300);
    }

    wxWeakRef<kxSplashScreen> m_splash;
};
} // namespace

// Labels without place or font: the title centred in 14 point bold, the others in the corners in
// 8 point, the secondary title at (0, 0); drawn into the bitmap, so a repaint keeps them.
TEST_F(kxSplashScreenGui, DefaultPlacesAndFonts)
{
    wxBitmap bitmap = Plain(480, 300);
    SSplashLabel title(wxS("Gallery of Controls"));
    SSplashLabel author(wxS("Ann Author"));
    SSplashLabel version(wxS("Version 1.2.3"));
    SSplashLabel copyright(wxS("(c) 2026 Example"));
    SSplashLabel secondary(wxS("Beta"));
    wxSystemOptions::SetOption(wxS("no-maskblt"), wxS("7"));
    m_splash =
        kxSplashScreen::Create(false, bitmap, title, author, version, copyright, secondary, 60000);
    EXPECT_EQ(wxSystemOptions::GetOption(wxS("no-maskblt")), wxS("7"));
    wxSystemOptions::SetOption(wxS("no-maskblt"), wxString());
    WaitShown();

    wxWindow* window = m_splash->GetSplashWindow();
    EXPECT_EQ(window->GetClientSize(), wxSize(480, 300));
    const wxRect t = Expected(window, title.m_text, Verdana(14, true), wxPoint(0, 0));
    const wxRect a = Expected(window, author.m_text, Verdana(8, false), wxPoint(0, 0));
    const wxRect v = Expected(window, version.m_text, Verdana(8, false), wxPoint(0, 0));
    const wxRect c = Expected(window, copyright.m_text, Verdana(8, false), wxPoint(0, 0));
    const std::vector<wxRect> boxes = {
        wxRect(wxPoint((480 - t.width) / 2, (300 - t.height) / 2), t.GetSize()),
        wxRect(wxPoint(10, 300 - a.height - 10), a.GetSize()),
        wxRect(wxPoint(480 - v.width - 10, 10), v.GetSize()),
        wxRect(wxPoint(480 - c.width - 10, 300 - c.height - 10), c.GetSize()),
        Expected(window, secondary.m_text, Verdana(10, true), wxPoint(0, 0))};

    ExpectTextOnlyIn(kxTestCapture(window), boxes, kGrey);
    window->Refresh();
    kxTestPumpEvents(200);
    ExpectTextOnlyIn(kxTestCapture(window), boxes, kGrey);
    ExpectTextOnlyIn(m_splash->GetSplashWindow()->GetBitmap().ConvertToImage(), boxes, kGrey);
}

// Static labels are drawn onto the window alone, and again after it repaints.
TEST_F(kxSplashScreenGui, StaticLabelsLeaveTheBitmapAlone)
{
    wxBitmap bitmap = Plain(300, 200);
    SSplashLabel title(wxS("Static"));
    m_splash = kxSplashScreen::Create(true, bitmap, title);
    EXPECT_TRUE(kxSplashScreen::m_bStaticLabels);
    WaitShown();
    wxWindow* window = m_splash->GetSplashWindow();
    const wxRect t = Expected(window, title.m_text, Verdana(14, true), wxPoint(0, 0));
    const std::vector<wxRect> boxes = {
        wxRect(wxPoint((300 - t.width) / 2, (200 - t.height) / 2), t.GetSize())};
    window->Refresh();
    kxTestPumpEvents(200);
    ExpectTextOnlyIn(kxTestCapture(window), boxes, kGrey);
    ExpectTextOnlyIn(m_splash->GetSplashWindow()->GetBitmap().ConvertToImage(), {}, kGrey);
}

// Setters take the text always, the place only when given, the font only with a place; the
// colour and the new places show at the next Update.
TEST_F(kxSplashScreenGui, SettersAndColour)
{
    wxBitmap bitmap = Plain(400, 240);
    const wxFont italic(wxFontInfo(12).Italic());
    SSplashLabel title(wxS("Old title"));
    SSplashLabel author(wxS("Someone"), 30, 40, italic);
    auto* probe = new Probe(bitmap, title, author);
    m_splash = probe;
    WaitShown();
    EXPECT_TRUE(probe->Secondary().m_text.empty());
    EXPECT_EQ(probe->Secondary().m_x, 0);
    EXPECT_EQ(probe->Author().m_font, italic);
    const wxPoint centred(probe->Title().m_x, probe->Title().m_y);

    SSplashLabel retitle(wxS("New"), 0, 0, italic);
    probe->SetTitle(retitle);
    EXPECT_EQ(probe->Title().m_text, wxS("New"));
    EXPECT_EQ(wxPoint(probe->Title().m_x, probe->Title().m_y), centred);
    EXPECT_EQ(probe->Title().m_font, Verdana(14, true));

    SSplashLabel moved(wxS("Moved"), 200, 100);
    probe->SetAuthor(moved);
    EXPECT_EQ(probe->Author().m_x, 200);
    EXPECT_EQ(probe->Author().m_y, 100);
    EXPECT_EQ(probe->Author().m_font, italic);
    SSplashLabel bold(wxS("Bold"), 20, 20, Verdana(9, true));
    probe->SetAuthor(bold);
    EXPECT_EQ(probe->Author().m_font, Verdana(9, true));

    // The old labels stay in the bitmap: start from a fresh one to see only the new ones.
    probe->GetSplashWindow()->SetBitmap(Plain(400, 240));
    probe->SetColor(*wxRED);
    probe->Update();
    kxTestPumpEvents(200);
    wxWindow* window = probe->GetSplashWindow();
    ExpectTextOnlyIn(kxTestCapture(window),
                     {Expected(window, wxS("New"), Verdana(14, true), centred),
                      Expected(window, wxS("Bold"), Verdana(9, true), wxPoint(20, 20))},
                     *wxRED);
}

// Close hides the window at once; the time-out closes and destroys it.
TEST_F(kxSplashScreenGui, ClosesOnRequestAndAfterTimeout)
{
    wxBitmap bitmap = Plain(200, 120);
    m_splash = kxSplashScreen::Create(false, bitmap);
    WaitShown();
    m_splash->Close();
    EXPECT_FALSE(m_splash->IsShown());
    ASSERT_TRUE(kxTestWaitFor([&] { return !m_splash; }, 5000));

    m_splash = kxSplashScreen::Create(false, bitmap, g_stEmptySplashLabel, g_stEmptySplashLabel,
                                      g_stEmptySplashLabel, g_stEmptySplashLabel,
                                      g_stEmptySplashLabel, 300);
    EXPECT_TRUE(kxTestWaitFor([&] { return !m_splash; }, 10000));
}
