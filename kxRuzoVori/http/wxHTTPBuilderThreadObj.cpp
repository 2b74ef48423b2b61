// The request builder that stops with its worker thread.
#include "kxRuzoVori/http/wxHTTPBuilderThreadObj.h"

bool wxHTTPBuilderThreadObj::StopCheck()
{
    if (m_thread && m_thread->TestDestroy())
    {
        Stop(true);
        return true;
    }
    return wxHTTPBuilder::StopCheck();
}
