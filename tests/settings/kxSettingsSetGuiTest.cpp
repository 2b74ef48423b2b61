// Tests of kxSettingsSet with real controls: views follow the settings and handlers hear changes.
#include "kxRuzoVori/settings/kxSettings.h"
#include "support/kxGuiSupport.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace
{
enum
{
    GROUP = 1,
    FLAG = 1,
    TEXT = 2,
    CHOICE = 3,
    UNBOUND = 9
};

// Counts the announcements it hears and remembers the last event.
class Listener : public wxEvtHandler
{
public:
    void OnSetting(wxEvent& event)
    {
        ++m_calls;
        m_lastId = event.GetId();
        m_lastType = event.GetEventType();
        m_lastInt = static_cast<wxCommandEvent&>(event).GetInt();
        m_lastObject = event.GetEventObject();
    }
    int m_calls = 0;
    int m_lastId = -1;
    wxEventType m_lastType = wxEVT_NULL;
    int m_lastInt = -1;
    wxObject* m_lastObject = this;
};

const kxSettingsEventMethod kOnSetting = static_cast<kxSettingsEventMethod>(&Listener::OnSetting);

// A settings page with two controls of each kind, shown on the test's X server.
class kxSettingsSetGui : public testing::Test
{
protected:
    void SetUp() override
    {
        m_frame =
            new wxFrame(nullptr, wxID_ANY, wxS("settings"), wxPoint(40, 40), wxSize(420, 320));
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        const wxString choices[] = {wxS("zero"), wxS("one"), wxS("two"), wxS("three")};
        for (int i = 0; i < 2; ++i)
        {
            m_check[i] = new wxCheckBox(m_frame, wxID_ANY, wxString::Format(wxS("Check %d"), i));
            m_edit[i] = new wxTextCtrl(m_frame, wxID_ANY);
            m_combo[i] = new wxComboBox(m_frame, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                        wxDefaultSize, 4, choices, wxCB_READONLY);
            sizer->Add(m_check[i], 0, wxEXPAND | wxALL, 4);
            sizer->Add(m_edit[i], 0, wxEXPAND | wxALL, 4);
            sizer->Add(m_combo[i], 0, wxEXPAND | wxALL, 4);
        }
        m_frame->SetSizer(sizer);
        m_frame->Layout();
        ASSERT_TRUE(kxTestShow(m_frame));
    }

    void TearDown() override
    {
        m_frame->Destroy();
        kxTestPumpEvents(50);
    }

    wxFrame* m_frame = nullptr;
    wxCheckBox* m_check[2] = {};
    wxTextCtrl* m_edit[2] = {};
    wxComboBox* m_combo[2] = {};
    kxSettingsSet m_registry;
    Listener m_listener;
};
} // namespace

TEST_F(kxSettingsSetGui, CheckBoxesFollowAndHandlersHearEachChangeOnce)
{
    EXPECT_FALSE(m_registry.UpdateSetting(GROUP, FLAG, true)) << "nothing bound yet";
    EXPECT_FALSE(m_check[0]->GetValue());

    m_registry.AddCheckBox(GROUP, FLAG, m_check[0]);
    m_registry.AddCheckBox(GROUP, FLAG, m_check[1]);
    m_registry.AddHandler(GROUP, FLAG, kOnSetting, &m_listener);
    EXPECT_TRUE(m_registry.UpdateSetting(GROUP, FLAG, true));
    EXPECT_TRUE(m_check[0]->GetValue());
    EXPECT_TRUE(m_check[1]->GetValue());
    EXPECT_EQ(m_listener.m_calls, 1);
    EXPECT_EQ(m_listener.m_lastId, 0);
    EXPECT_EQ(m_listener.m_lastType, wxEVT_COMMAND_CHECKBOX_CLICKED);
    EXPECT_EQ(m_listener.m_lastInt, 0) << "a fresh event carries no data";
    EXPECT_EQ(m_listener.m_lastObject, nullptr);
    EXPECT_FALSE(m_registry.UpdateSetting(GROUP, UNBOUND, true));
    EXPECT_EQ(m_listener.m_calls, 1);

    // The user unticks the first box; the page mirrors it to the other views.
    m_check[0]->Bind(wxEVT_CHECKBOX,
                     [&](wxCommandEvent&) { m_registry.UpdateCheckBox(GROUP, FLAG, m_check[0]); });
    kxTestClick(m_check[0]);
    ASSERT_TRUE(kxTestWaitFor([&] { return !m_check[0]->GetValue(); }, 5000));
    EXPECT_FALSE(m_check[1]->GetValue());
    EXPECT_EQ(m_listener.m_calls, 2);
    EXPECT_EQ(m_listener.m_lastId, 0);

    // A box added twice and removed once still follows.
    m_registry.AddCheckBox(GROUP, FLAG, m_check[1]);
    EXPECT_TRUE(m_registry.RemoveCheckBox(GROUP, FLAG, m_check[1]));
    m_registry.UpdateSetting(GROUP, FLAG, true);
    EXPECT_TRUE(m_check[1]->GetValue());
    EXPECT_TRUE(m_registry.RemoveCheckBox(GROUP, FLAG, m_check[1]));
    EXPECT_FALSE(m_registry.RemoveCheckBox(GROUP, FLAG, m_check[1]));
    EXPECT_FALSE(m_registry.RemoveCheckBox(GROUP, UNBOUND, m_check[1]));
    m_registry.UpdateSetting(GROUP, FLAG, false);
    EXPECT_TRUE(m_check[1]->GetValue()) << "removed boxes no longer follow";
    EXPECT_FALSE(m_check[0]->GetValue());
}

