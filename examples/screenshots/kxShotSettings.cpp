// Picture of a preferences page whose controls are bound to settings: settings.png.
#include "support/kxScreenshot.h"

#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace
{
enum
{
    GENERAL = 1,
    MINIMISED = 1,
    UPDATES = 2,
    USER = 3,
    PORT = 4,
    THEME = 5
};

bool Shoot(const wxString& folder)
{
    const wxString dir = wxFileName::CreateTempFileName(wxS("kxShotSettings"));
    wxRemoveFile(dir);
    kxSettingsSet views;
    auto settings = std::make_unique<kxSettings>(dir + wxS("/app.ini"), &views);
    kxSettingsGroup general;
    general.AddItem(MINIMISED, kxSettingsItem(wxS("Minimised"), false));
    general.AddItem(UPDATES, kxSettingsItem(wxS("Updates"), true));
    general.AddItem(USER, kxSettingsItem(wxS("User"), "Ada Lovelace"));
    general.AddItem(PORT, kxSettingsItem(wxS("Port"), 8080));
    general.AddItem(THEME, kxSettingsItem(wxS("Theme"), 1));
    settings->AddGroup(general, GENERAL, true, wxS("/General"));
    settings->LoadSettings();

    auto* dialog = new wxDialog(nullptr, wxID_ANY, wxS("Preferences"), wxPoint(40, 40));
    auto* box = new wxStaticBoxSizer(wxVERTICAL, dialog, wxS("General"));
    wxWindow* page = box->GetStaticBox();
    auto* minimised = new wxCheckBox(page, wxID_ANY, wxS("Start minimised"));
    auto* updates = new wxCheckBox(page, wxID_ANY, wxS("Check for updates at start"));
    auto* user = new wxTextCtrl(page, wxID_ANY);
    auto* port = new wxTextCtrl(page, wxID_ANY);
    const wxString themes[] = {wxS("Light"), wxS("Dark"), wxS("High contrast")};
    auto* theme = new wxComboBox(page, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, 3,
                                 themes, wxCB_READONLY);
    // A second view of the user name, kept in step with the first by the registry.
    auto* greeting = new wxTextCtrl(page, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                    wxTE_READONLY);

    auto* grid = new wxFlexGridSizer(2, wxSize(12, 8));
    grid->AddGrowableCol(1);
    const auto row = [&](const wxString& label, wxWindow* control)
    {
        grid->Add(new wxStaticText(page, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(control, 1, wxEXPAND);
    };
    row(wxS("User name"), user);
    row(wxS("Shown as"), greeting);
    row(wxS("Server port"), port);
    row(wxS("Theme"), theme);
    box->Add(minimised, 0, wxALL, 6);
    box->Add(updates, 0, wxLEFT | wxRIGHT | wxBOTTOM, 6);
    box->Add(grid, 0, wxEXPAND | wxALL, 6);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(box, 1, wxEXPAND | wxALL, 10);
    sizer->Add(dialog->CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0,
               wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    dialog->SetSizerAndFit(sizer);
    dialog->SetSize(wxSize(440, dialog->GetSize().y));

    views.AddEditBox(GENERAL, USER, user);
    views.AddEditBox(GENERAL, USER, greeting);
    std::vector<std::unique_ptr<kxSettingControl>> bindings;
    bindings.push_back(
        std::make_unique<kxSettingCheckBox>(settings.get(), &views, GENERAL, MINIMISED, minimised));
    bindings.push_back(
        std::make_unique<kxSettingCheckBox>(settings.get(), &views, GENERAL, UPDATES, updates));
    bindings.push_back(
        std::make_unique<kxSettingEditBox>(settings.get(), &views, GENERAL, USER, user));
    bindings.push_back(
        std::make_unique<kxSettingEditBox>(settings.get(), &views, GENERAL, PORT, port));
    bindings.push_back(
        std::make_unique<kxSettingComboBox>(settings.get(), &views, GENERAL, THEME, theme));

    bool saved = kxShotShow(dialog);
    // The user ticks a box and adds to the name; the second view follows as they type.
    wxUIActionSimulator sim;
    sim.MouseMove(minimised->ClientToScreen(wxPoint(8, minimised->GetSize().y / 2)));
    kxShotPump(50);
    sim.MouseClick();
    kxShotPump(100);
    sim.MouseMove(user->ClientToScreen(wxPoint(user->GetSize().x - 10, user->GetSize().y / 2)));
    kxShotPump(50);
    sim.MouseClick();
    kxShotPump(100);
    user->SetInsertionPointEnd();
    sim.Text(" King");
    kxShotPump(300);
    bool value = false;
    settings->GetValue(GENERAL, MINIMISED, value);
    if (!value || greeting->GetValue() != wxS("Ada Lovelace King"))
    {
        fprintf(stderr, "kxShotSettings: the page did not take the input (%d, \"%s\")\n", value,
                greeting->GetValue().utf8_str().data());
        saved = false;
    }
    saved = saved && kxShotSave(dialog, folder, wxS("settings"));

    bindings.clear();
    dialog->Destroy();
    settings.reset();
    wxFileName::Rmdir(dir, wxPATH_RMDIR_RECURSIVE);
    return saved;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
