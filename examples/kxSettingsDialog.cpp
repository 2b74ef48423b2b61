// kxSettingsDialog: a preferences dialog whose controls are bound to a settings file.
//
//   kxSettingsDialog [FILE]
//
// The settings live in FILE (by default .config/kxSettingsDialog/settings.ini in the home
// folder). Each control shows its setting and stores every change at once; a second view of the
// name follows it as the user types. OK writes the file, Cancel puts the values back as they
// were when the dialog opened.
#include "kxRuzoVori/settings/kxSettingCheckBox.h"
#include "kxRuzoVori/settings/kxSettingComboBox.h"
#include "kxRuzoVori/settings/kxSettingEditBox.h"
#include "kxRuzoVori/settings/kxSettings.h"

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace
{
// Ids of the group and its items: they name the values in code, the item names in the file.
enum
{
    GROUP_APPEARANCE = 1,
    ITEM_NAME = 1,
    ITEM_TOOLBAR = 2,
    ITEM_THEME = 3
};

class PreferencesDialog : public wxDialog
{
public:
    PreferencesDialog(kxSettings& settings, kxSettingsSet& views)
        : wxDialog(nullptr, wxID_ANY, wxS("Preferences")), m_settings(settings), m_views(views)
    {
        auto* name = new wxTextCtrl(this, wxID_ANY);
        m_preview = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                   wxTE_READONLY);
        auto* toolbar = new wxCheckBox(this, wxID_ANY, wxS("Show the toolbar"));
        const wxString themes[] = {wxS("Light"), wxS("Dark"), wxS("High contrast")};
        auto* theme = new wxComboBox(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                     WXSIZEOF(themes), themes, wxCB_READONLY);

        auto* grid = new wxFlexGridSizer(2, wxSize(8, 8));
        grid->AddGrowableCol(1);
        grid->Add(new wxStaticText(this, wxID_ANY, wxS("Your name:")), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(name, 1, wxEXPAND);
        grid->Add(new wxStaticText(this, wxID_ANY, wxS("Greeting:")), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(m_preview, 1, wxEXPAND);
        grid->Add(new wxStaticText(this, wxID_ANY, wxS("Theme:")), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(theme, 1, wxEXPAND);
        grid->AddSpacer(0);
        grid->Add(toolbar);
        auto* column = new wxBoxSizer(wxVERTICAL);
        column->Add(grid, 1, wxEXPAND | wxALL, 12);
        column->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 12);
        SetSizerAndFit(column);
        SetMinSize(wxSize(360, -1));

        // What Cancel goes back to.
        settings.GetValue(GROUP_APPEARANCE, ITEM_NAME, m_name);
        settings.GetValue(GROUP_APPEARANCE, ITEM_TOOLBAR, m_toolbar);
        settings.GetValue(GROUP_APPEARANCE, ITEM_THEME, m_theme);

        // The preview is a second view of the name: the registry keeps it in step with the
        // edit box. The bindings show the stored values and store what the user changes.
        views.AddEditBox(GROUP_APPEARANCE, ITEM_NAME, m_preview);
        m_preview->ChangeValue(m_name);
        m_nameBinding.Assign(&settings, &views, GROUP_APPEARANCE, ITEM_NAME, name);
        m_toolbarBinding.Assign(&settings, &views, GROUP_APPEARANCE, ITEM_TOOLBAR, toolbar);
        m_themeBinding.Assign(&settings, &views, GROUP_APPEARANCE, ITEM_THEME, theme);
    }

    ~PreferencesDialog() override { m_views.RemoveEditBox(GROUP_APPEARANCE, ITEM_NAME, m_preview); }

    // Puts back the values the dialog opened with, without announcing them to the views.
    void Revert()
    {
        m_settings.SetValue(GROUP_APPEARANCE, ITEM_NAME, m_name, false);
        m_settings.SetValue(GROUP_APPEARANCE, ITEM_TOOLBAR, m_toolbar, false);
        m_settings.SetValue(GROUP_APPEARANCE, ITEM_THEME, m_theme, false);
    }

private:
    kxSettings& m_settings;
    kxSettingsSet& m_views;
    wxTextCtrl* m_preview;
    kxSettingEditBox m_nameBinding;
    kxSettingCheckBox m_toolbarBinding;
    kxSettingComboBox m_themeBinding;
    wxString m_name;
    bool m_toolbar = false;
    long m_theme = 0;
};

class SettingsDialogApp : public wxApp
{
public:
    bool OnInit() override
    {
        const wxString file =
            argc > 1 ? argv[1] : wxString(wxS(".config/kxSettingsDialog/settings.ini"));
        try
        {
            kxSettingsSet views;
            kxSettings settings(file, &views);
            kxSettingsGroup appearance;
            appearance.AddItem(ITEM_NAME, kxSettingsItem(wxS("Name"), wxS("Ann")));
            appearance.AddItem(ITEM_TOOLBAR, kxSettingsItem(wxS("ShowToolbar"), true));
            appearance.AddItem(ITEM_THEME, kxSettingsItem(wxS("Theme"), 0));
            settings.AddGroup(appearance, GROUP_APPEARANCE, true, wxS("/Appearance"));
            settings.LoadSettings(); // the values in the file replace the defaults above

            PreferencesDialog dialog(settings, views);
            if (dialog.ShowModal() == wxID_OK)
            {
                if (!settings.Save2File())
                    wxMessageBox(wxS("The settings could not be written to ") + file);
            }
            else
                dialog.Revert(); // the store saves when it goes: save what was there
        }
        catch (const kxException& failure)
        {
            wxMessageBox(failure.GetMsg(), failure.GetClass(), wxOK | wxICON_ERROR);
        }
        return false; // the dialog was the whole program
    }
};
} // namespace

wxIMPLEMENT_APP(SettingsDialogApp);
