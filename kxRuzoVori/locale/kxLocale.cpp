// The language manager: the language list from the catalogs directory, switching the locale and
// loading catalogs.
#include "kxRuzoVori/locale/kxLocale.h"

#include <wx/dir.h>
#include <wx/filefn.h>
#include <wx/log.h>

kxLocale::kxLocale(const wxString& catalogsDir) : m_catalogsDir(catalogsDir), m_locale(nullptr)
{
    PrivateCreateLangList();
    wxLocale::AddCatalogLookupPathPrefix(m_catalogsDir);
}

kxLocale::~kxLocale()
{
    delete m_locale;
}

bool kxLocale::SetLanguage(wxLanguage language)
{
    // The old locale goes first, so the new one records the locale that was current before
    // both as the one to give back.
    delete m_locale;
    m_locale = new wxLocale;
    if (language == wxLANGUAGE_UNKNOWN)
        return false;
    return m_locale->Init(language, wxLOCALE_DONT_LOAD_DEFAULT);
}

bool kxLocale::AddCatalog(const wxString& name)
{
    if (name.empty() || !m_locale || wxGetLocale() != m_locale)
        return false;
    return m_locale->AddCatalog(name);
}

std::map<wxLanguage, wxString> kxLocale::GetAvailableLangs() const
{
    return m_langs;
}

bool kxLocale::IsExists(wxLanguage language) const
{
    return m_langs.count(language) != 0;
}

wxString kxLocale::GetName(wxLanguage language) const
{
    const auto found = m_langs.find(language);
    return found == m_langs.end() ? wxString() : found->second;
}

wxString kxLocale::GetCanonicalName(wxLanguage language) const
{
    const wxLanguageInfo* info = wxLocale::GetLanguageInfo(language);
    return info ? info->CanonicalName : wxString();
}

bool kxLocale::PrivateFindLangNameByCanonical(wxString canonical, wxString& name,
                                              wxLanguage& code) const
{
    for (int language = wxLANGUAGE_UNKNOWN + 1; language < wxLANGUAGE_USER_DEFINED; ++language)
    {
        const wxLanguageInfo* info = wxLocale::GetLanguageInfo(language);
        if (info && info->CanonicalName == canonical)
        {
            name = info->Description;
            code = static_cast<wxLanguage>(language);
            return true;
        }
    }
    return false;
}

bool kxLocale::PrivateCreateLangList()
{
    m_langs.clear();
    m_langs[wxLANGUAGE_ENGLISH] = wxS("English");

    // A directory that is missing, or cannot be made or read, leaves the list English only;
    // the toolkit's own error reports would reach the user as message boxes.
    wxLogNull quiet;
    if (!wxDirExists(m_catalogsDir))
        return wxMkdir(m_catalogsDir, 0777);
    wxDir dir(m_catalogsDir);
    if (!dir.IsOpened())
        return false;
    wxString subdir;
    for (bool more = dir.GetFirst(&subdir, wxString(), wxDIR_DIRS); more;
         more = dir.GetNext(&subdir))
    {
        wxString name;
        wxLanguage code = wxLANGUAGE_UNKNOWN;
        if (PrivateFindLangNameByCanonical(subdir, name, code))
            m_langs.emplace(code, name);
    }
    return true;
}