TEST_F(kxSettingsSetGui, TypingMirrorsIntoEveryEditBoxAndComesToRest)
{
    int textEvents = 0;
    for (wxTextCtrl* edit : m_edit)
    {
        m_registry.AddEditBox(GROUP, TEXT, edit);
        edit->Bind(wxEVT_TEXT,
                   [&, edit](wxCommandEvent& event)
                   {
                       ++textEvents;
                       m_registry.UpdateEditBox(GROUP, TEXT, edit);
                       event.Skip();
                   });
    }
    m_registry.AddHandler(GROUP, TEXT, kOnSetting, &m_listener);

    kxTestClick(m_edit[0]);
    kxTestWaitFor([&] { return m_edit[0]->HasFocus(); }, 2000);
    wxUIActionSimulator sim;
    sim.Text("12");
    ASSERT_TRUE(kxTestWaitFor([&] { return m_edit[1]->GetValue() == wxS("12"); }, 5000));
    kxTestPumpEvents(100);
    EXPECT_EQ(m_edit[0]->GetValue(), wxS("12"));
    EXPECT_LE(textEvents, 6) << "mirroring must not echo back and forth";
    EXPECT_EQ(m_listener.m_calls, 0) << "edit boxes call no handlers";

    m_edit[1]->ChangeValue(wxS("typed"));
    EXPECT_TRUE(m_registry.UpdateEditBox(GROUP, TEXT, m_edit[1]));
    EXPECT_EQ(m_edit[0]->GetValue(), wxS("typed"));
    EXPECT_EQ(m_edit[1]->GetValue(), wxS("typed")) << "the source keeps its text";
    EXPECT_TRUE(m_registry.UpdateSetting(GROUP, TEXT, wxString(wxS("set"))));
    EXPECT_EQ(m_edit[0]->GetValue(), wxS("set"));
    EXPECT_EQ(m_edit[1]->GetValue(), wxS("set"));
    EXPECT_EQ(m_listener.m_calls, 0);
    EXPECT_FALSE(m_registry.UpdateEditBox(GROUP, UNBOUND, m_edit[1]));
}

TEST_F(kxSettingsSetGui, ComboBoxesTakeTheEntryNumber)
{
    m_registry.AddComboBox(GROUP, CHOICE, m_combo[0]);
    m_registry.AddComboBox(GROUP, CHOICE, m_combo[1]);
    m_registry.AddHandler(GROUP, CHOICE, kOnSetting, &m_listener);
    EXPECT_TRUE(m_registry.UpdateSetting(GROUP, CHOICE, 2L));
    EXPECT_EQ(m_combo[0]->GetSelection(), 2);
    EXPECT_EQ(m_combo[1]->GetSelection(), 2);
    EXPECT_EQ(m_listener.m_calls, 1);
    EXPECT_EQ(m_listener.m_lastType, wxEVT_COMMAND_COMBOBOX_SELECTED);
    EXPECT_EQ(m_listener.m_lastId, 0);

    m_combo[1]->SetSelection(3);
    EXPECT_TRUE(m_registry.UpdateComboBox(GROUP, CHOICE, m_combo[1]));
    EXPECT_EQ(m_combo[0]->GetSelection(), 3);
    EXPECT_EQ(m_listener.m_calls, 2);

    EXPECT_TRUE(m_registry.UpdateSetting(GROUP, CHOICE, 99L)) << "a number past the entries";
    EXPECT_EQ(m_combo[0]->GetSelection(), wxNOT_FOUND);
    EXPECT_TRUE(m_registry.RemoveComboBox(GROUP, CHOICE, m_combo[0]));
    m_registry.UpdateSetting(GROUP, CHOICE, 1L);
    EXPECT_EQ(m_combo[0]->GetSelection(), wxNOT_FOUND);
    EXPECT_EQ(m_combo[1]->GetSelection(), 1);
}

