// The hyperlink control: its colours, roll-over, click events and the browser it starts.
#include "kxRuzoVori/controls/wxHyperlinkCtrl.h"
#include "support/kxGuiSupport.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/timer.h>
#include <wx/tooltip.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <vector>

using kxRuzoVori::wxHyperlinkCtrl;
using kxRuzoVori::wxHyperlinkEvent;

namespace
{
// No shell sees the command: its special characters reach the browser as they are.
const wxString kUrl = wxS("https://example.org/a?b=c&d=$e#f;g");

// Answers every modal dialog at once and remembers its caption and message.
class DialogCatcher : public wxModalDialogHook
{
public:
    DialogCatcher() { Register(); }
    ~DialogCatcher() override { Unregister(); }

    int Enter(wxDialog* dialog) override
    {
        m_titles.push_back(dialog->GetTitle());
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog))
            m_messages.push_back(box->GetMessage());
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}

    std::vector<wxString> m_titles;
    std::vector<wxString> m_messages;
};

// A panel holding one link, and the link events the panel hears.
class kxHyperlinkGui : public testing::Test
{
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, wxS("links"), wxPoint(40, 40), wxSize(360, 200));
        m_panel = new wxPanel(m_frame);
        m_link = new wxHyperlinkCtrl(m_panel, 77, wxS("Example link"), wxPoint(30, 40),
                                     wxDefaultSize, 0, wxS("hyperlink"), kUrl);
        for (const auto& type :
             {wxEVT_COMMAND_LINK_CLICKED, wxEVT_COMMAND_LINK_MCLICKED, wxEVT_COMMAND_LINK_RCLICKED})
            m_panel->Bind(type, [this](wxHyperlinkEvent& event) { m_events.push_back(event); });
        ASSERT_TRUE(kxTestShow(m_frame));
    }

    void TearDown() override
    {
        m_frame->Destroy();
        kxTestPumpEvents(50);
    }

    wxPoint LinkCentre() const
    {
        const wxRect rect = m_link->GetScreenRect();
        return wxPoint(rect.GetLeft() + rect.GetWidth() / 2, rect.GetTop() + rect.GetHeight() / 2);
    }

    void Click(int button)
    {
        kxTestClick(m_link, button);
        kxTestPumpEvents(100);
    }

    // A browser command whose program writes the URL it is given into file.
    static wxString Recorder(const wxString& file)
    {
        return wxS("/bin/sh -c 'printf %s \"$0\" > ") + file + wxS("' ");
    }

    wxFrame* m_frame = nullptr;
    wxPanel* m_panel = nullptr;
    wxHyperlinkCtrl* m_link = nullptr;
    std::vector<wxHyperlinkEvent> m_events;
};
} // namespace

