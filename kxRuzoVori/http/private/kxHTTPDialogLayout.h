// The pieces both settings dialogs are laid out from: labelled text fields and the button row.
#ifndef KXRUZOVORI_HTTP_PRIVATE_KXHTTPDIALOGLAYOUT_H
#define KXRUZOVORI_HTTP_PRIVATE_KXHTTPDIALOGLAYOUT_H

#include <wx/sizer.h>
#include <wx/textctrl.h>

namespace kxHTTPDialogLayout
{
// Width of a row's label and of its text field, in pixels.
const int kLabelWidth = 100;
const int kFieldWidth = 180;
// Space around the dialogs' groups, in pixels.
const int kBorder = 10;
// Space around each row inside a group, so that fields keep clear of the group's frame.
const int kGroupPadding = 5;

// A text field of the fixed width; style adds to the toolkit's, wxTE_PASSWORD for instance.
wxTextCtrl* NewField(wxWindow* parent, long style = 0);

// A row with a label of the fixed width and the field beside it.
wxSizer* NewRow(wxWindow* parent, const wxString& label, wxWindow* field);

// Adds "&OK" and "&Cancel", pushed apart, with the toolkit's OK and cancel ids, to the dialog's
// sizer.
void AddButtons(wxWindow* dialog, wxSizer* sizer);
} // namespace kxHTTPDialogLayout

#endif
