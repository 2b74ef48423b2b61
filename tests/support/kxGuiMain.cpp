// Entry point of the GUI test programs: the tests run inside a real wxApp's event loop, on an X
// server of their own when none is given.
#include "support/kxTestSupport.h"
#include "support/kxXvfb.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/log.h>

#include <cstdio>

namespace
{
int s_result = 1;

class kxGuiTestApp : public wxApp
{
public:
    bool OnInit() override
    {
        // Tests create and destroy frames freely; the loop ends only when the tests are done.
        SetExitOnFrameDelete(false);
        // An assertion dialog would wait for a click nobody gives under Xvfb.
        wxSetAssertHandler(kxTestFailOnAssertion);
        // Logged errors would show as modal message boxes: they go to the test's output instead.
        delete wxLog::SetActiveTarget(new wxLogStderr);
        CallAfter(
            [this]
            {
                s_result = RUN_ALL_TESTS();
                ExitMainLoop();
            });
        return true;
    }
};
} // namespace

wxIMPLEMENT_APP_NO_MAIN(kxGuiTestApp);

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    if (!kxTestEnsureDisplay())
    {
        fprintf(stderr, "no X server: DISPLAY is not set and Xvfb could not be started\n");
        return 2;
    }
    if (wxEntry(argc, argv) != 0 && s_result == 0)
        return 3;
    return s_result;
}
