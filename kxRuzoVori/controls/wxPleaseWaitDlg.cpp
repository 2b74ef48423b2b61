// The please-wait dialog: its layout, its states and the windows it keeps disabled.
#include "kxRuzoVori/controls/wxPleaseWaitDlg.h"

#include "kxRuzoVori/core/kxTranslate.h"

#include <wx/sizer.h>

namespace
{
const int kBorder = 8;
}

wxPleaseWaitDlg::wxPleaseWaitDlg(const wxString& title, const wxString& message, wxWindow* parent,
                                 int style, const wxSize& size)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxCAPTION | style),
      m_state(style & STYLE_CAN_CANCEL ? STATE_RUNNING : STATE_NO_CANCEL),
      m_topParent(parent ? wxGetTopLevelParent(parent) : nullptr),
      m_appModal((style & STYLE_APP_MODAL) != 0)
{
    SetExtraStyle(GetExtraStyle() | wxWS_EX_TRANSIENT);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    m_message = new wxStaticText(this, wxID_ANY, wxString());
    m_message->SetLabelText(message);
    sizer->Add(m_message, 1, wxEXPAND | wxALL, kBorder);
    if (style & STYLE_CAN_CANCEL)
    {
        m_cancel = new wxButton(this, wxID_CANCEL, kxTranslate(wxS("Cancel")));
        sizer->Add(m_cancel, 0, wxALIGN_CENTRE_HORIZONTAL | wxLEFT | wxRIGHT | wxBOTTOM, kBorder);
    }
    SetSizer(sizer);
    SetMinSize(size);
    Fit();
    CentreOnScreen();

    Bind(wxEVT_BUTTON, &wxPleaseWaitDlg::PrivateOnCancel, this, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, &wxPleaseWaitDlg::PrivateOnClose, this);
    if (m_topParent)
        m_topParent->Bind(wxEVT_DESTROY, &wxPleaseWaitDlg::PrivateOnParentDestroyed, this);

    if (m_appModal)
        m_disabler.reset(new wxWindowDisabler(this));
    else if (m_topParent)
        m_topParent->Disable();
    if (style & STYLE_SHOW_AT_ONCE)
    {
        Show();
        wxDialog::Update();
    }
}

wxPleaseWaitDlg::~wxPleaseWaitDlg()
{
    ReenableOtherWindows();
    if (m_topParent)
        m_topParent->Unbind(wxEVT_DESTROY, &wxPleaseWaitDlg::PrivateOnParentDestroyed, this);
}

bool wxPleaseWaitDlg::Update(const wxString& message)
{
    if (!message.empty())
        UpdateMessage(message);
    wxYieldIfNeeded();
    wxDialog::Update();
    return m_state != STATE_CANCELLED;
}

void wxPleaseWaitDlg::UpdateMessage(const wxString& message)
{
    if (m_message->GetLabelText() == message)
        return;
    m_message->SetLabelText(message);
    // A longer text widens the dialog; a shorter one leaves it as it is, so it does not jump.
    InvalidateBestSize();
    wxSize wanted = GetSize();
    wanted.IncTo(GetBestSize());
    if (wanted != GetSize())
        SetSize(wanted);
    Layout();
}

void wxPleaseWaitDlg::EnableCancel(bool enable)
{
    if (m_cancel && (m_state == STATE_RUNNING || m_state == STATE_COMPLETED))
        m_cancel->Enable(enable);
}

void wxPleaseWaitDlg::Resume()
{
    m_state = STATE_RUNNING;
    if (m_cancel)
        m_cancel->Enable();
}

void wxPleaseWaitDlg::Completed()
{
    if (m_state == STATE_COMPLETED)
        return;
    m_state = STATE_COMPLETED;
    ReenableOtherWindows();
    Hide();
    wxDialog::Update();
}

void wxPleaseWaitDlg::ReenableOtherWindows()
{
    if (m_appModal)
        m_disabler.reset();
    else if (m_topParent)
        m_topParent->Enable();
}

void wxPleaseWaitDlg::PrivateOnCancel(wxCommandEvent& event)
{
    if (m_state == STATE_COMPLETED)
        event.Skip();
    else
        m_state = STATE_CANCELLED;
}

void wxPleaseWaitDlg::PrivateOnClose(wxCloseEvent& event)
{
    if (m_state == STATE_NO_CANCEL && event.CanVeto())
        event.Veto();
    else if (m_state == STATE_COMPLETED)
        event.Skip();
    else
        m_state = STATE_CANCELLED;
}

void wxPleaseWaitDlg::PrivateOnParentDestroyed(wxWindowDestroyEvent& event)
{
    // The parent's destruction takes this dialog with it; it must not enable a dying window.
    if (event.GetEventObject() == m_topParent)
        m_topParent = nullptr;
    event.Skip();
}
