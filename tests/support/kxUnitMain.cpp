// Entry point of the non-GUI test programs: the toolkit's base is initialised around the run.
#include <gtest/gtest.h>
#include <wx/init.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxInitializer toolkit;
    if (!toolkit.IsOk())
        return 2;
    return RUN_ALL_TESTS();
}
