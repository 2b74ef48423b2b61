// The names the README's examples take as given: the host's windows, controls, texts and
// handlers that each example would find around it in a real program. Declared only: the examples
// are compiled, not run.
#ifndef KXRUZOVORI_TESTS_README_KXREADMECONTEXT_H
#define KXRUZOVORI_TESTS_README_KXREADMECONTEXT_H

#include "kxRuzoVori/kxRuzoVori.h"

#include <wx/artprov.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/frame.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/textctrl.h>
#include <wx/translation.h>

#include <iostream>
#include <vector>

#define KXRUZOVORI_LOCALE_DIR "/usr/share/locale"

// A page of the host's window whose handlers the controls call.
class Page : public kxEventHandler
{
public:
    bool OnCitiesChosen(kxEventable& source, kxParams& params);
};

// The host's application object, told when the toolbar changed.
class Host : public kxEventHandler
{
public:
    bool OnToolbarChanged(kxEventable& source, kxParams& params);
};

enum
{
    ID_TOOLBAR_MENU = wxID_HIGHEST + 100
};

extern wxWindow* panel;
extern wxFrame* frame;
extern wxFrame* mainFrame;
extern Page* page;
extern Host host;
extern wxChoice* choice;
extern wxTextCtrl* titleCtrl;
extern wxTextCtrl* previewCtrl;
extern wxCheckBox* maximisedBox;
extern wxComboBox* themeCombo;
extern kxSettings settings;
extern kxSettingsSet views;
extern wxString subject, body, from, to, user, password, error;
extern wxString catalogsDir;
extern mail::Options tls;
extern wxMemoryBuffer key, plain;
extern wxBitmap folderIcon, checked, unchecked, grayed;
extern wxBitmap open16, open32, open48;
extern std::vector<wxBitmap> save;
extern std::vector<wxString> files;
extern wxProxySettings proxy;

void Read(const wxString& file);

#endif
