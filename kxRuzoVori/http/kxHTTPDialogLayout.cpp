// The pieces both settings dialogs are laid out from.
#include "kxRuzoVori/http/private/kxHTTPDialogLayout.h"

#include "kxRuzoVori/core/kxTranslate.h"

#include <wx/button.h>
#include <wx/stattext.h>

namespace kxHTTPDialogLayout
{
wxTextCtrl* NewField(wxWindow* parent, long style)
{
    return new wxTextCtrl(parent, wxID_ANY, wxString(), wxDefaultPosition, wxSize(kFieldWidth, -1),
                          style);
}

wxSizer* NewRow(wxWindow* parent, const wxString& label, wxWindow* field)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(parent, wxID_ANY, label, wxDefaultPosition, wxSize(kLabelWidth, -1)),
             0, wxALIGN_CENTER_VERTICAL);
    row->Add(field, 0, wxALIGN_CENTER_VERTICAL);
    return row;
}

void AddButtons(wxWindow* dialog, wxSizer* sizer)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxButton(dialog, wxID_OK, kxTranslate(wxS("&OK"))));
    row->AddStretchSpacer();
    row->Add(new wxButton(dialog, wxID_CANCEL, kxTranslate(wxS("&Cancel"))));
    sizer->Add(row, 0, wxEXPAND | wxALL, kBorder);
}
} // namespace kxHTTPDialogLayout
