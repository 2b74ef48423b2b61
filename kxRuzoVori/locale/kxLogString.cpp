// The log target that gathers error messages into one text.
#include "kxRuzoVori/locale/kxLogString.h"

kxLogString::kxLogString() = default;

kxLogString::~kxLogString() = default;

void kxLogString::DoLog(unsigned long level, const wchar_t* message, long time)
{
    wxUnusedVar(time);
    if (level != wxLOG_Error || message == nullptr)
        return;
    wxString entry;
    wxLog::TimeStamp(&entry);
    entry += message;
    if (!m_text.empty())
        m_text += wxS('\n');
    m_text += entry;
}

void kxLogString::DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo& info)
{
    DoLog(level, msg.wc_str(), static_cast<long>(info.timestampMS / 1000));
}
