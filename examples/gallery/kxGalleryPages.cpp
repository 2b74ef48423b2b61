// The gallery's pages: each shows one control of the library and lets the user try it.
#include "kxGalleryPages.h"

#include "kxGallerySamples.h"

#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/filename.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <functional>
#include <memory>
#include <vector>

namespace
{
// Space around a page's parts, and the width of its text fields, in pixels.
const int kGap = 12;
const int kFieldWidth = 320;

// A page: a panel with a few lines about the control at its top, and its parts below them.
class Page : public wxPanel
{
public:
    Page(wxWindow* parent, const wxString& about)
        : wxPanel(parent), m_sizer(new wxBoxSizer(wxVERTICAL))
    {
        auto* text = new wxStaticText(this, wxID_ANY, about);
        text->Wrap(560);
        m_sizer->Add(text, 0, wxALL, kGap);
        SetSizer(m_sizer);
    }

protected:
    // Adds a part below the last one.
    void Add(wxWindow* part, int flags = 0)
    {
        m_sizer->Add(part, 0, flags | wxLEFT | wxRIGHT | wxBOTTOM, kGap);
    }
    void Add(wxSizer* part) { m_sizer->Add(part, 0, wxLEFT | wxRIGHT | wxBOTTOM, kGap); }
    // A line that tells what the user's last action did.
    wxStaticText* AddReport(const wxString& text)
    {
        auto* report = new wxStaticText(this, wxID_ANY, text);
        report->SetForegroundColour(wxColour(40, 90, 40));
        Add(report);
        return report;
    }
    wxButton* AddButton(wxSizer* row, const wxString& label, const std::function<void()>& action)
    {
        auto* button = new wxButton(this, wxID_ANY, label);
        button->Bind(wxEVT_BUTTON, [action](wxCommandEvent&) { action(); });
        row->Add(button, 0, wxRIGHT, kGap / 2);
        return button;
    }

private:
    wxBoxSizer* m_sizer;
};

// Controls bound to a settings store: what one shows, the store holds, and every other view of
// the same setting follows.
class SettingsPage : public Page
{
public:
    enum
    {
        GROUP = 1,
        AUTOSAVE = 1,
        AUTHOR = 2,
        MINUTES = 3,
        UNITS = 4
    };

    explicit SettingsPage(wxWindow* parent)
        : Page(parent, wxS("Check boxes, text fields and combo boxes bound to a settings store. A "
                           "change in one view goes into the store and into every other view of "
                           "the same setting; the button writes into the store, and the views "
                           "follow."))
    {
        m_folder = wxFileName::CreateTempFileName(wxS("kxGallery"));
        wxRemoveFile(m_folder);
        m_settings = std::make_unique<kxSettings>(m_folder + wxS("/gallery.ini"), &m_views);
        kxSettingsGroup group;
        group.AddItem(AUTOSAVE, kxSettingsItem(wxS("Autosave"), true));
        group.AddItem(AUTHOR, kxSettingsItem(wxS("Author"), "Ada Lovelace"));
        group.AddItem(MINUTES, kxSettingsItem(wxS("Minutes"), 10));
        group.AddItem(UNITS, kxSettingsItem(wxS("Units"), 0));
        m_settings->AddGroup(group, GROUP, true, wxS("/Editor"));
        m_settings->LoadSettings();

        auto* autosave = new wxCheckBox(this, wxID_ANY, wxS("Save my work automatically"));
        const wxSize width(kFieldWidth, -1);
        auto* author = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, width);
        auto* signature =
            new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, width, wxTE_READONLY);
        auto* minutes = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, width);
        const wxString units[] = {wxS("Centimetres"), wxS("Inches"), wxS("Points")};
        auto* unit = new wxComboBox(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, 3,
                                    units, wxCB_READONLY);
        auto* grid = new wxFlexGridSizer(2, wxSize(kGap, kGap / 2));
        grid->AddGrowableCol(1);
        for (const auto& [label, control] :
             {std::make_pair(wxS("Author"), static_cast<wxWindow*>(author)),
              std::make_pair(wxS("Signed as"), static_cast<wxWindow*>(signature)),
              std::make_pair(wxS("Every (minutes)"), static_cast<wxWindow*>(minutes)),
              std::make_pair(wxS("Units"), static_cast<wxWindow*>(unit))})
        {
            grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
            grid->Add(control, 1, wxEXPAND);
        }
        Add(autosave);
        Add(grid);

        m_views.AddEditBox(GROUP, AUTHOR, signature);
        m_bindings.push_back(std::make_unique<kxSettingCheckBox>(m_settings.get(), &m_views, GROUP,
                                                                 AUTOSAVE, autosave));
        m_bindings.push_back(
            std::make_unique<kxSettingEditBox>(m_settings.get(), &m_views, GROUP, AUTHOR, author));
        m_bindings.push_back(std::make_unique<kxSettingEditBox>(m_settings.get(), &m_views, GROUP,
                                                                MINUTES, minutes));
        m_bindings.push_back(
            std::make_unique<kxSettingComboBox>(m_settings.get(), &m_views, GROUP, UNITS, unit));

        auto* buttons = new wxBoxSizer(wxHORIZONTAL);
        AddButton(buttons, wxS("Sign as Grace Hopper"), [this] { OnSign(); });
        AddButton(buttons, wxS("Save the file"), [this] { OnSave(); });
        Add(buttons);
        m_report = AddReport(wxS("The store keeps its file in a folder of its own until the "
                                 "gallery ends."));
    }

    ~SettingsPage() override
    {
        m_bindings.clear();
        m_settings.reset();
        wxFileName::Rmdir(m_folder, wxPATH_RMDIR_RECURSIVE);
    }

