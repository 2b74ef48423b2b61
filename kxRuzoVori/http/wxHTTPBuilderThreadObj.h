#ifndef KXRUZOVORI_HTTP_WXHTTPBUILDERTHREADOBJ_H
#define KXRUZOVORI_HTTP_WXHTTPBUILDERTHREADOBJ_H

#include "kxRuzoVori/http/wxHTTPBuilder.h"
#include "kxRuzoVori/http/wxHTTPBuilderThread.h"
#include "kxRuzoVori/kxExport.h"

/// Give it the thread that runs it; deleting that thread then ends the transfer after the block
/// in hand, and the thread still reports.
/// A request builder whose transfers stop when its worker thread is asked to end.
class KX_API wxHTTPBuilderThreadObj : public wxHTTPBuilder
{
public:
    /// The thread forgets itself here when it ends.
    void SetThread(wxHTTPBuilderThread* thread) { m_thread = thread; }
    /// The thread given last, or null once it has ended.
    wxHTTPBuilderThread* GetThread() const { return m_thread; }

    /// True once the thread was asked to end (which also sets the stop flag), or after Stop().
    bool StopCheck() override;

private:
    wxHTTPBuilderThread* m_thread = nullptr;
};

#endif
