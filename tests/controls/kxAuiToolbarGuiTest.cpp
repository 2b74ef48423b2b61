// The toolbar in a real frame: the icon-size menu, vetoes, disabled images and tool removal.
#include "kxRuzoVori/controls/kxAuiToolbar.h"
#include "support/kxGuiSupport.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <functional>
#include <memory>
#include <vector>

namespace
{
enum
{
    MENU_BASE = 5000,
    OPEN = 1,
    SAVE = 2,
    PRINT = 3
};

// A bitmap set whose three images are squares of one colour, 16, 32 and 48 pixels wide.
std::vector<wxBitmap> Squares(const wxColour& colour)
{
    std::vector<wxBitmap> set;
    for (int pixels : {16, 32, 48})
    {
        wxImage image(pixels, pixels);
        image.SetRGB(wxRect(0, 0, pixels, pixels), colour.Red(), colour.Green(), colour.Blue());
        set.emplace_back(image);
    }
    return set;
}

// How many pixels of the tool's place on screen have exactly this colour.
int CountShown(wxAuiToolBar* toolbar, int id, const wxColour& colour)
{
    const wxImage shot = kxTestCapture(toolbar);
    const wxRect place = toolbar->GetToolRect(id).Intersect(wxRect(shot.GetSize()));
    int count = 0;
    for (int y = place.GetTop(); y <= place.GetBottom(); ++y)
        for (int x = place.GetLeft(); x <= place.GetRight(); ++x)
            count += shot.GetRed(x, y) == colour.Red() && shot.GetGreen(x, y) == colour.Green() &&
                     shot.GetBlue(x, y) == colour.Blue();
    return count;
}

// Records the toolbar's events in order and answers each with what it is told.
class Watcher : public kxEventHandler
{
public:
    bool OnEvent0(kxEventable&, kxParams&) { return Note(0); }
    bool OnEvent1(kxEventable&, kxParams&) { return Note(1); }
    bool OnEvent2(kxEventable&, kxParams&) { return Note(2); }
    bool Note(int event)
    {
        m_events.push_back(event);
        return m_answer[event];
    }
    std::vector<int> m_events;
    bool m_answer[3] = {true, true, true};
};

const wxColour kRed(220, 0, 0);
const wxColour kGreen(0, 160, 0);
const wxColour kBlack(0, 0, 0);

// A frame with a three-tool toolbar, as a host sets one up.
class kxAuiToolbarGui : public testing::Test
{
protected:
    void SetUp() override
    {
        m_keys.Bind(wxEVT_TIMER, &kxAuiToolbarGui::OnKeys, this);
        Build(wxAUI_TB_DEFAULT_STYLE);
    }

    void TearDown() override
    {
        m_bar.reset();
        m_frame->Destroy();
        kxTestPumpEvents(50);
    }

    void Build(long style)
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, wxS("toolbar"), wxPoint(20, 20), wxSize(420, 260));
        m_bar = std::make_unique<kxAuiToolbar>(MENU_BASE, m_frame, wxID_ANY, wxDefaultPosition,
                                               wxDefaultSize, style);
        m_bar->AddTool(OPEN, wxS("Open"), Squares(kRed), wxS("Open a file"))
            .AddTool(SAVE, wxS("Save"), Squares(kGreen), wxS("Save the file"));
        m_bar->AddSeparator();
        m_bar->AddTool(PRINT, wxS("Print"), Squares(kBlack));
        m_bar->Realize();
        m_toolbar = m_bar->GetAuiToolbar();
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_toolbar, 0, wxEXPAND);
        m_frame->SetSizer(sizer);
        m_bar->AddHandler(0, static_cast<kxEventMethod>(&Watcher::OnEvent0), &m_watcher);
        m_bar->AddHandler(1, static_cast<kxEventMethod>(&Watcher::OnEvent1), &m_watcher);
        m_bar->AddHandler(2, static_cast<kxEventMethod>(&Watcher::OnEvent2), &m_watcher);
        m_toolbar->Bind(wxEVT_MENU_OPEN, &kxAuiToolbarGui::OnMenuOpen, this);
        ASSERT_TRUE(kxTestShow(m_frame));
    }

    void Relayout()
    {
        m_frame->Layout();
        kxTestPumpEvents(100);
    }

    // While the menu is open the toolkit runs its own loop: the keys are pressed from a timer
    // that runs inside it.
    void OnMenuOpen(wxMenuEvent& event)
    {
        wxMenu* menu = event.GetMenu();
        if (menu == nullptr || menu->FindItem(MENU_BASE) == nullptr)
            return;
        ++m_menuOpened;
        m_checked.clear();
        for (int i = 0; i < 6; ++i)
            m_checked.push_back(menu->IsChecked(MENU_BASE + i));
        m_textRightEnabled = menu->IsEnabled(MENU_BASE + 2);
        m_keys.StartOnce(300);
    }

    void OnKeys(wxTimerEvent&)
    {
        wxUIActionSimulator sim;
        for (int key : m_pressInMenu)
            sim.Char(key);
    }

    // Right-clicks a tool; keys are pressed in the menu once it is open (Escape closes it).
    void RightClickAndPress(const std::vector<int>& keys)
    {
        m_pressInMenu = keys;
        const wxRect place = m_toolbar->GetToolRect(OPEN);
        kxTestClick(m_toolbar, place.GetPosition() + wxPoint(place.width / 2, place.height / 2),
                    wxMOUSE_BTN_RIGHT);
        kxTestPumpEvents(800);
    }

    wxFrame* m_frame = nullptr;
    std::unique_ptr<kxAuiToolbar> m_bar;
    wxAuiToolBar* m_toolbar = nullptr;
    Watcher m_watcher;
    // What the right-click menu looked like when it last opened.
    int m_menuOpened = 0;
    std::vector<bool> m_checked;
    bool m_textRightEnabled = true;
    wxTimer m_keys;
    std::vector<int> m_pressInMenu;
};
} // namespace

