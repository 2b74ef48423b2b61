// Controls bound to settings, edited through simulated input in a real frame.
#include "kxRuzoVori/settings/kxSettingCheckBox.h"
#include "kxRuzoVori/settings/kxSettingComboBox.h"
#include "kxRuzoVori/settings/kxSettingEditBox.h"
#include "kxRuzoVori/settings/kxSettings.h"
#include "support/kxGuiSupport.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <memory>

namespace
{
enum
{
    PAGE = 4,
    MINIMISED = 1,
    NAME = 2,
    PORT = 3,
    THEME = 4,
    MISSING = 9
};

// Counts the announcements a setting's registered handler hears.
class Listener : public wxEvtHandler
{
public:
    void OnSetting(wxEvent&) { ++m_calls; }
    int m_calls = 0;
};

const kxSettingsEventMethod kOnSetting = static_cast<kxSettingsEventMethod>(&Listener::OnSetting);

// A preferences dialog with two controls for each setting, as a host builds one, over a store in
// a scratch folder.
class kxSettingControlGui : public testing::Test
{
protected:
    void SetUp() override
    {
        m_file = m_dir.File(wxS("app.ini"));
        m_settings = MakeStore();
        m_dialog =
            new wxDialog(nullptr, wxID_ANY, wxS("Preferences"), wxPoint(30, 30), wxSize(420, 360));
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        const wxString themes[] = {wxS("Light"), wxS("Dark"), wxS("Contrast")};
        for (int i = 0; i < 2; ++i)
        {
            m_check[i] = new wxCheckBox(m_dialog, wxID_ANY, wxS("Start minimised"));
            m_name[i] = new wxTextCtrl(m_dialog, wxID_ANY);
            m_port[i] = new wxTextCtrl(m_dialog, wxID_ANY);
            m_theme[i] = new wxComboBox(m_dialog, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                        wxDefaultSize, 3, themes, wxCB_READONLY);
            for (wxWindow* control :
                 {static_cast<wxWindow*>(m_check[i]), static_cast<wxWindow*>(m_name[i]),
                  static_cast<wxWindow*>(m_port[i]), static_cast<wxWindow*>(m_theme[i])})
                sizer->Add(control, 0, wxEXPAND | wxALL, 3);
        }
        m_dialog->SetSizer(sizer);
        m_dialog->Layout();
        ASSERT_TRUE(kxTestShow(m_dialog));
    }

    void TearDown() override
    {
        m_dialog->Destroy();
        kxTestPumpEvents(50);
    }

    std::unique_ptr<kxSettings> MakeStore()
    {
        auto settings = std::make_unique<kxSettings>(m_file, &m_registry);
        kxSettingsGroup page;
        page.AddItem(MINIMISED, kxSettingsItem(wxS("Minimised"), true));
        page.AddItem(NAME, kxSettingsItem(wxS("Name"), "guest"));
        page.AddItem(PORT, kxSettingsItem(wxS("Port"), 5));
        page.AddItem(THEME, kxSettingsItem(wxS("Theme"), 2));
        settings->AddGroup(page, PAGE, true, wxS("/Page"));
        settings->LoadSettings();
        return settings;
    }

    // Binds and registers both controls of each setting, as a host's page does.
    void BindPage()
    {
        for (int i = 0; i < 2; ++i)
        {
            m_registry.AddCheckBox(PAGE, MINIMISED, m_check[i]);
            m_registry.AddEditBox(PAGE, NAME, m_name[i]);
            m_registry.AddEditBox(PAGE, PORT, m_port[i]);
            m_registry.AddComboBox(PAGE, THEME, m_theme[i]);
            m_bindings.push_back(std::make_unique<kxSettingCheckBox>(m_settings.get(), &m_registry,
                                                                     PAGE, MINIMISED, m_check[i]));
            m_bindings.push_back(std::make_unique<kxSettingEditBox>(m_settings.get(), &m_registry,
                                                                    PAGE, NAME, m_name[i]));
            m_bindings.push_back(std::make_unique<kxSettingEditBox>(m_settings.get(), &m_registry,
                                                                    PAGE, PORT, m_port[i]));
            m_bindings.push_back(std::make_unique<kxSettingComboBox>(m_settings.get(), &m_registry,
                                                                     PAGE, THEME, m_theme[i]));
        }
    }

