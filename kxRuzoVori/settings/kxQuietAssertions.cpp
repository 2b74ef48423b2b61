// Silencing the toolkit's assertions, counted across threads.
#include "kxRuzoVori/settings/private/kxQuietAssertions.h"

thread_local bool kxQuietAssertions::t_quiet = false;

void kxQuietAssertions::Begin()
{
    std::lock_guard<std::mutex> lock(Mutex());
    t_quiet = true;
    if (Depth()++ == 0)
        Previous() = wxSetAssertHandler(Ignore);
}

void kxQuietAssertions::End()
{
    std::lock_guard<std::mutex> lock(Mutex());
    if (!t_quiet)
        return;
    t_quiet = false;
    if (--Depth() == 0)
        wxSetAssertHandler(Previous());
}

std::mutex& kxQuietAssertions::Mutex()
{
    static std::mutex mutex;
    return mutex;
}

int& kxQuietAssertions::Depth()
{
    static int depth = 0;
    return depth;
}

wxAssertHandler_t& kxQuietAssertions::Previous()
{
    static wxAssertHandler_t previous = nullptr;
    return previous;
}