TEST_F(kxAuiToolbarGui, ChoosingLargeIconsShowsTheLargeImagesAndTellsTheHost)
{
    EXPECT_EQ(CountShown(m_toolbar, OPEN, kRed), 16 * 16);
    // Up from no selection reaches the last entry, "Large icons".
    RightClickAndPress({WXK_UP, WXK_RETURN});
    ASSERT_EQ(m_menuOpened, 1);
    EXPECT_EQ(m_checked, std::vector<bool>({false, false, true, true, false, false}))
        << "text on the right and small icons to start with";
    EXPECT_TRUE(m_textRightEnabled);
    EXPECT_EQ(m_watcher.m_events, std::vector<int>({2, 0, 1}));
    EXPECT_EQ(m_bar->GetIconSize(), ICON_SIZE_LARGE);
    Relayout();
    EXPECT_EQ(CountShown(m_toolbar, OPEN, kRed), 48 * 48);
    EXPECT_EQ(CountShown(m_toolbar, SAVE, kGreen), 48 * 48);
    EXPECT_GE(m_toolbar->GetToolRect(OPEN).height, 48);

    RightClickAndPress({WXK_ESCAPE});
    ASSERT_EQ(m_menuOpened, 2);
    EXPECT_EQ(m_checked, std::vector<bool>({false, false, true, false, false, true}));
}

TEST_F(kxAuiToolbarGui, VetoesKeepTheMenuClosedOrTheChoiceUnapplied)
{
    m_watcher.m_answer[2] = false;
    RightClickAndPress({WXK_ESCAPE});
    EXPECT_EQ(m_menuOpened, 0);
    m_watcher.m_answer[2] = true;
    m_watcher.m_answer[0] = false;
    RightClickAndPress({WXK_UP, WXK_RETURN});
    EXPECT_EQ(m_watcher.m_events, std::vector<int>({2, 2, 0}));
    EXPECT_EQ(m_bar->GetIconSize(), ICON_SIZE_LARGE) << "the choice is recorded";
    EXPECT_EQ(CountShown(m_toolbar, OPEN, kRed), 16 * 16) << "but not applied";
    m_bar->Realize();
    Relayout();
    EXPECT_EQ(CountShown(m_toolbar, OPEN, kRed), 48 * 48);

    // A vertical toolbar has no room for labels on the right.
    m_bar.reset();
    m_frame->Destroy();
    Build(wxAUI_TB_VERTICAL);
    RightClickAndPress({WXK_ESCAPE});
    ASSERT_EQ(m_menuOpened, 2);
    EXPECT_FALSE(m_textRightEnabled);
}