TEST_F(kxHyperlinkGui, StartsAsAnUnvisitedBlueUnderlinedLink)
{
    EXPECT_EQ(m_link->GetURL(), kUrl);
    EXPECT_EQ(m_link->GetToolTipText(), kUrl);
    EXPECT_EQ(m_link->GetForegroundColour(), wxColour(wxS("BLUE")));
    EXPECT_TRUE(m_link->GetFont().GetUnderlined());
    EXPECT_FALSE(m_link->GetVisited());
    EXPECT_TRUE(m_link->GetWindowStyleFlag() & 0x20000);
    wxColour link, visited, rollover;
    m_link->GetColous(link, visited, rollover);
    EXPECT_EQ(visited, wxColour(wxS("VIOLET")));
    EXPECT_EQ(rollover, wxColour(wxS("BLUE")));

    // An empty URL takes the label.
    auto* bare = new wxHyperlinkCtrl(m_panel, wxID_ANY, wxS("https://label.example/"));
    EXPECT_EQ(bare->GetURL(), wxS("https://label.example/"));
    EXPECT_EQ(bare->GetToolTipText(), wxS("https://label.example/"));

    // Setters only store; UpdateLink shows them.
    m_link->SetColours(*wxRED, *wxGREEN, *wxCYAN);
    m_link->SetUnderlines(false, true, false);
    m_link->SetBold(true);
    m_link->SetVisited(true);
    EXPECT_EQ(m_link->GetForegroundColour(), wxColour(wxS("BLUE")));
    m_link->UpdateLink(true);
    EXPECT_EQ(m_link->GetForegroundColour(), *wxGREEN);
    EXPECT_TRUE(m_link->GetFont().GetUnderlined());
    EXPECT_EQ(m_link->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
    m_link->SetVisited(false);
    m_link->UpdateLink(false);
    EXPECT_EQ(m_link->GetForegroundColour(), *wxRED);
    EXPECT_FALSE(m_link->GetFont().GetUnderlined());
}

TEST_F(kxHyperlinkGui, TheMouseOverTheLinkRollsItOverOnlyWhenAsked)
{
    wxUIActionSimulator sim;
    sim.MouseMove(LinkCentre());
    ASSERT_TRUE(
        kxTestWaitFor([&] { return m_link->GetCursor().IsSameAs(m_link->GetLinkCursor()); }, 3000));
    EXPECT_EQ(m_link->GetForegroundColour(), wxColour(wxS("BLUE"))) << "rollover is off";
    sim.MouseMove(m_frame->ClientToScreen(wxPoint(300, 150)));
    ASSERT_TRUE(kxTestWaitFor([&] { return !m_link->GetCursor().IsOk(); }, 3000));

    m_link->SetColours(*wxBLUE, wxColour(wxS("VIOLET")), *wxRED);
    m_link->SetUnderlines(true, true, false);
    m_link->EnableRollover(true);
    sim.MouseMove(LinkCentre());
    ASSERT_TRUE(kxTestWaitFor([&] { return m_link->GetForegroundColour() == *wxRED; }, 3000));
    EXPECT_FALSE(m_link->GetFont().GetUnderlined());
    sim.MouseMove(m_frame->ClientToScreen(wxPoint(300, 150)));
    ASSERT_TRUE(kxTestWaitFor([&] { return m_link->GetForegroundColour() == *wxBLUE; }, 3000));
    EXPECT_TRUE(m_link->GetFont().GetUnderlined());
}

TEST_F(kxHyperlinkGui, ClicksWithoutBrowsingBecomeEventsAndMarkTheLinkVisited)
{
    kxTestTempDir dir;
    m_link->SetBrowserPath(Recorder(dir.File(wxS("url"))));
    m_link->AutoBrowse(false);
    m_link->DoPopup(false);
    Click(wxMOUSE_BTN_LEFT);
    ASSERT_TRUE(kxTestWaitFor([&] { return m_events.size() == 1; }, 3000));
    const wxHyperlinkEvent& clicked = m_events[0];
    EXPECT_EQ(clicked.GetEventType(), wxEVT_COMMAND_LINK_CLICKED);
    EXPECT_EQ(clicked.GetId(), 77);
    EXPECT_EQ(clicked.GetEventObject(), m_link);
    const wxPoint inPanel = m_panel->ScreenToClient(LinkCentre());
    EXPECT_NEAR(clicked.GetPosition().x, inPanel.x, 1);
    EXPECT_NEAR(clicked.GetPosition().y, inPanel.y, 1);
    EXPECT_TRUE(m_link->GetVisited());
    EXPECT_EQ(m_link->GetForegroundColour(), wxColour(wxS("BLUE"))) << "not repainted yet";

    Click(wxMOUSE_BTN_MIDDLE);
    Click(wxMOUSE_BTN_RIGHT);
    ASSERT_TRUE(kxTestWaitFor([&] { return m_events.size() == 3; }, 3000));
    EXPECT_EQ(m_events[1].GetEventType(), wxEVT_COMMAND_LINK_MCLICKED);
    EXPECT_EQ(m_events[2].GetEventType(), wxEVT_COMMAND_LINK_RCLICKED);
    kxTestPumpEvents(300);
    EXPECT_FALSE(wxFileExists(dir.File(wxS("url")))) << "nothing was launched";

    m_link->UpdateLink();
    EXPECT_EQ(m_link->GetForegroundColour(), wxColour(wxS("VIOLET")));
}

TEST_F(kxHyperlinkGui, AClickRunsTheConfiguredBrowserWithTheUrl)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("url"));
    m_link->SetBrowserPath(Recorder(file));
    Click(wxMOUSE_BTN_LEFT);
    ASSERT_TRUE(kxTestWaitFor([&] { return kxTestReadFile(file) == kUrl; }, 5000))
        << kxTestReadFile(file);
    EXPECT_TRUE(m_link->GetVisited());
    EXPECT_TRUE(m_events.empty());

    // A browser path that names no program fails, with a message box when errors are reported.
    DialogCatcher catcher;
    EXPECT_FALSE(m_link->GotoURL(kUrl, dir.File(wxS("no-browser")) + wxS(" "), false));
    EXPECT_TRUE(catcher.m_titles.empty());
    m_link->SetBrowserPath(dir.File(wxS("no-browser")) + wxS(" "));
    Click(wxMOUSE_BTN_LEFT);
    ASSERT_EQ(catcher.m_titles.size(), 1u);
    EXPECT_EQ(catcher.m_titles[0], wxS("Hyperlink Error"));
    ASSERT_EQ(catcher.m_messages.size(), 1u);
    EXPECT_EQ(catcher.m_messages[0], wxS("Unable to launch specified browser."));
}