private:
    void OnSign() { m_settings->SetValue(GROUP, AUTHOR, wxString(wxS("Grace Hopper")), true); }
    void OnSave()
    {
        m_settings->Save2File();
        m_report->SetLabel(wxS("Saved to ") + m_folder + wxS("/gallery.ini"));
    }

    wxString m_folder;
    kxSettingsSet m_views;
    std::unique_ptr<kxSettings> m_settings;
    std::vector<std::unique_ptr<kxSettingControl>> m_bindings;
    wxStaticText* m_report;
};

// The toolbar with images in three sizes and its right-click menu.
class ToolbarPage : public Page
{
public:
    explicit ToolbarPage(wxWindow* parent)
        : Page(parent, wxS("A toolbar whose tools carry their images in three sizes. Right-click "
                           "it to choose the icon size and where the labels go. The disabled "
                           "tool shows a greyed image made from its normal one."))
    {
        enum
        {
            MENU_BASE = 7000,
            NEW = 1,
            OPEN,
            SAVE,
            PRINT,
            FIND
        };
        m_toolbar = std::make_unique<kxAuiToolbar>(MENU_BASE, this);
        m_toolbar
            ->AddTool(NEW, wxS("New"), kxGalleryToolImages(wxART_NEW), wxS("Start a new document"))
            .AddTool(OPEN, wxS("Open"), kxGalleryToolImages(wxART_FILE_OPEN),
                     wxS("Open a document"))
            .AddTool(SAVE, wxS("Save"), kxGalleryToolImages(wxART_FILE_SAVE),
                     wxS("Save the document"));
        m_toolbar->AddSeparator();
        m_toolbar
            ->AddTool(PRINT, wxS("Print"), kxGalleryToolImages(wxART_PRINT),
                      wxS("Print the document"))
            .AddTool(FIND, wxS("Find"), kxGalleryToolImages(wxART_FIND), wxS("Find text"));
        m_toolbar->SetIconSize(ICON_SIZE_MEDIUM);
        m_toolbar->SetTextOrientation(TEXT_BOTTOM);
        m_toolbar->Realize();
        m_toolbar->EnableTool(SAVE, false);
        wxAuiToolBar* bar = m_toolbar->GetAuiToolbar();
        Add(bar, wxEXPAND);
        m_report = AddReport(wxS("Click a tool."));
        bar->Bind(wxEVT_TOOL,
                  [this, bar](wxCommandEvent& event)
                  {
                      wxAuiToolBarItem* tool = bar->FindTool(event.GetId());
                      m_report->SetLabel(wxS("Clicked: ") + (tool ? tool->GetLabel() : wxString()));
                  });
    }

private:
    std::unique_ptr<kxAuiToolbar> m_toolbar;
    wxStaticText* m_report;
};

