// The gallery's window and the order of its pages.
#include "kxGalleryFrame.h"

#include "kxGalleryPages.h"

#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/simplebook.h>
#include <wx/sizer.h>

kxGalleryFrame::kxGalleryFrame()
    : wxFrame(nullptr, wxID_ANY, wxS("kxRuzoVori gallery"), wxDefaultPosition, wxSize(820, 420))
{
    auto* panel = new wxPanel(this);
    m_list = new wxListBox(panel, wxID_ANY, wxDefaultPosition, wxSize(170, -1));
    m_book = new wxSimplebook(panel);
    AddPage(kxGalleryNewSettingsPage(m_book), wxS("settings"), wxS("Settings"));
    AddPage(kxGalleryNewToolbarPage(m_book), wxS("toolbar"), wxS("Toolbar"));
    AddPage(kxGalleryNewTreeComboPage(m_book), wxS("tree-combo"), wxS("Tree combo"));
    AddPage(kxGalleryNewHyperlinkPage(m_book), wxS("hyperlink"), wxS("Hyperlink"));
    AddPage(kxGalleryNewPleaseWaitPage(m_book), wxS("please-wait"), wxS("Please wait"));
    AddPage(kxGalleryNewSplashPage(m_book), wxS("splash"), wxS("Splash screen"));
    AddPage(kxGalleryNewTrayPage(m_book), wxS("tray"), wxS("Tray icon"));
    AddPage(kxGalleryNewHttpDialogsPage(m_book), wxS("http-dialogs"), wxS("Proxy and log-in"));
    AddPage(kxGalleryNewCrashPage(m_book), wxS("crash"), wxS("Crash report"));
    m_list->SetSelection(0);
    m_list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& event) { ShowPage(event.GetSelection()); });
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(m_list, 0, wxEXPAND | wxALL, 8);
    sizer->Add(m_book, 1, wxEXPAND);
    panel->SetSizer(sizer);
    Centre();
}

void kxGalleryFrame::AddPage(wxWindow* page, const wxString& name, const wxString& title)
{
    m_book->AddPage(page, title);
    m_list->Append(title);
    m_names.push_back(name);
}

void kxGalleryFrame::ShowPage(size_t page)
{
    m_list->SetSelection(page);
    m_book->SetSelection(page);
}

void kxGalleryFrame::FitToPage(int extra)
{
    SetClientSize(GetClientSize().x, m_book->GetCurrentPage()->GetBestSize().y + extra);
    Layout();
}

bool kxGalleryFrame::ListShowsAll() const
{
    // A row only partly in view counts too: one more makes sure the last is whole.
    return m_list->GetCountPerPage() > static_cast<int>(m_list->GetCount());
}
