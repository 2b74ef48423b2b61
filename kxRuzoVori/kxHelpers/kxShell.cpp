// The shell helpers: the program's folder, directories, volumes and sounds.
#include "kxRuzoVori/kxHelpers/kxShell.h"

#include "kxRuzoVori/core/private/kxLibraryObject.h"
#include "kxRuzoVori/platform/kxPlatformFile.h"

#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/sound.h>
#include <wx/stdpaths.h>

namespace
{
wxSound* s_sound = nullptr;
wxString* s_appDir = nullptr;
} // namespace

wxString kxGetAppDir()
{
    return kxLibraryObject(s_appDir,
                           []
                           {
                               wxString dir =
                                   wxPathOnly(wxStandardPaths::Get().GetExecutablePath());
                               if (dir.empty())
                                   dir = wxPathOnly(kxPlatform::GetExecutablePath());
                               return new wxString(dir + wxFILE_SEP_PATH);
                           });
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
    wxSound& sound = kxLibraryObject(s_sound);
    if (!sound.Create(file, false) || !sound.IsOk())
        return false;
    return sound.Play(async ? wxSOUND_ASYNC : wxSOUND_SYNC);
}