// The tree combo in its three modes; each tells the text it fired when its drop-down closed.
class TreeComboPage : public Page, public kxEventHandler
{
public:
    explicit TreeComboPage(wxWindow* parent)
        : Page(parent, wxS("Tree combos in their three modes. Open one, click check boxes or "
                           "labels, and close it: the field shows the chosen places, and the combo "
                           "fires an event with the same text."))
    {
        const wxString captions[] = {
            wxS("Checking a region checks all its cities (a grayed region is checked alone):"),
            wxS("Each region follows its cities: checked, grayed or unchecked:"),
            wxS("One place at a time; the field shows its path:")};
        for (int mode = 0; mode < 3; ++mode)
        {
            Add(new wxStaticText(this, wxID_ANY, captions[mode]));
            m_combos[mode] = kxGalleryNewPlacesCombo(mode, this, wxSize(360, -1));
            kxGalleryCheckPlaces(m_combos[mode], kxGalleryAddPlaces(m_combos[mode]));
            m_combos[mode]->AddHandler(kxTreeComboCheckBox::EVENT_POPUP_CLOSED,
                                       static_cast<kxEventMethod>(&TreeComboPage::OnClosed), this);
            Add(m_combos[mode]);
            m_reports[mode] = AddReport(wxS("Not opened yet."));
        }
    }

    // The combos go first, while the page still hears them.
    ~TreeComboPage() override { DestroyChildren(); }

private:
    bool OnClosed(kxEventable& source, kxParams& params)
    {
        for (int mode = 0; mode < 3; ++mode)
            if (&source == static_cast<kxEventable*>(m_combos[mode]))
                m_reports[mode]->SetLabel(wxS("Closed with \"") + params.Get(0).m_text + wxS("\""));
        return true;
    }

    kxTreeComboCheckBox* m_combos[3] = {};
    wxStaticText* m_reports[3] = {};
};

// Links that browse, report their clicks, or copy their address.
class HyperlinkPage : public Page
{
public:
    explicit HyperlinkPage(wxWindow* parent)
        : Page(parent, wxS("Links drawn in link colours, red while the mouse is over them here. A "
                           "left click opens the first in the desktop's browser; the second "
                           "reports its clicks instead. Right-click a link for \"Copy\", which "
                           "puts its address on the clipboard; the third reports right clicks "
                           "instead."))
    {
        Link(wxS("Open example.org in the browser"), wxS("https://example.org/"));
        kxRuzoVori::wxHyperlinkCtrl* reporter =
            Link(wxS("Report my clicks here"), wxS("https://example.org/reported"));
        reporter->AutoBrowse(false);
        kxRuzoVori::wxHyperlinkCtrl* noMenu =
            Link(wxS("A link without a menu"), wxS("https://example.org/no-menu"));
        noMenu->DoPopup(false);
        m_report = AddReport(wxS("No click reported yet."));
        Bind(wxEVT_COMMAND_LINK_CLICKED,
             [this](kxRuzoVori::wxHyperlinkEvent& event) { Report(wxS("Left click"), event); });
        Bind(wxEVT_COMMAND_LINK_MCLICKED,
             [this](kxRuzoVori::wxHyperlinkEvent& event) { Report(wxS("Middle click"), event); });
        Bind(wxEVT_COMMAND_LINK_RCLICKED,
             [this](kxRuzoVori::wxHyperlinkEvent& event) { Report(wxS("Right click"), event); });
    }

private:
    kxRuzoVori::wxHyperlinkCtrl* Link(const wxString& label, const wxString& url)
    {
        auto* link = new kxRuzoVori::wxHyperlinkCtrl(this, wxID_ANY, label, wxDefaultPosition,
                                                     wxDefaultSize, 0, wxS("hyperlink"), url);
        link->SetColours(wxColour(wxS("BLUE")), wxColour(wxS("VIOLET")), wxColour(200, 30, 30));
        link->EnableRollover(true);
        link->UpdateLink();
        Add(link);
        return link;
    }

