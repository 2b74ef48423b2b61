// Silencing the toolkit's assertions while a settings store reads its file.
#ifndef KXRUZOVORI_SETTINGS_PRIVATE_KXQUIETASSERTIONS_H
#define KXRUZOVORI_SETTINGS_PRIVATE_KXQUIETASSERTIONS_H

#include <wx/debug.h>

#include <mutex>

// Keeps the toolkit's assertions quiet while a settings store reads its file: the toolkit's parser
// asserts on some damaged files (a section given twice, for one) and then carries on correctly,
// and a host must not meet an assertion dialog because a settings file was damaged.
class kxQuietAssertions
{
public:
    // Keeps assertions quiet until this thread calls End(); one quiet time per thread.
    static void Begin();
    // Does nothing when this thread has already ended its quiet time.
    static void End();

private:
    static thread_local bool t_quiet;

    static void Ignore(const wxString&, int, const wxString&, const wxString&, const wxString&) {}
    static std::mutex& Mutex();
    static int& Depth();
    static wxAssertHandler_t& Previous();
};

#endif