// The desktop's opener is found on the PATH; a stand-in records what it was asked to open.
TEST_F(kxHyperlinkGui, WithoutABrowserPathTheDesktopOpensTheUrl)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("opened"));
    const wxString opener = dir.File(wxS("xdg-open"));
    ASSERT_TRUE(kxTestWriteFile(opener, "#!/bin/sh\nprintf %s \"$1\" > '" +
                                            std::string(file.utf8_str()) +
                                            "'\n[ \"$1\" != broken ]\n"));
    ASSERT_TRUE(wxFileName(opener).SetPermissions(wxPOSIX_USER_READ | wxPOSIX_USER_WRITE |
                                                  wxPOSIX_USER_EXECUTE));
    wxString path;
    wxGetEnv(wxS("PATH"), &path);
    wxSetEnv(wxS("PATH"), dir.GetPath() + wxS(":") + path);

    Click(wxMOUSE_BTN_LEFT);
    ASSERT_TRUE(kxTestWaitFor([&] { return kxTestReadFile(file) == kUrl; }, 5000));
    for (bool sameWindow : {false, true})
        EXPECT_TRUE(m_link->GotoURL(wxS("https://x.example/"), wxString(), false, sameWindow));

    DialogCatcher catcher;
    EXPECT_FALSE(m_link->GotoURL(wxS("broken"), wxString(), false, false));
    EXPECT_TRUE(catcher.m_titles.empty());
    EXPECT_FALSE(m_link->GotoURL(wxS("broken")));
    ASSERT_EQ(catcher.m_messages.size(), 1u);
    EXPECT_EQ(catcher.m_messages[0], wxS("Unable to launch default browser."));
    wxSetEnv(wxS("PATH"), path);
}

TEST_F(kxHyperlinkGui, TheMenuCopiesTheUrlToTheClipboard)
{
    if (wxTheClipboard->Open())
    {
        wxTheClipboard->SetData(new wxTextDataObject(wxS("before")));
        wxTheClipboard->Close();
    }
    // The menu runs a loop of its own: once it is open, "Copy" is chosen from the keyboard.
    int opened = 0;
    wxTimer chooser;
    chooser.Bind(wxEVT_TIMER,
                 [](wxTimerEvent&)
                 {
                     wxUIActionSimulator sim;
                     sim.Char(WXK_DOWN);
                     sim.Char(WXK_RETURN);
                 });
    m_link->Bind(wxEVT_MENU_OPEN,
                 [&](wxMenuEvent& event)
                 {
                     ++opened;
                     chooser.StartOnce(300);
                     event.Skip();
                 });
    Click(wxMOUSE_BTN_RIGHT);
    wxString copied;
    ASSERT_TRUE(kxTestWaitFor(
        [&]
        {
            wxTextDataObject text;
            if (!wxTheClipboard->Open())
                return false;
            const bool got = wxTheClipboard->GetData(text);
            wxTheClipboard->Close();
            copied = text.GetText();
            return got && copied == kUrl;
        },
        5000))
        << copied;
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(m_events.empty());
    EXPECT_FALSE(m_link->GetVisited()) << "only the left button visits";
}
