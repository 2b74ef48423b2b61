// A data format that uses the platform layer, another folder's private header and the umbrella.
#include "kxRuzoVori/core/private/kxBytes.h"
#include "kxRuzoVori/ipc/private/kxChannel.h"
#include "kxRuzoVori/kxExport.h"
#include "kxRuzoVori/kxRuzoVori.h"
#include "kxRuzoVori/platform/kxPlatformFile.h"
#include <sys/stat.h>
