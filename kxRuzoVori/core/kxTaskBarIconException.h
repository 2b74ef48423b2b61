// Thrown by the tray icon, so a host can catch their failures apart from the rest.
#ifndef KXRUZOVORI_CORE_KXTASKBARICONEXCEPTION_H
#define KXRUZOVORI_CORE_KXTASKBARICONEXCEPTION_H

#include "kxRuzoVori/core/kxException.h"

class KX_API kxTaskBarIconException : public kxException
{
public:
    kxTaskBarIconException(wxString message, wxString classText)
        : kxException(std::move(message), std::move(classText))
    {
    }
};

#endif
