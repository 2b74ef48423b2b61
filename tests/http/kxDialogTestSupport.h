// What the tests of the settings dialogs share: finding a dialog's windows, typing into its
// fields, and closing the dialogs a test made.
#ifndef KXTESTS_HTTP_KXDIALOGTESTSUPPORT_H
#define KXTESTS_HTTP_KXDIALOGTESTSUPPORT_H

#include "support/kxGuiSupport.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <vector>

// The windows of a kind inside parent, in the order they were made.
template <class T> inline std::vector<T*> All(wxWindow* parent)
{
    std::vector<T*> found;
    for (wxWindow* child : parent->GetChildren())
    {
        if (auto* match = dynamic_cast<T*>(child))
            found.push_back(match);
        for (T* inner : All<T>(child))
            found.push_back(inner);
    }
    return found;
}

inline wxStaticText* Label(wxWindow* parent, const wxString& text)
{
    for (wxStaticText* label : All<wxStaticText>(parent))
        if (label->GetLabel() == text)
            return label;
    return nullptr;
}

// Clicks into a text field and types text after what it holds.
inline void Type(wxTextCtrl* field, const wxString& text)
{
    kxTestClick(field);
    kxTestPumpEvents(50);
    field->SetInsertionPointEnd();
    wxUIActionSimulator sim;
    sim.Text(text.utf8_str());
    kxTestPumpEvents(100);
}

// Closes the dialogs a test made.
class kxHttpDialogs : public testing::Test
{
protected:
    void TearDown() override
    {
        for (wxDialog* dialog : m_dialogs)
            dialog->Destroy();
        kxTestPumpEvents(50);
    }
    template <class T> T* Keep(T* dialog)
    {
        m_dialogs.push_back(dialog);
        return dialog;
    }
    std::vector<wxDialog*> m_dialogs;
};

#endif