    void Type(wxTextCtrl* edit, const char* text)
    {
        kxTestClick(edit);
        ASSERT_TRUE(kxTestWaitFor([&] { return edit->HasFocus(); }, 3000));
        edit->SelectAll();
        wxUIActionSimulator().Text(text);
        kxTestPumpEvents(100);
    }

    template <typename T> T Stored(long item)
    {
        T value{};
        m_settings->GetValue(PAGE, item, value);
        return value;
    }

    kxTestTempDir m_dir;
    wxString m_file;
    kxSettingsSet m_registry;
    std::unique_ptr<kxSettings> m_settings;
    std::vector<std::unique_ptr<kxSettingControl>> m_bindings;
    wxDialog* m_dialog = nullptr;
    wxCheckBox* m_check[2] = {};
    wxTextCtrl* m_name[2] = {};
    wxTextCtrl* m_port[2] = {};
    wxComboBox* m_theme[2] = {};
};
} // namespace

TEST_F(kxSettingControlGui, UserChangesReachTheStoreAndEveryViewAndSurviveAReload)
{
    Listener listener;
    m_registry.AddHandler(PAGE, MINIMISED, kOnSetting, &listener);
    BindPage();
    EXPECT_TRUE(m_check[0]->GetValue() && m_check[1]->GetValue());
    EXPECT_EQ(m_port[1]->GetValue(), wxS("5")) << "a number item shows as text";
    EXPECT_EQ(m_theme[0]->GetSelection(), 2) << "entry number 2 is the third entry";
    EXPECT_EQ(listener.m_calls, 2) << "each check box binding refreshed the item's views";

    kxTestClick(m_check[0]);
    ASSERT_TRUE(kxTestWaitFor([&] { return !m_check[0]->GetValue(); }, 3000));
    EXPECT_FALSE(Stored<bool>(MINIMISED));
    EXPECT_FALSE(m_check[1]->GetValue());
    EXPECT_EQ(listener.m_calls, 3);

    Type(m_port[1], "12");
    EXPECT_EQ(Stored<long>(PORT), 12);
    EXPECT_EQ(m_port[0]->GetValue(), wxS("12"));

    m_theme[0]->SetFocus();
    ASSERT_TRUE(kxTestWaitFor([&] { return m_theme[0]->HasFocus(); }, 3000));
    wxUIActionSimulator().Select(wxS("Dark"));
    ASSERT_TRUE(kxTestWaitFor([&] { return m_theme[1]->GetSelection() == 1; }, 3000));
    EXPECT_EQ(Stored<long>(THEME), 1);
    EXPECT_EQ(m_theme[0]->GetSelection(), 1);

    // The store saves when it goes; a new one over the same file binds the controls afresh.
    m_bindings.clear();
    m_settings.reset();
    m_settings = MakeStore();
    m_check[1]->SetValue(true);
    m_port[1]->ChangeValue(wxS("0"));
    m_theme[1]->SetSelection(0);
    kxSettingCheckBox check(m_settings.get(), nullptr, PAGE, MINIMISED, m_check[1]);
    kxSettingEditBox port(m_settings.get(), nullptr, PAGE, PORT, m_port[1]);
    kxSettingComboBox theme(m_settings.get(), nullptr, PAGE, THEME, m_theme[1]);
    EXPECT_FALSE(m_check[1]->GetValue());
    EXPECT_EQ(m_port[1]->GetValue(), wxS("12"));
    EXPECT_EQ(m_theme[1]->GetSelection(), 1);
}

