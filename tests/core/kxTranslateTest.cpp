// Tests of kxTranslate against a catalog compiled for the test.
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/kxEventable.h"
#include "kxRuzoVori/core/kxException.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/translation.h>

namespace
{
wxString MessageOfUnknownEvent()
{
    kxEventable eventable;
    try
    {
        eventable.ValidateEvent(1);
    }
    catch (const kxException& e)
    {
        return e.GetMsg();
    }
    return wxString();
}
} // namespace

// A real catalog, compiled by msgfmt from a .po written here, translates library messages.
TEST(kxTranslate, ExceptionMessagesComeFromTheActiveCatalog)
{
    kxTestTempDir dir;
    ASSERT_FALSE(dir.GetPath().empty());
    ASSERT_TRUE(kxTestWriteCatalog(
        dir.GetPath(), wxS("fr"), wxS("kxtest"),
        "msgid \"Unknown event id\"\n"
        "msgstr \"Identifiant d\xe2\x80\x99\xc3\xa9v\xc3\xa9nement inconnu\"\n"));

    EXPECT_EQ(MessageOfUnknownEvent(), wxS("Unknown event id"));

    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(dir.GetPath());
    auto* translations = new wxTranslations;
    wxTranslations::Set(translations);
    translations->SetLanguage(wxS("fr"));
    ASSERT_TRUE(translations->AddCatalog(wxS("kxtest")));
    EXPECT_EQ(MessageOfUnknownEvent(),
              wxString::FromUTF8("Identifiant d\xe2\x80\x99\xc3\xa9v\xc3\xa9nement inconnu"));
    // A text the catalog does not know comes back unchanged.
    EXPECT_EQ(kxTranslate(wxS("Event is already registered")), wxS("Event is already registered"));

    wxTranslations::Set(nullptr);
    EXPECT_EQ(MessageOfUnknownEvent(), wxS("Unknown event id"));
}
