#include "kxRuzoVori/kxHelpers/kxShell.h"

#include "kxRuzoVori/platform/kxPlatformFile.h"

#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/module.h>
#include <wx/sound.h>
#include <wx/stdpaths.h>

namespace
{
wxSound* g_sound = nullptr;
wxString* g_appDir = nullptr;

class kxShellModule : public wxModule
{
public:
    bool OnInit() override { return true; }
    void OnExit() override
    {
        delete g_sound;
        g_sound = nullptr;
        delete g_appDir;
        g_appDir = nullptr;
    }

private:
    wxDECLARE_DYNAMIC_CLASS(kxShellModule);
};

wxIMPLEMENT_DYNAMIC_CLASS(kxShellModule, wxModule);
} // namespace

wxString kxGetAppDir()
{
    if (!g_appDir)
    {
        wxString dir = wxPathOnly(wxStandardPaths::Get().GetExecutablePath());
        if (dir.empty())
            dir = wxPathOnly(kxPlatform::GetExecutablePath());
        g_appDir = new wxString(dir + wxFILE_SEP_PATH);
    }
    return *g_appDir;
}

bool kxCreateDir(const wxString& dir)
{
    if (wxDirExists(dir))
        return true;
    return wxMkdir(dir, 0777);
}

bool kxIsDiskInDevice(wxString root)
{
    return kxPlatform::IsVolumeReadable(root);
}

bool kxPlaySound(const wxString& file, bool async)
{
    if (!g_sound)
        g_sound = new wxSound();
    if (!g_sound->Create(file, false) || !g_sound->IsOk())
        return false;
    return g_sound->Play(async ? wxSOUND_ASYNC : wxSOUND_SYNC);
}