    void Report(const wxString& what, kxRuzoVori::wxHyperlinkEvent& event)
    {
        auto* link = dynamic_cast<kxRuzoVori::wxHyperlinkCtrl*>(event.GetEventObject());
        m_report->SetLabel(wxString::Format(wxS("%s on %s at (%d, %d)"), what,
                                            link ? link->GetURL() : wxString(),
                                            event.GetPosition().x, event.GetPosition().y));
    }

    wxStaticText* m_report;
};

// A long job on the GUI thread behind the please-wait dialog.
class PleaseWaitPage : public Page
{
public:
    explicit PleaseWaitPage(wxWindow* parent)
        : Page(parent, wxS("The please-wait dialog shows how a long job on the GUI thread "
                           "advances, while the rest of the program (or only this window) is "
                           "disabled. With Cancel, the job stops at its next step."))
    {
        m_appModal = new wxCheckBox(this, wxID_ANY, wxS("Disable every window of the program"));
        m_appModal->SetValue(true);
        m_canCancel = new wxCheckBox(this, wxID_ANY, wxS("Offer a Cancel button"));
        m_canCancel->SetValue(true);
        Add(m_appModal);
        Add(m_canCancel);
        auto* buttons = new wxBoxSizer(wxHORIZONTAL);
        AddButton(buttons, wxS("Start a long job"), [this] { OnStart(); });
        Add(buttons);
        m_report = AddReport(wxS("No job run yet."));
    }

private:
    void OnStart()
    {
        const int steps = 60;
        int style = wxPleaseWaitDlg::STYLE_SHOW_AT_ONCE;
        if (m_appModal->GetValue())
            style |= wxPleaseWaitDlg::STYLE_APP_MODAL;
        if (m_canCancel->GetValue())
            style |= wxPleaseWaitDlg::STYLE_CAN_CANCEL;
        wxPleaseWaitDlg wait(wxS("Please wait"), wxS("Starting"), this, style, wxSize(320, -1));
        int step = 1;
        for (; step <= steps; ++step)
        {
            if (!wait.Update(wxString::Format(wxS("Working on step %d of %d"), step, steps)))
                break;
            wxMilliSleep(80);
        }
        wait.Completed();
        m_report->SetLabel(step > steps ? wxString(wxS("The job ran to its end."))
                                        : wxString::Format(wxS("Cancelled at step %d."), step));
    }

    wxCheckBox* m_appModal;
    wxCheckBox* m_canCancel;
    wxStaticText* m_report;
};

// The splash screen with its five labels.
class SplashPage : public Page
{
public:
    explicit SplashPage(wxWindow* parent)
        : Page(parent, wxS("A splash screen with a title, author, version, copyright and a "
                           "secondary title drawn over its picture. It closes after four "
                           "seconds, or on any click or key."))
    {
        m_static = new wxCheckBox(this, wxID_ANY, wxS("Draw the labels onto the window only"));
        Add(m_static);
        auto* buttons = new wxBoxSizer(wxHORIZONTAL);
        AddButton(buttons, wxS("Show the splash screen"), [this] { OnShow(); });
        Add(buttons);
    }

private:
    void OnShow()
    {
        wxBitmap picture = kxGallerySplashPicture(wxSize(420, 260));
        SSplashLabel title(wxS("Photo Archive"));
        SSplashLabel author(wxS("Ada Lovelace King"));
        SSplashLabel version(wxS("Version 2.1"));
        SSplashLabel copyright(wxS("(c) 2026 Example Ltd"));
        SSplashLabel secondary(wxS("Beta release"), 20, 20);
        kxSplashScreen::Create(m_static->GetValue(), picture, title, author, version, copyright,
                               secondary, 4000);
    }

    wxCheckBox* m_static;
};

