// Toolkit assertions in the HTTP test programs fail the test that raised them.
#include <gtest/gtest.h>
#include <wx/debug.h>
#include <wx/string.h>

namespace
{
// A toolkit assertion in the library is a failed test, not a message on the console.
class kxFailOnAssert : public testing::Environment
{
public:
    void SetUp() override { wxSetAssertHandler(&Fail); }

private:
    static void Fail(const wxString& file, int line, const wxString& function,
                     const wxString& condition, const wxString& message)
    {
        ADD_FAILURE() << "toolkit assertion " << condition.utf8_string() << " ("
                      << message.utf8_string() << ") in " << function.utf8_string() << " at "
                      << file.utf8_string() << ":" << line;
    }
};

[[maybe_unused]] testing::Environment* const kFailOnAssert =
    testing::AddGlobalTestEnvironment(new kxFailOnAssert);
} // namespace
