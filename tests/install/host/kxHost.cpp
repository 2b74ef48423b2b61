// A host program built outside the tree against the installed library.
#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/init.h>

#include <cstdio>

int main()
{
    wxInitializer toolkit;
    kxEventable eventable;
    eventable.RegisterEvent(1);
    const bool fired = eventable.FireEvent(1);
    try
    {
        eventable.RegisterEvent(1);
    }
    catch (const kxException& e)
    {
        printf("host: %s\n", e.GetMsg().utf8_str().data());
        return fired ? 0 : 1;
    }
    return 1;
}
