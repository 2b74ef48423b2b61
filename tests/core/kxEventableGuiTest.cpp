// Tests of kxEventable in a GUI program: clicks on a real window reach the subscribers.
#include "kxRuzoVori/core/kxEventable.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/uiaction.h>

namespace
{
// A window that publishes its button's clicks as a numbered event, the way the library's
// controls publish theirs.
class ClickPublisher : public wxFrame, public kxEventable
{
public:
    enum
    {
        EVENT_CLICKED = 10
    };

    ClickPublisher()
        : wxFrame(nullptr, wxID_ANY, wxS("publisher"), wxPoint(50, 50), wxSize(300, 200))
    {
        RegisterEvent(EVENT_CLICKED);
        m_button = new wxButton(this, wxID_ANY, wxS("Press"));
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_button, 1, wxEXPAND | wxALL, 20);
        SetSizer(sizer);
        m_button->Bind(wxEVT_BUTTON,
                       [this](wxCommandEvent&) { m_answer = FireEvent(EVENT_CLICKED); });
    }

    wxButton* m_button;
    int m_answer = -1;
};

class ClickCounter : public kxEventHandler
{
public:
    bool OnClicked(kxEventable&, kxParams&)
    {
        ++m_count;
        return m_count < 2;
    }
    int m_count = 0;
};
} // namespace

// The harness itself: a real frame in a real X server, clicked through simulated input.
TEST(kxEventableGui, SimulatedClicksReachSubscribers)
{
    auto* frame = new ClickPublisher;
    ClickCounter counter;
    frame->AddHandler(ClickPublisher::EVENT_CLICKED,
                      static_cast<kxEventMethod>(&ClickCounter::OnClicked), &counter);
    frame->Show();
    frame->Raise();
    ASSERT_TRUE(kxTestWaitFor([&] { return frame->IsShownOnScreen(); }, 5000));
    kxTestPumpEvents(200);

    wxUIActionSimulator sim;
    const wxRect rect = frame->m_button->GetScreenRect();
    for (int click = 1; click <= 2; ++click)
    {
        sim.MouseMove(rect.GetLeft() + rect.GetWidth() / 2, rect.GetTop() + rect.GetHeight() / 2);
        sim.MouseClick();
        ASSERT_TRUE(kxTestWaitFor([&] { return counter.m_count == click; }, 5000));
    }
    EXPECT_EQ(frame->m_answer, 0);
    frame->Destroy();
    kxTestPumpEvents(50);
}