TEST_F(kxSettingControlGui, TheOtherEditBoxFollowsOnceAndAFrozenStoreKeepsItsValue)
{
    BindPage();
    int events[2] = {0, 0};
    for (int i = 0; i < 2; ++i)
        m_name[i]->Bind(wxEVT_TEXT,
                        [&, i](wxCommandEvent& event)
                        {
                            ++events[i];
                            event.Skip();
                        });
    Type(m_name[0], "ab");
    EXPECT_EQ(Stored<wxString>(NAME), wxS("ab"));
    EXPECT_EQ(m_name[1]->GetValue(), wxS("ab"));
    EXPECT_EQ(events[1], 0) << "the mirror takes the text without answering back";
    EXPECT_GE(events[0], 2) << "the host still hears every keystroke in the typed box";
    EXPECT_LE(events[0], 3) << "one event per keystroke (and the replaced selection)";

    m_settings->Freeze(true);
    kxTestClick(m_check[1]);
    ASSERT_TRUE(kxTestWaitFor([&] { return !m_check[1]->GetValue(); }, 3000));
    EXPECT_FALSE(m_check[0]->GetValue()) << "the views still mirror";
    EXPECT_TRUE(Stored<bool>(MINIMISED));
    Type(m_name[0], "x");
    EXPECT_EQ(m_name[1]->GetValue(), wxS("x"));
    EXPECT_EQ(Stored<wxString>(NAME), wxS("ab"));
}

TEST_F(kxSettingControlGui, BindingChecksItsArgumentsAndLeavesOtherControlsAlone)
{
    try
    {
        kxSettingCheckBox box(nullptr, &m_registry, PAGE, MINIMISED, m_check[0]);
        ADD_FAILURE() << "a binding without a store was made";
    }
    catch (const kxSettingControlException& e)
    {
        EXPECT_EQ(e.GetMsg(), wxS("Internal error. Null settings object"));
        EXPECT_EQ(e.GetClass(), wxS("Setting's control exception"));
    }
    kxSettingControl unbound;
    EXPECT_THROW(unbound.Assign(m_settings.get(), nullptr, PAGE, MISSING, m_check[0]),
                 kxSettingsException);
    // A slider is no control the binding knows: nothing is read (the item is missing) or shown.
    auto* slider = new wxSlider(m_dialog, wxID_ANY, 3, 0, 10);
    EXPECT_TRUE(unbound.Assign(m_settings.get(), &m_registry, PAGE, MISSING, slider));
    EXPECT_EQ(slider->GetValue(), 3);
}

TEST_F(kxSettingControlGui, RebindingAndDestroyingDisconnectAndTheHostStillHearsTheClick)
{
    int hostClicks = 0;
    m_check[0]->Bind(wxEVT_CHECKBOX, [&](wxCommandEvent&) { ++hostClicks; });
    auto binding =
        std::make_unique<kxSettingControl>(m_settings.get(), nullptr, PAGE, NAME, m_name[0]);
    binding->Assign(m_settings.get(), nullptr, PAGE, MINIMISED, m_check[0]);
    m_settings->SetValue(PAGE, NAME, wxS("kept"));
    Type(m_name[0], "gone");
    EXPECT_EQ(Stored<wxString>(NAME), wxS("kept")) << "the earlier control was disconnected";

    kxTestClick(m_check[0]);
    ASSERT_TRUE(kxTestWaitFor([&] { return hostClicks == 1; }, 3000));
    EXPECT_FALSE(Stored<bool>(MINIMISED));

    binding.reset();
    kxTestClick(m_check[0]);
    ASSERT_TRUE(kxTestWaitFor([&] { return hostClicks == 2; }, 3000));
    EXPECT_FALSE(Stored<bool>(MINIMISED)) << "a destroyed binding stores nothing";

    // A binding may outlive its control.
    kxSettingControl outliving(m_settings.get(), nullptr, PAGE, THEME, m_theme[0]);
    m_theme[0]->Destroy();
    kxTestPumpEvents(50);
    outliving.Assign(m_settings.get(), nullptr, PAGE, MINIMISED, m_check[0]);
}
