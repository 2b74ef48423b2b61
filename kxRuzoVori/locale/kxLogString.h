#ifndef KXRUZOVORI_LOCALE_KXLOGSTRING_H
#define KXRUZOVORI_LOCALE_KXLOGSTRING_H

#include "kxRuzoVori/kxExport.h"

#include <wx/log.h>
#include <wx/string.h>

/// A log target that, while it is the active one, gathers every error-level message into one
/// text instead of showing it; the command server wraps each command in one to build its
/// error reply. Deviation: toolkit 3.2 no longer calls DoLog(); it is called from the
/// DoLogRecord() override, with the raw message rather than the toolkit's formatted line.
class KX_API kxLogString : public wxLog
{
public:
    /// An empty log; make it the active target with wxLog::SetActiveTarget(), and put the
    /// previous target back before destroying it.
    kxLogString();
    /// The collected text goes with it.
    virtual ~kxLogString();

    /// Adds one message at the toolkit's level: only wxLOG_Error is kept, as the current time
    /// stamp followed by message, separated from earlier entries by a line feed. A null
    /// message adds nothing. The time argument is not used: the entry carries the time stamp
    /// of the moment it is collected.
    virtual void DoLog(unsigned long level, const wchar_t* message, long time);

    /// The collected entries.
    wxString m_text;

protected:
    /// The toolkit hands every record here; the raw message (no level prefix) goes to DoLog.
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo& info) override;
};

#endif
