// The toolkit module that releases the library-wide objects when the toolkit shuts down.
#include "kxRuzoVori/core/private/kxLibraryObject.h"

#include <wx/module.h>

#include <utility>
#include <vector>

namespace
{
std::vector<std::function<void()>>& Releases()
{
    static std::vector<std::function<void()>> releases;
    return releases;
}

class kxLibraryObjectModule : public wxModule
{
public:
    bool OnInit() override { return true; }
    void OnExit() override
    {
        std::vector<std::function<void()>>& releases = Releases();
        while (!releases.empty())
        {
            const std::function<void()> release = std::move(releases.back());
            releases.pop_back();
            release();
        }
    }

private:
    wxDECLARE_DYNAMIC_CLASS(kxLibraryObjectModule);
};

wxIMPLEMENT_DYNAMIC_CLASS(kxLibraryObjectModule, wxModule);
} // namespace

void kxAtLibraryExit(std::function<void()> release)
{
    Releases().push_back(std::move(release));
}
