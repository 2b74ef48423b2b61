// Tests of kxLocale in a GUI host: the library's dialogs follow the host's language.
#include "kxRuzoVori/controls/wxPleaseWaitDlg.h"
#include "kxRuzoVori/locale/kxLocale.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/log.h>

namespace
{
// A GUI host: toolkit assertions fail the test, and the log goes to stderr, since a failed
// locale switch logs a warning that the GUI log would show as a modal box.
class kxLocaleGui : public testing::Test
{
protected:
    void SetUp() override
    {
        m_oldAssert = wxSetAssertHandler(
            [](const wxString& file, int line, const wxString&, const wxString& cond,
               const wxString& msg) {
                ADD_FAILURE() << "toolkit assertion " << file << ":" << line << " " << cond << msg;
            });
        m_oldLog = wxLog::SetActiveTarget(&m_log);
        m_frame = new wxFrame(nullptr, wxID_ANY, wxS("host"), wxPoint(20, 20), wxSize(300, 200));
        m_frame->Show();
    }
    void TearDown() override
    {
        m_frame->Destroy();
        kxTestPumpEvents(50);
        wxLog::SetActiveTarget(m_oldLog);
        wxSetAssertHandler(m_oldAssert);
    }

    wxLogStderr m_log;
    wxLog* m_oldLog = nullptr;
    wxAssertHandler_t m_oldAssert = nullptr;
    wxFrame* m_frame = nullptr;
};

wxString CancelLabelShown(wxWindow* parent, int* width = nullptr)
{
    wxPleaseWaitDlg dialog(wxS("Bitte warten"), wxS("Archiv wird gelesen"), parent,
                           wxPleaseWaitDlg::STYLE_CAN_CANCEL | wxPleaseWaitDlg::STYLE_SHOW_AT_ONCE);
    auto* cancel = wxDynamicCast(dialog.FindWindow(wxID_CANCEL), wxButton);
    if (!cancel || !kxTestWaitFor([&] { return cancel->IsShownOnScreen(); }, 5000))
        return wxString();
    if (width)
        *width =
            cancel->GetSize().GetWidth() - cancel->GetTextExtent(cancel->GetLabel()).GetWidth();
    return cancel->GetLabel();
}
} // namespace

// The user of a host that switched to German meets the library's dialogs in German, and in
// English again after switching back.
TEST_F(kxLocaleGui, LibraryDialogFollowsTheHostsLanguage)
{
    kxLocale locale(kxTestBinaryDir() + wxS("/locale"));
    ASSERT_TRUE(locale.SetLanguage(wxLANGUAGE_GERMAN));
    ASSERT_TRUE(locale.AddCatalog(wxS("kxRuzoVori")));
    int room = 0;
    EXPECT_EQ(CancelLabelShown(m_frame, &room), wxS("Abbrechen"));
    EXPECT_GT(room, 0) << "the German label is cut";

    ASSERT_TRUE(locale.SetLanguage(wxLANGUAGE_ENGLISH));
    EXPECT_EQ(CancelLabelShown(m_frame), wxS("Cancel"));
}
