// Tests of kxLogString, the log target that collects errors as text.
#include "kxRuzoVori/locale/kxLogString.h"

#include <gtest/gtest.h>
#include <wx/log.h>

namespace
{
// Makes a kxLogString the active target for one test and restores the previous target and
// time-stamp format afterwards.
class kxLogStringTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_oldStamp = wxLog::GetTimestamp();
        m_old = wxLog::SetActiveTarget(&m_log);
    }
    void TearDown() override
    {
        wxLog::SetActiveTarget(m_old);
        wxLog::SetTimestamp(m_oldStamp);
    }

    kxLogString m_log;
    wxLog* m_old = nullptr;
    wxString m_oldStamp;
};
} // namespace

TEST_F(kxLogStringTest, ErrorsAreJoinedByLineFeedsEachWithItsTimeStamp)
{
    // A format without conversions makes the stamp predictable; the toolkit appends ": ".
    wxLog::SetTimestamp(wxS("[stamp]"));
    wxLogError(wxS("first %d"), 1);
    wxLogWarning(wxS("a warning"));
    wxLogError(wxS("second"));
    EXPECT_EQ(m_log.m_text, wxS("[stamp]: first 1\n[stamp]: second"));
}

TEST_F(kxLogStringTest, DefaultStampIsTheToolkitsOwn)
{
    wxLogError(wxS("boom"));
    // The stamp carries the current time; compare its shape with one made alongside.
    wxString stamp;
    wxLog::TimeStamp(&stamp);
    ASSERT_FALSE(stamp.empty());
    EXPECT_TRUE(m_log.m_text.EndsWith(wxS("boom")));
    EXPECT_EQ(m_log.m_text.length(), stamp.length() + 4);
    EXPECT_EQ(m_log.m_text.Find(wxS('\n')), wxNOT_FOUND);
}

TEST_F(kxLogStringTest, WithoutTimeStampsTheTextIsTheMessagesAlone)
{
    wxLog::DisableTimestamp();
    wxLogError(wxS("one"));
    wxLogError(wxS("two: \"%s\""), wxString::FromUTF8("\xf0\x9f\x98\x80"));
    wxLogError(wxS("three\nlines"));
    EXPECT_EQ(m_log.m_text, wxString::FromUTF8("one\ntwo: \"\xf0\x9f\x98\x80\"\nthree\nlines"));
}

TEST_F(kxLogStringTest, OtherLevelsAddNothing)
{
    wxLog::DisableTimestamp();
    wxLogWarning(wxS("warning"));
    wxLogMessage(wxS("message"));
    wxLogInfo(wxS("info"));
    wxLogVerbose(wxS("verbose"));
    wxLogStatus(wxS("status"));
    wxLogDebug(wxS("debug"));
    EXPECT_TRUE(m_log.m_text.empty());
    // Fatal errors would end the process through the toolkit, so their level is fed directly.
    m_log.DoLog(wxLOG_FatalError, L"fatal", 0);
    m_log.DoLog(wxLOG_Warning, L"warning", 0);
    m_log.DoLog(wxLOG_Debug, L"debug", 0);
    EXPECT_TRUE(m_log.m_text.empty());
}

TEST_F(kxLogStringTest, DirectCallsFollowTheSameRules)
{
    wxLog::DisableTimestamp();
    m_log.DoLog(wxLOG_Error, nullptr, 0);
    EXPECT_TRUE(m_log.m_text.empty());
    m_log.DoLog(wxLOG_Error, L"a", 0);
    m_log.DoLog(wxLOG_Error, nullptr, 0);
    m_log.DoLog(wxLOG_Error, L"", 0);
    m_log.DoLog(wxLOG_Error, L"b", 0);
    // An empty message is still an entry, so it still gets its line feed.
    EXPECT_EQ(m_log.m_text, wxS("a\n\nb"));
}

TEST_F(kxLogStringTest, TextCanBeTakenAndTheTargetReused)
{
    wxLog::DisableTimestamp();
    wxLogError(wxS("before"));
    const wxString taken = m_log.m_text;
    m_log.m_text.clear();
    wxLogError(wxS("after"));
    EXPECT_EQ(taken, wxS("before"));
    EXPECT_EQ(m_log.m_text, wxS("after"));
}
