// The crash report dialog: its controls, texts and the answer each way out gives.
#include "kxRuzoVori/crash/kxCrashReportDlg.h"

#include "support/kxGuiSupport.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/uiaction.h>

#include <functional>

namespace
{
wxBitmap RedSquare()
{
    wxBitmap bitmap(48, 48);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxRED_BRUSH);
    dc.Clear();
    return bitmap;
}

class kxCrashReportDlgTest : public testing::Test
{
protected:
    // Shows a fresh dialog modally, does act once it is on the screen, and returns how the
    // dialog ended.
    int Answer(const std::function<void(kxCrashReportDlg&)>& act)
    {
        kxCrashReportDlg dialog(nullptr, RedSquare());
        dialog.CallAfter(
            [&]
            {
                if (kxTestWaitFor([&] { return dialog.IsShownOnScreen(); }, 5000))
                    kxTestPumpEvents(100);
                act(dialog);
            });
        return dialog.ShowModal();
    }
};

struct Expected
{
    int m_id;
    const wxClassInfo* m_class;
    const wxChar* m_name;
    const wxChar* m_label;
    wxSize m_least;
};
} // namespace

TEST_F(kxCrashReportDlgTest, ControlsNamesTextsAndSizes)
{
    kxCrashReportDlg dialog(nullptr, RedSquare());
    EXPECT_EQ(dialog.GetId(), 1);
    EXPECT_EQ(dialog.GetTitle(), wxS("Crash report"));
    const long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxMINIMIZE_BOX | wxRESIZE_BORDER |
                       wxDIALOG_NO_PARENT;
    EXPECT_EQ(dialog.GetWindowStyleFlag() & style, style);
    EXPECT_EQ(dialog.GetParent(), nullptr);

    const wxString description =
        wxS("We are sorry, but fatal error was catched. If you want us to fix it, please push "
            "\"Send\" button. You can fill e-mail field, if you want our feedback.");
    const Expected controls[] = {
        {2091, wxCLASSINFO(wxStaticBitmap), nullptr, nullptr, wxSize(48, 48)},
        {2092, wxCLASSINFO(wxStaticText), wxS("guiDialogDesc"), nullptr, wxSize(280, 39)},
        {2334, wxCLASSINFO(wxStaticText), wxS("WxStaticText1"), wxS("Your e-mail:"),
         wxSize(80, 17)},
        {2335, wxCLASSINFO(wxTextCtrl), wxS("guiEditEmail"), nullptr, wxSize(250, 19)},
        {2328, wxCLASSINFO(wxButton), wxS("guiButtonSend"), wxS("Send"), wxSize(75, 25)},
        {2329, wxCLASSINFO(wxButton), wxS("guiButtonDontSend"), wxS("Do not send"), wxSize(75, 25)},
        {2345, wxCLASSINFO(wxStaticText), wxS("WxStaticText2"), wxS("Your note:"), wxSize()},
        {2346, wxCLASSINFO(wxTextCtrl), wxS("guiEditNote"), nullptr, wxSize(300, 60)},
    };
    ASSERT_TRUE(kxTestShow(&dialog));
    for (const Expected& expected : controls)
    {
        SCOPED_TRACE(expected.m_id);
        wxWindow* control = dialog.FindWindow(expected.m_id);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->IsKindOf(expected.m_class));
        if (expected.m_name)
        {
            EXPECT_EQ(control->GetName(), expected.m_name);
        }
        if (expected.m_label)
        {
            EXPECT_EQ(control->GetLabel(), expected.m_label);
        }
        // The sizes given are the least; no label is cut off where the theme needs more.
        const wxSize size = control->GetSize();
        EXPECT_GE(size.x, expected.m_least.x);
        EXPECT_GE(size.y, expected.m_least.y);
        if (expected.m_label)
        {
            EXPECT_GE(size.x, control->GetBestSize().x);
            EXPECT_GE(size.y, control->GetBestSize().y);
        }
    }
    // The description is wrapped to its width and shown whole.
    wxStaticText* text = wxDynamicCast(dialog.FindWindow(2092), wxStaticText);
    wxString shown = text->GetLabel();
    shown.Replace(wxS("\n"), wxS(" "));
    EXPECT_EQ(shown, description);

    EXPECT_GE(text->GetSize().y, text->GetBestSize().y);
    EXPECT_LE(text->GetSize().x, dialog.GetClientSize().x);

    EXPECT_FALSE(wxDynamicCast(dialog.FindWindow(2335), wxTextCtrl)->IsMultiLine());
    EXPECT_TRUE(wxDynamicCast(dialog.FindWindow(2346), wxTextCtrl)->IsMultiLine());
    const wxBitmap picture = wxDynamicCast(dialog.FindWindow(2091), wxStaticBitmap)->GetBitmap();
    EXPECT_TRUE(picture.IsOk());
    EXPECT_EQ(picture.GetSize(), wxSize(48, 48));
    const wxImage seen = kxTestCapture(&dialog);
    const wxRect square = dialog.FindWindow(2091)->GetRect();
    const wxPoint centre = square.GetPosition() + square.GetSize() / 2;
    EXPECT_EQ(wxColour(seen.GetRed(centre.x, centre.y), seen.GetGreen(centre.x, centre.y),
                       seen.GetBlue(centre.x, centre.y)),
              *wxRED);

    // Centred on the screen, the buttons at the bottom right, the note field growing with it.
    const wxRect screen = wxDisplay(&dialog).GetClientArea();
    const wxRect frame = dialog.GetScreenRect();
    EXPECT_NEAR(frame.GetLeft() - screen.GetLeft(), screen.GetRight() - frame.GetRight(), 2);
    EXPECT_NEAR(frame.GetTop() - screen.GetTop(), screen.GetBottom() - frame.GetBottom(), 2);
    const wxRect dontSend = dialog.FindWindow(2329)->GetRect();
    EXPECT_LT(dialog.FindWindow(2328)->GetRect().GetRight(), dontSend.GetLeft());
    EXPECT_LE(dialog.GetClientSize().x - dontSend.GetRight(), 15);
    const int noteHeight = dialog.FindWindow(2346)->GetSize().y;
    dialog.SetSize(dialog.GetSize() + wxSize(0, 100));
    dialog.Layout();
    EXPECT_EQ(dialog.FindWindow(2346)->GetSize().y, noteHeight + 100);
    dialog.Hide();
}

