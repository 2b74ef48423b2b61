// Tests of kxLocale on catalogs laid out as installed: listing, switching, translated errors.
#include "kxRuzoVori/locale/kxLocale.h"
#include "kxRuzoVori/core/kxEventable.h"
#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/json/wxJSONReader.h"
#include "kxRuzoVori/json/wxJSONValue.h"
#include "kxRuzoVori/json/wxJSONWriter.h"
#include "kxRuzoVori/settings/kxSettings.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/translation.h>

#include <cstdio>
#include <map>

namespace
{
// The catalogs the build compiled from po/, laid out as they are installed.
wxString BuildCatalogs()
{
    return kxTestBinaryDir() + wxS("/locale");
}

// Fails the running test on any toolkit assertion, and counts what is logged meanwhile.
class kxLocaleTest : public testing::Test
{
protected:
    class CountingLog : public wxLog
    {
    public:
        int m_count = 0;

    protected:
        void DoLogRecord(wxLogLevel, const wxString&, const wxLogRecordInfo&) override
        {
            ++m_count;
        }
    };

    void SetUp() override
    {
        m_oldAssert = wxSetAssertHandler(
            [](const wxString& file, int line, const wxString&, const wxString& cond,
               const wxString& msg) {
                ADD_FAILURE() << "toolkit assertion " << file << ":" << line << " " << cond << msg;
            });
        m_oldLog = wxLog::SetActiveTarget(&m_log);
    }
    void TearDown() override
    {
        wxLog::SetActiveTarget(m_oldLog);
        wxSetAssertHandler(m_oldAssert);
    }

    CountingLog m_log;
    wxLog* m_oldLog = nullptr;
    wxAssertHandler_t m_oldAssert = nullptr;
};

wxString MessageOfDuplicateEvent()
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

// The message and class text a settings store throws for a group it does not hold.
std::pair<wxString, wxString> WrongGroupError(const wxString& folder)
{
    kxSettings settings(folder + wxS("/app.ini"), nullptr);
    try
    {
        settings.GetGroupName(42);
    }
    catch (const kxException& e)
    {
        return {e.GetMsg(), e.GetClass()};
    }
    return {};
}

wxString FormatOneAndAHalf()
{
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    return wxString::FromUTF8(text);
}
} // namespace

TEST_F(kxLocaleTest, ListsTheSubdirectoriesNamedAfterLanguages)
{
    kxTestTempDir dir;
    for (const char* name : {"de", "ru", "xx", "DE", "en", "fr_FR", "de_DE"})
        ASSERT_TRUE(wxMkdir(dir.File(name)));
    // A file named like a language is no catalog folder.
    ASSERT_TRUE(kxTestWriteFile(dir.File(wxS("it")), "not a folder"));

    kxLocale locale(dir.GetPath());
    const std::map<wxLanguage, wxString> expected = {
        {wxLANGUAGE_ENGLISH, wxS("English")},
        {wxLANGUAGE_FRENCH_FRANCE, wxS("French (France)")},
        {wxLANGUAGE_GERMAN, wxS("German")},
        {wxLANGUAGE_GERMAN_GERMANY, wxS("German (Germany)")},
        {wxLANGUAGE_RUSSIAN, wxS("Russian")}};
    EXPECT_EQ(locale.GetAvailableLangs(), expected);
    EXPECT_TRUE(locale.IsExists(wxLANGUAGE_RUSSIAN));
    EXPECT_FALSE(locale.IsExists(wxLANGUAGE_ITALIAN));
    EXPECT_FALSE(locale.IsExists(wxLANGUAGE_FRENCH));
    EXPECT_EQ(locale.GetName(wxLANGUAGE_GERMAN), wxS("German"));
    EXPECT_EQ(locale.GetName(wxLANGUAGE_ITALIAN), wxString());

    // The list is a copy: changing it leaves the manager's alone.
    std::map<wxLanguage, wxString> copy = locale.GetAvailableLangs();
    copy[wxLANGUAGE_ENGLISH] = wxS("changed");
    copy.erase(wxLANGUAGE_GERMAN);
    EXPECT_EQ(locale.GetName(wxLANGUAGE_ENGLISH), wxS("English"));
    EXPECT_TRUE(locale.IsExists(wxLANGUAGE_GERMAN));

    // Rebuilding sees what changed on disk since.
    ASSERT_TRUE(wxRmdir(dir.File(wxS("ru"))));
    ASSERT_TRUE(wxMkdir(dir.File(wxS("uk"))));
    EXPECT_TRUE(locale.PrivateCreateLangList());
    EXPECT_FALSE(locale.IsExists(wxLANGUAGE_RUSSIAN));
    EXPECT_EQ(locale.GetName(wxLANGUAGE_UKRAINIAN), wxS("Ukrainian"));
    EXPECT_EQ(m_log.m_count, 0);
}