TEST_F(kxAuiToolbarGui, HostChangesWaitForRealize)
{
    m_bar->SetIconSize(ICON_SIZE_MEDIUM);
    m_bar->SetTextOrientation(TEXT_BOTTOM);
    m_bar->SetToolBitmaps(SAVE, Squares(kBlack));
    EXPECT_EQ(CountShown(m_toolbar, SAVE, kGreen), 16 * 16) << "nothing before Realize()";
    m_bar->Realize();
    Relayout();
    EXPECT_EQ(CountShown(m_toolbar, SAVE, kBlack), 32 * 32);
    EXPECT_EQ(CountShown(m_toolbar, OPEN, kRed), 32 * 32);
    EXPECT_TRUE(m_toolbar->HasFlag(wxAUI_TB_TEXT));
    EXPECT_EQ(m_toolbar->GetToolTextOrientation(), wxAUI_TBTOOL_TEXT_BOTTOM);
    m_bar->SetTextOrientation(TEXT_NONE);
    m_bar->Realize();
    EXPECT_FALSE(m_toolbar->HasFlag(wxAUI_TB_TEXT));

    m_bar->SetIconSize(5);
    m_bar->SetTextOrientation(7);
    EXPECT_EQ(m_bar->GetIconSize(), ICON_SIZE_MEDIUM);
    EXPECT_EQ(m_bar->GetTextOrientation(), TEXT_RIGHT);
}

TEST_F(kxAuiToolbarGui, DisabledToolsShowGreyedImagesOfTheCurrentSize)
{
    m_bar->EnableTool(PRINT, false);
    m_bar->EnableTool(OPEN, false);
    m_toolbar->Refresh();
    EXPECT_EQ(CountShown(m_toolbar, PRINT, wxColour(153, 153, 153)), 16 * 16);
    EXPECT_EQ(CountShown(m_toolbar, OPEN, wxColour(241, 153, 153)), 16 * 16);

    // New images bring their own greyed images, kept for the next change of size as well.
    m_bar->SetToolBitmaps(OPEN, Squares(wxColour(0, 0, 255)));
    m_bar->Realize();
    m_bar->SetIconSize(ICON_SIZE_LARGE);
    m_bar->Realize();
    Relayout();
    EXPECT_EQ(CountShown(m_toolbar, PRINT, wxColour(153, 153, 153)), 48 * 48);
    EXPECT_EQ(CountShown(m_toolbar, OPEN, wxColour(153, 153, 255)), 48 * 48);

    // A tool given only disabled images shows them while disabled, in every size.
    m_bar->AddTool(9, wxS("Locked"), Squares(wxColour(90, 90, 90)), wxEmptyString, true);
    m_bar->EnableTool(9, false);
    m_bar->SetIconSize(ICON_SIZE_MEDIUM);
    m_bar->Realize();
    Relayout();
    EXPECT_EQ(CountShown(m_toolbar, 9, wxColour(90, 90, 90)), 32 * 32);
}

TEST_F(kxAuiToolbarGui, DeletedToolsAreForgottenFailuresSayWhyAndTheToolbarMayOutliveUs)
{
    m_bar->DeleteTool(SAVE);
    EXPECT_NE(m_bar->FindTool(SAVE), nullptr) << "deletion waits for Realize()";
    m_bar->Realize();
    EXPECT_EQ(m_bar->FindTool(SAVE), nullptr);
    m_bar->SetIconSize(ICON_SIZE_LARGE);
    EXPECT_NO_THROW(m_bar->Realize()) << "its images went with it";

    const auto expectFailure = [](const std::function<void()>& action, const wxString& message)
    {
        try
        {
            action();
            ADD_FAILURE() << "no exception for " << message;
        }
        catch (const kxAuiToolbarException& e)
        {
            EXPECT_EQ(e.GetMsg(), message);
            EXPECT_EQ(e.GetClass(), wxS("kxAuiToolbar"));
        }
    };
    std::vector<wxBitmap> two = Squares(kRed);
    two.pop_back();
    expectFailure([&] { m_bar->AddTool(7, wxS("Two"), two); },
                  wxS("Incorrect size of bitmaps array"));
    EXPECT_EQ(m_bar->FindTool(7), nullptr);
    expectFailure([&] { kxAuiToolbar orphan(MENU_BASE, nullptr); },
                  wxS("Internal error in constructor kxAuiToolbar::kxAuiToolbar(). Parent is "
                      "not set"));
    // Disabled images kept for an id without a tool stop every change of size, which stays
    // pending.
    m_bar->SetToolBitmaps(77, Squares(kBlack), true);
    m_bar->SetIconSize(ICON_SIZE_SMALL);
    expectFailure([&] { m_bar->Realize(); }, wxS("Can not find tool with id77"));
    expectFailure([&] { m_bar->Realize(); }, wxS("Can not find tool with id77"));

    m_bar.reset();
    RightClickAndPress({WXK_ESCAPE});
    EXPECT_EQ(m_menuOpened, 0) << "a toolbar that outlives its object shows no menu";
}
