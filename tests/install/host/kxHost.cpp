// A host program built outside the tree against the installed library: it meets a library error
// in English, then switches to German with the installed catalog and meets it translated.
#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/init.h>

#include <cstdio>

namespace
{
wxString DuplicateEventMessage()
{
    kxEventable eventable;
    eventable.RegisterEvent(1);
    try
    {
        eventable.RegisterEvent(1);
    }
    catch (const kxException& e)
    {
        return e.GetMsg();
    }
    return wxString();
}
} // namespace

int main()
{
    wxInitializer toolkit;
    kxEventable eventable;
    eventable.RegisterEvent(1);
    if (!eventable.FireEvent(1))
        return 1;
    const wxString english = DuplicateEventMessage();
    printf("host: %s\n", english.utf8_str().data());

    kxLocale locale(wxS(KX_LOCALE_DIR));
    if (!locale.SetLanguage(wxLANGUAGE_GERMAN) || !locale.AddCatalog(wxS("kxRuzoVori")))
        return 1;
    const wxString german = DuplicateEventMessage();
    printf("host: %s\n", german.utf8_str().data());
    return english == wxS("Event is already registered") &&
                   german == wxS("Das Ereignis ist bereits registriert")
               ? 0
               : 1;
}
