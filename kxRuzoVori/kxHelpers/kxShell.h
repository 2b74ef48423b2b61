// Shell helpers: where the running program lives, making a directory, whether a volume can be
// read, and playing a sound file.
#ifndef KXRUZOVORI_KXHELPERS_KXSHELL_H
#define KXRUZOVORI_KXHELPERS_KXSHELL_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

/// The directory of the running program, ending in the path separator ("/" on Linux); the same
/// text on every call.
KX_API wxString kxGetAppDir();

/// True when dir exists afterwards: at once when it already did, otherwise when it was made.
KX_API bool kxCreateDir(const wxString& dir);

/// True when the volume holding root can be read.
KX_API bool kxIsDiskInDevice(wxString root);

/// Plays a sound file, waiting for its end unless async is true. False when the file cannot be
/// loaded or there is no sound device to play it on.
KX_API bool kxPlaySound(const wxString& file, bool async);

#endif