TEST_F(kxCrashReportDlgTest, SendEndsWithZeroAndEveryOtherWayWithOne)
{
    EXPECT_EQ(Answer([](kxCrashReportDlg& dialog) { kxTestClick(dialog.FindWindow(2328)); }), 0);
    EXPECT_EQ(Answer([](kxCrashReportDlg& dialog) { kxTestClick(dialog.FindWindow(2329)); }), 1);
    EXPECT_EQ(Answer([](kxCrashReportDlg& dialog) { dialog.Close(); }), 1);
    EXPECT_EQ(Answer(
                  [](kxCrashReportDlg& dialog)
                  {
                      dialog.FindWindow(2335)->SetFocus();
                      kxTestPumpEvents(50);
                      wxUIActionSimulator().Char(WXK_ESCAPE);
                  }),
              1);
    // Other keys reach the fields.
    wxString typed;
    EXPECT_EQ(Answer(
                  [&](kxCrashReportDlg& dialog)
                  {
                      dialog.FindWindow(2346)->SetFocus();
                      kxTestPumpEvents(50);
                      wxUIActionSimulator().Text("note");
                      kxTestPumpEvents(100);
                      typed = wxDynamicCast(dialog.FindWindow(2346), wxTextCtrl)->GetValue();
                      kxTestClick(dialog.FindWindow(2328));
                  }),
              0);
    EXPECT_EQ(typed, wxS("note"));
}
