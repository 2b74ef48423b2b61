#ifndef KXRUZOVORI_LOCALE_KXLOCALE_H
#define KXRUZOVORI_LOCALE_KXLOCALE_H

#include "kxRuzoVori/kxExport.h"

#include <wx/intl.h>
#include <wx/object.h>
#include <wx/string.h>

#include <map>

/// The language manager: lists the languages a host ships catalogs for, switches the process to one
/// of them and loads the host's and the library's catalogs for it.
///
/// The host names one catalogs directory; each subdirectory whose name is a language's canonical
/// name as the toolkit spells it (case-sensitive: "de" or "fr_FR", never "DE") is an available
/// language, listed under the toolkit's English description ("German"). English is always in the
/// list, as "English". The catalogs of a language live below its subdirectory where the toolkit's
/// loader looks for them: `<dir>/de/LC_MESSAGES/kxRuzoVori.mo`.
///
/// Nothing here throws. With wxWidgets 3.2 the toolkit works differently from its 2.x series in
/// these respects, and this class keeps the behaviour hosts knew (deliberate deviations):
/// - Language codes were renumbered (English is wxLANGUAGE_ENGLISH, no longer 56): a canonical
///   name is searched among every code below wxLANGUAGE_USER_DEFINED, lowest code first.
/// - The encoding-conversion flag of wxLocale::Init is gone; SetLanguage passes
///   wxLOCALE_DONT_LOAD_DEFAULT, which, like the old flag alone, keeps the toolkit's own standard
///   catalog out. Init also sets the C library's locale for every category, so numbers printed
///   with the C functions follow the language ("1,5" in German).
/// - Catalogs belong to the wxTranslations object that each initialised wxLocale installs; the
///   lookup prefix is wxFileTranslationsLoader's, process-wide, and stays registered after this
///   object is gone. Destroying the locale gives the previous locale and its catalogs back.
/// - wxLocale::AddCatalog adds to whatever translations are current, not to its own locale's: so
///   AddCatalog here refuses (false) once another locale has replaced this one as the current one.
/// - AddCatalog of a catalog that does not exist for the language gives false, for English too,
///   for which none ships: the library's texts are English already.
/// - wxLANGUAGE_UNKNOWN is refused (false) without asking the toolkit, which asserts on it.
class KX_API kxLocale : public wxObject
{
public:
    /// Lists the languages found in catalogsDir (created when it is missing), then registers it
    /// with the toolkit as a catalog lookup prefix.
    kxLocale(const wxString& catalogsDir);
    kxLocale(const kxLocale&) = delete;
    kxLocale& operator=(const kxLocale&) = delete;
    /// Destroys the locale, which gives the toolkit's previous locale back.
    ~kxLocale();

    /// Replaces the locale by a new one for language, without the toolkit's standard catalog.
    /// Returns the toolkit's answer; on false the new locale stays (the system lacks the
    /// language, yet its catalogs can still be added). Catalogs added before must be added again.
    bool SetLanguage(wxLanguage language);
    /// Loads the catalog name for the current language; false for an empty name, before
    /// SetLanguage, or when the toolkit finds no such catalog.
    bool AddCatalog(const wxString& name);

    /// Language code -> display name, by code.
    std::map<wxLanguage, wxString> GetAvailableLangs() const;
    /// Whether the language is in the list.
    bool IsExists(wxLanguage language) const;
    /// The display name; empty for a language not in the list.
    wxString GetName(wxLanguage language) const;
    /// The toolkit's canonical name ("de_DE") of any language it knows, listed or not; empty
    /// for one it does not know.
    wxString GetCanonicalName(wxLanguage language) const;

    /// The lowest code whose canonical name is canonical (exactly); its description goes to name.
    /// Outputs are left alone when there is none.
    bool PrivateFindLangNameByCanonical(wxString canonical, wxString& name, wxLanguage& code) const;
    /// Rebuilds the list from the catalogs directory; false when the directory had to be created
    /// and could not be, or cannot be read.
    bool PrivateCreateLangList();

private:
    wxString m_catalogsDir;
    wxLocale* m_locale;
    std::map<wxLanguage, wxString> m_langs;
};

#endif
