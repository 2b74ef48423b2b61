// Entry point of the non-GUI test programs: the toolkit's base is initialised around the run.
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/init.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxInitializer toolkit;
    if (!toolkit.IsOk())
        return 2;
    wxSetAssertHandler(kxTestFailOnAssertion);
    return RUN_ALL_TESTS();
}