TEST_F(kxLocaleTest, EmptyMissingAndUnmakeableFoldersListEnglishOnly)
{
    kxTestTempDir dir;
    const std::map<wxLanguage, wxString> english = {{wxLANGUAGE_ENGLISH, wxS("English")}};

    kxLocale empty(dir.GetPath());
    EXPECT_EQ(empty.GetAvailableLangs(), english);
    EXPECT_EQ(empty.GetName(wxLANGUAGE_ENGLISH), wxS("English"));
    EXPECT_FALSE(empty.IsExists(wxLANGUAGE_GERMAN));

    const wxString missing = dir.File(wxS("catalogs"));
    kxLocale created(missing);
    EXPECT_TRUE(wxDirExists(missing));
    EXPECT_EQ(created.GetAvailableLangs(), english);

    // Only the last level is made: a folder below a missing one cannot be, and nothing says so.
    kxLocale unmade(dir.File(wxS("absent/catalogs")));
    EXPECT_FALSE(wxDirExists(dir.File(wxS("absent"))));
    EXPECT_EQ(unmade.GetAvailableLangs(), english);
    EXPECT_FALSE(unmade.PrivateCreateLangList());

    // A file where the folder should be is neither listed nor replaced.
    ASSERT_TRUE(kxTestWriteFile(dir.File(wxS("plain")), "x"));
    kxLocale onFile(dir.File(wxS("plain")));
    EXPECT_EQ(onFile.GetAvailableLangs(), english);
    EXPECT_TRUE(wxFileExists(dir.File(wxS("plain"))));
    EXPECT_EQ(m_log.m_count, 0);
}

TEST_F(kxLocaleTest, CanonicalNamesAreTheToolkitsAndExact)
{
    kxTestTempDir dir;
    kxLocale locale(dir.GetPath());
    EXPECT_EQ(locale.GetCanonicalName(wxLANGUAGE_GERMAN), wxS("de"));
    EXPECT_EQ(locale.GetCanonicalName(wxLANGUAGE_RUSSIAN_RUSSIA), wxS("ru_RU"));
    EXPECT_EQ(locale.GetCanonicalName(static_cast<wxLanguage>(wxLANGUAGE_USER_DEFINED + 7)),
              wxString());

    wxString name = wxS("untouched");
    wxLanguage code = wxLANGUAGE_LINGALA;
    EXPECT_TRUE(locale.PrivateFindLangNameByCanonical(wxS("de_DE"), name, code));
    EXPECT_EQ(code, wxLANGUAGE_GERMAN_GERMANY);
    EXPECT_EQ(name, wxS("German (Germany)"));
    for (const wxString& wrong : {wxString(wxS("DE")), wxString(wxS("de_de")), wxString(wxS("de ")),
                                  wxString(wxS("xx")), wxString()})
    {
        name = wxS("untouched");
        code = wxLANGUAGE_LINGALA;
        EXPECT_FALSE(locale.PrivateFindLangNameByCanonical(wrong, name, code)) << wrong;
        EXPECT_EQ(name, wxS("untouched"));
        EXPECT_EQ(code, wxLANGUAGE_LINGALA);
    }
}

// What a host does: pick German from the shipped catalogs, load the library's catalog, meet a
// library error in German, and switch back.
TEST_F(kxLocaleTest, HostSwitchesToGermanAndBack)
{
    kxTestTempDir dir;
    wxLocale* hostLocale = wxGetLocale();
    {
        kxLocale locale(BuildCatalogs());
        EXPECT_EQ(locale.GetName(wxLANGUAGE_GERMAN), wxS("German"));
        EXPECT_FALSE(locale.AddCatalog(wxS("kxRuzoVori"))); // no language chosen yet

        ASSERT_TRUE(locale.SetLanguage(wxLANGUAGE_GERMAN));
        EXPECT_FALSE(locale.AddCatalog(wxString()));
        EXPECT_FALSE(locale.AddCatalog(wxS("noSuchCatalog")));
        EXPECT_EQ(WrongGroupError(dir.GetPath()).first, wxS("Internal error. Wrong group ID"));
        ASSERT_TRUE(locale.AddCatalog(wxS("kxRuzoVori")));
        const auto german = WrongGroupError(dir.GetPath());
        EXPECT_EQ(german.first, wxS("Interner Fehler: Ungültige Gruppennummer"));
        EXPECT_EQ(german.second, wxS("kxSettings-Modul"));
        EXPECT_EQ(MessageOfDuplicateEvent(), wxS("Das Ereignis ist bereits registriert"));
        EXPECT_EQ(FormatOneAndAHalf(), wxS("1,5")); // the C library follows the language

        // Machine-readable numbers keep their point while the user reads commas.
        wxString json;
        wxJSONWriter(wxJSONWRITER_NONE).Write(wxJSONValue(1.5), json);
        EXPECT_EQ(json, wxS("1.5"));
        wxJSONValue read;
        EXPECT_EQ(wxJSONReader().Parse(wxS("[2.25]"), &read), 0);
        EXPECT_EQ(read[0].AsDouble(), 2.25);

        // A new language starts without catalogs.
        ASSERT_TRUE(locale.SetLanguage(wxLANGUAGE_GERMAN));
        EXPECT_EQ(MessageOfDuplicateEvent(), wxS("Event is already registered"));

        ASSERT_TRUE(locale.SetLanguage(wxLANGUAGE_ENGLISH));
        EXPECT_FALSE(locale.AddCatalog(wxS("kxRuzoVori"))); // none ships: the keys are English
        EXPECT_EQ(WrongGroupError(dir.GetPath()).first, wxS("Internal error. Wrong group ID"));
        EXPECT_EQ(FormatOneAndAHalf(), wxS("1.5"));

        ASSERT_TRUE(locale.SetLanguage(wxLANGUAGE_RUSSIAN));
        EXPECT_FALSE(locale.AddCatalog(wxS("kxRuzoVori")));
        EXPECT_EQ(MessageOfDuplicateEvent(), wxS("Event is already registered"));
    }
    EXPECT_EQ(wxGetLocale(), hostLocale);
    EXPECT_EQ(FormatOneAndAHalf(), wxS("1.5"));
    EXPECT_EQ(MessageOfDuplicateEvent(), wxS("Event is already registered"));
}

