// The please-wait dialog: cancelling, messages, closing and the windows it disables.
#include "kxRuzoVori/controls/wxPleaseWaitDlg.h"
#include "support/kxGuiSupport.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <memory>

namespace
{
const int kAppModal = wxPleaseWaitDlg::STYLE_APP_MODAL;
const int kCanCancel = wxPleaseWaitDlg::STYLE_CAN_CANCEL;
const int kAtOnce = wxPleaseWaitDlg::STYLE_SHOW_AT_ONCE;

// Two frames of the host: the dialog's parent and a bystander.
class wxPleaseWaitGui : public testing::Test
{
protected:
    void SetUp() override
    {
        m_parent = new wxFrame(nullptr, wxID_ANY, wxS("parent"), wxPoint(20, 20), wxSize(300, 200));
        m_other = new wxFrame(nullptr, wxID_ANY, wxS("other"), wxPoint(340, 20), wxSize(300, 200));
        ASSERT_TRUE(kxTestShow(m_parent));
        ASSERT_TRUE(kxTestShow(m_other));
    }

    void TearDown() override
    {
        if (m_parent)
            m_parent->Destroy();
        m_other->Destroy();
        kxTestPumpEvents(50);
    }

    wxButton* CancelButton(wxPleaseWaitDlg& dialog)
    {
        return wxDynamicCast(dialog.FindWindow(wxID_CANCEL), wxButton);
    }

    void ClickCancel(wxPleaseWaitDlg& dialog)
    {
        wxButton* button = CancelButton(dialog);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(kxTestWaitFor([&] { return button->IsShownOnScreen(); }, 5000));
        kxTestPumpEvents(100);
        kxTestClick(button);
    }

    wxFrame* m_parent = nullptr;
    wxFrame* m_other = nullptr;
};
} // namespace

TEST_F(wxPleaseWaitGui, CancelStopsTheWorkUntilItResumes)
{
    wxPleaseWaitDlg dialog(wxS("Please wait"), wxS("Counting"), m_parent,
                           kAppModal | kCanCancel | kAtOnce, wxSize(280, 60));
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(dialog.GetState(), wxPleaseWaitDlg::STATE_RUNNING);
    EXPECT_GE(dialog.GetSize().GetWidth(), 280);
    EXPECT_EQ(CancelButton(dialog)->GetLabel(), wxS("Cancel"));
    EXPECT_TRUE(dialog.Update(wxS("Counting 1")));

    ClickCancel(dialog);
    int updates = 0;
    ASSERT_TRUE(kxTestWaitFor([&] { return ++updates > 0 && !dialog.Update(wxString()); }, 5000));
    EXPECT_FALSE(dialog.Update(wxS("Counting 2")));
    EXPECT_TRUE(dialog.IsShown()) << "a cancel leaves the dialog for the host to close";
    dialog.Resume();
    EXPECT_TRUE(dialog.Update(wxString()));
    EXPECT_TRUE(CancelButton(dialog)->IsEnabled());
    dialog.DisableCancel();
    EXPECT_FALSE(CancelButton(dialog)->IsEnabled());
    dialog.EnableCancel();
    EXPECT_TRUE(CancelButton(dialog)->IsEnabled());

    dialog.Completed();
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_TRUE(m_other->IsEnabled());
    EXPECT_TRUE(dialog.Update(wxString()));
}

TEST_F(wxPleaseWaitGui, TheMessageChangesOnlyWhenGiven)
{
    wxPleaseWaitDlg dialog(wxS("Please wait"), wxS("Short"), m_parent, kAtOnce, wxSize(10, 10));
    wxStaticText* text = nullptr;
    for (wxWindow* child : dialog.GetChildren())
        if (auto* label = dynamic_cast<wxStaticText*>(child))
            text = label;
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(dialog.Update(wxString()));
    EXPECT_EQ(text->GetLabelText(), wxS("Short"));
    const int width = dialog.GetSize().GetWidth();
    const wxString longer = wxS("A much longer message: 50% & more of the work is done now");
    EXPECT_TRUE(dialog.Update(longer));
    EXPECT_EQ(text->GetLabelText(), longer) << "an ampersand is shown as it is";
    EXPECT_GT(dialog.GetSize().GetWidth(), width);
    EXPECT_GE(dialog.GetClientSize().GetWidth(), text->GetBestSize().GetWidth() + 16);
    dialog.UpdateMessage(wxS("x"));
    EXPECT_EQ(text->GetLabelText(), wxS("x"));
}

TEST_F(wxPleaseWaitGui, WithoutCancelTheUserCannotCloseIt)
{
    wxPleaseWaitDlg dialog(wxS("Please wait"), wxS("Busy"), m_parent, kAtOnce, wxDefaultSize);
    EXPECT_EQ(dialog.GetState(), wxPleaseWaitDlg::STATE_NO_CANCEL);
    EXPECT_EQ(CancelButton(dialog), nullptr);
    EXPECT_FALSE(dialog.Close());
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_TRUE(dialog.Update(wxString()));
    dialog.EnableCancel();
    dialog.Completed();
    EXPECT_TRUE(dialog.Close()) << "once completed a close passes";
}

TEST_F(wxPleaseWaitGui, ClosingACancellableDialogCancels)
{
    wxPleaseWaitDlg dialog(wxS("Please wait"), wxS("Busy"), m_parent, kCanCancel | kAtOnce,
                           wxDefaultSize);
    dialog.Close();
    EXPECT_EQ(dialog.GetState(), wxPleaseWaitDlg::STATE_CANCELLED);
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_FALSE(dialog.Update(wxString()));
    dialog.DisableCancel();
    EXPECT_TRUE(CancelButton(dialog)->IsEnabled()) << "no change while cancelled";
}

// In every state the dialog leaves the windows enabled behind it.
TEST_F(wxPleaseWaitGui, WindowsComeBackWhateverTheDialogWentThrough)
{
    for (int style : {kCanCancel, kAppModal | kCanCancel, 0, kAppModal})
        for (int ending = 0; ending < 3; ++ending)
        {
            SCOPED_TRACE(testing::Message() << "style " << style << ", ending " << ending);
            auto dialog = std::make_unique<wxPleaseWaitDlg>(wxS("Please wait"), wxS("Busy"),
                                                            m_parent, style, wxDefaultSize);
            EXPECT_FALSE(dialog->IsShown()) << "shown only when asked";
            EXPECT_FALSE(m_parent->IsEnabled());
            EXPECT_EQ(m_other->IsEnabled(), !(style & kAppModal));
            EXPECT_TRUE(dialog->IsEnabled());
            if (ending == 1)
                dialog->Close();
            if (ending == 2)
                dialog->Completed();
            dialog.reset();
            EXPECT_TRUE(m_parent->IsEnabled());
            EXPECT_TRUE(m_other->IsEnabled());
        }
}

TEST_F(wxPleaseWaitGui, ADialogGoesWithItsParent)
{
    auto* dialog = new wxPleaseWaitDlg(wxS("Please wait"), wxS("Busy"), m_parent,
                                       kCanCancel | kAtOnce, wxDefaultSize);
    EXPECT_TRUE(dialog->IsShown());
    delete m_parent;
    m_parent = nullptr;
    kxTestPumpEvents(50);
    EXPECT_TRUE(m_other->IsEnabled());
}