// The tray icon and its balloons.
class TrayPage : public Page
{
public:
    explicit TrayPage(wxWindow* parent)
        : Page(parent, wxS("A tray icon with a tooltip, and balloons that the desktop's "
                           "notification service shows, silently. Without a tray the icon cannot "
                           "show; without a notification service balloons are refused."))
    {
        m_tooltip = new wxTextCtrl(this, wxID_ANY, wxS("Backup: 3 files waiting"),
                                   wxDefaultPosition, wxSize(kFieldWidth, -1));
        m_text = new wxTextCtrl(this, wxID_ANY, wxS("3 files were saved to the archive."),
                                wxDefaultPosition, wxSize(kFieldWidth, -1));
        auto* grid = new wxFlexGridSizer(2, wxSize(kGap, kGap / 2));
        grid->AddGrowableCol(1);
        grid->Add(new wxStaticText(this, wxID_ANY, wxS("Tooltip")), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(m_tooltip, 1, wxEXPAND);
        grid->Add(new wxStaticText(this, wxID_ANY, wxS("Balloon")), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(m_text, 1, wxEXPAND);
        Add(grid);
        auto* buttons = new wxBoxSizer(wxHORIZONTAL);
        AddButton(buttons, wxS("Show the icon"), [this] { OnShow(); });
        AddButton(buttons, wxS("Show a balloon"), [this] { OnBalloon(); });
        AddButton(buttons, wxS("Remove the icon"), [this] { OnRemove(); });
        Add(buttons);
        m_report = AddReport(wxTaskBarIcon::IsAvailable()
                                 ? wxS("A tray runs on this desktop.")
                                 : wxS("No tray runs on this desktop: the icon cannot show."));
    }

    ~TrayPage() override { OnRemove(); }

private:
    void OnShow()
    {
        if (!m_icon)
            m_icon = std::make_unique<kxTaskBarIcon>(this);
        const bool shown = m_icon->SetIcon(
            wxArtProvider::GetBitmapBundle(wxART_INFORMATION, wxART_OTHER), m_tooltip->GetValue());
        m_report->SetLabel(shown ? wxS("The icon is in the tray.")
                                 : wxS("The icon could not be shown."));
    }
    void OnBalloon()
    {
        const bool shown = m_icon && m_icon->ShowBalloon(wxS("Backup finished"), m_text->GetValue(),
                                                         5000, NIIF_INFO);
        m_report->SetLabel(shown ? wxS("The balloon went to the notification service.")
                                 : wxS("No balloon: the icon is not shown, or no notification "
                                       "service runs."));
    }
    void OnRemove()
    {
        if (!m_icon)
            return;
        m_icon->RemoveIcon();
        m_icon.reset();
        m_report->SetLabel(wxS("The icon is gone."));
    }

    std::unique_ptr<kxTaskBarIcon> m_icon;
    wxTextCtrl* m_tooltip;
    wxTextCtrl* m_text;
    wxStaticText* m_report;
};

// The dialogs that edit the HTTP client's proxy and log-in records.
class HttpDialogsPage : public Page
{
public:
    explicit HttpDialogsPage(wxWindow* parent)
        : Page(parent, wxS("The proxy and log-in dialogs edit the HTTP client's settings records. "
                           "Each shows the record kept here, and on OK the page keeps what the "
                           "dialog returns."))
    {
        m_full = new wxCheckBox(this, wxID_ANY,
                                wxS("With a message, the exceptions and \"Remember password\""));
        m_full->SetValue(true);
        Add(m_full);
        auto* buttons = new wxBoxSizer(wxHORIZONTAL);
        AddButton(buttons, wxS("Proxy settings..."), [this] { OnProxy(); });
        AddButton(buttons, wxS("Log in..."), [this] { OnLogin(); });
        Add(buttons);
        m_proxy.m_hostName = wxS("proxy.example.org");
        m_proxy.m_port = 3128;
        m_proxy.m_exceptions = wxS("localhost, intranet");
        m_report = AddReport(wxString());
        ShowRecords();
    }

private:
    void OnProxy()
    {
        const bool full = m_full->GetValue();
        wxProxySettingsDlg dialog(
            this, wxID_ANY, wxS("Proxy"),
            full ? wxS("Ask your administrator for these settings.") : wxString(), full);
        dialog.SetProxySettings(m_proxy);
        if (dialog.ShowModal() == wxID_OK)
            m_proxy = dialog.GetProxySettings();
        ShowRecords();
    }
    void OnLogin()
    {
        const bool full = m_full->GetValue();
        wxAuthenticateDlg dialog(
            this, wxID_ANY, wxS("Log in"),
            full ? wxS("The server example.org asks for a user name and password.") : wxString(),
            full);
        dialog.SetAuthSettings(m_login);
        if (dialog.ShowModal() == wxID_OK)
            m_login = dialog.GetAuthSettings();
        ShowRecords();
    }
    void ShowRecords()
    {
        const wxString proxy =
            m_proxy.m_useProxy || !m_proxy.m_hostName.empty()
                ? wxString::Format(
                      wxS("Proxy: %s:%ld%s; not for: %s"), m_proxy.m_hostName, m_proxy.m_port,
                      m_proxy.m_requiresAuth ? wxS(" as ") + m_proxy.m_userName : wxString(),
                      m_proxy.m_exceptions)
                : wxString(wxS("Proxy: none"));
        const wxString login =
            m_login.m_userName.empty()
                ? wxString(wxS("Log-in: none"))
                : wxString::Format(wxS("Log-in: %s, password %s"), m_login.m_userName,
                                   m_login.m_rememberPassword ? wxS("remembered")
                                                              : wxS("forgotten when the program "
                                                                    "ends"));
        m_report->SetLabel(proxy + wxS("\n") + login);
        Layout();
    }

    wxCheckBox* m_full;
    wxProxySettings m_proxy;
    wxHTTPAuthSettings m_login;
    wxStaticText* m_report;
};
// The crash handler's dialog, shown without a fault: nothing is sent.
class CrashPage : public Page
{
public:
    explicit CrashPage(wxWindow* parent)
        : Page(parent, wxS("When the program faults, the crash handler shows this dialog and mails "
                           "the report if the user presses Send; then the program ends. Here the "
                           "dialog is shown without a fault, nothing is sent, and the gallery "
                           "goes on."))
    {
        auto* buttons = new wxBoxSizer(wxHORIZONTAL);
        AddButton(buttons, wxS("Show the crash report dialog"), [this] { OnShow(); });
        Add(buttons);
        m_report = AddReport(wxS("Not shown yet."));
    }

private:
    void OnShow()
    {
        kxCrashReportDlg dialog(
            this, wxArtProvider::GetBitmap(wxART_ERROR, wxART_MESSAGE_BOX, wxSize(48, 48)));
        const int answer = dialog.ShowModal();
        m_report->SetLabel(answer == 0 ? wxS("The user chose \"Send\" (nothing was sent).")
                                       : wxS("The user chose not to send the report."));
    }

    wxStaticText* m_report;
};
} // namespace

wxWindow* kxGalleryNewSettingsPage(wxWindow* parent)
{
    return new SettingsPage(parent);
}
wxWindow* kxGalleryNewToolbarPage(wxWindow* parent)
{
    return new ToolbarPage(parent);
}
wxWindow* kxGalleryNewTreeComboPage(wxWindow* parent)
{
    return new TreeComboPage(parent);
}
wxWindow* kxGalleryNewHyperlinkPage(wxWindow* parent)
{
    return new HyperlinkPage(parent);
}
wxWindow* kxGalleryNewPleaseWaitPage(wxWindow* parent)
{
    return new PleaseWaitPage(parent);
}
wxWindow* kxGalleryNewSplashPage(wxWindow* parent)
{
    return new SplashPage(parent);
}
wxWindow* kxGalleryNewTrayPage(wxWindow* parent)
{
    return new TrayPage(parent);
}
wxWindow* kxGalleryNewHttpDialogsPage(wxWindow* parent)
{
    return new HttpDialogsPage(parent);
}
wxWindow* kxGalleryNewCrashPage(wxWindow* parent)
{
    return new CrashPage(parent);
}