TEST_F(kxSettingsSetGui, HandlersMayLeaveWhileTheyAreCalled)
{
    // The first handler removes itself and the third while the announcement is under way.
    class Leaver : public wxEvtHandler
    {
    public:
        void OnSetting(wxEvent&)
        {
            ++m_calls;
            m_registry->RemoveHandler(GROUP, FLAG, m_method, this);
            m_registry->RemoveHandler(GROUP, FLAG, kOnSetting, m_third);
        }
        kxSettingsSet* m_registry = nullptr;
        kxSettingsEventMethod m_method = nullptr;
        Listener* m_third = nullptr;
        int m_calls = 0;
    } leaver;
    Listener second, third;
    leaver.m_registry = &m_registry;
    leaver.m_method = static_cast<kxSettingsEventMethod>(&Leaver::OnSetting);
    leaver.m_third = &third;
    m_registry.AddHandler(GROUP, FLAG, leaver.m_method, &leaver);
    m_registry.AddHandler(GROUP, FLAG, kOnSetting, &second);
    m_registry.AddHandler(GROUP, FLAG, kOnSetting, &third);

    EXPECT_TRUE(m_registry.UpdateSetting(GROUP, FLAG, true));
    EXPECT_EQ(leaver.m_calls, 1);
    EXPECT_EQ(third.m_calls, 0) << "removed before its turn";
    m_registry.UpdateSetting(GROUP, FLAG, false);
    EXPECT_EQ(leaver.m_calls, 1);
    EXPECT_EQ(second.m_calls, 2);
    EXPECT_FALSE(m_registry.RemoveHandler(GROUP, UNBOUND, kOnSetting, &second));
    EXPECT_TRUE(m_registry.RemoveHandler(GROUP, FLAG, kOnSetting, &third)) << "bound, no match";
}

TEST_F(kxSettingsSetGui, StoreAnnouncesWrittenValuesToThePage)
{
    kxTestTempDir dir;
    kxSettings settings(dir.File(wxS("page.ini")), &m_registry);
    kxSettingsGroup page;
    page.AddItem(FLAG, kxSettingsItem(wxS("Enabled"), false));
    page.AddItem(TEXT, kxSettingsItem(wxS("Count"), 4));
    page.AddItem(CHOICE, kxSettingsItem(wxS("Mode"), 0));
    settings.AddGroup(page, GROUP, true, wxS("/Page"));
    for (int i = 0; i < 2; ++i)
    {
        m_registry.AddCheckBox(GROUP, FLAG, m_check[i]);
        m_registry.AddEditBox(GROUP, TEXT, m_edit[i]);
        m_registry.AddComboBox(GROUP, CHOICE, m_combo[i]);
    }
    m_registry.AddHandler(GROUP, CHOICE, kOnSetting, &m_listener);

    settings.SetValue(GROUP, FLAG, true);
    settings.SetValue(GROUP, TEXT, wxS("0012"));
    settings.SetValue(GROUP, CHOICE, 3L);
    EXPECT_TRUE(m_check[1]->GetValue());
    EXPECT_EQ(m_edit[1]->GetValue(), wxS("0012")) << "the text as passed, not the number";
    EXPECT_EQ(m_combo[1]->GetSelection(), 3);
    EXPECT_EQ(m_listener.m_calls, 1);
    long count = 0;
    settings.GetValue(GROUP, TEXT, count);
    EXPECT_EQ(count, 12);

    settings.Freeze(true);
    settings.SetValue(GROUP, FLAG, false);
    settings.SetValue(GROUP, CHOICE, 1L);
    EXPECT_TRUE(m_check[0]->GetValue()) << "a frozen store announces nothing";
    EXPECT_EQ(m_combo[0]->GetSelection(), 3);
    EXPECT_EQ(m_listener.m_calls, 1);
}