// The host's own catalog sits beside the library's: each is found under its own prefix, and
// both translate at once.
TEST_F(kxLocaleTest, HostCatalogBesideTheLibrarys)
{
    kxTestTempDir dir;
    ASSERT_TRUE(kxTestWriteCatalog(dir.GetPath(), wxS("de"), wxS("myhost"),
                                   "msgid \"Open file\"\nmsgstr \"Datei \xc3\xb6"
                                   "ffnen\"\n"));
    kxLocale locale(dir.GetPath());
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(BuildCatalogs());
    EXPECT_TRUE(locale.IsExists(wxLANGUAGE_GERMAN));
    ASSERT_TRUE(locale.SetLanguage(wxLANGUAGE_GERMAN));
    EXPECT_TRUE(locale.AddCatalog(wxS("myhost")));
    EXPECT_TRUE(locale.AddCatalog(wxS("kxRuzoVori")));
    EXPECT_EQ(wxGetTranslation(wxS("Open file")), wxString::FromUTF8("Datei \xc3\xb6"
                                                                     "ffnen"));
    EXPECT_EQ(kxTranslate(wxS("Unknown event id")), wxS("Unbekannte Ereignisnummer"));
}

// A language the system has no locale for: the toolkit says false, yet the locale is current
// and its catalogs still translate.
TEST_F(kxLocaleTest, LanguageTheSystemLacksStillTakesCatalogs)
{
    if (wxLocale::IsAvailable(wxLANGUAGE_ZULU))
        GTEST_SKIP() << "this system has a Zulu locale";
    kxTestTempDir dir;
    ASSERT_TRUE(kxTestWriteCatalog(dir.GetPath(), wxS("zu"), wxS("kxRuzoVori"),
                                   "msgid \"Unknown event id\"\nmsgstr \"zulu text\"\n"));
    kxLocale locale(dir.GetPath());
    EXPECT_FALSE(locale.SetLanguage(wxLANGUAGE_ZULU));
    EXPECT_GT(m_log.m_count, 0); // the toolkit's warning
    EXPECT_TRUE(locale.AddCatalog(wxS("kxRuzoVori")));
    EXPECT_EQ(kxTranslate(wxS("Unknown event id")), wxS("zulu text"));
}

TEST_F(kxLocaleTest, OnlyTheCurrentLocaleTakesCatalogs)
{
    kxLocale first(BuildCatalogs());
    kxLocale second(BuildCatalogs());
    ASSERT_TRUE(first.SetLanguage(wxLANGUAGE_GERMAN));
    ASSERT_TRUE(second.SetLanguage(wxLANGUAGE_ENGLISH));
    // The toolkit would put the German catalog into the English locale's translations.
    EXPECT_FALSE(first.AddCatalog(wxS("kxRuzoVori")));
    EXPECT_EQ(kxTranslate(wxS("Unknown event id")), wxS("Unknown event id"));

    // Unknown codes are refused without upsetting the toolkit; the text stays English.
    EXPECT_FALSE(second.SetLanguage(wxLANGUAGE_UNKNOWN));
    EXPECT_FALSE(second.SetLanguage(static_cast<wxLanguage>(wxLANGUAGE_USER_DEFINED + 7)));
    EXPECT_FALSE(second.AddCatalog(wxS("kxRuzoVori")));
    EXPECT_EQ(kxTranslate(wxS("Unknown event id")), wxS("Unknown event id"));
}
